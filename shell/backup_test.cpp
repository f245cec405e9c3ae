#include "shell/backup.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

namespace fs = std::filesystem;
using engine::testing::FileNamesIn;
using engine::testing::ReadBytes;
using engine::testing::WriteBytes;
using platform::Answer;
using platform::testing::ScriptedDialogs;

constexpr const char* kFailure = "Error copying files. Backup incomplete. Check disk drive and try again.";

TEST(BackupFilesListTest, ExtensionsMatchWhateverTheirCase) {
  for (const char* name : {"Company.DAT", "LastCo.Dat", "1C.ix", "1C.IX", "old.sav", "a.LST", "b.lbl", "c.Rtf"}) {
    EXPECT_TRUE(IsBackupFile(name)) << name;
  }
  for (const char* name : {"notes.txt", "DAT", "x.DATA", "x.DAT.new", "x.IXX", "bak.RTF~"}) {
    EXPECT_FALSE(IsBackupFile(name)) << name;
  }
}

TEST(BackupFilesListTest, ListsOnlyDataFilesSortedByName) {
  engine::testing::TempDir folder;
  for (const char* name : {"LastCo.Dat", "readme.txt", "1C.DAT", "Company.DAT", "1c.IX", "labels.lbl"}) {
    WriteBytes(folder.path() / name, {1});
  }
  fs::create_directory(folder.path() / "Archive.DAT");
  EXPECT_EQ(BackupFileList(folder.path()),
            (std::vector<std::string>{"1C.DAT", "1c.IX", "Company.DAT", "labels.lbl", "LastCo.Dat"}));
}

TEST(BackupTargetsTest, FoldersUnderEachRootInTurnMissingRootsSkipped) {
  engine::testing::TempDir media;
  engine::testing::TempDir mnt;
  fs::create_directory(media.path() / "USB2");
  fs::create_directory(media.path() / "CARD");
  WriteBytes(media.path() / "file.DAT", {1});
  fs::create_directory(mnt.path() / "backup");
  EXPECT_EQ(RemovableDrives({media.path(), media.path() / "missing", mnt.path()}),
            (std::vector<fs::path>{media.path() / "CARD", media.path() / "USB2", mnt.path() / "backup"}));
}

TEST(BackupTargetsTest, NoMountOutsideTheUsersRemovableDrivesIsOffered) {
  for (const fs::path& root : RemovableMountRoots()) {
    const std::string folder = root.string();
    EXPECT_TRUE(folder.starts_with("/media/") || folder.starts_with("/run/media/")) << folder;
  }
}

TEST(BackupTargetsTest, LastBackupFolderComesFirstWhileItExists) {
  engine::testing::TempDir last;
  engine::testing::TempDir drive;
  const std::vector<fs::path> lastThenDrive = {last.path(), drive.path()};
  EXPECT_EQ(BackupTargets({drive.path()}, last.path()), lastThenDrive);
  EXPECT_EQ(BackupTargets({last.path(), drive.path()}, last.path()), lastThenDrive);
  EXPECT_EQ(BackupTargets({drive.path()}, last.path() / "unplugged"), std::vector<fs::path>{drive.path()});
  EXPECT_TRUE(BackupTargets({}, std::nullopt).empty());
}

TEST(BackupTargetsTest, MissingEmptyOrUnreadableBackupDirRemembersNothing) {
  engine::testing::TempDir data;
  EXPECT_EQ(LastBackupFolder(data.path()), std::nullopt);
  WriteBytes(data.path() / "Backup.Dir", {});
  EXPECT_EQ(LastBackupFolder(data.path()), std::nullopt);
  fs::remove(data.path() / "Backup.Dir");
  fs::create_directory(data.path() / "Backup.Dir");
  EXPECT_EQ(LastBackupFolder(data.path()), std::nullopt);
}

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    for (const char* name : {"A.DAT", "B.DAT", "C.IX"}) {
      WriteBytes(folder_.path() / name, {'d', 'a', 't', static_cast<std::uint8_t>(name[0])});
    }
    hooks_.copyStarting = [this] { events_.push_back("starting"); };
    hooks_.status = [this](std::string_view text) { events_.emplace_back(text); };
    hooks_.copyEnded = [this] { events_.push_back("ended"); };
  }
  BackupOutcome Backup(const fs::path& target) {
    return BackupFiles(dialogs_, BackupFileList(folder_.path()), fs::current_path(), target, hooks_);
  }
  bool CopiedWhole(const std::string& name) const {
    return ReadBytes(target_.path() / name) == ReadBytes(folder_.path() / name);
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::testing::TempDir target_;
  ScriptedDialogs dialogs_;
  BackupHooks hooks_;
  std::vector<std::string> events_;
};

