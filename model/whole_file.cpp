#include "model/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace model {
namespace {

FileOutcome OsFailure(std::string_view doing, const std::filesystem::path& path, int error) {
  return FileOutcome::Failure("Could not " + std::string(doing) + " \"" + path.string() + "\": " +
                              std::strerror(error) + ".");
}

// Writes everything and forces it to the disk before the rename makes it visible.
int WriteAndSync(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return done < 0 ? errno : ENOSPC;
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

FileOutcome ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return OsFailure("open", path, errno != 0 ? errno : ENOENT);
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return OsFailure("read", path, EIO);
  bytes = std::move(content).str();
  return {};
}

FileOutcome WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return OsFailure("create", temporary, errno);
  const int writeError = WriteAndSync(fd, bytes);
  const int closeError = ::close(fd) == 0 ? 0 : errno;
  const int error = writeError != 0 ? writeError : closeError;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) == 0) return {};
  const int failure = error != 0 ? error : errno;
  ::unlink(temporary.c_str());
  return OsFailure("write", path, failure);
}

FileOutcome RemoveFile(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error) return OsFailure("delete", path, error.value());
  return {};
}

}  // namespace model
