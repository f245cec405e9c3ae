#include "engine/browser_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/test_support.h"

namespace engine {
namespace {

using testing::KeyedItem;
using testing::MakeKeyedItem;
using testing::TempDir;

constexpr KeyNumber kByCode = 1;  // unique
constexpr KeyNumber kByName = 2;  // duplicates allowed

int RejectAll(RowRec&, bool& useIt) {
  useIt = false;
  return 0;
}

std::string Code(int i) {
  char text[8];
  std::snprintf(text, sizeof text, "C%02d", i);
  return text;
}

// A file of items keyed by code and by name, and a browser over it whose rows show
// each record's code, or "****" when the record could not be read.
class BrowserSourceTest : public ::testing::Test {
 protected:
  BrowserSourceTest() {
    engine_.InitEngine(30);
    const IndexSpec indexes[] = {{8, false}, {12, true}};
    engine_.CreateFileSet(folder_.Name("items"), sizeof(KeyedItem), indexes);
    file_ = engine_.OpenFileSet(folder_.Name("items"), false);
  }
  ~BrowserSourceTest() override { engine_.CloseFileSet(file_); }

  RecordNumber Add(const std::string& code, const std::string& name = "N") {
    const KeyedItem item = MakeKeyedItem(0, code, name, "");
    const RecordNumber number = engine_.AddRecord(file_, RecordBytes(item));
    engine_.AddKey(file_, kByCode, number, code);
    engine_.AddKey(file_, kByName, number, name);
    return number;
  }
  void AddCodes(int count) {
    for (int i = 0; i < count; ++i) Add(Code(i));
  }
  void Remove(RecordNumber number, const std::string& code) {
    engine_.DeleteKey(file_, kByCode, number, code);
    engine_.DeleteKey(file_, kByName, number, "N");
    engine_.DeleteRecord(file_, number);
  }

  BrowserSource& Browse(int visibleRows, KeyNumber keyNumber = kByCode, const KeyString& low = {},
                        const KeyString& high = {}) {
    source_ = std::make_unique<BrowserSource>(engine_, file_, keyNumber, RecordBytes(record_), low, high, 50);
    source_->OnBuildRow = [this](RowRec& row) {
      row.elements[0] = row.readStatus == 0 ? std::string(record_.code, strnlen(record_.code, 8)) : "****";
      return 0;
    };
    source_->SetVisibleRows(visibleRows);
    return *source_;
  }
  // The rows' texts, the current one in brackets.
  std::string Shown() const {
    std::string shown;
    for (int i = 0; i < source_->RowCount(); ++i) {
      const std::string& text = source_->Row(i).elements[0];
      shown += (i > 0 ? " " : "") + (i == source_->CurrentRow() ? "[" + text + "]" : text);
    }
    return shown;
  }
  std::int32_t Scroll() {
    std::int32_t position = -1;
    EXPECT_EQ(source_->ScrollPosition(position), StatusClass::kSuccess);
    return position;
  }

