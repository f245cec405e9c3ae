#include "files/keyed_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace files {
namespace {

namespace status = engine::status;

constexpr std::string_view kConfirmCaption = "Please Confirm";
constexpr std::string_view kLockQuestion = "Cannot get a lock.  Abort?";
constexpr std::string_view kInUseQuestion = "The files are in use.  Abort?";
constexpr std::string_view kDefectiveQuestion = "Index file is defective.  Rebuild?";
constexpr std::string_view kNewFileCaption = "New Company";
constexpr std::string_view kChangedMeanwhile = "The record has changed in the meantime.";
constexpr std::string_view kChangedCaption = "Record Changed";
constexpr std::string_view kRefusedNameCaption = "Company Number";
constexpr std::string_view kRebuildTitle = "Rebuild Status";
constexpr int kRebuildReportEvery = 50;

bool SameBytes(std::span<const std::byte> a, std::span<const std::byte> b) {
  return std::ranges::equal(a, b);
}

std::vector<std::string> RebuildLines(const engine::RebuildProgress& progress) {
  return {"Key number: " + std::to_string(progress.keyNumber),
          "Records read: " + std::to_string(progress.recordsRead),
          "Records written: " + std::to_string(progress.recordsWritten)};
}

}  // namespace

KeyedFile::KeyedFile(Engine& engine, platform::Dialogs& dialogs, platform::ProgressSink& progress,
                     FileDescription description)
    : engine_(engine), dialogs_(dialogs), progress_(progress), description_(std::move(description)) {}

KeyedFile::~KeyedFile() { Close(); }

void KeyedFile::Close() {
  if (block_ != nullptr) engine_.CloseFileSet(block_);
  block_ = nullptr;
}

bool KeyedFile::NameUsable() {
  if (description_.nameRefusal.empty()) return true;
  dialogs_.inform(kRefusedNameCaption, description_.nameRefusal, platform::Icon::kWarning);
  return false;
}

bool KeyedFile::Open() {
  failure_ = status::kOk;
  if (IsOpen()) return true;
  if (!NameUsable()) return false;
  bool created = false;
  for (;;) {
    const int opened = OpenAsDescribed();
    switch (opened) {
      case status::kOk:
        return true;
      case status::kMustRebuild:
        // Whatever the rebuild's outcome, the open is tried again: a file it could
        // not repair brings the same question back.
        if (!dialogs_.confirm(kConfirmCaption, kDefectiveQuestion)) return Fail(opened);
        Rebuild();
        break;
      case status::kFileNotFound:
        if (created || !AgreeToCreate() || !Create()) return Fail(engine_.Ok() ? opened : engine_.Status());
        created = true;
        break;
      default:
        return Fail(opened);
    }
  }
}

// A file whose records are not of the described length would be read as the wrong
// records: it is treated as one to rebuild, as a damaged header is.
int KeyedFile::OpenAsDescribed() {
  FileBlock* opened = engine_.OpenFileSet(description_.name, false);
  if (!engine_.Ok()) return engine_.Status();
  if (engine_.RecordLength(opened) != description_.recordLength) {
    engine_.CloseFileSet(opened);
    return status::kMustRebuild;
  }
  block_ = opened;
  return status::kOk;
}

bool KeyedFile::AgreeToCreate() {
  if (description_.creationNotice.empty()) return true;
  return dialogs_.ask(kNewFileCaption, description_.creationNotice, platform::Buttons::kOkCancel,
                      platform::Icon::kInformation) == platform::Answer::kOk;
}

bool KeyedFile::Create() {
  if (!NameUsable()) return false;
  engine_.CreateFileSet(description_.name, description_.recordLength, description_.indexes);
  return engine_.Ok();
}

bool KeyedFile::Rebuild() {
  Close();
  if (!NameUsable()) return false;
  engine::RebuildRequest request;
  request.name = description_.name;
  request.recordLength = description_.recordLength;
  request.indexes = description_.indexes;
  request.keyOf = [this](std::span<const std::byte> record, KeyNumber index, KeyString& key) {
    key = KeyOf(record, index);
    return true;
  };
  request.progress = [this](const engine::RebuildProgress& step) {
    progress_.KeepResponsive();
    if (step.recordsRead % kRebuildReportEvery == 0) progress_.Show(RebuildLines(step));
    return true;
  };
  progress_.Begin(kRebuildTitle, description_.rebuildCaption);
  engine_.RebuildFileSet(request);
  progress_.End();
  return engine_.Ok();
}

