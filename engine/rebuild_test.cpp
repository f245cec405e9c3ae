// Rebuilding a file set from its data file: compaction, refused duplicates, progress and
// stopping, interrupted and refused rebuilds.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

using testing::FileNamesIn;
using testing::ItemField;
using testing::KeyedItem;
using testing::MakeKeyedItem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

using Items = std::vector<std::pair<RecordNumber, KeyedItem>>;
using Bytes = std::vector<std::uint8_t>;
constexpr int kLength = sizeof(KeyedItem);

KeyedItem ItemOf(int serial) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", serial);
  return MakeKeyedItem(serial, std::string("C") + text, std::string("N") + text, std::string("T") + text);
}

class RebuildTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GE(engine_.InitEngine(30), Engine::kMinPageBuffers); }

  std::string Path(const char* extension) const { return name_ + "." + extension; }

  // Creates the file set with these records, then deletes the given slots; no keys are
  // added, as the rebuild computes them.
  void Create(const std::vector<KeyedItem>& items, const std::vector<RecordNumber>& deleted = {}) {
    engine_.CreateFileSet(name_, kLength, indexes_);
    FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
    ASSERT_EQ(engine_.Status(), status::kOk);
    for (const KeyedItem& item : items) engine_.AddRecord(fileBlock, RecordBytes(item));
    for (RecordNumber number : deleted) engine_.DeleteRecord(fileBlock, number);
    engine_.CloseFileSet(fileBlock);
    ASSERT_EQ(engine_.Status(), status::kOk);
  }

  RebuildRequest Request(RebuildProgressFn progress = {}) const {
    return {name_, kLength, indexes_, testing::KeyFunctionOf(fields_), std::move(progress), {}};
  }

  // Opens the file set, expecting it to open, and returns its records in use.
  Items OpenAndRead() {
    FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
    EXPECT_EQ(engine_.Status(), status::kOk);
    if (fileBlock == nullptr) return {};
    Items items = testing::ReadKeyedItems(engine_, fileBlock);
    for (std::size_t k = 1; k <= indexes_.size(); ++k) {
      const auto index = static_cast<KeyNumber>(k);
      EXPECT_EQ(testing::WalkIndex(engine_, fileBlock, index), testing::ExpectedEntries(items, fields_[k - 1]))
          << "index " << k;
    }
    engine_.CloseFileSet(fileBlock);
    return items;
  }

  // Expects the file set to be refused as one to rebuild; closes it if it opens anyway.
  void ExpectMustRebuild() {
    FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
    EXPECT_EQ(engine_.Status(), status::kMustRebuild);
    if (fileBlock != nullptr) engine_.CloseFileSet(fileBlock);
  }

  static std::vector<int> Serials(const Items& items) {
    std::vector<int> serials;
    for (const auto& [number, item] : items) serials.push_back(item.serial);
    return serials;
  }

  TempDir dir_;
  std::string name_ = dir_.Name("ITEMS");
  std::vector<IndexSpec> indexes_{{8, false}, {12, true}};
  std::vector<ItemField> fields_{ItemField::kCode, ItemField::kName};
  Engine engine_;
};

std::vector<KeyedItem> FiveItems() { return {ItemOf(1), ItemOf(2), ItemOf(3), ItemOf(4), ItemOf(5)}; }

