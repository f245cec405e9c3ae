#include "bench/machine_limits.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <thread>
#include <vector>


namespace bench {
namespace {

constexpr int kPageBytes = 1184;  // an index page of ten-byte keys
constexpr std::size_t kFileBytes = std::size_t{64} << 20;
constexpr int kReads = 200'000;

double SecondsPerRead(const std::function<void(std::int64_t offset, char* into)>& read) {
  std::mt19937_64 offsets(7);
  std::vector<char> page(kPageBytes);
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < kReads; ++i) {
    const auto offset = static_cast<std::int64_t>(offsets() % (kFileBytes / kPageBytes)) * kPageBytes;
    read(offset, page.data());
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / kReads;
}

}  // namespace

MachineLimits MeasureMachineLimits(const std::string& folder) {
  MachineLimits limits;
  const std::string path = folder + "/machine-limits.tmp";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return limits;
  const std::vector<char> block(1 << 20, 'x');
  bool written = true;
  for (std::size_t at = 0; written && at < kFileBytes; at += block.size())
    written = ::pwrite(fd, block.data(), block.size(), static_cast<off_t>(at)) == static_cast<ssize_t>(block.size());
  void* view = written ? ::mmap(nullptr, kFileBytes, PROT_READ, MAP_SHARED, fd, 0) : MAP_FAILED;
  if (view != MAP_FAILED) {
    const auto* bytes = static_cast<const char*>(view);
    // Once over every page first, so the mapping's own first touches are not counted.
    SecondsPerRead([&](std::int64_t offset, char* into) { std::memcpy(into, bytes + offset, kPageBytes); });
    limits.mappedSeconds =
        SecondsPerRead([&](std::int64_t offset, char* into) { std::memcpy(into, bytes + offset, kPageBytes); });
    limits.preadSeconds = SecondsPerRead([&](std::int64_t offset, char* into) {
      if (::pread(fd, into, kPageBytes, static_cast<off_t>(offset)) != kPageBytes) std::memset(into, 0, kPageBytes);
    });
    limits.pageBytes = kPageBytes;
    ::munmap(view, kFileBytes);
  }
  ::close(fd);
  ::unlink(path.c_str());
  return limits;
}

std::string DistanceFromLimits(const MachineLimits& limits, double secondsPerRow) {
  if (limits.pageBytes == 0 || secondsPerRow <= 0) return "";
  char text[128];
  std::snprintf(text, sizeof text, "%.2f us a row = %.1f cached preads = %.0f mapped page reads", secondsPerRow * 1e6,
                secondsPerRow / limits.preadSeconds, secondsPerRow / limits.mappedSeconds);
  return text;
}

std::string MachineDescription() {
  std::string cpu = "unknown CPU";
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.starts_with("model name") && line.find(':') != std::string::npos) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  const double memoryGiB = static_cast<double>(::sysconf(_SC_PHYS_PAGES)) *
                           static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0 * 1024.0);
  utsname name{};
  const std::string kernel = ::uname(&name) == 0 ? std::string(name.sysname) + " " + name.release : "unknown kernel";
  char text[512];
  std::snprintf(text, sizeof text, "%s, %u cores, %.1f GiB memory, %s", cpu.c_str(),
                std::thread::hardware_concurrency(), memoryGiB, kernel.c_str());
  return text;
}

}  // namespace bench