bool KeyedFile::WithRetry(const std::function<void()>& call) {
  for (;;) {
    call();
    if (engine_.ErrorClass() != engine::StatusClass::kMayRetry) return engine_.Ok();
    if (dialogs_.confirm(kConfirmCaption, kLockQuestion)) return false;
  }
}

bool KeyedFile::LockFile() {
  for (;;) {
    engine_.LockFileSet(block_);
    if (engine_.Ok()) return true;
    if (dialogs_.confirm(kConfirmCaption, kInUseQuestion)) return false;
  }
}

void KeyedFile::UnlockFile() { engine_.UnlockFileSet(block_); }

bool KeyedFile::Fail(int code) {
  if (failure_ == status::kOk) failure_ = code;
  return false;
}

KeyString KeyedFile::KeyOf(std::span<const std::byte> record, KeyNumber index) const {
  return description_.buildKey(record, index);
}

bool KeyedFile::RecordBuffersFit(std::span<const std::byte> record) const {
  return IsOpen() && record.size() == static_cast<std::size_t>(description_.recordLength);
}

// A record refused for a duplicate key is never written: killed between the write and
// the refusal, the rebuild would keep whichever of the two copies came first in slot
// order, often the new one in a reused slot, and drop the older record.
bool KeyedFile::UniqueKeysFree(std::span<const std::byte> record) {
  for (KeyNumber index = 1; index <= KeyCount(); ++index) {
    if (description_.indexes[static_cast<std::size_t>(index - 1)].allowDuplicates) continue;
    const KeyString key = KeyOf(record, index);
    RecordNumber number = 0;
    KeyString found = key;
    if (Search(index, number, found)) {
      if (found == key) return Fail(status::kDuplicateKey);
    } else if (failure_ != status::kSearchNotFound) {
      return false;
    }
    failure_ = status::kOk;
  }
  return true;
}

bool KeyedFile::Add(std::span<const std::byte> record, RecordNumber& added) {
  failure_ = status::kOk;
  if (!RecordBuffersFit(record) || !LockFile()) return false;
  if (!UniqueKeysFree(record)) {
    UnlockFile();
    return false;
  }
  RecordNumber number = 0;
  if (!WithRetry([&] { number = engine_.AddRecord(block_, record); })) {
    UnlockFile();
    return Fail(engine_.Status());
  }
  for (KeyNumber index = 1; index <= KeyCount(); ++index) {
    const KeyString key = KeyOf(record, index);
    if (WithRetry([&] { engine_.AddKey(block_, index, number, key); })) continue;
    Fail(engine_.Status());
    // Take the record out again so that it leaves no trace; best effort.
    for (KeyNumber added_index = 1; added_index < index; ++added_index) {
      const KeyString earlier = KeyOf(record, added_index);
      WithRetry([&] { engine_.DeleteKey(block_, added_index, number, earlier); });
    }
    WithRetry([&] { engine_.DeleteRecord(block_, number); });
    UnlockFile();
    return false;
  }
  UnlockFile();
  added = number;
  return true;
}

bool KeyedFile::Update(RecordNumber number, std::span<const std::byte> record, std::span<const std::byte> snapshot) {
  failure_ = status::kOk;
  if (!RecordBuffersFit(record)) return false;
  const bool keepsSnapshot = !snapshot.empty();
  if (keepsSnapshot && SameBytes(record, snapshot)) return true;
  if (!LockFile()) return false;
  std::vector<std::byte> stored(record.size());
  engine_.GetRecord(block_, number, stored);
  if (!engine_.Ok() || !engine::RecordInUse(stored)) {
    UnlockFile();
    return Fail(engine_.Ok() ? status::kNoUsedRecord : engine_.Status());
  }
  if (keepsSnapshot && !SameBytes(stored, snapshot)) {
    UnlockFile();
    dialogs_.inform(kChangedCaption, kChangedMeanwhile, platform::Icon::kWarning);
    return false;
  }
  const bool stored_ok = StoreChangedRecord(number, stored, record);
  UnlockFile();
  return stored_ok;
}

