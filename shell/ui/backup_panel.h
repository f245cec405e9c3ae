// The backup panel the main window shows beside its button panels: the data files
// about to be copied, the drive or folder to copy them to, and the buttons that start
// the copy, close the panel and open its help.
#pragma once

#include <QFrame>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/help.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace shell::ui {

class TBackupPanel : public QFrame {
  Q_OBJECT

 public:
  TBackupPanel(platform::Dialogs& dialogs, platform::Help& help, QWidget* parent = nullptr);

  // The menu command. While the panel is showing it only says so; otherwise it lists
  // the data files, offers the folder of the last backup and the removable drives,
  // the first of them selected, and shows the panel.
  void Start();
  // Offers a folder as a target (once) and selects it; the "Choose Folder..." button
  // comes here with the folder the user picked.
  void AddTarget(const QString& folder);

  QListWidget* FileList() const { return FileList_; }
  QComboBox* DriveCombo() const { return DriveCombo_; }
  QLabel* ReadyLabel() const { return ReadyLabel_; }
  QPushButton* ChooseFolderButton() const { return ChooseFolderButton_; }
  QPushButton* BackupButton() const { return BackupButton_; }
  QPushButton* ExitBackupButton() const { return ExitBackupButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }

 signals:
  // Status panel 1 of the main window.
  void statusChanged(const QString& text);

 private:
  void RefreshFileList();
  void OfferTargets();
  void SetControlsEnabled(bool enabled);
  std::vector<std::string> ListedFiles() const;
  void ShowStatus(std::string_view text);

  void ChooseFolderButtonClick();
  void BackupButtonClick();
  void ExitBackupButtonClick();
  void HelpButtonClick();

  platform::Dialogs& dialogs_;
  platform::Help& help_;
  QStringList pickedFolders_;  // kept for the session, offered after the drives
  QListWidget* FileList_;
  QLabel* DriveLabel_;
  QComboBox* DriveCombo_;
  QPushButton* ChooseFolderButton_;
  QLabel* ReadyLabel_;
  QPushButton* BackupButton_;
  QPushButton* ExitBackupButton_;
  QPushButton* HelpButton_;
};

}  // namespace shell::ui