TEST_F(RebuildTest, CompactionKeepsOldOrderAndRenumbersFromOne) {
  Create(FiveItems(), {2, 4});
  engine_.RebuildFileSet(Request());
  ASSERT_EQ(engine_.Status(), status::kOk);
  const Bytes dat = ReadBytes(Path("DAT"));
  ASSERT_EQ(dat.size(), 4u * kLength);
  EXPECT_EQ(testing::Int32At(dat, 0), -1) << "FirstFree";
  EXPECT_EQ(testing::Int32At(dat, 4), 0) << "NumberFree";
  EXPECT_EQ(testing::Int32At(dat, 8), 3) << "NumRec";
  EXPECT_EQ(testing::Int32At(dat, 16), 2) << "NrOfKeys";
  EXPECT_EQ(dat[20], 0) << "OpenFlag";
  const Items items = OpenAndRead();
  EXPECT_EQ(Serials(items), (std::vector<int>{1, 3, 5}));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[2].first, 3);
  EXPECT_EQ(FileNamesIn(dir_.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
}

TEST_F(RebuildTest, CompactionIsExactAcrossReadBlocksOfEveryRecordLength) {
  struct Case {
    int length;
    int records;
  };
  // Many small records span several read blocks; long ones are copied without the
  // write-behind buffer, two to a block or one at a time.
  const Case cases[] = {{kLength, 2000}, {1000, 100}, {16385, 9}, {40000, 7}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.length);
    TempDir dir;
    name_ = dir.Name("ITEMS");
    const auto recordOf = [&](int serial) {
      std::vector<std::byte> record(static_cast<std::size_t>(test.length), std::byte(serial * 7 + 1));
      const KeyedItem item = ItemOf(serial);
      std::memcpy(record.data(), &item, sizeof item);
      return record;
    };
    engine_.CreateFileSet(name_, test.length, indexes_);
    FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
    std::vector<int> kept;
    for (int serial = 1; serial <= test.records; ++serial) {
      engine_.AddRecord(fileBlock, recordOf(serial));
      if (serial % 3 != 0) kept.push_back(serial);
    }
    for (RecordNumber number = 3; number <= test.records; number += 3) engine_.DeleteRecord(fileBlock, number);
    engine_.CloseFileSet(fileBlock);
    ASSERT_EQ(engine_.Status(), status::kOk);

    RebuildRequest request = Request();
    request.recordLength = test.length;
    engine_.RebuildFileSet(request);
    ASSERT_EQ(engine_.Status(), status::kOk);
    fileBlock = engine_.OpenFileSet(name_, false);
    ASSERT_EQ(engine_.Status(), status::kOk);
    EXPECT_EQ(engine_.FileLength(fileBlock), static_cast<std::int32_t>(kept.size()) + 1);
    Items items;
    int damaged = 0;
    std::vector<std::byte> record(static_cast<std::size_t>(test.length));
    for (RecordNumber number = 1; number < engine_.FileLength(fileBlock); ++number) {
      engine_.GetRecord(fileBlock, number, record);
      items.emplace_back(number, testing::KeyedItemFrom(record));
      damaged += record != recordOf(items.back().second.serial);
    }
    EXPECT_EQ(Serials(items), kept);
    EXPECT_EQ(damaged, 0) << "records whose bytes changed";
    for (KeyNumber k = 1; k <= 2; ++k)
      EXPECT_EQ(testing::WalkIndex(engine_, fileBlock, k), testing::ExpectedEntries(items, fields_[k - 1]));
    engine_.CloseFileSet(fileBlock);
  }
}

TEST_F(RebuildTest, RecordsAreRecoveredWhateverTheHeaderAndIndexFileHold) {
  struct Case {
    const char* what;
    std::function<void(Bytes& dat, const std::filesystem::path& ix)> damage;
  };
  const Case cases[] = {
      {"header of 0xFF bytes", [](Bytes& dat, const auto&) { std::fill_n(dat.begin(), 21, 0xFF); }},
      {"header of zero bytes", [](Bytes& dat, const auto&) { std::fill_n(dat.begin(), 21, 0); }},
      {"index file missing", [](Bytes&, const auto& ix) { std::filesystem::remove(ix); }},
      {"index file of garbage", [](Bytes&, const auto& ix) { WriteBytes(ix, Bytes(5000, 0xAB)); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempDir dir;
    name_ = dir.Name("ITEMS");
    Create(FiveItems(), {2, 4});
    Bytes dat = ReadBytes(Path("DAT"));
    test.damage(dat, Path("IX"));
    WriteBytes(Path("DAT"), dat);
    engine_.RebuildFileSet(Request());
    EXPECT_EQ(engine_.Status(), status::kOk);
    EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 3, 5}));
  }
}

