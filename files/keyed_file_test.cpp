#include "files/keyed_file.h"

#include <gtest/gtest.h>

#include "engine/file_format.h"
#include "engine/test_support.h"
#include "platform/testing/scripted_dialogs.h"

namespace files {
namespace {

namespace status = engine::status;
namespace testing = engine::testing;

using platform::Answer;
using platform::testing::LoggedMessage;
using platform::testing::RecordingProgress;
using platform::testing::ScriptedDialogs;
using testing::ItemField;
using testing::KeyedItem;
using testing::MakeKeyedItem;

constexpr std::string_view kDefective = "Index file is defective.  Rebuild?";

// Items keyed by code (index 1, unique) and by name (index 2, unique).
FileDescription ItemFile(std::string notice = "I am going to create a new, empty item file for this company.") {
  FileDescription description;
  description.name = "7X";
  description.recordLength = sizeof(KeyedItem);
  description.indexes = {{8, false}, {12, false}};
  description.buildKey = [](std::span<const std::byte> record, KeyNumber key) {
    return testing::KeyOfField(testing::KeyedItemFrom(record), key == 1 ? ItemField::kCode : ItemField::kName);
  };
  description.creationNotice = std::move(notice);
  description.rebuildCaption = "Items";
  return description;
}

class KeyedFileTest : public ::testing::Test {
 protected:
  KeyedFileTest() { engine_.InitEngine(30); }

  KeyedFile& File(FileDescription description = ItemFile()) {
    file_ = std::make_unique<KeyedFile>(engine_, dialogs_, progress_, std::move(description));
    return *file_;
  }
  // A file with `count` items already on it, open.
  KeyedFile& FileWithItems(int count) {
    KeyedFile& file = File(ItemFile(""));
    EXPECT_TRUE(file.Open());
    for (int i = 1; i <= count; ++i) {
      RecordNumber added = 0;
      EXPECT_TRUE(file.Add(MakeKeyedItem(i, "C" + std::to_string(i), "N" + std::to_string(i), ""), added));
    }
    return file;
  }
  std::vector<testing::IndexEntry> Walk(KeyNumber index) {
    return testing::WalkIndex(engine_, file_->Block(), index);
  }
  KeyedItem Read(RecordNumber number) {
    KeyedItem item;
    engine_.GetRecord(file_->Block(), number, RecordBytes(item));
    return item;
  }
  void MarkLeftOpen() {
    auto data = testing::ReadBytes(folder_.path() / "7X.DAT");
    data[engine::format::kOpenFlagOffset] = 1;
    testing::WriteBytes(folder_.path() / "7X.DAT", data);
  }

  testing::ScopedWorkingFolder folder_;
  Engine engine_;
  ScriptedDialogs dialogs_;
  RecordingProgress progress_;
  std::unique_ptr<KeyedFile> file_;
};

TEST_F(KeyedFileTest, MissingFileIsCreatedAfterTheNoticeAndOpened) {
  dialogs_.Answer(Answer::kOk);
  ASSERT_TRUE(File().Open());
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  const LoggedMessage& notice = dialogs_.Log()[0];
  EXPECT_EQ(notice.caption, "New Company");
  EXPECT_EQ(notice.text, "I am going to create a new, empty item file for this company.");
  EXPECT_EQ(notice.icon, platform::Icon::kInformation);
  EXPECT_EQ(notice.buttons, platform::Buttons::kOkCancel);
  EXPECT_EQ(engine_.RecordLength(file_->Block()), static_cast<int>(sizeof(KeyedItem)));
  EXPECT_EQ(testing::FileNamesIn(folder_.path()), (std::vector<std::string>{"7X.DAT", "7X.IX"}));
}

TEST_F(KeyedFileTest, DecliningTheNoticeCreatesNothing) {
  dialogs_.Answer(Answer::kCancel);
  EXPECT_FALSE(File().Open());
  EXPECT_FALSE(file_->IsOpen());
  EXPECT_TRUE(testing::FileNamesIn(folder_.path()).empty());
  EXPECT_EQ(file_->FailureStatus(), status::kFileNotFound);
}

// Records of another length would be read as the wrong records.
TEST_F(KeyedFileTest, FileOfAnotherRecordLengthIsOfferedTheRebuild) {
  engine_.CreateFileSet("7X", sizeof(KeyedItem) + 4, std::vector<IndexSpec>{{8, false}, {12, false}});
  ASSERT_TRUE(engine_.Ok());
  dialogs_.Answer(Answer::kNo);
  EXPECT_FALSE(File().Open());
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{std::string(kDefective)}));
  EXPECT_EQ(file_->FailureStatus(), status::kMustRebuild);
  EXPECT_FALSE(file_->IsOpen());
}

