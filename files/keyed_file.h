// The one way windows use a keyed file: open it (creating or rebuilding it when that
// is needed and the user agrees), and add, change or delete a record together with
// all its keys, so that records and indexes never disagree. A file is described once
// (FileDescription) and every routine works from that description.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/browser_source.h"
#include "engine/engine.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

namespace files {

// The engine's vocabulary, used throughout the typed tables.
using engine::Engine;
using engine::FileBlock;
using engine::IndexSpec;
using engine::KeyNumber;
using engine::KeyString;
using engine::RecordBytes;
using engine::RecordNumber;

// Makes the key of one index from a record buffer of the file's record length.
using KeyBuilder = std::function<KeyString(std::span<const std::byte> record, KeyNumber key)>;

struct FileDescription {
  std::string name;         // file set name, relative to the data folder
  std::string nameRefusal;  // why `name` must not be used; empty when it may
  int recordLength = 0;
  std::vector<IndexSpec> indexes;
  KeyBuilder buildKey;
  std::string creationNotice;  // told before the file is created; empty: created silently
  std::string rebuildCaption;  // shown in the rebuild's status window
};

class KeyedFile {
 public:
  KeyedFile(Engine& engine, platform::Dialogs& dialogs, platform::ProgressSink& progress,
            FileDescription description);
  ~KeyedFile();
  KeyedFile(const KeyedFile&) = delete;
  KeyedFile& operator=(const KeyedFile&) = delete;

  // Opens the file set, creating it when it is missing and rebuilding it when it
  // was left damaged, each after asking. False leaves it closed.
  bool Open();
  void Close();
  bool IsOpen() const { return block_ != nullptr; }
  const FileDescription& description() const { return description_; }
  Engine& engine() const { return engine_; }
  // The engine handle, for this library and its tests only: everything above works
  // through the routines here and Table<Record>.
  FileBlock* Block() const { return block_; }
  int KeyCount() const { return static_cast<int>(description_.indexes.size()); }
  // The engine status of the step that made the last routine fail: later rollback
  // calls change the engine's own status.
  int FailureStatus() const { return failure_; }

  bool Create();
  // Closes the file set if it is open, then copies the data file and builds every
  // index anew, with the status window. It stays closed afterwards.
  bool Rebuild();

  bool Add(std::span<const std::byte> record, RecordNumber& added);
  // `snapshot` is the record as it was when editing began, for files whose editor
  // keeps one (empty otherwise): an unchanged edit writes nothing, and a record
  // changed by someone else in the meantime is not overwritten.
  bool Update(RecordNumber number, std::span<const std::byte> record, std::span<const std::byte> snapshot = {});
  bool Delete(RecordNumber number, std::span<const std::byte> record);
  // SearchKey: the first entry at or after `key`.
  bool Search(KeyNumber index, RecordNumber& number, KeyString& key);

  // --- Reading (the typed form is Table<Record>) --------------------------------
  // The record in slot `number` when it is in use; false when it is deleted or cannot
  // be read.
  bool Read(RecordNumber number, std::span<std::byte> record);
  // Visits the entries of `index` in key order from the first at or after `from`,
  // while `visit` returns true. Every walk starts with a search, whatever position
  // another reader left the index at. False when the walk ended on an error rather
  // than at the end of the index or by `visit`.
  using EntryVisitor = std::function<bool(RecordNumber number, const KeyString& key)>;
  bool WalkIndex(KeyNumber index, const KeyString& from, const EntryVisitor& visit);
  // Visits the records in use in slot order.
  bool WalkRecords(const std::function<bool(RecordNumber number)>& visit);
  std::int32_t UsedRecords();
  std::int32_t KeysInIndex(KeyNumber index);
  // A data source for the keyed browser over `order` (0: record-number order); the
  // record buffer must outlive it, and the file must stay open while it is used.
  std::unique_ptr<engine::BrowserSource> BrowserOver(KeyNumber order, std::span<std::byte> record, int rows);

  template <class Record>
  bool Add(const Record& record, RecordNumber& added) {
    return Add(RecordBytes(record), added);
  }
  template <class Record>
  bool Update(RecordNumber number, const Record& record, const Record* snapshot = nullptr) {
    return Update(number, RecordBytes(record),
                  snapshot != nullptr ? RecordBytes(*snapshot) : std::span<const std::byte>{});
  }
  template <class Record>
  bool Delete(RecordNumber number, const Record& record) {
    return Delete(number, RecordBytes(record));
  }

 private:
  bool Fail(int code);  // keeps the first failure of a routine; returns false
  bool UniqueKeysFree(std::span<const std::byte> record);
  int OpenAsDescribed();  // the engine status of the open
  bool NameUsable();
  bool AgreeToCreate();
  // Runs one changing or searching engine call again while it fails for a lock and
  // the user does not abort.
  bool WithRetry(const std::function<void()>& call);
  bool LockFile();
  void UnlockFile();
  KeyString KeyOf(std::span<const std::byte> record, KeyNumber index) const;
  bool ChangeKey(KeyNumber index, RecordNumber number, const KeyString& from, const KeyString& to);
  bool StoreChangedRecord(RecordNumber number, std::span<const std::byte> stored, std::span<const std::byte> record);
  bool RecordBuffersFit(std::span<const std::byte> record) const;

  Engine& engine_;
  platform::Dialogs& dialogs_;
  platform::ProgressSink& progress_;
  FileDescription description_;
  FileBlock* block_ = nullptr;
  int failure_ = engine::status::kOk;
};

}  // namespace files
