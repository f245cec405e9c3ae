// The B-tree against an ordered set: random changes, searches and walks, with the tree's
// shape checked on disk from time to time, and the scroll-position mappings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/test_support.h"

namespace engine {
namespace {

using testing::RawIndexHeader;
using testing::RawPage;
using Entry = std::pair<std::string, RecordNumber>;

constexpr RecordNumber kLowest = std::numeric_limits<RecordNumber>::min();
constexpr RecordNumber kHighest = std::numeric_limits<RecordNumber>::max();
constexpr int kItemsPerPage = 62;

std::string Show(const std::optional<Entry>& entry) {
  if (!entry) return "(none)";
  std::string out = "\"";
  for (unsigned char c : entry->first) {
    char text[8];
    std::snprintf(text, sizeof text, c >= 0x20 && c < 0x7f ? "%c" : "\\x%02x", c);
    out += text;
  }
  return out + "\"#" + std::to_string(entry->second);
}

// What an index must hold and answer. Without duplicates an entry is found by its key alone.
class IndexModel {
 public:
  explicit IndexModel(bool duplicates) : duplicates_(duplicates) {}

  const std::set<Entry>& entries() const { return entries_; }
  bool duplicates() const { return duplicates_; }

  std::optional<Entry> Match(const Entry& probe) const {
    const auto it = duplicates_ ? entries_.find(probe) : entries_.lower_bound({probe.first, kLowest});
    if (it == entries_.end() || it->first != probe.first) return std::nullopt;
    return *it;
  }
  int Add(const Entry& entry) {
    if (Match(entry)) return status::kDuplicateKey;
    entries_.insert(entry);
    return status::kOk;
  }
  int Delete(const Entry& entry) {
    const auto found = Match(entry);
    if (!found) return status::kDeleteKeyNotFound;
    entries_.erase(*found);
    return status::kOk;
  }
  std::optional<Entry> AtOrAfter(const std::string& key) const { return Or(entries_.lower_bound({key, kLowest})); }
  std::optional<Entry> After(const Entry& entry) const {
    return Or(entries_.upper_bound(duplicates_ ? entry : Entry{entry.first, kHighest}));
  }
  std::optional<Entry> Before(const Entry& entry) const {
    auto it = entries_.lower_bound(duplicates_ ? entry : Entry{entry.first, kLowest});
    if (it == entries_.begin()) return std::nullopt;
    return *--it;
  }
  std::optional<Entry> First() const { return Or(entries_.begin()); }
  std::optional<Entry> Last() const {
    if (entries_.empty()) return std::nullopt;
    return *entries_.rbegin();
  }

 private:
  std::optional<Entry> Or(std::set<Entry>::const_iterator it) const {
    if (it == entries_.end()) return std::nullopt;
    return *it;
  }

  bool duplicates_;
  std::set<Entry> entries_;
};

struct TreeWalk {
  const std::vector<std::uint8_t>& ix;
  std::size_t row;
  const RawIndexHeader& header;
  std::vector<Entry> entries;
  std::set<std::int32_t> pages;
  int leafDepth = 0;

