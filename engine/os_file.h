// A thin handle on an operating-system file: positioned reads and writes, an
// exclusive advisory lock taken at open, and the mapping of the system's error
// numbers to engine status codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace engine {

class OsFile {
 public:
  enum class Mode { kReadWrite, kReadOnly, kCreate };

  OsFile() = default;
  ~OsFile() { Close(); }
  OsFile(const OsFile&) = delete;
  OsFile& operator=(const OsFile&) = delete;

  // Opens and takes an exclusive lock, so a second process gets an error. Returns 0
  // or the system's error number (EWOULDBLOCK when another process holds the file).
  int Open(const std::string& path, Mode mode);
  int Close();  // 0 or the error number; closing a closed file is not an error
  bool IsOpen() const { return fd_ >= 0; }
  // Tells this opening apart from every other one in the process, also from a later
  // opening of the same file.
  std::uint64_t Identity() const { return identity_; }

  // Each returns 0 or the error number; `done` tells how many bytes moved.
  int ReadAt(std::int64_t offset, void* buffer, std::size_t size, std::size_t& done) const;
  int WriteAt(std::int64_t offset, const void* buffer, std::size_t size, std::size_t& done) const;
  int Size(std::int64_t& size) const;

 private:
  int fd_ = -1;
  std::uint64_t identity_ = 0;
};

// Maps an error number to a status code: file not found 9903, path not found 9900,
// too many open files 9901, invalid handle 9904, access refused 9908, else 10140.
int StatusOfOsError(int errorNumber, const std::string& path);

bool FileExists(const std::string& path);
// 0 or the error number; a missing file is not an error.
int RemoveFile(const std::string& path);

}  // namespace engine
