// Rebuilding a file set in two passes: the records in use are copied into a fresh
// data file (compacting it and renumbering them), then every index is built anew
// from the keys of every record. Refused duplicate keys are logged to the ".MSG" file
// and their records removed.
//
// The rebuild can be killed at any point and run again. Until the new data file has
// been written and closed, the old one lies in ".SAV" as the only complete copy, so a
// ".SAV" found at the start means the data pass must be redone from it. The new data
// file carries OpenFlag 1 from its creation until the last index is written, so a
// file set whose rebuild did not finish is never taken for a good one.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "engine/btree.h"
#include "engine/engine.h"
#include "engine/file_block.h"
#include "engine/operation.h"

namespace engine {

namespace {

constexpr int kBlockBytes = 32768;          // read-ahead and write-behind blocks
constexpr int kWriteBehindLimit = 16384;    // longest record that goes through write-behind
constexpr int kMaxRebuildRecordLength = 65535;
constexpr char kLineBreak[] = "\r\n";

int RecordsPerBlock(int recordLength) { return std::max(1, kBlockBytes / recordLength); }

bool InUse(const std::byte* record) { return RecordInUse(std::span(record, 4)); }

// A key's bytes, from `from` on, as one big-endian number; the key's unused tail is
// zero, so numbers that differ order their keys as Compare does.
std::uint64_t KeyBytesAsNumber(const KeyString& key, std::size_t from) {
  std::uint64_t bytes;
  std::memcpy(&bytes, key.data() + from, sizeof bytes);
  return __builtin_bswap64(bytes);
}

// An entry of an index whose keys are at most 16 bytes: the key held as two numbers, so
// that sorting compares numbers only. Keys with equal bytes differ only in length.
struct ShortEntry {
  static constexpr int kKeyBytes = 16;
  ShortEntry(RecordNumber number, const KeyString& key)
      : high(KeyBytesAsNumber(key, 0)), low(KeyBytesAsNumber(key, 8)), record(number),
        length(static_cast<std::uint8_t>(key.size())) {}
  Item AsItem() const {
    char bytes[kKeyBytes];
    const std::uint64_t big[2] = {__builtin_bswap64(high), __builtin_bswap64(low)};
    std::memcpy(bytes, big, sizeof bytes);
    Item item{record, 0, {}};
    item.key.Assign(bytes, length);
    return item;
  }
  friend bool operator<(const ShortEntry& a, const ShortEntry& b) {
    if (a.high != b.high) return a.high < b.high;
    if (a.low != b.low) return a.low < b.low;
    if (a.length != b.length) return a.length < b.length;
    return a.record < b.record;
  }

  std::uint64_t high;
  std::uint64_t low;
  RecordNumber record;
  std::uint8_t length;
};
static_assert(ShortEntry::kKeyBytes + 8 <= 1 + KeyString::kMaxLength, "the second number is read inside the key");

// A short entry's key alone.
struct ShortKey {
  std::uint64_t high, low;
  std::uint8_t length;
  friend bool operator==(const ShortKey&, const ShortKey&) = default;
  friend bool operator<(const ShortKey& a, const ShortKey& b) {
    return std::tie(a.high, a.low, a.length) < std::tie(b.high, b.low, b.length);
  }
};
struct ShortKeyHash {
  std::size_t operator()(const ShortKey& key) const {
    return static_cast<std::size_t>((key.high * 0x9E3779B97F4A7C15ULL) ^ (key.low + key.length) * 0xC2B2AE3D27D4EB4FULL);
  }
};

// Entries come in record order, so ordering them by key alone, equal keys kept in the
// order they came, orders them by key and record. An index of few distinct keys
// (customer numbers, key codes) is ordered so by counting: each entry's key found
// through a hash map, the distinct keys sorted, the entries placed by their key's rank.
// With many distinct keys the entries are simply sorted.
void SortEntries(std::vector<ShortEntry>& entries) {
  if (std::is_sorted(entries.begin(), entries.end())) return;
  const std::size_t mostDistinct = entries.size() / 16;
  std::unordered_map<ShortKey, std::uint32_t, ShortKeyHash> found;
  std::vector<ShortKey> distinct;
  std::vector<std::uint32_t> keyOf(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ShortKey key{entries[i].high, entries[i].low, entries[i].length};
    const auto [at, added] = found.try_emplace(key, static_cast<std::uint32_t>(distinct.size()));
    if (added) distinct.push_back(key);
    if (distinct.size() > mostDistinct) return std::sort(entries.begin(), entries.end());
    keyOf[i] = at->second;
  }
  std::vector<std::uint32_t> order(distinct.size());
  for (std::uint32_t d = 0; d < order.size(); ++d) order[d] = d;
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return distinct[a] < distinct[b]; });
  std::vector<std::size_t> count(distinct.size());
  for (const std::uint32_t d : keyOf) ++count[d];
  std::vector<std::size_t> place(distinct.size());  // where the next entry of each key goes
  std::size_t next = 0;
  for (const std::uint32_t d : order) {
    place[d] = next;
    next += count[d];
  }
  std::vector<ShortEntry> sorted(entries.size(), entries.front());
  for (std::size_t i = 0; i < entries.size(); ++i) sorted[place[keyOf[i]]++] = entries[i];
  entries = std::move(sorted);
}