TEST_F(BackupTest, CopiesEveryFileInListOrderAndReportsTheCount) {
  WriteBytes(target_.path() / "A.DAT", {'o', 'l', 'd'});
  dialogs_.Answer(Answer::kOk);
  const BackupOutcome outcome = Backup(target_.path());
  EXPECT_EQ(outcome.state, BackupOutcome::State::kComplete);
  EXPECT_EQ(FileNamesIn(target_.path()), (std::vector<std::string>{"A.DAT", "B.DAT", "C.IX"}));
  EXPECT_TRUE(CopiedWhole("A.DAT") && CopiedWhole("B.DAT") && CopiedWhole("C.IX"));
  EXPECT_EQ(events_, (std::vector<std::string>{"starting", "Copying A.DAT...", "Copying B.DAT...", "Copying C.IX...",
                                               "ended"}));
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Please Confirm");
  EXPECT_EQ(dialogs_.Log()[0].text, "Ready to backup files to " + target_.path().string() + "?");
  EXPECT_EQ(dialogs_.Log()[0].buttons, platform::Buttons::kOkCancel);
  EXPECT_EQ(dialogs_.Log()[1].caption, "VT Backup");
  EXPECT_EQ(dialogs_.Log()[1].text, "Backup complete. 3 files were copied.");
}

TEST_F(BackupTest, TheTargetOfABackupIsRememberedForTheNext) {
  dialogs_.Answer(Answer::kOk);
  Backup(target_.path());
  EXPECT_EQ(LastBackupFolder(fs::current_path()), target_.path());
  EXPECT_FALSE(IsBackupFile(kBackupFolderFile));
}

TEST_F(BackupTest, CancelCopiesNothing) {
  dialogs_.Answer(Answer::kCancel);
  EXPECT_EQ(Backup(target_.path()).state, BackupOutcome::State::kCancelled);
  EXPECT_EQ(LastBackupFolder(fs::current_path()), std::nullopt);
  EXPECT_TRUE(FileNamesIn(target_.path()).empty());
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(dialogs_.Log().size(), 1u);
}

TEST_F(BackupTest, StopsAtTheFirstFailureKeepingEarlierCopiesAndNoHalfFile) {
  fs::create_directories(target_.path() / "B.DAT" / "in-the-way");
  dialogs_.Answer(Answer::kOk);
  const BackupOutcome outcome = Backup(target_.path());
  EXPECT_EQ(outcome.state, BackupOutcome::State::kFailed);
  EXPECT_EQ(outcome.copied, 1u);
  EXPECT_NE(outcome.error.find("B.DAT"), std::string::npos);
  EXPECT_EQ(FileNamesIn(target_.path()), (std::vector<std::string>{"A.DAT", "B.DAT"}));
  EXPECT_TRUE(CopiedWhole("A.DAT"));
  EXPECT_TRUE(fs::is_directory(target_.path() / "B.DAT"));
  EXPECT_EQ(events_, (std::vector<std::string>{"starting", "Copying A.DAT...", "Copying B.DAT...", "ended"}));
  EXPECT_EQ(dialogs_.Log().back().caption, "VT Backup");
  EXPECT_EQ(dialogs_.Log().back().text, kFailure);
}

TEST_F(BackupTest, DataFolderOrAFolderInsideItIsRefusedBeforeAsking) {
  fs::create_directory(folder_.path() / "sub");
  fs::create_directory_symlink(folder_.path(), target_.path() / "link");
  for (const fs::path& target : {fs::path("."), folder_.path(), folder_.path() / "sub", folder_.path() / "sub" / "..",
                                 folder_.path() / "new" / "deeper", target_.path() / "link"}) {
    SCOPED_TRACE(target.string());
    ScriptedDialogs dialogs;
    EXPECT_EQ(BackupFiles(dialogs, {"A.DAT"}, ".", target, hooks_).state, BackupOutcome::State::kRefused);
    ASSERT_EQ(dialogs.Log().size(), 1u);
    EXPECT_EQ(dialogs.Log()[0].caption, "VT Backup");
    EXPECT_NE(dialogs.Log()[0].text.find("data folder"), std::string::npos);
  }
  EXPECT_TRUE(events_.empty());
  EXPECT_FALSE(fs::exists(folder_.path() / "sub" / "A.DAT"));
}

TEST_F(BackupTest, FolderBesideTheDataFolderWithALongerNameIsAllowed) {
  const fs::path beside = folder_.path().string() + "-copy";
  fs::create_directory(beside);
  dialogs_.Answer(Answer::kOk);
  EXPECT_EQ(Backup(beside).state, BackupOutcome::State::kComplete);
  fs::remove_all(beside);
}

TEST(BackupTextsTest, ReadyCountAndAlreadyShowing) {
  EXPECT_EQ(ReadyToBackupText(12), "Ready to backup 12 files.");
  ScriptedDialogs dialogs;
  ShowBackupAlreadyShowing(dialogs);
  EXPECT_EQ(dialogs.Log().at(0).caption, "Backup Files");
  EXPECT_EQ(dialogs.Log().at(0).text, "The backup utility is currently showing.");
}

}  // namespace
}  // namespace shell