TEST_F(RebuildTest, EmptyKeysAreStillAddedToEveryIndex) {
  indexes_ = {{8, false}, {12, true}, {6, true}};
  fields_ = {ItemField::kCode, ItemField::kName, ItemField::kTag};
  Create({MakeKeyedItem(1, "A", "", ""), MakeKeyedItem(2, "", "X", ""), MakeKeyedItem(3, "B", "", "")});
  engine_.RebuildFileSet(Request());
  ASSERT_EQ(engine_.Status(), status::kOk);
  const Items items = OpenAndRead();
  EXPECT_EQ(Serials(items), (std::vector<int>{1, 2, 3}));
  FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
  for (KeyNumber k = 1; k <= 3; ++k) EXPECT_EQ(engine_.KeysInIndex(fileBlock, k), 3) << "index " << k;
  RecordNumber number = 0;
  KeyString key;
  engine_.FindKey(fileBlock, 1, number, key, 0);
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(number, 2);
  engine_.CloseFileSet(fileBlock);
}

TEST_F(RebuildTest, DuplicateInUniqueIndexIsLoggedAndRecordRemovedFromEarlierIndexes) {
  indexes_ = {{12, true}, {8, false}, {6, false}};
  fields_ = {ItemField::kName, ItemField::kCode, ItemField::kTag};
  const std::vector<KeyedItem> items = {
      MakeKeyedItem(1, "A", "X", "T1"), MakeKeyedItem(2, "B", "X", "T2"),
      MakeKeyedItem(3, "A", "Y", "T3"),  // code taken by record 1: refused in index 2
      MakeKeyedItem(4, "C", "Y", "T1"),  // tag taken by record 1: refused in index 3
      MakeKeyedItem(5, "D", "Z", "T5")};
  Create(items);
  WriteBytes(Path("MSG"), {'o', 'l', 'd'});  // a log left by an earlier rebuild is replaced
  engine_.RebuildFileSet(Request());
  EXPECT_EQ(engine_.Status(), status::kOk);

  const auto dump = [](const char* key, int k, int ref, const KeyedItem& item) {
    const std::string head = std::string("Key:<") + key + "> KeyNr: " + std::to_string(k) + " Ref: " +
                             std::to_string(ref) + " not added\r\nData record deleted - Dump follows\r\n";
    Bytes bytes(head.begin(), head.end());
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&item);
    bytes.insert(bytes.end(), raw, raw + kLength);
    bytes.insert(bytes.end(), {'\r', '\n'});
    return bytes;
  };
  Bytes expected = dump("A", 2, 3, items[2]);
  const Bytes second = dump("T1", 3, 4, items[3]);
  expected.insert(expected.end(), second.begin(), second.end());
  Bytes log = ReadBytes(Path("MSG"));
  // The deletion field of a dumped record may already carry its free-chain link.
  if (log.size() == expected.size())
    for (const std::size_t start : {expected.size() - second.size() - kLength - 2, expected.size() - kLength - 2})
      for (std::size_t i = 0; i < 4; ++i) log[start + i] = expected[start + i] = 0;
  EXPECT_EQ(std::string(log.begin(), log.end()), std::string(expected.begin(), expected.end()));

  EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 2, 5}));
  FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
  EXPECT_EQ(engine_.UsedRecords(fileBlock), 3);
  EXPECT_EQ(engine_.FileLength(fileBlock), 6) << "the index pass deletes, it does not compact";
  for (KeyNumber k = 1; k <= 3; ++k) EXPECT_EQ(engine_.KeysInIndex(fileBlock, k), 3) << "index " << k;
  engine_.CloseFileSet(fileBlock);
}