// Any other entry: the item itself, in index order by key and then record number.
struct LongEntry : Item {
  LongEntry(RecordNumber number, const KeyString& key) : Item{number, 0, key} {}
  Item AsItem() const { return *this; }
  friend bool operator<(const LongEntry& a, const LongEntry& b) {
    const int order = Compare(a.key, b.key);
    return order != 0 ? order < 0 : a.record < b.record;
  }
};

void SortEntries(std::vector<LongEntry>& entries) {
  if (!std::is_sorted(entries.begin(), entries.end())) std::sort(entries.begin(), entries.end());
}

}  // namespace

class RebuildRun {
 public:
  RebuildRun(Engine& engine, const RebuildRequest& request)
      : engine_(engine),
        request_(request),
        length_(request.recordLength),
        dataPath_(FileSetPath(request.name, "DAT")),
        savedPath_(FileSetPath(request.name, "SAV")),
        logPath_(FileSetPath(request.name, "MSG")) {}

  bool Valid() {
    if (length_ < Engine::kMinRecordLength) return engine_.Fail(status::kRecordTooShort), false;
    if (length_ > kMaxRebuildRecordLength) return engine_.Fail(status::kRebuildRecordTooLong), false;
    return true;
  }
  bool DataPass();
  bool IndexPass();

 private:
  bool BuildIndexes();
  bool PrepareIndexFile(format::DataHeader& header);
  bool BuildEveryIndex(const format::DataHeader& header);
  bool CreateFreshDataFile();
  bool CopyRecordsInUse(const OsFile& old);
  bool FlushWriteBehind(FileBlock& file);
  void RestoreSavedCopy(bool resuming);
  bool CopySavedOverData();
  void Announce(const std::string& step);
  int Remove(const std::string& path);
  bool Rename(const std::string& from, const std::string& to);
  bool DataFileAgreesWithHeader(OsFile& data, format::DataHeader& header);
  bool BuildIndex(FileBlock& file, KeyNumber index);
  template <class Entry>
  bool Reserve(std::vector<Entry>& entries, const FileBlock& file);
  template <class Entry>
  bool BuildIndexFromSorted(FileBlock& file, KeyNumber index, std::vector<Entry>& entries);
  bool ScanRecordsInUse(FileBlock& file, KeyNumber index, const std::function<bool(RecordNumber, std::byte*)>& visit);
  bool DropDuplicate(FileBlock& file, KeyNumber index, RecordNumber number, const KeyString& key,
                     const std::byte* record);
  bool Log(const void* bytes, std::size_t size);
  bool Log(const std::string& text) { return Log(text.data(), text.size()); }
  bool KeyOf(const std::byte* record, KeyNumber index, KeyString& key);
  bool Report(KeyNumber index, const std::byte* record);
  void MarkNotClosed();

