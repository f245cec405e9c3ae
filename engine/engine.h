// The record file engine: keyed record files made of a data file of fixed-length
// records and an index file of up to 100 B-tree indexes over them.
//
// One Engine object holds what a process needs: the status of the last operation,
// the list of open file sets and the ring of page buffers they share. Operations
// never throw; each one resets the status on entry and sets it on failure, and the
// caller tests Ok() or Status() after every call. The on-disk formats are described
// in engine/file_format.h.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/key_string.h"
#include "engine/status.h"

namespace engine {

using RecordNumber = std::int32_t;  // slot of a data file, 1 upwards; 0 is the header
using KeyNumber = int;              // 1-based index number within a file set

struct FileBlock;  // an open file set; only the engine looks inside
class PageCache;
class OsFile;

struct IndexSpec {
  int keyLength = 0;  // 1..30
  bool allowDuplicates = false;
};

// What the engine was doing when the operating system first refused, kept for
// diagnostics only.
enum class FileFunction { kNone, kCreate, kOpen, kRead, kWrite, kClose, kDelete, kRename, kLock, kSize };

// The rebuild's report after each record. keyNumber is 0 while the data file is
// copied; written counts records copied, or keys added to the index being built.
struct RebuildProgress {
  KeyNumber keyNumber = 0;
  std::int32_t recordsRead = 0;
  std::int32_t recordsWritten = 0;
  int recordLength = 0;
  std::span<const std::byte> record;
};
// Returns false to stop the rebuild (status 10460).
using RebuildProgressFn = std::function<bool(const RebuildProgress&)>;
// Computes the key of a record for one index; false means the key cannot be made.
using KeyFunction = std::function<bool(std::span<const std::byte> record, KeyNumber, KeyString& key)>;
// Told what the rebuild is about to do before each file it creates, renames or deletes
// and each data header it rewrites, so a test can stop the process between any two.
using RebuildFileStepFn = std::function<void(std::string_view step)>;

struct RebuildRequest {
  std::string name;
  int recordLength = 0;
  std::vector<IndexSpec> indexes;
  KeyFunction keyOf;
  RebuildProgressFn progress;          // may be empty
  RebuildFileStepFn beforeFileChange;  // may be empty
};

class Engine {
 public:
  static constexpr int kMinPageBuffers = 8;
  static constexpr int kMaxIndexes = 100;
  static constexpr int kMinRecordLength = 21;

  Engine();
  ~Engine();  // shuts the engine down if it is still running
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // --- Status -----------------------------------------------------------------
  bool Ok() const { return status_ == status::kOk; }
  int Status() const { return status_; }
  StatusClass ErrorClass() const { return ClassOfStatus(status_); }
  int OsErrorNumber() const { return osError_; }
  FileFunction FailedFunction() const { return failedFunction_; }

  // --- Start and stop ---------------------------------------------------------
  // Returns the number of page buffers obtained (at least 8 must be asked for).
  int InitEngine(int pageBuffersWanted);
  // Closes every file set still open, reporting the first failure, and frees the buffers.
  void ExitEngine();

  // --- File sets --------------------------------------------------------------
  void CreateFileSet(std::string_view name, int recordLength, std::span<const IndexSpec> indexes);
  // sharedOpen is ignored: every file set is opened for exclusive use.
  FileBlock* OpenFileSet(std::string_view name, bool readOnly, bool sharedOpen = false,
                         bool saveMode = false);
  void CloseFileSet(FileBlock*& fileBlock);  // clears the handle
  void DeleteFileSet(std::string_view name);

  // --- Records (buffers are RecordLength() bytes) -----------------------------
  RecordNumber AddRecord(FileBlock* fileBlock, std::span<const std::byte> record);
  void GetRecord(FileBlock* fileBlock, RecordNumber number, std::span<std::byte> record);
  void PutRecord(FileBlock* fileBlock, RecordNumber number, std::span<const std::byte> record);
  void DeleteRecord(FileBlock* fileBlock, RecordNumber number);
  std::int32_t UsedRecords(FileBlock* fileBlock);
  std::int32_t FileLength(FileBlock* fileBlock);
  int RecordLength(FileBlock* fileBlock);
  // direction 0 tests only `number`; >0 scans upward, <0 downward, from `number` itself.
  void TestUsedRecord(FileBlock* fileBlock, RecordNumber& number, int direction);
  void NextUsedRecord(FileBlock* fileBlock, RecordNumber& number);
  void PrevUsedRecord(FileBlock* fileBlock, RecordNumber& number);
  std::int32_t RecordPosition(FileBlock* fileBlock, RecordNumber number, std::int32_t scale);
  RecordNumber RecordAtPosition(FileBlock* fileBlock, std::int32_t position, std::int32_t scale);

