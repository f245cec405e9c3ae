#include "bench/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace bench {
namespace {

bool WriteAll(int fd, std::span<const std::byte> bytes) {
  while (!bytes.empty()) {
    const ssize_t done = write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(done));
  }
  return true;
}

bool ReadAll(int fd, std::span<std::byte> bytes) {
  while (!bytes.empty()) {
    const ssize_t done = read(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(done));
  }
  return true;
}

}  // namespace

void ChildReporter::Send(std::span<const std::byte> bytes) {
  const bool sent = WriteAll(fd_, bytes);
  _exit(sent ? 0 : 5);
}

ChildResult RunInChild(const std::function<void(ChildReporter&)>& body, std::span<std::byte> report) {
  ChildResult result;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    std::fprintf(stderr, "engine_bench: pipe failed: %s\n", std::strerror(errno));
    return result;
  }
  // Whatever the parent has buffered must not be written a second time by the child.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    std::fprintf(stderr, "engine_bench: fork failed: %s\n", std::strerror(errno));
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return result;
  }
  if (child == 0) {
    close(pipeEnds[0]);
    ChildReporter reporter(pipeEnds[1]);
    body(reporter);
    std::fprintf(stderr, "engine_bench: a benchmark phase ended without a report\n");
    _exit(4);
  }
  close(pipeEnds[1]);
  const bool received = ReadAll(pipeEnds[0], report);
  close(pipeEnds[0]);

  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      std::fprintf(stderr, "engine_bench: wait4 failed: %s\n", std::strerror(errno));
      return result;
    }
  }
  result.maxRssKiB = usage.ru_maxrss;
  result.ok = received && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (WIFSIGNALED(status)) {
    std::fprintf(stderr, "engine_bench: a benchmark process was killed by signal %d (%s)\n", WTERMSIG(status),
                 strsignal(WTERMSIG(status)));
  }
  return result;
}

}  // namespace bench