  TempDir folder_;
  Engine engine_;
  FileBlock* file_ = nullptr;
  KeyedItem record_;
  std::unique_ptr<BrowserSource> source_;
};

TEST_F(BrowserSourceTest, EmptyFileShowsNoRowsAndIgnoresMoves) {
  BrowserSource& source = Browse(5);
  EXPECT_EQ(source.First(), StatusClass::kNotFound);
  EXPECT_EQ(source.RowCount(), 0);
  EXPECT_EQ(source.MoveDown(), StatusClass::kNotFound);
  EXPECT_EQ(source.MoveUp(), StatusClass::kNotFound);
  EXPECT_EQ(source.PageDown(), StatusClass::kNotFound);
  EXPECT_EQ(source.PositionAtScroll(30), StatusClass::kNotFound);
  EXPECT_EQ(source.RowCount(), 0);
  EXPECT_EQ(Scroll(), 0);
  EXPECT_EQ(source.CurrentRecordNumber(), 0);
  EXPECT_EQ(source.ReadCurrentRecord(), StatusClass::kNotFound);
}

TEST_F(BrowserSourceTest, FirstLastAndSingleStepsScrollAtTheEdgesAndStopAtTheEnds) {
  AddCodes(6);
  BrowserSource& source = Browse(3);
  ASSERT_EQ(source.First(), StatusClass::kSuccess);
  EXPECT_EQ(Shown(), "[C00] C01 C02");
  EXPECT_EQ(source.MoveUp(), StatusClass::kNotFound);
  source.MoveDown();
  source.MoveDown();
  EXPECT_EQ(source.MoveDown(), StatusClass::kSuccess);
  EXPECT_EQ(Shown(), "C01 C02 [C03]");
  ASSERT_EQ(source.Last(), StatusClass::kSuccess);
  EXPECT_EQ(Shown(), "C03 C04 [C05]");
  EXPECT_EQ(source.MoveDown(), StatusClass::kNotFound);
  source.MoveUp();
  source.MoveUp();
  source.MoveUp();
  EXPECT_EQ(Shown(), "[C02] C03 C04");
}

TEST_F(BrowserSourceTest, PagesKeepTheHighlightOnItsScreenRowUntilTheEnd) {
  AddCodes(10);
  BrowserSource& source = Browse(4);
  source.First();
  source.MoveDown();
  ASSERT_EQ(source.PageDown(), StatusClass::kSuccess);
  EXPECT_EQ(Shown(), "C04 [C05] C06 C07");
  source.PageDown();
  EXPECT_EQ(Shown(), "C06 C07 C08 [C09]");
  source.PageUp();
  EXPECT_EQ(Shown(), "C02 C03 C04 [C05]");
  source.PageUp();
  EXPECT_EQ(Shown(), "[C00] C01 C02 C03");
}

TEST_F(BrowserSourceTest, BoundsListOnlyTheKeysBetweenThem) {
  for (const char* code : {"0", "A1", "AZ", "B", "BX", "C"}) Add(code);
  BrowserSource& source = Browse(5, kByCode, "A", "B");
  source.First();
  EXPECT_EQ(Shown(), "[A1] AZ B");
  source.Last();
  EXPECT_EQ(source.CurrentKey(), KeyString("B"));
  EXPECT_EQ(source.MoveDown(), StatusClass::kNotFound);
  source.PositionAtKey("0", 0);
  EXPECT_EQ(source.CurrentKey(), KeyString("A1"));
  source.PositionAtKey("Z", 0);
  EXPECT_EQ(source.CurrentKey(), KeyString("B"));
}

TEST_F(BrowserSourceTest, FilterRejectingEveryEntryReportsEachThenEndsAfterThePage) {
  AddCodes(4);
  BrowserSource& source = Browse(3);
  std::vector<std::string> log;
  source.OnPreCompletePage = [&] {
    log.push_back("pre");
    return 0;
  };
  source.OnPostCompletePage = [&] {
    log.push_back("post");
    return 0;
  };
  source.OnPerformFilter = RejectAll;
  source.OnShowFilterWorking = [&](int state, bool rejected) {
    log.push_back(std::to_string(state) + (rejected ? "R" : ""));
  };
  source.SetFilterEnabled(true);
  EXPECT_EQ(source.First(), StatusClass::kNotFound);
  EXPECT_EQ(source.RowCount(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"pre", "-1R", "0R", "0R", "0R", "post", "1"}));
  log.clear();
  source.SetFilterEnabled(false);
  EXPECT_EQ(source.First(), StatusClass::kSuccess);
  EXPECT_EQ(log, (std::vector<std::string>{"pre", "post"}));
}

TEST_F(BrowserSourceTest, FilterSkipsRejectedEntriesInBothDirections) {
  AddCodes(10);
  BrowserSource& source = Browse(3);
  source.OnPerformFilter = [](RowRec& row, bool& useIt) {
    const int lastDigit = row.key.data()[2] - '0';
    useIt = lastDigit % 2 == 0;
    return 0;
  };
  source.SetFilterEnabled(true);
  source.First();
  EXPECT_EQ(Shown(), "[C00] C02 C04");
  source.PageDown();
  EXPECT_EQ(Shown(), "C04 C06 [C08]");
  source.MoveUp();
  source.MoveUp();
  source.MoveUp();
  EXPECT_EQ(Shown(), "[C02] C04 C06");
  source.PositionAtKey("C05", 0);
  EXPECT_EQ(source.CurrentKey(), KeyString("C06"));
}

TEST(TypedSearchKeyTest, DigitsLettersAndUmlautsSearchAsTheirStoredBytes) {
  EXPECT_EQ(TypedSearchKey(U'7'), KeyString("7"));
  EXPECT_EQ(TypedSearchKey(U'k'), KeyString("K"));
  EXPECT_EQ(TypedSearchKey(U'K'), KeyString("K"));
  EXPECT_EQ(TypedSearchKey(U'\u00E4'), KeyString("\xE4"));  // ä stays lower case: keys fold only ASCII
  EXPECT_EQ(TypedSearchKey(U'\u00C4'), KeyString("\xC4"));
  EXPECT_EQ(TypedSearchKey(U'\u00DF'), KeyString("\xDF"));
  EXPECT_EQ(TypedSearchKey(U'-'), std::nullopt);
  EXPECT_EQ(TypedSearchKey(U'\u00E9'), std::nullopt);
  EXPECT_EQ(TypedSearchKey(U'\u0144'), std::nullopt);  // its low byte would be "D"
}

TEST_F(BrowserSourceTest, TypedLetterGoesToItsFirstKeyOrTheNextGreaterOne) {
  for (const char* code : {"APPLE", "JAM", "KALE", "KIWI", "MANGO"}) Add(code);
  BrowserSource& source = Browse(3);
  source.First();
  source.PositionAtKey(*TypedSearchKey(U'k'), 0);
  EXPECT_EQ(source.CurrentKey(), KeyString("KALE"));
  source.PositionAtKey(*TypedSearchKey(U'l'), 0);
  EXPECT_EQ(source.CurrentKey(), KeyString("MANGO"));
  source.PositionAtKey(*TypedSearchKey(U'z'), 0);
  EXPECT_EQ(source.CurrentKey(), KeyString("MANGO"));
}

TEST(ScrollMarginTest, EachRatioOfScaleToEntriesHasItsMargin) {
  const std::pair<std::int32_t, int> cases[] = {{64, 2},  {63, 4},  {30, 8},  {16, 10}, {13, 10}, {12, 30},
                                                {6, 30},  {5, 62},  {3, 62},  {2, 126}, {1, 252}};
  for (const auto& [entries, margin] : cases) EXPECT_EQ(ScrollMargin(entries), margin) << entries << " entries";
}

// Small files spread over the whole bar; there the engine's estimate of the entry at a
// position is coarse, and the thumb must still land on (or next to) the entry shown
// nearest to it.
TEST_F(BrowserSourceTest, SmallFilesSpreadOverTheBarAndTheThumbFindsTheNearestEntry) {
  BrowserSource& source = Browse(5);
  Add(Code(0));
  source.Last();
  EXPECT_EQ(Scroll(), 0);
  for (const int entries : {2, 10, 63}) {
    while (engine_.KeysInIndex(file_, kByCode) < entries) Add(Code(engine_.KeysInIndex(file_, kByCode)));
    source.First();
    std::vector<std::int32_t> positions{Scroll()};
    while (source.MoveDown() == StatusClass::kSuccess) positions.push_back(Scroll());
    EXPECT_EQ(positions.front(), 0) << entries;
    EXPECT_EQ(positions.back(), kScrollScale) << entries;
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << entries;
    for (std::int32_t thumb = 1; thumb < kScrollScale; ++thumb) {
      std::int32_t nearest = kScrollScale;
      for (const std::int32_t position : positions) nearest = std::min(nearest, std::abs(position - thumb));
      ASSERT_EQ(source.PositionAtScroll(thumb), StatusClass::kSuccess);
      EXPECT_LE(std::abs(Scroll() - thumb), nearest + 1) << entries << " entries, thumb at " << thumb;
    }
  }
}

TEST_F(BrowserSourceTest, ChangesBetweenFetchesAreFollowed) {
  AddCodes(6);
  BrowserSource& source = Browse(3);
  source.First();
  // Another caller walks the same index elsewhere.
  RecordNumber number = 0;
  KeyString key = "C05";
  engine_.FindKey(file_, kByCode, number, key, 0);
  source.MoveDown();
  source.MoveDown();
  source.MoveDown();
  EXPECT_EQ(Shown(), "C01 C02 [C03]");
  // The entry after the page is replaced by another one.
  Remove(5, "C04");
  Add("C03A");
  source.MoveDown();
  EXPECT_EQ(Shown(), "C02 C03 [C03A]");
  // An entry before the current one is added; the current row stays.
  Add("C02A");
  ASSERT_EQ(source.Refresh(), StatusClass::kSuccess);
  EXPECT_EQ(Shown(), "C02A C03 [C03A]");
  // The current entry is removed: the next one takes its place.
  Remove(source.CurrentRecordNumber(), "C03A");
  source.Refresh();
  EXPECT_EQ(Shown(), "C02A C03 [C05]");
}

TEST_F(BrowserSourceTest, RecordDeletedUnderItsKeyKeepsItsRowMarkedUnreadable) {
  AddCodes(3);
  BrowserSource& source = Browse(3);
  source.First();
  source.MoveDown();
  engine_.DeleteRecord(file_, 2);
  ASSERT_EQ(source.Refresh(), StatusClass::kSuccess);
  EXPECT_EQ(Shown(), "C00 [****] C02");
  EXPECT_EQ(source.Row(1).readStatus, -1);
  EXPECT_EQ(source.Row(1).key, KeyString("C01"));
  EXPECT_EQ(source.ReadCurrentRecord(), StatusClass::kNotFound);
}

TEST_F(BrowserSourceTest, WindowSizeChangesKeepTheCurrentRowInView) {
  AddCodes(8);
  BrowserSource& source = Browse(0);
  source.Last();
  EXPECT_EQ(Shown(), "[C07]");
  source.SetVisibleRows(3);
  EXPECT_EQ(Shown(), "C05 C06 [C07]");
  source.MoveUp();
  source.MoveUp();
  source.SetVisibleRows(1);
  EXPECT_EQ(Shown(), "[C05]");
  source.MoveDown();
  EXPECT_EQ(Shown(), "[C06]");
}

TEST_F(BrowserSourceTest, RecordOrderAndOtherIndexes) {
  Add("C00", "B");
  Add("C01", "A");
  Add("C02", "B");
  Add("C03");
  Add("C04", "A");
  Remove(4, "C03");
  BrowserSource& source = Browse(5, 0);
  source.First();
  EXPECT_EQ(Shown(), "[C00] C01 C02 C04");
  source.PositionAtKey({}, 4);
  EXPECT_EQ(source.CurrentRecordNumber(), 5);
  source.SetKeyNumber(kByName);
  EXPECT_EQ(Shown(), "[C01] C04 C00 C02");
  source.PositionAtKey("B", 3);
  EXPECT_EQ(source.CurrentRecordNumber(), 3);
}

TEST_F(BrowserSourceTest, FailuresReturnTheirClassAndStatus) {
  AddCodes(2);
  BrowserSource& badIndex = Browse(3, 7);
  EXPECT_EQ(badIndex.First(), StatusClass::kFatal);
  EXPECT_EQ(badIndex.LastStatus(), status::kBadKeyNumber);
  BrowserSource& source = Browse(3);
  source.OnBuildRow = [](RowRec&) { return status::kRecordOutOfRange; };
  EXPECT_EQ(source.First(), StatusClass::kFatal);
  EXPECT_EQ(source.LastStatus(), status::kRecordOutOfRange);
}

// A page hook's status ends the move with its own class: before the page it stops the
// fill, after it the worse of the page's outcome and the hook's counts.
TEST_F(BrowserSourceTest, PageHookStatusesEndTheMoveWithTheirClass) {
  AddCodes(4);
  BrowserSource& source = Browse(3);
  source.OnPreCompletePage = [] { return status::kReadOnly; };
  EXPECT_EQ(source.First(), StatusClass::kMayRetry);
  EXPECT_EQ(source.RowCount(), 0) << "a refused page is not filled";

  source.OnPreCompletePage = nullptr;
  source.OnPostCompletePage = [] { return status::kSearchNotFound; };
  EXPECT_EQ(source.First(), StatusClass::kNotFound);
  EXPECT_EQ(Shown(), "[C00] C01 C02");
  EXPECT_EQ(source.LastStatus(), status::kSearchNotFound);

  source.OnPostCompletePage = [] { return status::kDeleteKeyRolledBack; };
  EXPECT_EQ(source.Last(), StatusClass::kRolledBack);
  EXPECT_EQ(source.LastStatus(), status::kDeleteKeyRolledBack);
  EXPECT_EQ(source.MoveUp(), StatusClass::kSuccess) << "a move within the page runs no hook";
}

TEST_F(BrowserSourceTest, OnALargeFileScrollPositionAndThumbFollowTheFractionOfTheFile) {
  constexpr int kEntries = 100000;
  for (int i = 0; i < kEntries; ++i) Add(std::to_string(kEntries + i).substr(1));
  BrowserSource& source = Browse(20);
  source.PositionAtKey("50000", 0);
  EXPECT_NEAR(Scroll(), 31, 2);
  ASSERT_EQ(source.PositionAtScroll(0), StatusClass::kSuccess);
  EXPECT_EQ(source.CurrentKey(), KeyString("00000"));
  EXPECT_EQ(Scroll(), 0);
  ASSERT_EQ(source.PositionAtScroll(kScrollScale), StatusClass::kSuccess);
  EXPECT_EQ(source.CurrentKey(), KeyString("99999"));
  EXPECT_EQ(Scroll(), kScrollScale);
  for (const std::int32_t position : {1, 16, 31, 47, 62}) {
    ASSERT_EQ(source.PositionAtScroll(position), StatusClass::kSuccess);
    EXPECT_NEAR(std::stod(source.CurrentKey().str()) / kEntries, position / 63.0, 0.03) << position;
    EXPECT_NEAR(Scroll(), position, 1) << position;
  }
}

}  // namespace
}  // namespace engine