  // --- Keys -------------------------------------------------------------------
  void AddKey(FileBlock* fileBlock, KeyNumber index, RecordNumber number, const KeyString& key);
  void DeleteKey(FileBlock* fileBlock, KeyNumber index, RecordNumber number, const KeyString& key);
  // mode 0: exact only; >0: else the next greater entry; <0: else the greatest smaller one.
  void FindKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key, int mode);
  void SearchKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key);
  // number and key carry the entry returned by the previous call; they are used to
  // find the place again when the index was changed in between.
  void NextKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key);
  void PrevKey(FileBlock* fileBlock, KeyNumber index, RecordNumber& number, KeyString& key);
  std::int32_t KeysInIndex(FileBlock* fileBlock, KeyNumber index);
  std::int32_t KeyPosition(FileBlock* fileBlock, KeyNumber index, const KeyString& key,
                           RecordNumber number, std::int32_t scale);
  void KeyAtPosition(FileBlock* fileBlock, KeyNumber index, std::int32_t position, std::int32_t scale,
                     RecordNumber& number, KeyString& key);

  // --- Lock layer: single-user, every lock is granted at once -----------------
  void LockFileSet(FileBlock* fileBlock);
  void UnlockFileSet(FileBlock* fileBlock);
  void ReadLockFileSet(FileBlock* fileBlock);
  void ReadUnlockFileSet(FileBlock* fileBlock);
  bool FileSetLocked(FileBlock* fileBlock);
  bool FileSetReadLocked(FileBlock* fileBlock);
  bool NetworkInitialised() const { return true; }
  bool NetworkActive() const { return false; }

  // --- Rebuild (the file set must not be open) --------------------------------
  // Copies the records in use into a fresh data file, then builds every index anew.
  // A rebuild stopped at any point, even by the death of the process, is taken up
  // again by the next one: OpenFileSet reports 10010 until one has finished.
  void RebuildFileSet(const RebuildRequest& request);
  void RebuildDataFile(const RebuildRequest& request);
  void RebuildIndexFile(const RebuildRequest& request);

 private:
  friend class Operation;
  friend class RebuildRun;
  friend class BTree;
  friend class PageCache;

  // Internal steps: no validation, status set on failure.
  void Fail(int code);  // keeps the first failure
  void SetStatus(int code) { status_ = code; }
  void FailOs(int errorNumber, FileFunction function, const std::string& path);
  bool IsOpen(const FileBlock* fileBlock) const;

  // The rebuild opens its own unfinished files, which carry OpenFlag 1.
  enum class OpenPurpose { kUse, kRebuild };

  void CreateFiles(const std::string& dataPath, const std::string& indexPath, int recordLength,
                   std::span<const IndexSpec> indexes, std::uint8_t openFlag = 0);
  FileBlock* OpenFiles(std::string_view name, bool readOnly, OpenPurpose purpose = OpenPurpose::kUse);
  bool OpenIndexes(FileBlock& fileBlock);
  bool SettleRecoveryLog(FileBlock& fileBlock);
  void CloseFiles(FileBlock* fileBlock);
  bool FlushFileBlock(FileBlock& fileBlock);
  bool MarkChanged(FileBlock& fileBlock);
  bool WriteBytes(const OsFile& file, const std::string& path, std::int64_t offset, const void* bytes,
                  std::size_t size);
  bool ReadBytes(const OsFile& file, const std::string& path, std::int64_t offset, void* bytes,
                 std::size_t size);
  bool ReadData(FileBlock& fileBlock, std::int64_t offset, void* bytes, std::size_t size);
  bool WriteData(FileBlock& fileBlock, std::int64_t offset, const void* bytes, std::size_t size);
  RecordNumber AppendRecord(FileBlock& fileBlock, const std::byte* record);
  void RemoveRecord(FileBlock& fileBlock, RecordNumber number);
  bool ScanForUsedRecord(FileBlock& fileBlock, RecordNumber& number, int direction);
  bool InsertKey(FileBlock& fileBlock, KeyNumber index, RecordNumber number, const KeyString& key);
  bool RemoveKey(FileBlock& fileBlock, KeyNumber index, RecordNumber number, const KeyString& key);

  bool initialised_ = false;
  bool busy_ = false;
  int status_ = status::kOk;
  int osError_ = 0;
  FileFunction failedFunction_ = FileFunction::kNone;
  std::vector<std::unique_ptr<FileBlock>> openFiles_;  // in order of opening
  std::unique_ptr<PageCache> pages_;
};

// The names of a file set's files: the extension replaces the text after the last
// dot of the last path component, or is appended; the file name is cut to 64 characters.
std::string FileSetPath(std::string_view name, std::string_view extension);

// A record is in use while its 4-byte deletion field is zero; a deleted record holds
// the link of the free chain there. A buffer shorter than the field is no record.
inline bool RecordInUse(std::span<const std::byte> record) {
  return record.size() >= 4 &&
         std::all_of(record.begin(), record.begin() + 4, [](std::byte b) { return b == std::byte{0}; });
}

template <class T>
std::span<std::byte> RecordBytes(T& record) {
  return std::as_writable_bytes(std::span(&record, 1));
}
template <class T>
std::span<const std::byte> RecordBytes(const T& record) {
  return std::as_bytes(std::span(&record, 1));
}

}  // namespace engine