// Moves every key that changed (new key in first, then the old one out), then writes
// the record; on any failure the keys already moved are moved back.
bool KeyedFile::StoreChangedRecord(RecordNumber number, std::span<const std::byte> stored,
                                   std::span<const std::byte> record) {
  struct MovedKey {
    KeyNumber index;
    KeyString from, to;
  };
  std::vector<MovedKey> moved;
  auto moveBack = [&] {
    for (const MovedKey& key : moved) ChangeKey(key.index, number, key.to, key.from);
  };
  for (KeyNumber index = 1; index <= KeyCount(); ++index) {
    const KeyString from = KeyOf(stored, index);
    const KeyString to = KeyOf(record, index);
    if (from == to) continue;
    if (!ChangeKey(index, number, from, to)) {
      Fail(engine_.Status());
      moveBack();
      return false;
    }
    moved.push_back({index, from, to});
  }
  if (!WithRetry([&] { engine_.PutRecord(block_, number, record); })) {
    Fail(engine_.Status());
    moveBack();
    return false;
  }
  return true;
}

// An old key that is already missing from the index counts as removed; any other
// failure to remove it undoes the change, so the record never sits in an index twice.
bool KeyedFile::ChangeKey(KeyNumber index, RecordNumber number, const KeyString& from, const KeyString& to) {
  if (!WithRetry([&] { engine_.AddKey(block_, index, number, to); })) return false;
  if (WithRetry([&] { engine_.DeleteKey(block_, index, number, from); })) return true;
  if (engine_.Status() == status::kDeleteKeyNotFound) return true;
  WithRetry([&] { engine_.DeleteKey(block_, index, number, to); });
  return false;
}

bool KeyedFile::Delete(RecordNumber number, std::span<const std::byte> record) {
  failure_ = status::kOk;
  if (!RecordBuffersFit(record) || !LockFile()) return false;
  // Deleting a slot that is already free would tangle the free chain.
  std::vector<std::byte> stored(record.size());
  engine_.GetRecord(block_, number, stored);
  if (!engine_.Ok() || !engine::RecordInUse(stored)) {
    UnlockFile();
    return Fail(engine_.Ok() ? status::kNoUsedRecord : engine_.Status());
  }
  bool all_ok = true;
  for (KeyNumber index = 1; index <= KeyCount(); ++index) {
    const KeyString key = KeyOf(record, index);
    if (!WithRetry([&] { engine_.DeleteKey(block_, index, number, key); })) all_ok = Fail(engine_.Status());
  }
  if (!WithRetry([&] { engine_.DeleteRecord(block_, number); })) all_ok = Fail(engine_.Status());
  UnlockFile();
  return all_ok;
}

bool KeyedFile::Search(KeyNumber index, RecordNumber& number, KeyString& key) {
  failure_ = status::kOk;
  if (!IsOpen()) return false;
  if (WithRetry([&] { engine_.SearchKey(block_, index, number, key); })) return true;
  return Fail(engine_.Status());
}

bool KeyedFile::Read(RecordNumber number, std::span<std::byte> record) {
  if (!RecordBuffersFit(record)) return false;
  engine_.GetRecord(block_, number, record);
  return engine_.Ok() && engine::RecordInUse(record);
}

bool KeyedFile::WalkIndex(KeyNumber index, const KeyString& from, const EntryVisitor& visit) {
  RecordNumber number = 0;
  KeyString key = from;
  if (!Search(index, number, key)) return failure_ == status::kSearchNotFound;
  while (visit(number, key)) {
    engine_.NextKey(block_, index, number, key);
    if (engine_.Status() == status::kNextAtEnd) return true;
    if (!engine_.Ok()) return Fail(engine_.Status());
  }
  return true;
}

bool KeyedFile::WalkRecords(const std::function<bool(RecordNumber number)>& visit) {
  if (!IsOpen()) return false;
  RecordNumber number = 0;
  for (;;) {
    engine_.NextUsedRecord(block_, number);
    if (engine_.Status() == status::kNoUsedRecord) return true;
    if (!engine_.Ok()) return Fail(engine_.Status());
    if (!visit(number)) return true;
  }
}

std::int32_t KeyedFile::UsedRecords() { return IsOpen() ? engine_.UsedRecords(block_) : 0; }

std::int32_t KeyedFile::KeysInIndex(KeyNumber index) { return IsOpen() ? engine_.KeysInIndex(block_, index) : 0; }

std::unique_ptr<engine::BrowserSource> KeyedFile::BrowserOver(KeyNumber order, std::span<std::byte> record, int rows) {
  return std::make_unique<engine::BrowserSource>(engine_, block_, order, record, KeyString(), KeyString(), rows);
}

}  // namespace files