// Counters that disagree with the file length once sent AddRecord past the end of the file
// or over records in use; such a file set must go to the rebuild, which reads the records
// by the caller's record length and whatever the header claims.
TEST_F(RebuildTest, CleanlyClosedHeaderThatContradictsItsFileIsRefusedAndRebuilt) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  };
  const Case cases[] = {
      {"file cut inside its last slot", [](Bytes& b) { b.resize(b.size() - kLength / 2); }},
      {"NumRec too high", [](Bytes& b) { testing::SetInt32At(b, 8, 10); }},
      {"NumRec too low", [](Bytes& b) { testing::SetInt32At(b, 8, 5); }},
      {"high bit of NumRec flipped", [](Bytes& b) { testing::SetInt32At(b, 8, testing::Int32At(b, 8) ^ (1 << 30)); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempDir dir;
    name_ = dir.Name("ITEMS");
    std::vector<KeyedItem> items;
    for (int serial = 1; serial <= 8; ++serial) items.push_back(ItemOf(serial));
    Create(items, {3, 8});  // the last slot is deleted, so the cut loses no record in use
    Bytes dat = ReadBytes(Path("DAT"));
    ASSERT_EQ(dat[20], 0) << "closed properly";
    test.damage(dat);
    WriteBytes(Path("DAT"), dat);
    for (const bool readOnly : {false, true}) {
      const int descriptors = testing::OpenDescriptorCount();
      EXPECT_EQ(engine_.OpenFileSet(name_, readOnly), nullptr) << "read-only " << readOnly;
      EXPECT_EQ(engine_.Status(), status::kMustRebuild) << "read-only " << readOnly;
      EXPECT_EQ(testing::OpenDescriptorCount(), descriptors);
    }
    engine_.RebuildFileSet(Request());
    EXPECT_EQ(engine_.Status(), status::kOk);
    EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 2, 4, 5, 6, 7}));
  }
}

// Depth of the leaves under `page`, checking on the way that every page but the root
// holds at least half a page and at most a page of items; -1 when they differ.
int CheckedDepth(const Bytes& ix, std::size_t rowLength, const testing::RawIndexHeader& h, std::int32_t page,
                 bool root, int& keys) {
  const testing::RawPage raw = testing::PageAt(ix, rowLength, h, page);
  EXPECT_LE(raw.itemCount, h.ItemsPerPage()) << "page " << page;
  if (!root) {
    EXPECT_GE(raw.itemCount, h.ItemsPerPage() / 2) << "page " << page;
  }
  keys += raw.itemCount;
  if (raw.leftChild == 0) return 1;
  const int depth = CheckedDepth(ix, rowLength, h, raw.leftChild, false, keys);
  for (const testing::RawItem& item : raw.items)
    if (CheckedDepth(ix, rowLength, h, item.rightChild, false, keys) != depth) return -1;
  return depth < 0 ? -1 : depth + 1;
}

// An index that takes equal keys is laid out at once from its sorted keys; it must be
// a sound tree that later additions and deletions keep working on.
TEST_F(RebuildTest, IndexOfEqualKeysIsLaidOutSoundlyAndStaysSoundUnderChanges) {
  // Few distinct keys are ordered by counting them, many by sorting.
  for (const auto& [count, distinct] : std::vector<std::pair<int, int>>{{1, 701}, {62, 701}, {63, 701}, {96, 701},
                                                                        {4000, 701}, {4000, 7}}) {
    SCOPED_TRACE("records: " + std::to_string(count) + ", distinct keys: " + std::to_string(distinct));
    std::vector<KeyedItem> items;
    for (int serial = 1; serial <= count; ++serial) {
      char name[16];
      std::snprintf(name, sizeof name, "N%d", serial * 7919 % distinct);  // shuffled, many equal
      items.push_back(MakeKeyedItem(serial, "C" + std::to_string(serial), name, ""));
    }
    Create(items);
    engine_.RebuildFileSet(Request());
    ASSERT_EQ(engine_.Status(), status::kOk);
    ASSERT_EQ(OpenAndRead().size(), static_cast<std::size_t>(count));

    const Bytes ix = ReadBytes(Path("IX"));
    const auto headers = testing::IndexHeaders(ix, 2);
    int keys = 0;
    EXPECT_GT(CheckedDepth(ix, testing::RowLength(headers), headers[1], headers[1].rootRef, true, keys), 0);
    EXPECT_EQ(keys, count);
    EXPECT_EQ(headers[1].numKeys, count);

    FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
    for (RecordNumber number = 1; number <= count; number += 2) {
      const KeyedItem& item = items[static_cast<std::size_t>(number - 1)];
      engine_.DeleteKey(fileBlock, 1, number, testing::KeyOfField(item, ItemField::kCode));
      engine_.DeleteKey(fileBlock, 2, number, testing::KeyOfField(item, ItemField::kName));
      engine_.DeleteRecord(fileBlock, number);
    }
    for (int serial = count + 1; serial <= count + count / 3; ++serial) {
      const KeyedItem item = MakeKeyedItem(serial, "C" + std::to_string(serial), "N" + std::to_string(serial % 5), "");
      const RecordNumber number = engine_.AddRecord(fileBlock, RecordBytes(item));
      engine_.AddKey(fileBlock, 1, number, testing::KeyOfField(item, ItemField::kCode));
      engine_.AddKey(fileBlock, 2, number, testing::KeyOfField(item, ItemField::kName));
    }
    ASSERT_EQ(engine_.Status(), status::kOk);
    engine_.CloseFileSet(fileBlock);
    OpenAndRead();
    for (const std::string& file : FileNamesIn(dir_.path())) std::filesystem::remove(dir_.path() / file);
  }
}