  Engine& engine_;
  const RebuildRequest& request_;
  const int length_;
  const std::string dataPath_;
  const std::string savedPath_;
  const std::string logPath_;
  std::vector<std::byte> writeBehind_;
  int pending_ = 0;  // records waiting in writeBehind_
  std::int32_t read_ = 0;
  std::int32_t written_ = 0;
  OsFile log_;
  std::int64_t logSize_ = 0;
};

// --- Data pass ----------------------------------------------------------------

bool RebuildRun::DataPass() {
  // A data file beside the saved copy is an earlier rebuild's unfinished new one: it is
  // made again from the copy.
  const bool resuming = FileExists(savedPath_);
  if (!resuming && !FileExists(dataPath_)) return engine_.Fail(status::kNothingToRebuild), false;

  // The old file is held open (and locked) from before the rename, so nobody else
  // can slip in while the saved copy is the only complete one.
  OsFile old;
  const std::string& source = resuming ? savedPath_ : dataPath_;
  if (int error = old.Open(source, OsFile::Mode::kReadOnly)) {
    engine_.FailOs(error, FileFunction::kOpen, source);
    return false;
  }
  if (!resuming && !Rename(dataPath_, savedPath_)) {
    engine_.FailOs(errno, FileFunction::kRename, dataPath_);
    engine_.SetStatus(status::kRenameFailed);
    return false;
  }
  const bool copied = CopyRecordsInUse(old);
  old.Close();
  if (!copied) {
    RestoreSavedCopy(resuming);
    return false;
  }
  if (int error = Remove(savedPath_)) {
    engine_.FailOs(error, FileFunction::kDelete, savedPath_);
    return false;
  }
  return true;
}

// Without indexes and marked open: only the index pass makes it a file set to use.
bool RebuildRun::CreateFreshDataFile() {
  Remove(FileSetPath(request_.name, "DIA"));
  Remove(FileSetPath(request_.name, "IX"));
  Announce("create " + dataPath_);
  engine_.CreateFiles(dataPath_, FileSetPath(request_.name, "IX"), length_, {}, 1);
  return engine_.Ok();
}

bool RebuildRun::CopyRecordsInUse(const OsFile& old) {
  if (!CreateFreshDataFile()) return false;
  FileBlock* fresh = engine_.OpenFiles(request_.name, false, Engine::OpenPurpose::kRebuild);
  if (fresh == nullptr) return false;
  fresh->keepsOpenFlag = true;

  std::int64_t size = 0;
  if (int error = old.Size(size)) engine_.FailOs(error, FileFunction::kSize, savedPath_);
  const std::int64_t slots = std::min<std::int64_t>(size / length_ - 1, INT32_MAX);
  const int perBlock = RecordsPerBlock(length_);
  std::vector<std::byte> block(static_cast<std::size_t>(perBlock) * static_cast<std::size_t>(length_));
  if (length_ <= kWriteBehindLimit) writeBehind_.resize(block.size());
  for (std::int64_t slot = 1; engine_.Ok() && slot <= slots; slot += perBlock) {
    const int count = static_cast<int>(std::min<std::int64_t>(perBlock, slots - slot + 1));
    if (!engine_.ReadBytes(old, savedPath_, slot * length_, block.data(),
                           static_cast<std::size_t>(count) * static_cast<std::size_t>(length_)))
      break;
    for (int i = 0; i < count && engine_.Ok(); ++i) {
      const std::byte* record = block.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(length_);
      ++read_;
      if (InUse(record)) {
        if (writeBehind_.empty()) {
          engine_.AppendRecord(*fresh, record);
        } else {
          std::copy_n(record, length_, writeBehind_.data() + static_cast<std::size_t>(pending_) * length_);
          if (++pending_ == perBlock) FlushWriteBehind(*fresh);
        }
        if (engine_.Ok()) ++written_;
      }
      if (engine_.Ok()) Report(0, record);
    }
  }
  if (engine_.Ok()) FlushWriteBehind(*fresh);
  const bool copied = engine_.Ok();
  engine_.CloseFiles(fresh);
  return copied && engine_.Ok();
}

