// A keyed file seen as a table of one record kind: typed reads, exact look-ups and
// walks in key or slot order, and the changes of the file-set protocol. Nothing above
// this library handles engine buffers or positions; a walk always starts with a
// search, so no caller depends on where another reader left an index.
#pragma once

#include <functional>
#include <optional>

#include "files/keyed_file.h"

namespace files {

// A record with the slot it was read from and, in key walks, the key it was met by.
template <class Record>
struct Row {
  RecordNumber number = 0;
  KeyString key;
  Record record{};
};

template <class Record>
class Table {
 public:
  using Visitor = std::function<bool(const Row<Record>& row)>;

  explicit Table(KeyedFile& file) : file_(file) {}

  KeyedFile& File() const { return file_; }

  // The record in slot `number`; nullopt when the slot is free or cannot be read.
  std::optional<Record> Read(RecordNumber number) const {
    Record record{};
    if (!file_.Read(number, RecordBytes(record))) return std::nullopt;
    return record;
  }

  // The first record filed under exactly `key` in `index`.
  std::optional<Row<Record>> FindExact(KeyNumber index, const KeyString& key) const {
    std::optional<Row<Record>> found;
    ForEachFrom(index, key, [&](const Row<Record>& row) {
      if (row.key == key) found = row;
      return false;
    });
    return found;
  }

  // The key `record` is filed under in `index`.
  KeyString KeyOf(const Record& record, KeyNumber index) const {
    return file_.description().buildKey(RecordBytes(record), index);
  }

  // Visits the records of `index` in key order, from the first key at or after `from`,
  // while `visit` returns true. False when a record could not be read or the index
  // failed; the visits made so far stand.
  bool ForEachFrom(KeyNumber index, const KeyString& from, const Visitor& visit) const {
    bool readable = true;
    const bool walked = file_.WalkIndex(index, from, [&](RecordNumber number, const KeyString& key) {
      Row<Record> row{number, key};
      readable = file_.Read(number, RecordBytes(row.record));
      return readable && visit(row);
    });
    return walked && readable;
  }

  // Visits the records that share `key` exactly in `index`, in the index's order.
  bool ForEachEqual(KeyNumber index, const KeyString& key, const Visitor& visit) const {
    return ForEachFrom(index, key, [&](const Row<Record>& row) { return row.key == key && visit(row); });
  }

  // Every record of `index` in key order.
  bool ForEach(KeyNumber index, const Visitor& visit) const { return ForEachFrom(index, KeyString(), visit); }

  // Visits the records in use in slot order, while `visit` returns true.
  bool ForEachRecord(const Visitor& visit) const {
    bool readable = true;
    const bool walked = file_.WalkRecords([&](RecordNumber number) {
      Row<Record> row{number, KeyString()};
      readable = file_.Read(number, RecordBytes(row.record));
      return readable && visit(row);
    });
    return walked && readable;
  }

  bool Add(const Record& record, RecordNumber& added) { return file_.Add(record, added); }
  bool Update(RecordNumber number, const Record& record, const Record* snapshot = nullptr) {
    return file_.Update(number, record, snapshot);
  }
  bool Delete(RecordNumber number, const Record& record) { return file_.Delete(number, record); }

 private:
  KeyedFile& file_;
};

}  // namespace files