TEST_F(RebuildTest, ProgressIsReportedAfterEveryRecordOfEveryPass) {
  Create(FiveItems(), {2, 4});
  using Call = std::tuple<KeyNumber, std::int32_t, std::int32_t, int>;  // index, read, written, serial
  std::vector<Call> calls;
  engine_.RebuildFileSet(Request([&](const RebuildProgress& progress) {
    EXPECT_EQ(progress.recordLength, kLength);
    EXPECT_EQ(progress.record.size(), static_cast<std::size_t>(kLength));
    calls.emplace_back(progress.keyNumber, progress.recordsRead, progress.recordsWritten,
                       testing::KeyedItemFrom(progress.record).serial);
    return true;
  }));
  EXPECT_EQ(engine_.Status(), status::kOk);
  const std::vector<Call> expected = {
      {0, 1, 1, 1}, {0, 2, 1, 2}, {0, 3, 2, 3}, {0, 4, 2, 4}, {0, 5, 3, 5},  // deleted slots count as read
      {1, 1, 1, 1}, {1, 2, 2, 3}, {1, 3, 3, 5},                              // counters start again
      {2, 1, 1, 1}, {2, 2, 2, 3}, {2, 3, 3, 5}};                             // for each index
  EXPECT_EQ(calls, expected);
}

TEST_F(RebuildTest, StopDuringDataPassRestoresDataFileByteForByte) {
  Create(FiveItems(), {2, 4});
  const Bytes original = ReadBytes(Path("DAT"));
  for (const std::int32_t stopAt : {1, 3, 5}) {
    SCOPED_TRACE(stopAt);
    engine_.RebuildFileSet(Request([&](const RebuildProgress& progress) {
      return !(progress.keyNumber == 0 && progress.recordsRead == stopAt);
    }));
    EXPECT_EQ(engine_.Status(), status::kStoppedByProgress);
    EXPECT_EQ(ReadBytes(Path("DAT")), original);
    EXPECT_FALSE(std::filesystem::exists(Path("SAV")));
    ExpectMustRebuild();
  }
  engine_.RebuildFileSet(Request());
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 3, 5}));
}

TEST_F(RebuildTest, FailedIndexPassLeavesFileSetMarkedForAnotherRebuild) {
  struct Case {
    const char* what;
    KeyNumber index;
    std::int32_t record;  // the record (counted as read in that pass) where it fails
    bool byKeyFunction;
    int status;
  };
  const Case cases[] = {
      {"progress stops at the first key of index 1", 1, 1, false, status::kStoppedByProgress},
      {"progress stops inside index 2", 2, 2, false, status::kStoppedByProgress},
      {"key function fails before any key was added", 1, 1, true, status::kKeyFunctionFailed},
      {"key function fails inside index 2", 2, 3, true, status::kKeyFunctionFailed},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempDir dir;
    name_ = dir.Name("ITEMS");
    Create(FiveItems(), {2, 4});
    RebuildRequest request = Request([&](const RebuildProgress& progress) {
      return test.byKeyFunction || !(progress.keyNumber == test.index && progress.recordsRead == test.record);
    });
    int calls = 0;
    request.keyOf = [&](std::span<const std::byte> record, KeyNumber k, KeyString& key) {
      if (test.byKeyFunction && k == test.index && ++calls == test.record) return false;
      return testing::KeyFunctionOf(fields_)(record, k, key);
    };
    engine_.RebuildFileSet(request);
    EXPECT_EQ(engine_.Status(), test.status);
    EXPECT_FALSE(std::filesystem::exists(Path("SAV")));
    const Bytes dat = ReadBytes(Path("DAT"));
    ASSERT_EQ(dat.size(), 4u * kLength) << "the data pass had completed";
    EXPECT_EQ(dat[20], 1) << "OpenFlag";
    ExpectMustRebuild();
    engine_.RebuildFileSet(Request());
    EXPECT_EQ(engine_.Status(), status::kOk);
    EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 3, 5}));
  }
}

