// Creating, opening, closing and deleting file sets.
#include <algorithm>

#include "engine/engine.h"
#include "engine/file_block.h"
#include "engine/operation.h"
#include "engine/page_cache.h"

namespace engine {

namespace {

constexpr std::size_t kMaxFileNameLength = 64;

bool ValidKeyLength(int keyLength) { return keyLength >= 1 && keyLength <= KeyString::kMaxLength; }

// Counters that no file set can have. Past these the record arithmetic would
// overflow, so the file set is refused as one to rebuild; a bad free chain or root is
// left to the operation that meets it, which reports it.
bool Plausible(const format::DataHeader& header) {
  return header.lenRec >= Engine::kMinRecordLength && header.numRec >= 0 && header.numRec < INT32_MAX &&
         header.numberFree >= 0 && header.numberFree <= header.numRec;
}

// A properly closed header describes its file exactly. One that does not would send
// the next AddRecord past the end of the file or over a record in use.
bool LengthAgrees(const format::DataHeader& header, std::int64_t fileSize) {
  return fileSize == (static_cast<std::int64_t>(header.numRec) + 1) * header.lenRec;
}

bool Plausible(const format::IndexHeader& header) {
  return header.numPages >= 0 && header.numKeys >= 0 && header.numberFree >= 0 &&
         header.numberFree <= header.numPages;
}

}  // namespace

std::string FileSetPath(std::string_view name, std::string_view extension) {
  const auto slash = name.find_last_of('/');
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  std::string_view base = name.substr(start);
  if (const auto dot = base.find_last_of('.'); dot != std::string_view::npos) base = base.substr(0, dot);
  std::string fileName = std::string(base) + "." + std::string(extension);
  if (fileName.size() > kMaxFileNameLength) fileName.resize(kMaxFileNameLength);
  return std::string(name.substr(0, start)) + fileName;
}

// --- Create -------------------------------------------------------------------

void Engine::CreateFileSet(std::string_view name, int recordLength, std::span<const IndexSpec> indexes) {
  Operation operation(*this);
  if (!operation) return;
  if (recordLength < kMinRecordLength) return Fail(status::kRecordTooShort);
  if (indexes.size() > static_cast<std::size_t>(kMaxIndexes)) return Fail(status::kTooManyIndexes);
  // Checked before anything is deleted, so a bad key list cannot cost the old files.
  if (!std::all_of(indexes.begin(), indexes.end(), [](const IndexSpec& i) { return ValidKeyLength(i.keyLength); }))
    return Fail(status::kBadKeyLength);
  RemoveFile(FileSetPath(name, "DIA"));
  RemoveFile(FileSetPath(name, "IX"));
  RemoveFile(FileSetPath(name, "DAT"));
  CreateFiles(FileSetPath(name, "DAT"), FileSetPath(name, "IX"), recordLength, indexes);
}

void Engine::CreateFiles(const std::string& dataPath, const std::string& indexPath, int recordLength,
                         std::span<const IndexSpec> indexes, std::uint8_t openFlag) {
  const auto writeWhole = [this](OsFile& file, const std::string& path, const std::vector<std::byte>& bytes) {
    if (int error = file.Open(path, OsFile::Mode::kCreate)) {
      FailOs(error, FileFunction::kCreate, path);
      return false;
    }
    std::size_t done = 0;
    if (int error = file.WriteAt(0, bytes.data(), bytes.size(), done)) {
      FailOs(error, FileFunction::kWrite, path);
    } else if (done != bytes.size()) {
      Fail(status::kShortWrite);
    }
    if (int error = file.Close(); error != 0 && Ok()) FailOs(error, FileFunction::kClose, path);
    return Ok();
  };

  std::vector<std::byte> headerSlot(static_cast<std::size_t>(recordLength));
  format::DataHeader header;
  header.lenRec = recordLength;
  header.nrOfKeys = static_cast<std::int32_t>(indexes.size());
  header.openFlag = openFlag;
  header.Store(headerSlot.data());
  OsFile data;
  if (!writeWhole(data, dataPath, headerSlot)) return;
  if (indexes.empty()) return;

  std::vector<std::byte> row;
  for (const IndexSpec& wanted : indexes) {
    format::IndexHeader indexHeader;
    indexHeader.pageLen = format::PageLength(wanted.keyLength);
    indexHeader.allowDuplicates = wanted.allowDuplicates ? 1 : 0;
    const std::size_t column = row.size();
    row.resize(column + static_cast<std::size_t>(indexHeader.pageLen));
    indexHeader.Store(row.data() + column);
  }
  OsFile index;
  if (!writeWhole(index, indexPath, row)) {
    RemoveFile(indexPath);
    RemoveFile(dataPath);
  }
}

// --- Open ---------------------------------------------------------------------

FileBlock* Engine::OpenFileSet(std::string_view name, bool readOnly, bool /*sharedOpen*/, bool saveMode) {
  Operation operation(*this);
  if (!operation) return nullptr;
  // While an interrupted rebuild's saved copy exists it is the one complete copy of the
  // data, whatever lies beside it; only the rebuild may go on from it.
  if (FileExists(FileSetPath(name, "SAV"))) return Fail(status::kMustRebuild), nullptr;
  FileBlock* fileBlock = OpenFiles(name, readOnly);
  if (fileBlock != nullptr) fileBlock->saveMode = saveMode;
  return fileBlock;
}

FileBlock* Engine::OpenFiles(std::string_view name, bool readOnly, OpenPurpose purpose) {
  auto file = std::make_unique<FileBlock>();
  file->dataPath = FileSetPath(name, "DAT");
  file->indexPath = FileSetPath(name, "IX");
  file->logPath = FileSetPath(name, "DIA");
  file->readOnly = readOnly;
  const bool logPresent = FileExists(file->logPath);
  const auto mode = readOnly ? OsFile::Mode::kReadOnly : OsFile::Mode::kReadWrite;

  if (int error = file->data.Open(file->dataPath, mode)) {
    FailOs(error, FileFunction::kOpen, file->dataPath);
    return nullptr;
  }
  std::byte headerBytes[format::kDataHeaderSize];
  if (!ReadBytes(file->data, file->dataPath, 0, headerBytes, sizeof headerBytes)) return nullptr;
  file->header = format::DataHeader::Load(headerBytes);
  if (file->header.nrOfKeys > kMaxIndexes) return Fail(status::kHeaderTooManyIndexes), nullptr;
  if (file->header.nrOfKeys > 0 && !OpenIndexes(*file)) return nullptr;
  const bool leftOpen = file->header.openFlag != 0 && purpose == OpenPurpose::kUse;
  if (leftOpen || !Plausible(file->header)) return Fail(status::kMustRebuild), nullptr;
  std::int64_t fileSize = 0;
  if (int error = file->data.Size(fileSize)) return FailOs(error, FileFunction::kSize, file->dataPath), nullptr;
  if (!LengthAgrees(file->header, fileSize)) return Fail(status::kMustRebuild), nullptr;
  if (logPresent && !SettleRecoveryLog(*file)) return nullptr;

  file->stamp = FileBlock::kValidStamp;
  openFiles_.push_back(std::move(file));
  return openFiles_.back().get();
}

bool Engine::OpenIndexes(FileBlock& file) {
  const auto mode = file.readOnly ? OsFile::Mode::kReadOnly : OsFile::Mode::kReadWrite;
  if (int error = file.index.Open(file.indexPath, mode)) {
    const int code = StatusOfOsError(error, file.indexPath);
    FailOs(error, FileFunction::kOpen, file.indexPath);
    status_ = code == status::kTooManyOpenFiles ? code : status::kMustRebuild;
    return false;
  }
  file.indexes.resize(static_cast<std::size_t>(file.header.nrOfKeys));
  std::int64_t column = 0;
  for (IndexState& index : file.indexes) {
    std::byte bytes[format::kIndexHeaderSize];
    std::size_t done = 0;
    if (file.index.ReadAt(column, bytes, sizeof bytes, done) != 0 || done != sizeof bytes) {
      Fail(status::kMustRebuild);
      return false;
    }
    const format::IndexHeader header = format::IndexHeader::Load(bytes);
    if (header.pageSize > format::kPageSize) return Fail(status::kHeaderPageSize), false;
    const int itemBytes = header.pageLen - format::kPageHeaderSize;
    if (itemBytes <= 0 || itemBytes % header.pageSize != 0) return Fail(status::kPageLengthNotWhole), false;
    const int keyLength = itemBytes / header.pageSize - format::kItemOverhead;
    if (!ValidKeyLength(keyLength)) return Fail(status::kHeaderKeyLength), false;
    if (!Plausible(header)) return Fail(status::kMustRebuild), false;
    index.header = header;
    index.keyLength = keyLength;
    index.columnOffset = column;
    column += header.pageLen;
    file.rows = std::max(file.rows, header.numPages);
  }
  file.rowLength = column;
  return true;
}

// This engine never writes a recovery log, so one found here has no replayable
// content of ours: a clean one-byte log is left alone on a read-only open, anything
// else is refused there and deleted otherwise.
bool Engine::SettleRecoveryLog(FileBlock& file) {
  std::int64_t size = 0;
  {
    OsFile log;
    if (log.Open(file.logPath, OsFile::Mode::kReadOnly) == 0) log.Size(size);
  }
  if (file.readOnly) {
    if (size != 1) Fail(status::kLogNeedsReplayReadOnly);
    return size == 1;
  }
  if (int error = RemoveFile(file.logPath)) {
    FailOs(error, FileFunction::kDelete, file.logPath);
    status_ = status::kLogReplayFailed;
    return false;
  }
  return true;
}

// --- Close --------------------------------------------------------------------

void Engine::CloseFileSet(FileBlock*& fileBlock) {
  if (fileBlock != nullptr && initialised_ && !busy_ && !IsOpen(fileBlock)) {
    status_ = status::kCloseNotOpen;
    fileBlock = nullptr;
    return;
  }
  Operation operation(*this, fileBlock, Operation::Access::kRead);
  if (!operation) return;
  CloseFiles(fileBlock);
  fileBlock = nullptr;
}

void Engine::CloseFiles(FileBlock* fileBlock) {
  // A read-only file set has no changed pages, but its buffers must still go: a file
  // set opened later may get the same address.
  if (fileBlock->readOnly) {
    pages_->FlushFile(*fileBlock);
  } else {
    FlushFileBlock(*fileBlock);
  }
  const bool indexClosed = fileBlock->index.Close() == 0;
  const bool dataClosed = fileBlock->data.Close() == 0;
  if (!indexClosed || !dataClosed) Fail(status::kCloseFailed);
  fileBlock->stamp = 0;
  std::erase_if(openFiles_, [fileBlock](const auto& open) { return open.get() == fileBlock; });
}

// Writes pages, index headers and the data header. OpenFlag goes back to 0 only when
// everything before it reached the disk: a half-written file set must be rebuilt.
bool Engine::FlushFileBlock(FileBlock& file) {
  bool complete = pages_->FlushFile(file) && !file.writeFailed;
  for (IndexState& index : file.indexes) {
    if (!index.headerChanged) continue;
    std::byte bytes[format::kIndexHeaderSize];
    index.header.Store(bytes);
    if (WriteBytes(file.index, file.indexPath, index.columnOffset, bytes, sizeof bytes)) {
      index.headerChanged = false;
    } else {
      complete = false;
    }
  }
  file.header.openFlag = complete && !file.keepsOpenFlag ? 0 : 1;
  std::byte headerBytes[format::kDataHeaderSize];
  file.header.Store(headerBytes);
  return WriteData(file, 0, headerBytes, sizeof headerBytes) && complete;
}

bool Engine::MarkChanged(FileBlock& file) {
  if (file.changed) return true;
  const std::byte flag{1};
  if (!WriteData(file, format::kOpenFlagOffset, &flag, 1)) return false;
  file.changed = true;
  file.header.openFlag = 1;
  return true;
}

bool Engine::WriteBytes(const OsFile& file, const std::string& path, std::int64_t offset, const void* bytes,
                        std::size_t size) {
  std::size_t done = 0;
  if (int error = file.WriteAt(offset, bytes, size, done)) {
    FailOs(error, FileFunction::kWrite, path);
    return false;
  }
  if (done != size) return Fail(status::kShortWrite), false;
  return true;
}

bool Engine::ReadBytes(const OsFile& file, const std::string& path, std::int64_t offset, void* bytes,
                       std::size_t size) {
  std::size_t done = 0;
  if (int error = file.ReadAt(offset, bytes, size, done)) {
    FailOs(error, FileFunction::kRead, path);
    return false;
  }
  if (done != size) return Fail(status::kShortRead), false;
  return true;
}

bool Engine::ReadData(FileBlock& file, std::int64_t offset, void* bytes, std::size_t size) {
  return ReadBytes(file.data, file.dataPath, offset, bytes, size);
}

bool Engine::WriteData(FileBlock& file, std::int64_t offset, const void* bytes, std::size_t size) {
  return WriteBytes(file.data, file.dataPath, offset, bytes, size);
}

// --- Delete -------------------------------------------------------------------

void Engine::DeleteFileSet(std::string_view name) {
  Operation operation(*this);
  if (!operation) return;
  for (const char* extension : {"DAT", "IX", "DIA"}) {
    const std::string path = FileSetPath(name, extension);
    if (int error = RemoveFile(path)) FailOs(error, FileFunction::kDelete, path);
  }
}

}  // namespace engine
