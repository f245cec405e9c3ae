#include "engine/os_file.h"

#include <fcntl.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "engine/status.h"

namespace engine {

namespace {

// A mapping is reserved at least this large, and at least twice the file, so that a
// growing file seldom needs a larger one.
constexpr std::size_t kMinViewLength = std::size_t{1} << 24;

// --- Bus errors from a file cut short under its mapping --------------------------

thread_local sigjmp_buf* tCopyInProgress = nullptr;
struct sigaction gEarlierBusHandler {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  if (sigjmp_buf* copy = tCopyInProgress) {
    tCopyInProgress = nullptr;
    siglongjmp(*copy, 1);
  }
  // Not a copy of ours: whoever handled bus errors before us does.
  if ((gEarlierBusHandler.sa_flags & SA_SIGINFO) != 0 && gEarlierBusHandler.sa_sigaction != nullptr) {
    gEarlierBusHandler.sa_sigaction(signal, info, context);
  } else if (gEarlierBusHandler.sa_handler != SIG_DFL && gEarlierBusHandler.sa_handler != SIG_IGN) {
    gEarlierBusHandler.sa_handler(signal);
  } else {
    // Returning retries the faulting access, which now meets the default action.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGBUS, &fallback, nullptr);
  }
}

void CatchBusErrorsOnce() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    // SA_NODEFER: the jump out of the handler must not leave the signal blocked.
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &gEarlierBusHandler);
  });
}

// false when the mapped side of the copy vanished under it, or the system could not
// give a page of it room on the disk.
bool CopyWithMapping(void* to, const void* from, std::size_t size) {
  sigjmp_buf copy;
  if (sigsetjmp(copy, 0) != 0) return false;
  tCopyInProgress = &copy;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  std::memcpy(to, from, size);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  tCopyInProgress = nullptr;
  return true;
}

std::size_t PageRounded(std::int64_t bytes) {
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return (static_cast<std::size_t>(bytes) + page - 1) / page * page;
}

}  // namespace

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
  fd_ = fd;
  mappingRefused_ = false;
  writable_ = mode != Mode::kReadOnly;
  if (Size(knownSize_) != 0) knownSize_ = 0;
  return 0;
}

int OsFile::Close() {
  if (fd_ < 0) return 0;
  Unmap();
  const int result = ::close(fd_);
  fd_ = -1;
  return result == 0 ? 0 : errno;
}

int OsFile::ReadAt(std::int64_t offset, void* buffer, std::size_t size, std::size_t& done) const {
  if (ReadMapped(offset, buffer, size)) {
    done = size;
    return 0;
  }
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
  if (WriteMapped(offset, buffer, size)) {
    done = size;
    return 0;
  }
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
  knownSize_ = std::max(knownSize_, offset + static_cast<std::int64_t>(done));
  return 0;
}

bool OsFile::ReadMapped(std::int64_t offset, void* buffer, std::size_t size) const {
  const std::int64_t end = offset + static_cast<std::int64_t>(size);
  if (offset < 0 || end > knownSize_ || !MapThrough(end)) return false;
  if (CopyWithMapping(buffer, view_ + offset, size)) return true;
  // Cut short by someone else: from now on only what is still there is mapped.
  if (Size(knownSize_) != 0) knownSize_ = 0;
  return false;
}

// Only bytes already in the file: a write that lengthens it goes through pwrite.
bool OsFile::WriteMapped(std::int64_t offset, const void* buffer, std::size_t size) const {
  const std::int64_t end = offset + static_cast<std::int64_t>(size);
  if (!writable_ || offset < 0 || end > knownSize_ || !MapThrough(end)) return false;
  if (CopyWithMapping(view_ + offset, buffer, size)) return true;
  // Cut short by someone else, or no room on the disk: pwrite says which.
  if (Size(knownSize_) != 0) knownSize_ = 0;
  return false;
}

// Makes the mapping reach `end`; false when the system will not map the file.
bool OsFile::MapThrough(std::int64_t end) const {
  if (static_cast<std::size_t>(end) <= viewLength_) return true;
  if (mappingRefused_) return false;
  CatchBusErrorsOnce();
  const std::size_t length = std::max(kMinViewLength, PageRounded(2 * end));
  void* view = view_ == nullptr
                   ? ::mmap(nullptr, length, writable_ ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED, fd_, 0)
                   : ::mremap(view_, viewLength_, length, MREMAP_MAYMOVE);
  if (view == MAP_FAILED) {
    Unmap();
    mappingRefused_ = true;
    return false;
  }
  view_ = static_cast<std::byte*>(view);
  viewLength_ = length;
  return true;
}

void OsFile::Unmap() const {
  if (view_ != nullptr) ::munmap(view_, viewLength_);
  view_ = nullptr;
  viewLength_ = 0;
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