  void Visit(std::int32_t page, int depth) {
    ASSERT_TRUE(page >= 1 && page <= header.numPages) << "page " << page << " outside 1.." << header.numPages;
    ASSERT_TRUE(pages.insert(page).second) << "page " << page << " reached twice";
    ASSERT_LE(depth, 8) << "deeper than a position can follow";
    const RawPage p = testing::PageAt(ix, row, header, page);
    const int least = depth == 1 ? 1 : kItemsPerPage / 2;
    ASSERT_TRUE(p.itemCount >= least && p.itemCount <= kItemsPerPage)
        << "page " << page << " at depth " << depth << " holds " << p.itemCount << " items";
    const bool leaf = p.leftChild == 0;
    if (leaf) {
      if (leafDepth == 0) leafDepth = depth;
      ASSERT_EQ(depth, leafDepth) << "leaf page " << page << " is not at the depth of the first leaf";
    } else {
      Visit(p.leftChild, depth + 1);
    }
    for (const auto& item : p.items) {
      entries.emplace_back(item.key, item.record);
      ASSERT_EQ(item.rightChild == 0, leaf) << "page " << page << " mixes leaf and inner items";
      if (!leaf) Visit(item.rightChild, depth + 1);
    }
  }
};

// Reads the index file of a closed file set and checks the tree of index `index` against the
// model: content and order, page fill, leaf depth, and every page either in the tree or free.
// Returns the tree's depth.
int CheckIndexOnDisk(const std::string& name, int indexCount, KeyNumber index, const IndexModel& model) {
  const auto ix = testing::ReadBytes(name + ".IX");
  const auto headers = testing::IndexHeaders(ix, indexCount);
  const RawIndexHeader& h = headers[static_cast<std::size_t>(index - 1)];
  const std::size_t row = testing::RowLength(headers);
  std::int32_t rows = 0;
  for (const RawIndexHeader& each : headers) rows = std::max(rows, each.numPages);
  EXPECT_EQ(ix.size(), static_cast<std::size_t>(rows + 1) * row) << "one row per page of the fullest index";
  EXPECT_EQ(h.numKeys, static_cast<std::int32_t>(model.entries().size()));
  EXPECT_EQ(h.allowDuplicates, model.duplicates() ? 1 : 0);

  TreeWalk walk{ix, row, h, {}, {}, 0};
  if (h.rootRef != 0) walk.Visit(h.rootRef, 1);
  if (::testing::Test::HasFatalFailure()) return 0;
  const std::vector<Entry> expected(model.entries().begin(), model.entries().end());
  if (walk.entries != expected) {
    std::size_t i = 0;
    while (i < walk.entries.size() && i < expected.size() && walk.entries[i] == expected[i]) ++i;
    ADD_FAILURE() << "tree holds " << walk.entries.size() << " entries, model " << expected.size()
                  << "; first difference at " << i << ": tree "
                  << Show(i < walk.entries.size() ? std::optional(walk.entries[i]) : std::nullopt) << ", model "
                  << Show(i < expected.size() ? std::optional(expected[i]) : std::nullopt);
  }

  std::int32_t freeCount = 0;
  for (std::int32_t p = h.firstFree; p != -1; p = testing::Int32At(ix, testing::PageOffset(row, h, p))) {
    if (p < 1 || p > h.numPages || walk.pages.count(p) != 0 || freeCount > h.numPages) {
      ADD_FAILURE() << "free-page chain reaches page " << p << " after " << freeCount << " pages";
      break;
    }
    ++freeCount;
  }
  EXPECT_EQ(freeCount, h.numberFree);
  EXPECT_EQ(static_cast<std::int32_t>(walk.pages.size()) + freeCount, h.numPages) << "pages lost to the index";
  return walk.leafDepth;
}

// Drives index 2 of a file set and the model in step; index 1 holds one key that must survive.
class ModelDriver {
 public:
  static constexpr KeyNumber kIndex = 2;

  ModelDriver(Engine& engine, std::string name, int keyLength, bool duplicates)
      : engine_(engine), name_(std::move(name)), model_(duplicates) {
    const std::vector<IndexSpec> indexes = {{3, false}, {keyLength, duplicates}};
    engine_.CreateFileSet(name_, 40, indexes);
    EXPECT_EQ(engine_.Status(), status::kOk);
    Open();
    engine_.AddKey(block_, 1, 77, "ONE");
    EXPECT_EQ(engine_.Status(), status::kOk);
  }

  const IndexModel& model() const { return model_; }
  FileBlock* block() const { return block_; }
  std::optional<Entry> Current() const {
    if (state_ != State::kAt) return std::nullopt;
    return at_;
  }

