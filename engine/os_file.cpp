#include "engine/os_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/status.h"

namespace engine {

int OsFile::Open(const std::string& path, Mode mode) {
  Close();
  int flags = O_CLOEXEC;
  switch (mode) {
    case Mode::kReadWrite: flags |= O_RDWR; break;
    case Mode::kReadOnly: flags |= O_RDONLY; break;
    case Mode::kCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  const int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) return errno;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  static std::uint64_t openings = 0;
  fd_ = fd;
  identity_ = ++openings;
  return 0;
}

int OsFile::Close() {
  if (fd_ < 0) return 0;
  const int result = ::close(fd_);
  fd_ = -1;
  return result == 0 ? 0 : errno;
}

int OsFile::ReadAt(std::int64_t offset, void* buffer, std::size_t size, std::size_t& done) const {
  done = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (done < size) {
    const ssize_t got = ::pread(fd_, bytes + done, size - done, offset + static_cast<std::int64_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return 0;
}

int OsFile::WriteAt(std::int64_t offset, const void* buffer, std::size_t size, std::size_t& done) const {
  done = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (done < size) {
    const ssize_t put = ::pwrite(fd_, bytes + done, size - done, offset + static_cast<std::int64_t>(done));
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (put == 0) break;
    done += static_cast<std::size_t>(put);
  }
  return 0;
}

int OsFile::Size(std::int64_t& size) const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return errno;
  size = info.st_size;
  return 0;
}

static bool ParentFolderExists(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;
  struct stat info {};
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int StatusOfOsError(int errorNumber, const std::string& path) {
  switch (errorNumber) {
    case ENOENT: return ParentFolderExists(path) ? status::kFileNotFound : status::kPathNotFound;
    case ENOTDIR: return status::kPathNotFound;
    case EMFILE:
    case ENFILE: return status::kTooManyOpenFiles;
    case EBADF: return status::kInvalidHandle;
    case EACCES:
    case EPERM:
    case EROFS: return status::kAccessRefused;
    default: return status::kOsError;
  }
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

int RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
  return errno;
}

}  // namespace engine