// Appends the waiting records in one write, then counts them in the header.
bool RebuildRun::FlushWriteBehind(FileBlock& file) {
  if (pending_ == 0) return true;
  if (!engine_.MarkChanged(file)) return false;
  const std::int64_t offset = file.RecordOffset(file.header.numRec + 1);
  const auto size = static_cast<std::size_t>(pending_) * static_cast<std::size_t>(length_);
  if (!engine_.WriteData(file, offset, writeBehind_.data(), size)) return false;
  file.header.numRec += pending_;
  pending_ = 0;
  return true;
}

// Puts the old data file back after a failed copy, keeping the failure's status. The
// saved copy goes only once the data file is whole again, so the next rebuild can take
// over from any point of this.
void RebuildRun::RestoreSavedCopy(bool resuming) {
  Remove(dataPath_);
  Remove(FileSetPath(request_.name, "IX"));
  Remove(FileSetPath(request_.name, "DIA"));
  if (resuming || Rename(savedPath_, dataPath_)) return;
  if (CopySavedOverData()) {
    Remove(savedPath_);
  } else {
    Remove(dataPath_);
    engine_.Fail(status::kShortWrite);
  }
}

bool RebuildRun::CopySavedOverData() {
  Announce("copy " + savedPath_ + " " + dataPath_);
  std::FILE* from = std::fopen(savedPath_.c_str(), "rb");
  std::FILE* to = from == nullptr ? nullptr : std::fopen(dataPath_.c_str(), "wb");
  bool copied = to != nullptr;
  char buffer[kBlockBytes];
  for (std::size_t got = 0; copied && (got = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
    copied = std::fwrite(buffer, 1, got, to) == got;
  if (to != nullptr && std::fclose(to) != 0) copied = false;
  if (from != nullptr) std::fclose(from);
  return copied;
}

// --- Index pass ---------------------------------------------------------------

bool RebuildRun::IndexPass() {
  // A partly filled index must not pass for a good one at the next open.
  if (BuildIndexes()) return true;
  MarkNotClosed();
  return false;
}

bool RebuildRun::BuildIndexes() {
  read_ = written_ = 0;
  format::DataHeader header;
  return PrepareIndexFile(header) && BuildEveryIndex(header);
}

// The data header is marked open before the old index file is replaced by an empty one,
// so that empty indexes never pass for the file's own.
bool RebuildRun::PrepareIndexFile(format::DataHeader& header) {
  OsFile data;
  if (int error = data.Open(dataPath_, OsFile::Mode::kReadWrite)) {
    engine_.FailOs(error, FileFunction::kOpen, dataPath_);
    return false;
  }
  if (!DataFileAgreesWithHeader(data, header)) return false;
  header.nrOfKeys = static_cast<std::int32_t>(request_.indexes.size());
  header.openFlag = 1;
  std::byte bytes[format::kDataHeaderSize];
  header.Store(bytes);
  Announce("mark " + dataPath_);
  if (!engine_.WriteBytes(data, dataPath_, 0, bytes, sizeof bytes)) return false;
  // The scratch data file only serves to create the empty index file.
  Announce("create " + logPath_ + " " + FileSetPath(request_.name, "IX"));
  engine_.CreateFiles(logPath_, FileSetPath(request_.name, "IX"), length_, request_.indexes);
  Remove(logPath_);
  return engine_.Ok();
}

// Only the close after the last index clears OpenFlag.
bool RebuildRun::BuildEveryIndex(const format::DataHeader& header) {
  FileBlock* file = engine_.OpenFiles(request_.name, false, Engine::OpenPurpose::kRebuild);
  if (file == nullptr) return false;
  bool built = true;
  for (KeyNumber index = 1; built && index <= header.nrOfKeys; ++index) built = BuildIndex(*file, index);
  log_.Close();
  file->keepsOpenFlag = !built;
  engine_.CloseFiles(file);
  return built && engine_.Ok();
}

bool RebuildRun::DataFileAgreesWithHeader(OsFile& data, format::DataHeader& header) {
  std::byte bytes[format::kDataHeaderSize];
  std::int64_t size = 0;
  if (!engine_.ReadBytes(data, dataPath_, 0, bytes, sizeof bytes)) return false;
  if (int error = data.Size(size)) {
    engine_.FailOs(error, FileFunction::kSize, dataPath_);
    return false;
  }
  header = format::DataHeader::Load(bytes);
  bool agrees = header.lenRec == length_ && size % length_ == 0 && size / length_ == header.numRec + 1;
  if (agrees && header.firstFree != -1) {
    std::byte field[4];
    agrees = header.firstFree >= 1 && header.firstFree <= header.numRec &&
             engine_.ReadBytes(data, dataPath_, static_cast<std::int64_t>(header.firstFree) * length_, field,
                               sizeof field) &&
             !InUse(field);
  }
  if (!agrees) engine_.SetStatus(status::kHeaderDisagrees);
  return agrees;
}

// An index that takes equal keys refuses none, so its keys can be gathered, sorted and
// laid out in pages at once, far faster than added one by one. An index of unique keys,
// or one there is no memory for, gets its keys added one by one as they are met.
bool RebuildRun::BuildIndex(FileBlock& file, KeyNumber index) {
  if (file.Index(index).AllowsDuplicates()) {
    if (file.Index(index).keyLength <= ShortEntry::kKeyBytes) {
      std::vector<ShortEntry> entries;
      if (Reserve(entries, file)) return BuildIndexFromSorted(file, index, entries);
    } else {
      std::vector<LongEntry> entries;
      if (Reserve(entries, file)) return BuildIndexFromSorted(file, index, entries);
    }
  }
  const bool unique = !file.Index(index).AllowsDuplicates();
  return ScanRecordsInUse(file, index, [&](RecordNumber number, std::byte* record) {
    KeyString key;
    if (!KeyOf(record, index, key)) return false;
    if (engine_.InsertKey(file, index, number, key)) {
      ++written_;
      return true;
    }
    if (!unique || engine_.Status() != status::kDuplicateKey) return false;
    engine_.SetStatus(status::kOk);
    if (!DropDuplicate(file, index, number, key, record)) return false;
    format::StoreInt32(record, -1);  // so this scan does not meet it again
    return true;
  });
}

// Room for an entry per slot, so that gathering never has to grow the vector.
template <class Entry>
bool RebuildRun::Reserve(std::vector<Entry>& entries, const FileBlock& file) {
  try {
    entries.reserve(static_cast<std::size_t>(std::max(file.header.numRec, 0)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return entries.capacity() > 0;
}

template <class Entry>
bool RebuildRun::BuildIndexFromSorted(FileBlock& file, KeyNumber index, std::vector<Entry>& entries) {
  const int keyLength = file.Index(index).keyLength;
  const bool gathered = ScanRecordsInUse(file, index, [&](RecordNumber number, const std::byte* record) {
    KeyString key;
    if (!KeyOf(record, index, key)) return false;
    if (key.size() > keyLength) return engine_.Fail(status::kKeyTooLong), false;
    entries.push_back(Entry(number, key));
    ++written_;
    return true;
  });
  if (!gathered) return false;
  SortEntries(entries);
  if (!engine_.MarkChanged(file)) return false;
  BTree(engine_, file, index).BuildFromSorted(entries.size(), [&](std::size_t i) { return entries[i].AsItem(); });
  return engine_.Ok();
}

// One scan of the data file for index `index`: each record in use is counted as read
// and handed to `visit` (which may mark it in the read-ahead block), then reported.
bool RebuildRun::ScanRecordsInUse(FileBlock& file, KeyNumber index,
                                  const std::function<bool(RecordNumber, std::byte*)>& visit) {
  read_ = written_ = 0;
  const std::int32_t last = file.header.numRec;
  const int perBlock = RecordsPerBlock(length_);
  std::vector<std::byte> block(static_cast<std::size_t>(perBlock) * static_cast<std::size_t>(length_));
  for (std::int32_t first = 1; first <= last; first += perBlock) {
    const int count = std::min(perBlock, last - first + 1);
    if (!engine_.ReadBytes(file.data, file.dataPath, file.RecordOffset(first), block.data(),
                           static_cast<std::size_t>(count) * static_cast<std::size_t>(length_)))
      return false;
    for (int i = 0; i < count; ++i) {
      std::byte* record = block.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(length_);
      if (!InUse(record)) continue;
      ++read_;
      if (!visit(first + i, record) || !Report(index, record)) return false;
    }
  }
  return true;
}

bool RebuildRun::DropDuplicate(FileBlock& file, KeyNumber index, RecordNumber number, const KeyString& key,
                               const std::byte* record) {
  const std::string refused = "Key:<" + key.str() + ">" + " KeyNr: " + std::to_string(index) +
                              " Ref: " + std::to_string(number) + " not added" + kLineBreak;
  if (!Log(refused)) return false;
  for (KeyNumber earlier = 1; earlier < index; ++earlier) {
    KeyString earlierKey;
    if (!KeyOf(record, earlier, earlierKey) || !engine_.RemoveKey(file, earlier, number, earlierKey)) return false;
  }
  engine_.RemoveRecord(file, number);
  if (!engine_.Ok()) return false;
  return Log(std::string("Data record deleted - Dump follows") + kLineBreak) &&
         Log(record, static_cast<std::size_t>(length_)) && Log(kLineBreak, 2);
}

bool RebuildRun::Log(const void* bytes, std::size_t size) {
  int error = 0;
  if (!log_.IsOpen()) error = log_.Open(logPath_, OsFile::Mode::kCreate);
  std::size_t done = 0;
  if (error == 0) error = log_.WriteAt(logSize_, bytes, size, done);
  if (error == 0 && done != size) error = ENOSPC;
  if (error != 0) {
    engine_.FailOs(error, FileFunction::kWrite, logPath_);
    engine_.SetStatus(status::kLogWriteFailedBase + error);
    return false;
  }
  logSize_ += static_cast<std::int64_t>(size);
  return true;
}

bool RebuildRun::KeyOf(const std::byte* record, KeyNumber index, KeyString& key) {
  if (request_.keyOf && request_.keyOf(std::span(record, static_cast<std::size_t>(length_)), index, key)) return true;
  engine_.Fail(status::kKeyFunctionFailed);
  return false;
}

bool RebuildRun::Report(KeyNumber index, const std::byte* record) {
  if (!request_.progress) return true;
  const RebuildProgress progress{index, read_, written_, length_,
                                 std::span(record, static_cast<std::size_t>(length_))};
  if (request_.progress(progress)) return true;
  engine_.Fail(status::kStoppedByProgress);
  return false;
}

void RebuildRun::Announce(const std::string& step) {
  if (request_.beforeFileChange) request_.beforeFileChange(step);
}

int RebuildRun::Remove(const std::string& path) {
  Announce("remove " + path);
  return RemoveFile(path);
}

bool RebuildRun::Rename(const std::string& from, const std::string& to) {
  Announce("rename " + from + " " + to);
  return std::rename(from.c_str(), to.c_str()) == 0;
}

// Leaves OpenFlag 1 in the data header, whatever else failed, so the next open asks
// for a rebuild.
void RebuildRun::MarkNotClosed() {
  Announce("mark " + dataPath_);
  OsFile data;
  if (data.Open(dataPath_, OsFile::Mode::kReadWrite) != 0) return;
  const std::byte flag{1};
  std::size_t done = 0;
  data.WriteAt(format::kOpenFlagOffset, &flag, 1, done);
}

// --- The public operations ------------------------------------------------------

void Engine::RebuildFileSet(const RebuildRequest& request) {
  Operation operation(*this);
  if (!operation) return;
  RebuildRun run(*this, request);
  if (run.Valid() && run.DataPass()) run.IndexPass();
}

void Engine::RebuildDataFile(const RebuildRequest& request) {
  Operation operation(*this);
  if (!operation) return;
  RebuildRun run(*this, request);
  if (run.Valid()) run.DataPass();
}

void Engine::RebuildIndexFile(const RebuildRequest& request) {
  Operation operation(*this);
  if (!operation) return;
  RebuildRun run(*this, request);
  if (run.Valid()) run.IndexPass();
}

}  // namespace engine
