// Helpers shared by the engine tests: a private temporary folder per test and raw
// access to the bytes of the files the engine wrote.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "platform/testing/temp_folder.h"

namespace engine::testing {

using platform::testing::ScopedWorkingFolder;
using platform::testing::TempDir;

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::int32_t Int32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes.at(offset + static_cast<std::size_t>(i));
  return static_cast<std::int32_t>(value);
}

inline std::uint16_t Int16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

// One index's header as it lies in row 0 of an index file, with the column it starts at.
struct RawIndexHeader {
  std::size_t column = 0;
  std::int32_t firstFree = 0;
  std::int32_t numberFree = 0;
  std::int32_t numPages = 0;
  std::int32_t pageLen = 0;
  std::int32_t rootRef = 0;
  std::uint8_t allowDuplicates = 0;
  std::int32_t numKeys = 0;
  std::uint16_t pageSize = 0;  // as stored; 0 stands for 62

  int ItemsPerPage() const { return pageSize == 0 ? 62 : pageSize; }
  int KeyLength() const { return (pageLen - 6) / ItemsPerPage() - 9; }
};

// The headers of the first `count` indexes, each at the running sum of the page lengths before it.
inline std::vector<RawIndexHeader> IndexHeaders(const std::vector<std::uint8_t>& ix, int count) {
  std::vector<RawIndexHeader> headers;
  std::size_t column = 0;
  for (int k = 0; k < count; ++k) {
    RawIndexHeader h;
    h.column = column;
    h.firstFree = Int32At(ix, column);
    h.numberFree = Int32At(ix, column + 4);
    h.numPages = Int32At(ix, column + 8);
    h.pageLen = Int32At(ix, column + 12);
    h.rootRef = Int32At(ix, column + 16);
    h.allowDuplicates = ix.at(column + 20);
    h.numKeys = Int32At(ix, column + 22);
    h.pageSize = Int16At(ix, column + 26);
    headers.push_back(h);
    column += static_cast<std::size_t>(h.pageLen);
  }
  return headers;
}

inline std::size_t RowLength(const std::vector<RawIndexHeader>& headers) {
  std::size_t row = 0;
  for (const RawIndexHeader& h : headers) row += static_cast<std::size_t>(h.pageLen);
  return row;
}

struct RawItem {
  std::int32_t record = 0;
  std::int32_t rightChild = 0;
  std::string key;
};

struct RawPage {
  std::uint16_t itemCount = 0;
  std::int32_t leftChild = 0;
  std::vector<RawItem> items;
};

inline std::size_t PageOffset(std::size_t rowLength, const RawIndexHeader& h, std::int32_t page) {
  return static_cast<std::size_t>(page) * rowLength + h.column;
}

// Unpacks page `page` of the index described by `h`; items beyond ItemsPerPage are not read.
inline RawPage PageAt(const std::vector<std::uint8_t>& ix, std::size_t rowLength, const RawIndexHeader& h,
                      std::int32_t page) {
  const std::size_t base = PageOffset(rowLength, h, page);
  const std::size_t itemLength = static_cast<std::size_t>(h.KeyLength()) + 9;
  RawPage result;
  result.itemCount = Int16At(ix, base);
  result.leftChild = Int32At(ix, base + 2);
  const int count = std::min<int>(result.itemCount, h.ItemsPerPage());
  for (int i = 0; i < count; ++i) {
    const std::size_t at = base + 6 + static_cast<std::size_t>(i) * itemLength;
    RawItem item;
    item.record = Int32At(ix, at);
    item.rightChild = Int32At(ix, at + 4);
    const std::size_t length = std::min<std::size_t>(ix.at(at + 8), static_cast<std::size_t>(h.KeyLength()));
    for (std::size_t b = 0; b < length; ++b) item.key.push_back(static_cast<char>(ix.at(at + 9 + b)));
    result.items.push_back(item);
  }
  return result;
}

inline void SetInt32At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(bits >> (8 * i));
}