TEST_F(KeyedFileTest, FileWithoutNoticeIsCreatedSilently) {
  EXPECT_TRUE(File(ItemFile("")).Open());
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(KeyedFileTest, FileLeftOpenIsRebuiltWhenTheUserAgrees) {
  FileWithItems(3).Close();
  MarkLeftOpen();
  std::filesystem::remove(folder_.path() / "7X.IX");

  dialogs_.Answer(Answer::kYes);
  ASSERT_TRUE(File().Open());
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{std::string(kDefective)}));
  EXPECT_EQ(dialogs_.Log()[0].caption, "Please Confirm");
  EXPECT_EQ(progress_.begun, 1);
  EXPECT_EQ(progress_.ended, 1);
  EXPECT_EQ(progress_.title, "Rebuild Status");
  EXPECT_EQ(progress_.caption, "Items");
  EXPECT_EQ(Walk(1), (std::vector<testing::IndexEntry>{{"C1", 1}, {"C2", 2}, {"C3", 3}}));
  EXPECT_EQ(Walk(2), (std::vector<testing::IndexEntry>{{"N1", 1}, {"N2", 2}, {"N3", 3}}));
}

TEST_F(KeyedFileTest, FileLeftOpenStaysClosedWhenTheUserRefusesTheRebuild) {
  FileWithItems(1).Close();
  MarkLeftOpen();
  dialogs_.Answer(Answer::kNo);
  EXPECT_FALSE(File().Open());
  EXPECT_EQ(progress_.begun, 0);
  EXPECT_EQ(file_->FailureStatus(), status::kMustRebuild);
}

TEST_F(KeyedFileTest, RebuildReportsEveryFiftyRecordsOfEachPass) {
  FileWithItems(120);
  ASSERT_TRUE(file_->Rebuild());
  EXPECT_FALSE(file_->IsOpen());
  std::vector<std::vector<std::string>> expected;
  for (int key : {0, 1, 2}) {
    for (int read : {50, 100}) {
      expected.push_back({"Key number: " + std::to_string(key), "Records read: " + std::to_string(read),
                          "Records written: " + std::to_string(read)});
    }
  }
  std::vector<std::vector<std::string>> shown;
  for (const auto& lines : progress_.shown) shown.push_back(lines.lines);
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(progress_.responsiveCalls, 3 * 120);
}

TEST_F(KeyedFileTest, RecordWithADuplicateSecondKeyLeavesNoTrace) {
  KeyedFile& file = FileWithItems(1);
  RecordNumber added = 0;
  EXPECT_FALSE(file.Add(MakeKeyedItem(2, "C2", "N1", ""), added));
  EXPECT_EQ(file.FailureStatus(), status::kDuplicateKey);
  EXPECT_EQ(engine_.UsedRecords(file.Block()), 1);
  EXPECT_EQ(Walk(1), (std::vector<testing::IndexEntry>{{"C1", 1}}));
  EXPECT_EQ(Walk(2), (std::vector<testing::IndexEntry>{{"N1", 1}}));
  // The slot it briefly took is free again.
  ASSERT_TRUE(file.Add(MakeKeyedItem(3, "C3", "N3", ""), added));
  EXPECT_EQ(added, 2);
}

// Written first and refused after, a duplicate could outlive the older record when the
// program was killed in between and the rebuild met the new copy first.
TEST_F(KeyedFileTest, DuplicateIsRefusedBeforeItsRecordIsWritten) {
  KeyedFile& file = FileWithItems(2);
  const KeyedItem first = Read(1);
  ASSERT_TRUE(file.Delete(1, first));  // the next add would reuse slot 1
  const std::vector<std::uint8_t> before = testing::ReadBytes(folder_.path() / "7X.DAT");

  RecordNumber added = 0;
  EXPECT_FALSE(file.Add(MakeKeyedItem(9, "C9", "N2", ""), added));
  EXPECT_EQ(file.FailureStatus(), status::kDuplicateKey);
  EXPECT_EQ(testing::ReadBytes(folder_.path() / "7X.DAT"), before);
}

TEST_F(KeyedFileTest, UpdateWithoutKeyChangesLeavesTheIndexFileAsItWas) {
  FileWithItems(2).Close();
  const auto indexBefore = testing::ReadBytes(folder_.path() / "7X.IX");

  KeyedFile& file = File();
  ASSERT_TRUE(file.Open());
  KeyedItem item = Read(2);
  const KeyedItem snapshot = item;
  item.serial = 99;
  std::memcpy(item.tag, "NEW", 3);
  ASSERT_TRUE(file.Update(2, item, &snapshot));
  EXPECT_EQ(Read(2).serial, 99);
  file.Close();
  EXPECT_EQ(testing::ReadBytes(folder_.path() / "7X.IX"), indexBefore);
}