  void Open() {
    block_ = engine_.OpenFileSet(name_, false);
    ASSERT_EQ(engine_.Status(), status::kOk);
    state_ = State::kEmpty;
    at_ = {};
  }
  int CloseAndCheck() {
    engine_.CloseFileSet(block_);
    EXPECT_EQ(engine_.Status(), status::kOk);
    IndexModel other(false);
    other.Add({"ONE", 77});
    CheckIndexOnDisk(name_, 2, 1, other);
    return CheckIndexOnDisk(name_, 2, kIndex, model_);
  }

  void Add(const Entry& entry) {
    engine_.AddKey(block_, kIndex, entry.second, entry.first);
    EXPECT_EQ(engine_.Status(), model_.Add(entry)) << "AddKey " << Show(entry);
    Changed();
  }
  void Delete(const Entry& entry) {
    engine_.DeleteKey(block_, kIndex, entry.second, entry.first);
    EXPECT_EQ(engine_.Status(), model_.Delete(entry)) << "DeleteKey " << Show(entry);
    Changed();
  }
  void Search(const std::string& key) {
    RecordNumber number = kHighest;  // only an output: must not narrow the search
    KeyString found = key;
    engine_.SearchKey(block_, kIndex, number, found);
    Expect("SearchKey " + Show(Entry{key, 0}), model_.AtOrAfter(key), status::kSearchNotFound, State::kUnknown,
           number, found);
  }
  void Find(const Entry& probe, int mode) {
    RecordNumber number = probe.second;
    KeyString found = probe.first;
    engine_.FindKey(block_, kIndex, number, found, mode);
    std::optional<Entry> want = model_.Match(probe);
    int missing = status::kFindNotFound;
    if (!want && mode > 0) {
      want = model_.After(probe);
      missing = status::kNextAtEnd;
    }
    if (!want && mode < 0) {
      want = model_.Before(probe);
      missing = status::kPrevAtStart;
    }
    Expect("FindKey mode " + std::to_string(mode) + " " + Show(probe), want, missing, State::kUnknown, number, found);
  }
  // Returns false at the end of the index.
  bool Next() { return Walk(true); }
  bool Prev() { return Walk(false); }
  bool CanWalk() const { return state_ != State::kUnknown; }

 private:
  enum class State { kUnknown, kEmpty, kAt };

  bool Walk(bool forward) {
    RecordNumber number = at_.second;
    KeyString key = at_.first;
    forward ? engine_.NextKey(block_, kIndex, number, key) : engine_.PrevKey(block_, kIndex, number, key);
    std::optional<Entry> want;
    if (state_ == State::kEmpty) want = forward ? model_.First() : model_.Last();
    if (state_ == State::kAt) want = forward ? model_.After(at_) : model_.Before(at_);
    Expect(std::string(forward ? "NextKey" : "PrevKey") + " from " + (state_ == State::kAt ? Show(at_) : "no position"),
           want, forward ? status::kNextAtEnd : status::kPrevAtStart, State::kEmpty, number, key);
    return want.has_value();
  }
  // Past either end a walk starts over; after a failed search there is no position to rely on.
  void Expect(const std::string& what, const std::optional<Entry>& want, int missing, State afterMissing,
              RecordNumber number, const KeyString& key) {
    EXPECT_EQ(engine_.Status(), want ? status::kOk : missing) << what;
    if (want) {
      EXPECT_EQ(Show(Entry{key.str(), number}), Show(want)) << what;
      state_ = State::kAt;
      at_ = *want;
    } else {
      state_ = afterMissing;
    }
    EXPECT_EQ(engine_.KeysInIndex(block_, kIndex), static_cast<std::int32_t>(model_.entries().size())) << what;
  }
  // A change loses the position; what the caller passes back finds it again. Without a
  // position there is nothing to find again from.
  void Changed() {
    if (state_ == State::kEmpty) state_ = State::kUnknown;
  }

