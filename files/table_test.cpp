#include "files/table.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "platform/testing/scripted_dialogs.h"

namespace files {
namespace {

using engine::testing::ItemField;
using engine::testing::KeyedItem;
using engine::testing::MakeKeyedItem;

// Items by code (index 1, unique) and by tag (index 2, duplicates allowed).
FileDescription ItemFile() {
  FileDescription description;
  description.name = "7X";
  description.recordLength = sizeof(KeyedItem);
  description.indexes = {{8, false}, {6, true}};
  description.buildKey = [](std::span<const std::byte> record, KeyNumber key) {
    return engine::testing::KeyOfField(engine::testing::KeyedItemFrom(record),
                                       key == 1 ? ItemField::kCode : ItemField::kTag);
  };
  return description;
}

class TableTest : public ::testing::Test {
 protected:
  TableTest() {
    engine_.InitEngine(30);
    EXPECT_TRUE(file_.Open());
    // Codes C01..C12; tags alternate, so every other item shares one.
    for (int serial = 1; serial <= 12; ++serial) {
      const std::string code = serial < 10 ? "C0" + std::to_string(serial) : "C" + std::to_string(serial);
      RecordNumber added = 0;
      EXPECT_TRUE(table_.Add(MakeKeyedItem(serial, code, "", serial % 2 == 0 ? "EVEN" : "ODD"), added));
    }
  }

  std::vector<int> Serials(bool (Table<KeyedItem>::*walk)(KeyNumber, const KeyString&,
                                                          const Table<KeyedItem>::Visitor&) const,
                           KeyNumber index, const KeyString& key) {
    std::vector<int> serials;
    EXPECT_TRUE((table_.*walk)(index, key, [&](const Row<KeyedItem>& row) {
      serials.push_back(row.record.serial);
      return true;
    }));
    return serials;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  KeyedFile file_{engine_, dialogs_, progress_, ItemFile()};
  Table<KeyedItem> table_{file_};
};

TEST_F(TableTest, WalkStartsAtItsKeyWhereverTheIndexWasLeft) {
  RecordNumber number = 0;
  KeyString key("C11");
  ASSERT_TRUE(file_.Search(1, number, key));  // as a browser or a find would leave it

  EXPECT_EQ(Serials(&Table<KeyedItem>::ForEachFrom, 1, KeyString()),
            (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(Serials(&Table<KeyedItem>::ForEachFrom, 1, "C095"), (std::vector<int>{10, 11, 12}));
  EXPECT_EQ(Serials(&Table<KeyedItem>::ForEachFrom, 1, "D"), std::vector<int>{});
}

TEST_F(TableTest, EqualKeysAreVisitedAndNothingBeyondThem) {
  EXPECT_EQ(Serials(&Table<KeyedItem>::ForEachEqual, 2, "EVEN"), (std::vector<int>{2, 4, 6, 8, 10, 12}));
  EXPECT_EQ(Serials(&Table<KeyedItem>::ForEachEqual, 2, "EVE"), std::vector<int>{});
}

TEST_F(TableTest, FindExactGivesTheRecordWithItsSlotOrNothing) {
  const auto found = table_.FindExact(1, "C07");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->record.serial, 7);
  EXPECT_EQ(found->number, 7);
  EXPECT_FALSE(table_.FindExact(1, "C0"));
  EXPECT_FALSE(table_.FindExact(1, "C13"));
}

TEST_F(TableTest, FreedSlotsAreNeitherReadNorVisited) {
  const KeyedItem third = *table_.Read(3);
  ASSERT_TRUE(table_.Delete(3, third));
  EXPECT_FALSE(table_.Read(3));
  std::vector<RecordNumber> slots;
  EXPECT_TRUE(table_.ForEachRecord([&](const Row<KeyedItem>& row) {
    slots.push_back(row.number);
    return row.number < 5;  // stops after the first slot past 4
  }));
  EXPECT_EQ(slots, (std::vector<RecordNumber>{1, 2, 4, 5}));
}

TEST_F(TableTest, VisitsStopWhenTheVisitorSaysSo) {
  int visited = 0;
  EXPECT_TRUE(table_.ForEach(1, [&](const Row<KeyedItem>&) { return ++visited < 3; }));
  EXPECT_EQ(visited, 3);
}

}  // namespace
}  // namespace files