TEST_F(RebuildTest, InterruptedRebuildIsCompletedFromTheSavedCopy) {
  Create(FiveItems(), {2, 4});
  std::filesystem::rename(Path("DAT"), Path("SAV"));
  const Bytes saved = ReadBytes(Path("SAV"));
  engine_.RebuildFileSet(Request([](const RebuildProgress& progress) { return progress.recordsRead < 2; }));
  EXPECT_EQ(engine_.Status(), status::kStoppedByProgress);
  EXPECT_EQ(ReadBytes(Path("SAV")), saved) << "a stopped retry keeps the saved copy as it was";
  EXPECT_FALSE(std::filesystem::exists(Path("DAT")));

  engine_.RebuildFileSet(Request());
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(FileNamesIn(dir_.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
}

// An interrupted rebuild's saved copy once made the open report the file set as missing,
// so that the protocol created an empty one, or, with a data file beside it, made every
// later rebuild refuse.
TEST_F(RebuildTest, SavedCopyMakesOpenAskForRebuildWhichResumesFromTheCopy) {
  struct Case {
    const char* what;
    std::function<void(const Bytes& saved)> leaveBeside;
  };
  const Case cases[] = {
      {"no data file", [](const Bytes&) {}},
      {"an empty data file", [this](const Bytes&) { WriteBytes(Path("DAT"), {}); }},
      {"a new data file cut inside a record",
       [this](const Bytes& saved) { WriteBytes(Path("DAT"), Bytes(saved.begin(), saved.begin() + 5 * kLength / 2)); }},
      {"a data file that would open, with a record the copy lacks",
       [this](const Bytes& saved) {
         WriteBytes(Path("DAT"), saved);
         std::filesystem::rename(Path("SAV"), Path("OLD"));
         FileBlock* fileBlock = engine_.OpenFileSet(name_, false);
         engine_.AddRecord(fileBlock, RecordBytes(ItemOf(9)));
         engine_.CloseFileSet(fileBlock);
         ASSERT_EQ(engine_.Status(), status::kOk);
         std::filesystem::rename(Path("OLD"), Path("SAV"));
       }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempDir dir;
    name_ = dir.Name("ITEMS");
    Create(FiveItems(), {2, 4});
    std::filesystem::rename(Path("DAT"), Path("SAV"));
    test.leaveBeside(ReadBytes(Path("SAV")));
    for (const bool readOnly : {false, true}) {
      EXPECT_EQ(engine_.OpenFileSet(name_, readOnly), nullptr) << "read-only " << readOnly;
      EXPECT_EQ(engine_.Status(), status::kMustRebuild) << "read-only " << readOnly;
    }
    engine_.RebuildFileSet(Request());
    EXPECT_EQ(engine_.Status(), status::kOk);
    EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
  }
}

// A data pass that finished without its index pass once left a data file without indexes
// that opened as if nothing were wrong.
TEST_F(RebuildTest, NewDataFileIsMarkedOpenUntilItsLastIndexIsBuilt) {
  Create(FiveItems(), {2, 4});
  int calls = 0;
  int unmarked = 0;
  engine_.RebuildFileSet(Request([&](const RebuildProgress&) {
    ++calls;
    unmarked += ReadBytes(Path("DAT")).at(20) != 1;
    return true;
  }));
  ASSERT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(calls, 11);
  EXPECT_EQ(unmarked, 0) << "progress calls that found OpenFlag 0";
  EXPECT_EQ(ReadBytes(Path("DAT")).at(20), 0);

  engine_.RebuildDataFile(Request());
  ASSERT_EQ(engine_.Status(), status::kOk);
  EXPECT_FALSE(std::filesystem::exists(Path("SAV")));
  EXPECT_EQ(ReadBytes(Path("DAT")).at(20), 1);
  ExpectMustRebuild();
  engine_.RebuildFileSet(Request());
  EXPECT_EQ(engine_.Status(), status::kOk);
  EXPECT_EQ(Serials(OpenAndRead()), (std::vector<int>{1, 3, 5}));
}

TEST_F(RebuildTest, RefusedRebuildTouchesNoFile) {
  struct Case {
    const char* what;
    std::vector<const char*> present;
    int status;
  };
  const Case cases[] = {
      {"only an index file", {"IX"}, status::kNothingToRebuild},
      {"no file at all", {}, status::kNothingToRebuild},
  };
  Create(FiveItems(), {2});
  const Bytes dat = ReadBytes(Path("DAT"));
  const Bytes ix = ReadBytes(Path("IX"));
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    TempDir dir;
    name_ = dir.Name("ITEMS");
    std::map<std::string, Bytes> files;
    for (const char* extension : test.present)
      files[std::string("ITEMS.") + extension] = std::string(extension) == "IX" ? ix : dat;
    for (const auto& [file, bytes] : files) WriteBytes(dir.path() / file, bytes);
    engine_.RebuildFileSet(Request());
    EXPECT_EQ(engine_.Status(), test.status);
    std::vector<std::string> names;
    for (const auto& [file, bytes] : files) {
      names.push_back(file);
      EXPECT_EQ(ReadBytes(dir.path() / file), bytes) << file;
    }
    EXPECT_EQ(FileNamesIn(dir.path()), names);
  }
}

TEST_F(RebuildTest, IndexPassRefusesDataHeaderThatDisagreesWithTheFile) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
  };
  const Case cases[] = {
      {"record length 0", [](Bytes& b) { testing::SetInt32At(b, 12, 0); }},
      {"length not a whole number of records", [](Bytes& b) { b.resize(b.size() + 5); }},
      {"NumRec below the records present", [](Bytes& b) { testing::SetInt32At(b, 8, 3); }},
      {"NumRec beyond the end of the file", [](Bytes& b) { testing::SetInt32At(b, 8, 6); }},
      {"FirstFree at a record in use", [](Bytes& b) { testing::SetInt32At(b, 0, 1); }},
      {"FirstFree 0", [](Bytes& b) { testing::SetInt32At(b, 0, 0); }},
  };
  Create(FiveItems(), {2, 4});
  const Bytes good = ReadBytes(Path("DAT"));
  const Bytes ix = ReadBytes(Path("IX"));
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Bytes damaged = good;
    test.damage(damaged);
    WriteBytes(Path("DAT"), damaged);
    engine_.RebuildIndexFile(Request());
    EXPECT_EQ(engine_.Status(), status::kHeaderDisagrees);
    Bytes after = ReadBytes(Path("DAT"));
    ASSERT_EQ(after.size(), damaged.size());
    EXPECT_EQ(after[20], 1) << "OpenFlag: a failed index pass leaves the file set to be rebuilt";
    after[20] = damaged[20];
    EXPECT_EQ(after, damaged) << "bytes other than OpenFlag changed";
    EXPECT_EQ(ReadBytes(Path("IX")), ix);
    EXPECT_EQ(FileNamesIn(dir_.path()), (std::vector<std::string>{"ITEMS.DAT", "ITEMS.IX"}));
    ExpectMustRebuild();
  }
}

TEST_F(RebuildTest, IndexFileThatCannotBeCreatedLeavesFileSetMarkedForRebuild) {
  Create(FiveItems(), {2, 4});
  std::filesystem::remove(Path("IX"));
  std::filesystem::create_directory(Path("IX"));
  engine_.RebuildFileSet(Request());
  EXPECT_NE(engine_.Status(), status::kOk);
  const Bytes dat = ReadBytes(Path("DAT"));
  ASSERT_EQ(dat.size(), 4u * kLength) << "the data pass had completed";
  EXPECT_EQ(dat[20], 1) << "OpenFlag";
  std::filesystem::remove(Path("IX"));
  ExpectMustRebuild();
}

}  // namespace
}  // namespace engine