  Engine& engine_;
  std::string name_;
  IndexModel model_;
  FileBlock* block_ = nullptr;
  State state_ = State::kEmpty;
  Entry at_;
};

struct ModelCase {
  int keyLength;
  bool duplicates;
  std::uint32_t seed;
  int prefill;  // entries added before the random steps, for a tree of three levels
};

class BTreeModelTest : public ::testing::TestWithParam<ModelCase> {
 protected:
  std::string RandomKey() {
    static constexpr unsigned char kAlphabet[] = {0x00, 'A', 'B', 'a', 0x7f, 0x80, 0xff};
    const ModelCase& c = GetParam();
    if (c.keyLength == 1 && !c.duplicates) return std::string(1, static_cast<char>(rng_() % 256));
    const int length = rng_() % 6 == 0 ? 1 + static_cast<int>(rng_() % 2) : 1 + static_cast<int>(rng_() % c.keyLength);
    std::string key;
    for (int i = 0; i < std::min(length, c.keyLength); ++i) key += static_cast<char>(kAlphabet[rng_() % sizeof kAlphabet]);
    return key;
  }
  RecordNumber RandomNumber() {
    if (rng_() % 50 == 0) return kHighest - static_cast<RecordNumber>(rng_() % 3);
    return 1 + static_cast<RecordNumber>(rng_() % (GetParam().duplicates ? 5000 : 1000000));
  }
  // The current entry, or one of the model (its number sometimes changed), or a random one.
  Entry Pick(const ModelDriver& driver, int percentCurrent, int percentExisting) {
    const auto& entries = driver.model().entries();
    if (driver.Current() && static_cast<int>(rng_() % 100) < percentCurrent) return *driver.Current();
    if (entries.empty() || static_cast<int>(rng_() % 100) >= percentExisting) return {RandomKey(), RandomNumber()};
    Entry entry = *std::next(entries.begin(), static_cast<std::ptrdiff_t>(rng_() % entries.size()));
    if (rng_() % 5 == 0) entry.second = RandomNumber();
    return entry;
  }
  void Walk(ModelDriver& driver, bool forward) {
    if (!driver.CanWalk()) return;
    for (int steps = 1 + static_cast<int>(rng_() % 12); steps > 0 && !HasFailure(); --steps) {
      if (!(forward ? driver.Next() : driver.Prev())) break;
    }
  }

  std::mt19937 rng_{GetParam().seed};
};

TEST_P(BTreeModelTest, AgreesWithAnOrderedSetThroughRandomChangesSearchesAndWalks) {
  testing::TempDir dir;
  Engine engine;
  ASSERT_GE(engine.InitEngine(Engine::kMinPageBuffers), Engine::kMinPageBuffers);
  ModelDriver driver(engine, dir.Name("M"), GetParam().keyLength, GetParam().duplicates);
  for (int tries = 0; tries < 2 * GetParam().prefill && !HasFailure(); ++tries) {
    if (driver.model().entries().size() == static_cast<std::size_t>(GetParam().prefill)) break;
    driver.Add({RandomKey(), RandomNumber()});
  }
  constexpr int kSteps = 3000;
  for (int step = 1; step <= kSteps && !HasFailure(); ++step) {
    const int roll = static_cast<int>(rng_() % 100);
    const int adds = step < kSteps * 3 / 5 ? 55 : 32;  // grow first, then churn
    if (roll < adds) {
      driver.Add(Pick(driver, 3, 10));
    } else if (roll < 65) {
      driver.Delete(Pick(driver, 25, 85));
    } else if (roll < 72) {
      driver.Search(rng_() % 2 ? Pick(driver, 10, 100).first : RandomKey());
    } else if (roll < 82) {
      driver.Find(Pick(driver, 10, 50), static_cast<int>(rng_() % 3) - 1);
    } else {
      Walk(driver, roll < 92);
    }
    if (step % 500 == 0) {
      driver.CloseAndCheck();
      driver.Open();
    }
  }
  // Empty the index, walking now and then, so that merges and the root's collapse run.
  while (!driver.model().entries().empty() && !HasFailure()) {
    driver.Delete(Pick(driver, 25, 100));
    if (rng_() % 3 == 0) Walk(driver, rng_() % 2 == 0);
  }
  if (!HasFailure()) driver.CloseAndCheck();
}

std::string CaseName(const ::testing::TestParamInfo<ModelCase>& info) {
  return "KeyLength" + std::to_string(info.param.keyLength) + (info.param.duplicates ? "Duplicates" : "Unique") +
         "Seed" + std::to_string(info.param.seed) + (info.param.prefill > 0 ? "ThreeLevels" : "");
}

std::vector<ModelCase> ModelCases() {
  std::vector<ModelCase> cases;
  for (int keyLength : {1, 10, 30})
    for (bool duplicates : {false, true})
      for (std::uint32_t seed : {1u, 2u, 3u}) {
        // Single-byte unique keys cannot fill more than two levels.
        const bool deep = seed == 3 && (duplicates || keyLength > 1);
        cases.push_back({keyLength, duplicates, seed, deep ? 4500 : 0});
      }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Indexes, BTreeModelTest, ::testing::ValuesIn(ModelCases()), CaseName);

std::string NumberKey(int n) {
  char text[12];
  std::snprintf(text, sizeof text, "%06d", n);
  return text;
}

// 4000 entries cannot fit in two levels of 62-item pages (62 + 63 × 62 = 3968).
class DeepTreeTest : public ::testing::Test {
 protected:
  static constexpr int kEntries = 4000;