inline void SetInt16At(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<std::uint8_t>(value);
  bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

// The names of the entries of a folder, sorted.
inline std::vector<std::string> FileNamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// File descriptors this process holds, to see that a failed open closed what it had opened.
inline int OpenDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// A small record with three key fields, for the tests that rebuild indexes from records.
struct KeyedItem {
  std::int32_t deletion = 0;
  char code[8] = {};
  char name[12] = {};
  char tag[6] = {};
  std::int16_t spare = 0;
  std::int32_t serial = 0;
};
static_assert(sizeof(KeyedItem) == 36);

enum class ItemField { kCode, kName, kTag };

inline KeyedItem MakeKeyedItem(int serial, std::string_view code, std::string_view name, std::string_view tag) {
  KeyedItem item;
  std::memcpy(item.code, code.data(), std::min(code.size(), sizeof item.code));
  std::memcpy(item.name, name.data(), std::min(name.size(), sizeof item.name));
  std::memcpy(item.tag, tag.data(), std::min(tag.size(), sizeof item.tag));
  item.serial = serial;
  return item;
}

inline KeyedItem KeyedItemFrom(std::span<const std::byte> record) {
  KeyedItem item;
  std::memcpy(&item, record.data(), std::min(record.size(), sizeof item));
  return item;
}

// The key of a field: its text up to the first zero byte.
inline KeyString KeyOfField(const KeyedItem& item, ItemField field) {
  const auto text = [](const char* bytes, std::size_t size) { return std::string_view(bytes, strnlen(bytes, size)); };
  switch (field) {
    case ItemField::kCode: return text(item.code, sizeof item.code);
    case ItemField::kName: return text(item.name, sizeof item.name);
    case ItemField::kTag: return text(item.tag, sizeof item.tag);
  }
  return {};
}

// Index k (1-based) is built from fields[k - 1].
inline KeyFunction KeyFunctionOf(std::vector<ItemField> fields) {
  return [fields = std::move(fields)](std::span<const std::byte> record, KeyNumber k, KeyString& key) {
    if (k < 1 || k > static_cast<int>(fields.size())) return false;
    key = KeyOfField(KeyedItemFrom(record), fields[static_cast<std::size_t>(k - 1)]);
    return true;
  };
}

using IndexEntry = std::pair<std::string, RecordNumber>;

// The records in use, in slot order, with their numbers; reads at most `limit` slots.
inline std::vector<std::pair<RecordNumber, KeyedItem>> ReadKeyedItems(Engine& engine, FileBlock* fileBlock,
                                                                     int limit = 100000) {
  std::vector<std::pair<RecordNumber, KeyedItem>> items;
  const RecordNumber slotCount = std::min(engine.FileLength(fileBlock), limit);
  for (RecordNumber number = 1; number < slotCount; ++number) {
    KeyedItem item;
    engine.GetRecord(fileBlock, number, RecordBytes(item));
    if (!engine.Ok()) break;
    if (item.deletion == 0) items.emplace_back(number, item);
  }
  return items;
}

// The entries of one index in key order, from a search for the first one and then
// with NextKey, wherever the index was left; at most `limit` of them.
inline std::vector<IndexEntry> WalkIndex(Engine& engine, FileBlock* fileBlock, KeyNumber index, int limit = 100000) {
  std::vector<IndexEntry> entries;
  RecordNumber number = 0;
  KeyString key;
  engine.SearchKey(fileBlock, index, number, key);
  for (int step = 0; step < limit && engine.Ok(); ++step) {
    entries.emplace_back(key.str(), number);
    engine.NextKey(fileBlock, index, number, key);
  }
  return entries;
}

// What an index over `field` must hold for these records: (key, number) in key order.
inline std::vector<IndexEntry> ExpectedEntries(const std::vector<std::pair<RecordNumber, KeyedItem>>& items,
                                               ItemField field) {
  std::vector<IndexEntry> entries;
  for (const auto& [number, item] : items) entries.emplace_back(KeyOfField(item, field).str(), number);
  std::sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) {
    const int order = Compare(KeyString(a.first), KeyString(b.first));
    return order != 0 ? order < 0 : a.second < b.second;
  });
  return entries;
}

}  // namespace engine::testing
