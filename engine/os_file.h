// A thin handle on an operating-system file: positioned reads and writes, an
// exclusive advisory lock taken at open, and the mapping of the system's error
// numbers to engine status codes.
//
// Reads, and writes over bytes the file already holds, go through a shared mapping of
// the file, so a page or record costs a memory copy rather than a system call: on a
// big file a pwrite to a random place costs twenty times the copy, a pread five times.
// What the copy leaves in the system's file cache survives the death of the process
// exactly as a pwrite would. Writes that lengthen the file stay pwrite. Only bytes this
// opening knows to exist are touched through the mapping. Should another program cut
// the file short meanwhile, or the disk have no room for a page being written, the
// bus error the copy meets is caught and the read or write falls back to pread or
// pwrite, which report the true end or the error. (Within the last memory page before
// a new end the system shows zeros instead; only a size check per read, costing as
// much as the pread it saves, could tell those from data.)
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

  // Each returns 0 or the error number; `done` tells how many bytes moved.
  int ReadAt(std::int64_t offset, void* buffer, std::size_t size, std::size_t& done) const;
  int WriteAt(std::int64_t offset, const void* buffer, std::size_t size, std::size_t& done) const;
  int Size(std::int64_t& size) const;

 private:
  bool ReadMapped(std::int64_t offset, void* buffer, std::size_t size) const;
  bool WriteMapped(std::int64_t offset, const void* buffer, std::size_t size) const;
  bool MapThrough(std::int64_t end) const;
  void Unmap() const;

  int fd_ = -1;
  // The file's length as far as this opening knows: taken at open, grown by its writes.
  mutable std::int64_t knownSize_ = 0;
  // The mapping reaches past the file's end so that the file can grow into it;
  // only the first knownSize_ bytes of it are ever touched.
  mutable std::byte* view_ = nullptr;
  mutable std::size_t viewLength_ = 0;
  mutable bool mappingRefused_ = false;
  bool writable_ = false;
};

// Maps an error number to a status code: file not found 9903, path not found 9900,
// too many open files 9901, invalid handle 9904, access refused 9908, else 10140.
int StatusOfOsError(int errorNumber, const std::string& path);

bool FileExists(const std::string& path);
// 0 or the error number; a missing file is not an error.
int RemoveFile(const std::string& path);

}  // namespace engine