  void SetUp() override {
    ASSERT_GE(engine_.InitEngine(30), Engine::kMinPageBuffers);
    driver_.emplace(engine_, dir_.Name("T"), 10, false);
    std::vector<int> order(kEntries);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(17));
    for (int n : order) driver_->Add({NumberKey(n), n + 1});
    ASSERT_GE(driver_->CloseAndCheck(), 3);
    driver_->Open();
  }

  testing::TempDir dir_;
  Engine engine_;
  std::optional<ModelDriver> driver_;
};

TEST_F(DeepTreeTest, WalksVisitEveryEntryAcrossPagesAndStartOverPastEitherEnd) {
  std::vector<Entry> forward, backward;
  while (driver_->Next() && !HasFailure()) forward.push_back(*driver_->Current());
  while (driver_->Prev() && !HasFailure()) backward.push_back(*driver_->Current());
  EXPECT_EQ(forward.size(), std::size_t{kEntries});
  EXPECT_TRUE(std::equal(forward.rbegin(), forward.rend(), backward.begin(), backward.end()));
  EXPECT_TRUE(driver_->Next()) << "past the beginning, NextKey starts at the first entry";
}

enum class Change { kDeleteCurrent, kInsertAhead, kDeleteAhead };

struct WalkChangeCase {
  const char* name;
  bool forward;
  Change change;
};

class DeepTreeWalkTest : public DeepTreeTest, public ::testing::WithParamInterface<WalkChangeCase> {};

TEST_P(DeepTreeWalkTest, ChangesDuringAWalkContinueFromTheCallersEntry) {
  const WalkChangeCase& c = GetParam();
  int step = 0;
  while ((c.forward ? driver_->Next() : driver_->Prev()) && !HasFailure()) {
    const Entry at = *driver_->Current();
    ++step;
    if (c.change == Change::kDeleteCurrent) driver_->Delete(at);
    if (c.change == Change::kInsertAhead && step % 7 == 0 && at.first.size() == 6) {
      const int n = std::stoi(at.first);
      driver_->Add({NumberKey(c.forward ? n : n - 1) + "+", 100000 + n});
    }
    if (c.change == Change::kDeleteAhead && step % 5 == 0) {
      const auto ahead = c.forward ? driver_->model().After(at) : driver_->model().Before(at);
      if (ahead) driver_->Delete(*ahead);
    }
  }
  if (c.change == Change::kDeleteCurrent) {
    EXPECT_EQ(step, kEntries);
  }
  if (!HasFailure()) driver_->CloseAndCheck();
}

INSTANTIATE_TEST_SUITE_P(
    Walks, DeepTreeWalkTest,
    ::testing::Values(WalkChangeCase{"DeleteEachEntryForward", true, Change::kDeleteCurrent},
                      WalkChangeCase{"DeleteEachEntryBackward", false, Change::kDeleteCurrent},
                      WalkChangeCase{"InsertAheadForward", true, Change::kInsertAhead},
                      WalkChangeCase{"InsertAheadBackward", false, Change::kInsertAhead},
                      WalkChangeCase{"DeleteAheadForward", true, Change::kDeleteAhead},
                      WalkChangeCase{"DeleteAheadBackward", false, Change::kDeleteAhead}),
    [](const ::testing::TestParamInfo<WalkChangeCase>& info) { return std::string(info.param.name); });

TEST_F(DeepTreeTest, KeyPositionsStayWithinScaleAndFollowKeyOrder) {
  const auto& entries = driver_->model().entries();
  const std::vector<Entry> ordered(entries.begin(), entries.end());
  for (std::int32_t scale : {1, 9, 100, 10000}) {
    SCOPED_TRACE(scale);
    std::int32_t previous = 0;
    std::vector<Entry> sample;
    for (std::size_t i = 0; i < ordered.size(); i += 7) sample.push_back(ordered[i]);
    sample.push_back(ordered.back());
    for (const Entry& entry : sample) {
      const std::int32_t position = engine_.KeyPosition(driver_->block(), ModelDriver::kIndex, entry.first, entry.second, scale);
      ASSERT_EQ(engine_.Status(), status::kOk);
      ASSERT_TRUE(position >= previous && position <= scale) << Show(entry) << " at " << position << " after " << previous;
      previous = position;
    }
    EXPECT_GT(previous, 0) << "the last entries are not at position 0";

    std::optional<Entry> before;
    for (std::int32_t position = 0; position <= std::min(scale, 1000); ++position) {
      RecordNumber number = -1;
      KeyString key;
      engine_.KeyAtPosition(driver_->block(), ModelDriver::kIndex, position, scale, number, key);
      ASSERT_EQ(engine_.Status(), status::kOk);
      const Entry found{key.str(), number};
      ASSERT_TRUE(number == 0 ? key.empty() : entries.count(found) == 1) << Show(found) << " at " << position;
      ASSERT_TRUE(!before || *before <= found) << Show(found) << " at " << position << " after " << Show(before);
      before = found;
    }
  }
}

TEST(KeyPositionTest, OneLevelIndexMapsItsItemsToEvenSteps) {
  testing::TempDir dir;
  Engine engine;
  ASSERT_GE(engine.InitEngine(30), Engine::kMinPageBuffers);
  ModelDriver driver(engine, dir.Name("K"), 4, true);
  for (int i = 1; i <= 9; ++i) driver.Add({std::string(1, static_cast<char>('A' + i)), i});
  // Item i of 9 in the root is at i × (scale + 1) ÷ 10; positions map back the same way.
  for (int i = 1; i <= 9; ++i) {
    const std::string key(1, static_cast<char>('A' + i));
    EXPECT_EQ(engine.KeyPosition(driver.block(), ModelDriver::kIndex, key, i, 99), 10 * i) << key;
    RecordNumber number = -1;
    KeyString found;
    engine.KeyAtPosition(driver.block(), ModelDriver::kIndex, 10 * i + 5, 99, number, found);
    EXPECT_EQ(engine.Status(), status::kOk);
    EXPECT_EQ(Show(Entry{found.str(), number}), Show(Entry{key, i}));
  }
  RecordNumber number = -1;
  KeyString found = "X";
  engine.KeyAtPosition(driver.block(), ModelDriver::kIndex, 5, 99, number, found);
  EXPECT_EQ(engine.Status(), status::kOk);
  EXPECT_EQ(Show(Entry{found.str(), number}), Show(Entry{"", 0})) << "before the first item";
}

struct PositionErrorCase {
  const char* what;
  bool emptyIndex;
  std::int32_t position;
  std::int32_t scale;
  int keyPosition;    // status of KeyPosition and RecordPosition
  int keyAtPosition;  // status of KeyAtPosition and RecordAtPosition
};

TEST(KeyPositionTest, ScaleZeroPositionBeyondScaleAndEmptyIndexAreRefused) {
  const PositionErrorCase cases[] = {
      {"scale 0", false, 0, 0, status::kScaleZero, status::kPositionOutOfRange},
      {"position above scale", false, 11, 10, status::kOk, status::kPositionOutOfRange},
      {"empty index", true, 5, 10, status::kKeyPositionEmpty, status::kKeyAtPositionEmpty},
  };
  for (const PositionErrorCase& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir dir;
    Engine engine;
    ASSERT_GE(engine.InitEngine(30), Engine::kMinPageBuffers);
    ModelDriver driver(engine, dir.Name("E"), 4, false);
    if (!c.emptyIndex) driver.Add({"AB", 1});
    for (int tag = 0; tag < 3; ++tag) engine.AddRecord(driver.block(), std::vector<std::byte>(40));
    engine.KeyPosition(driver.block(), ModelDriver::kIndex, "AB", 1, c.scale);
    EXPECT_EQ(engine.Status(), c.keyPosition);
    RecordNumber number = 0;
    KeyString key;
    engine.KeyAtPosition(driver.block(), ModelDriver::kIndex, c.position, c.scale, number, key);
    EXPECT_EQ(engine.Status(), c.keyAtPosition);
    if (c.emptyIndex) continue;
    engine.RecordPosition(driver.block(), 2, c.scale);
    EXPECT_EQ(engine.Status(), c.keyPosition);
    engine.RecordAtPosition(driver.block(), c.position, c.scale);
    EXPECT_EQ(engine.Status(), c.keyAtPosition);
  }
}

TEST(RecordPositionTest, PositionsFollowRecordNumbersWithinScaleWithoutOverflow) {
  testing::TempDir dir;
  Engine engine;
  ASSERT_GE(engine.InitEngine(30), Engine::kMinPageBuffers);
  const std::string name = dir.Name("R");
  engine.CreateFileSet(name, 24, {});
  FileBlock* block = engine.OpenFileSet(name, false);
  for (int i = 0; i < 99; ++i) engine.AddRecord(block, std::vector<std::byte>(24));
  ASSERT_EQ(engine.FileLength(block), 100);

  EXPECT_EQ(engine.RecordPosition(block, 50, 9), 5);
  EXPECT_EQ(engine.RecordPosition(block, 99, 9), 9);
  EXPECT_EQ(engine.RecordAtPosition(block, 0, 9), 5);
  EXPECT_EQ(engine.RecordAtPosition(block, 9, 9), 95);
  for (std::int32_t scale : {1, 9, 1000, 1 << 25}) {
    SCOPED_TRACE(scale);
    std::int32_t previous = 0;
    for (RecordNumber n = 1; n <= 99; ++n) {
      const std::int32_t position = engine.RecordPosition(block, n, scale);
      ASSERT_EQ(engine.Status(), status::kOk);
      ASSERT_TRUE(position >= previous && position <= scale) << n << " at " << position;
      EXPECT_NEAR(position, (scale + 1.0) * n / 100, scale / 20.0 + 1) << n;
      previous = position;
    }
    RecordNumber before = 0;
    for (std::int32_t step = 0; step <= 100; ++step) {
      const std::int32_t position = static_cast<std::int32_t>(static_cast<std::int64_t>(scale) * step / 100);
      const RecordNumber n = engine.RecordAtPosition(block, position, scale);
      ASSERT_EQ(engine.Status(), status::kOk);
      ASSERT_TRUE(n >= before && n <= 100) << "position " << position << " gives " << n;
      EXPECT_NEAR(n, 100.0 * position / (scale + 1.0) + 100 / (scale + 1) / 2, 2.0) << position;
      before = n;
    }
  }
  engine.CloseFileSet(block);
}

}  // namespace
}  // namespace engine
