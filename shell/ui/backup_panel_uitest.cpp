#include "shell/ui/backup_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "platform/testing/fake_desktop.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell::ui {
namespace {

using engine::testing::FileNamesIn;
using engine::testing::WriteBytes;
using platform::testing::RecordingHelp;
using platform::testing::ScriptedDialogs;

class BackupPanelTest : public ::testing::Test {
 protected:
  BackupPanelTest() {
    for (const char* name : {"Company.DAT", "Company.IX", "LastCo.Dat", "notes.txt"}) {
      WriteBytes(folder_.path() / name, {'x'});
    }
    QObject::connect(&panel_, &TBackupPanel::statusChanged, [this](const QString& text) {
      statuses_.append(text);
      if (text.startsWith("Copying")) backupEnabledWhileCopying_ = panel_.BackupButton()->isEnabled();
    });
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::testing::TempDir target_;
  ScriptedDialogs dialogs_;
  RecordingHelp help_;
  TBackupPanel panel_{dialogs_, help_};
  QStringList statuses_;
  bool backupEnabledWhileCopying_ = true;
};

TEST_F(BackupPanelTest, BacksUpTheListedFilesIntoTheChosenFolderAndHides) {
  panel_.Start();
  ASSERT_TRUE(panel_.isVisible());
  EXPECT_FALSE(panel_.FileList()->isVisible());
  EXPECT_EQ(panel_.FileList()->count(), 3);
  EXPECT_EQ(panel_.ReadyLabel()->text(), "Ready to backup 3 files.");
  panel_.AddTarget(QString::fromStdString(target_.path().string()));
  EXPECT_EQ(panel_.DriveCombo()->currentText().toStdString(), target_.path().string());

  dialogs_.Answer(platform::Answer::kOk);
  panel_.BackupButton()->click();
  EXPECT_EQ(FileNamesIn(target_.path()), (std::vector<std::string>{"Company.DAT", "Company.IX", "LastCo.Dat"}));
  EXPECT_EQ(dialogs_.Log().back().text, "Backup complete. 3 files were copied.");
  EXPECT_FALSE(panel_.isVisible());
  EXPECT_EQ(statuses_.first(), "Copying Company.DAT...");
  EXPECT_TRUE(statuses_.contains("Copying LastCo.Dat..."));
  EXPECT_EQ(statuses_.last(), "Ready.");
  EXPECT_FALSE(backupEnabledWhileCopying_);
  EXPECT_TRUE(panel_.BackupButton()->isEnabled());
}

TEST_F(BackupPanelTest, TheFolderOfTheLastBackupIsOfferedFirst) {
  panel_.Start();
  panel_.AddTarget(QString::fromStdString(target_.path().string()));
  dialogs_.Answer(platform::Answer::kOk);
  panel_.BackupButton()->click();

  TBackupPanel nextRun(dialogs_, help_);
  nextRun.Start();
  EXPECT_EQ(nextRun.DriveCombo()->itemText(0).toStdString(), target_.path().string());
  EXPECT_EQ(nextRun.DriveCombo()->currentIndex(), 0);
}

TEST_F(BackupPanelTest, StartWhileShowingOnlySaysSo) {
  panel_.Start();
  WriteBytes(folder_.path() / "More.DAT", {'x'});
  panel_.Start();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"The backup utility is currently showing."});
  EXPECT_EQ(panel_.FileList()->count(), 3);
}

TEST_F(BackupPanelTest, HelpOpensItsTopicAndExitHides) {
  panel_.Start();
  panel_.HelpButton()->click();
  EXPECT_EQ(help_.topics, std::vector<std::string>{"backupdata"});
  panel_.ExitBackupButton()->click();
  EXPECT_FALSE(panel_.isVisible());
  EXPECT_EQ(statuses_, QStringList{"Ready."});
}

}  // namespace
}  // namespace shell::ui