TEST_F(KeyedFileTest, UpdateMovesOnlyTheKeysThatChanged) {
  KeyedFile& file = FileWithItems(2);
  KeyedItem item = Read(1);
  std::memcpy(item.name, "ZZ", 3);
  ASSERT_TRUE(file.Update(1, item));
  EXPECT_EQ(Walk(1), (std::vector<testing::IndexEntry>{{"C1", 1}, {"C2", 2}}));
  EXPECT_EQ(Walk(2), (std::vector<testing::IndexEntry>{{"N2", 2}, {"ZZ", 1}}));
}

TEST_F(KeyedFileTest, UpdateToADuplicateKeyPutsEveryKeyBack) {
  KeyedFile& file = FileWithItems(2);
  KeyedItem item = Read(1);
  std::memcpy(item.code, "C9", 3);  // index 1 moves first ...
  std::memcpy(item.name, "N2", 3);  // ... then index 2 refuses the duplicate
  EXPECT_FALSE(file.Update(1, item));
  EXPECT_EQ(file.FailureStatus(), status::kDuplicateKey);
  EXPECT_EQ(Walk(1), (std::vector<testing::IndexEntry>{{"C1", 1}, {"C2", 2}}));
  EXPECT_EQ(Walk(2), (std::vector<testing::IndexEntry>{{"N1", 1}, {"N2", 2}}));
  EXPECT_STREQ(Read(1).code, "C1");
}

TEST_F(KeyedFileTest, UpdateOfARecordChangedMeanwhileWritesNothing) {
  KeyedFile& file = FileWithItems(1);
  const KeyedItem snapshot = Read(1);
  KeyedItem other = snapshot;
  other.serial = 50;
  ASSERT_TRUE(file.Update(1, other));  // another window's change

  KeyedItem mine = snapshot;
  std::memcpy(mine.name, "MINE", 5);
  EXPECT_FALSE(file.Update(1, mine, &snapshot));
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"The record has changed in the meantime."}));
  EXPECT_EQ(Read(1).serial, 50);
  EXPECT_EQ(Walk(2), (std::vector<testing::IndexEntry>{{"N1", 1}}));
}

TEST_F(KeyedFileTest, UnchangedEditWritesNothingEvenOverAChangedRecord) {
  KeyedFile& file = FileWithItems(1);
  const KeyedItem snapshot = Read(1);
  KeyedItem other = snapshot;
  other.serial = 50;
  ASSERT_TRUE(file.Update(1, other));
  EXPECT_TRUE(file.Update(1, snapshot, &snapshot));
  EXPECT_EQ(Read(1).serial, 50);
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(KeyedFileTest, DeleteRemovesTheRecordAndAllItsKeys) {
  KeyedFile& file = FileWithItems(2);
  ASSERT_TRUE(file.Delete(1, Read(1)));
  EXPECT_EQ(engine_.UsedRecords(file.Block()), 1);
  EXPECT_EQ(Walk(1), (std::vector<testing::IndexEntry>{{"C2", 2}}));
  EXPECT_EQ(Walk(2), (std::vector<testing::IndexEntry>{{"N2", 2}}));
}

TEST_F(KeyedFileTest, RecordDeletedMeanwhileIsNeitherDeletedAgainNorUpdated) {
  KeyedFile& file = FileWithItems(2);
  const KeyedItem item = Read(1);
  ASSERT_TRUE(file.Delete(1, item));
  EXPECT_FALSE(file.Delete(1, item));
  EXPECT_EQ(file.FailureStatus(), status::kNoUsedRecord);
  EXPECT_FALSE(file.Update(1, item));
  EXPECT_EQ(file.FailureStatus(), status::kNoUsedRecord);
  // The free chain still holds the one slot once: two adds take slot 1, then a new one.
  RecordNumber first = 0, second = 0;
  ASSERT_TRUE(file.Add(MakeKeyedItem(5, "C5", "N5", ""), first));
  ASSERT_TRUE(file.Add(MakeKeyedItem(6, "C6", "N6", ""), second));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 3);
}

TEST_F(KeyedFileTest, SearchFindsTheFirstKeyAtOrAfterAPrefix) {
  KeyedFile& file = FileWithItems(3);
  RecordNumber number = 0;
  KeyString key("C2");
  ASSERT_TRUE(file.Search(1, number, key));
  EXPECT_EQ(number, 2);
  key = KeyString("C9");
  EXPECT_FALSE(file.Search(1, number, key));
}

TEST_F(KeyedFileTest, RefusedNameTouchesNoFile) {
  FileDescription description = ItemFile();
  description.name = "../7X";
  description.nameRefusal = "That name is not allowed.";
  EXPECT_FALSE(File(description).Open());
  EXPECT_FALSE(file_->Rebuild());
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].text, "That name is not allowed.");
  EXPECT_EQ(dialogs_.Log()[0].icon, platform::Icon::kWarning);
  EXPECT_TRUE(testing::FileNamesIn(folder_.path()).empty());
  EXPECT_FALSE(std::filesystem::exists(folder_.path().parent_path() / "7X.DAT"));
}

}  // namespace
}  // namespace files
