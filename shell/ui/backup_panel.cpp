#include "shell/ui/backup_panel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <initializer_list>

#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/aging_chart.h"
#include "shell/backup.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

}  // namespace

TBackupPanel::TBackupPanel(platform::Dialogs& dialogs, platform::Help& help, QWidget* parent)
    : QFrame(parent),
      dialogs_(dialogs),
      help_(help),
      FileList_(new QListWidget(this)),
      DriveLabel_(new QLabel(tr("Backup Drive:"), this)),
      DriveCombo_(new QComboBox(this)),
      ChooseFolderButton_(new QPushButton(tr("Choose Folder..."), this)),
      ReadyLabel_(new QLabel(this)),
      BackupButton_(new QPushButton(tr("Backup"), this)),
      ExitBackupButton_(new QPushButton(tr("Exit Backup"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  platform::qt::SetHelpKeyword(*this, kBackupHelpKeyword);
  FileList_->hide();
  DriveLabel_->setBuddy(DriveCombo_);
  DriveCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  ReadyLabel_->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FileList_);
  layout->addWidget(DriveLabel_);
  layout->addWidget(DriveCombo_);
  layout->addWidget(ChooseFolderButton_);
  layout->addWidget(ReadyLabel_);
  layout->addWidget(BackupButton_);
  layout->addWidget(ExitBackupButton_);
  layout->addWidget(HelpButton_);
  layout->addStretch();
  connect(ChooseFolderButton_, &QPushButton::clicked, this, &TBackupPanel::ChooseFolderButtonClick);
  connect(BackupButton_, &QPushButton::clicked, this, &TBackupPanel::BackupButtonClick);
  connect(ExitBackupButton_, &QPushButton::clicked, this, &TBackupPanel::ExitBackupButtonClick);
  connect(HelpButton_, &QPushButton::clicked, this, &TBackupPanel::HelpButtonClick);
  hide();
}

void TBackupPanel::Start() {
  if (isVisible()) {
    ShowBackupAlreadyShowing(dialogs_);
    return;
  }
  RefreshFileList();
  OfferTargets();
  SetControlsEnabled(true);
  show();
}

void TBackupPanel::AddTarget(const QString& folder) {
  if (!pickedFolders_.contains(folder)) pickedFolders_.append(folder);
  int index = DriveCombo_->findText(folder);
  if (index < 0) {
    DriveCombo_->addItem(folder);
    index = DriveCombo_->count() - 1;
  }
  DriveCombo_->setCurrentIndex(index);
}

void TBackupPanel::RefreshFileList() {
  FileList_->clear();
  for (const std::string& name : BackupFileList(std::filesystem::current_path())) FileList_->addItem(ToQString(name));
  ReadyLabel_->setText(ToQString(ReadyToBackupText(static_cast<std::size_t>(FileList_->count()))));
}

void TBackupPanel::OfferTargets() {
  DriveCombo_->clear();
  const std::vector<std::filesystem::path> targets =
      BackupTargets(RemovableDrives(RemovableMountRoots()), LastBackupFolder(std::filesystem::current_path()));
  for (const std::filesystem::path& target : targets) DriveCombo_->addItem(ToQString(target.string()));
  for (const QString& folder : pickedFolders_) {
    if (DriveCombo_->findText(folder) < 0) DriveCombo_->addItem(folder);
  }
  DriveCombo_->setCurrentIndex(DriveCombo_->count() > 0 ? 0 : -1);
}

void TBackupPanel::SetControlsEnabled(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{DriveCombo_, ChooseFolderButton_, BackupButton_,
                                                          ExitBackupButton_, HelpButton_}) {
    control->setEnabled(enabled);
  }
}

std::vector<std::string> TBackupPanel::ListedFiles() const {
  std::vector<std::string> names;
  for (int row = 0; row < FileList_->count(); ++row) names.push_back(FileList_->item(row)->text().toStdString());
  return names;
}

// The copy runs on this thread; letting paint events through keeps the status line current.
void TBackupPanel::ShowStatus(std::string_view text) {
  emit statusChanged(ToQString(text));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TBackupPanel::ChooseFolderButtonClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, tr("Backup Drive"), DriveCombo_->currentText());
  if (!folder.isEmpty()) AddTarget(folder);
}

void TBackupPanel::BackupButtonClick() {
  BackupHooks hooks;
  hooks.copyStarting = [this] { SetControlsEnabled(false); };
  hooks.status = [this](std::string_view text) { ShowStatus(text); };
  hooks.copyEnded = [this] {
    hide();
    SetControlsEnabled(true);
  };
  const BackupOutcome outcome = BackupFiles(dialogs_, ListedFiles(), std::filesystem::current_path(),
                                            DriveCombo_->currentText().toStdString(), hooks);
  if (outcome.state == BackupOutcome::State::kFailed) emit statusChanged(ToQString(outcome.error));
  if (outcome.state == BackupOutcome::State::kComplete) emit statusChanged(ToQString(files::kStatusReady));
}

void TBackupPanel::ExitBackupButtonClick() {
  hide();
  emit statusChanged(ToQString(files::kStatusReady));
}

void TBackupPanel::HelpButtonClick() { help_.ShowTopic(kBackupHelpKeyword); }

}  // namespace shell::ui
