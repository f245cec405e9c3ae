#include "documents/label_list.h"

#include <gtest/gtest.h>

#include "platform/testing/temp_folder.h"

namespace documents {
namespace {

using platform::testing::TempDir;

const std::string kLongName = "Harborside Marine Supply & Chandler";  // 35 characters

TEST(RecordListLine, ColumnsArePaddedToTheirWidths) {
  const std::string line = ListLineOf({"12", {"Dockside", "EAST", "Wholesale"}});
  EXPECT_EQ(line, "12      " + std::string(" Dockside") + std::string(27, ' ') + " EAST" + std::string(11, ' ') +
                      " Wholesale" + std::string(16, ' '));
  EXPECT_EQ(line.size(), 86u);
}

TEST(RecordListLine, AccentedNamesKeepOneBytePerCharacter) {
  const std::string line = ListLineOf({"7", {"Müller", "", ""}});
  EXPECT_EQ(line.size(), 86u);
  EXPECT_EQ(EntryOfListLine(line).subItems[0], "Müller");
}

TEST(RecordListFile, RoundTripKeepsEveryFieldIncludingA35CharacterName) {
  ASSERT_EQ(kLongName.size(), 35u);
  TempDir folder;
  const auto path = folder.path() / "EAST.LST";
  const std::vector<LabelQueueEntry> saved = {{"CUST0001", {kLongName, "SORTCODE1234567", std::string(25, 'T')}},
                                              {"9", {"Short", "", "Retail"}}};
  ASSERT_TRUE(WriteRecordList(path, saved));
  std::vector<LabelQueueEntry> loaded;
  ASSERT_TRUE(ReadRecordList(path, loaded));
  EXPECT_EQ(loaded, saved);
}

TEST(RecordListFile, DamagedListsAreRefusedWhole) {
  TempDir folder;
  const auto path = folder.path() / "BAD.LST";
  std::vector<LabelQueueEntry> loaded = {{"1", {"Kept", "", ""}}};
  for (const std::string& content : {std::string(91, 'x') + "\r\n", std::string("12\0\0binary", 10)}) {
    ASSERT_TRUE(model::WriteWholeFile(path, content));
    const model::FileOutcome read = ReadRecordList(path, loaded);
    EXPECT_FALSE(read);
    EXPECT_EQ(read.error, "The record list \"" + path.string() +
                              "\" is not a saved record list: it holds lines no saved list has.");
    EXPECT_EQ(loaded.size(), 1u);
  }
}

TEST(RecordListFile, ShortLinesAndBlankLinesLoad) {
  TempDir folder;
  const auto path = folder.path() / "HAND.LST";
  ASSERT_TRUE(model::WriteWholeFile(path, "12       Dockside\n\n"));
  std::vector<LabelQueueEntry> loaded;
  ASSERT_TRUE(ReadRecordList(path, loaded));
  EXPECT_EQ(loaded, (std::vector<LabelQueueEntry>{{"12", {"Dockside", "", ""}}}));
}

}  // namespace
}  // namespace documents
