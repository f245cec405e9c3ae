#include "shell/ui/books_check.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/wait_cursor.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kCaption = "Check Books";
constexpr std::string_view kHelpKeyword = "CheckBooks";

QString SummaryOf(const books::BooksCheck& check) {
  if (!check.readAll) return ToQString("The books could not be read: " + check.failure);
  if (check.findings.empty()) return ToQString("The books of " + check.company + " balance.");
  const auto repairable = std::count_if(check.findings.begin(), check.findings.end(),
                                        [](const books::Finding& f) { return books::IsRepairable(f.kind); });
  const QString found = QObject::tr("%1: %2 difference(s) found.").arg(ToQString(check.company)).arg(check.findings.size());
  if (repairable == static_cast<long>(check.findings.size())) return found + QObject::tr(" Repair can rewrite them all.");
  if (repairable == 0) return found + QObject::tr(" They are records for you to look into; Repair does not change them.");
  return found + QObject::tr(" Repair can rewrite %1 of them; the others are records for you to look into.").arg(repairable);
}

}  // namespace

TBooksCheck::TBooksCheck(AppServices& services, QWidget* parent) : QDialog(parent), services_(services) {
  setWindowTitle(ToQString(kCaption));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  setSizeGripEnabled(true);
  Summary_ = new QLabel(this);
  Summary_->setWordWrap(true);
  FindingList_ = new QTreeWidget(this);
  FindingList_->setHeaderLabels({tr("Difference"), tr("Repair")});
  FindingList_->setRootIsDecorated(false);
  FindingList_->setWordWrap(true);
  FindingList_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  FindingList_->header()->setStretchLastSection(false);
  CheckButton_ = new QPushButton(tr("Check &Again"), this);
  RepairButton_ = new QPushButton(tr("&Repair..."), this);
  HelpButton_ = new QPushButton(tr("&Help"), this);
  CloseButton_ = new QPushButton(tr("&Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CheckButton_);
  buttons->addWidget(RepairButton_);
  buttons->addStretch(1);
  buttons->addWidget(HelpButton_);
  buttons->addWidget(CloseButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Summary_);
  layout->addWidget(FindingList_, 1);
  layout->addLayout(buttons);
  connect(CheckButton_, &QPushButton::clicked, this, &TBooksCheck::CheckButtonClick);
  connect(RepairButton_, &QPushButton::clicked, this, &TBooksCheck::RepairButtonClick);
  connect(HelpButton_, &QPushButton::clicked, this, [this] { services_.help.ShowTopic(kHelpKeyword); });
  connect(CloseButton_, &QPushButton::clicked, this, &QDialog::accept);
  resize(760, 420);
  CheckButtonClick();
}

void TBooksCheck::CheckButtonClick() {
  const platform::qt::WaitCursor hourglass;
  check_ = books::CheckBooks(services_);
  ShowCheck();
}

void TBooksCheck::ShowCheck() {
  Summary_->setText(SummaryOf(*check_));
  FindingList_->clear();
  for (const books::Finding& finding : check_->findings) {
    auto* item = new QTreeWidgetItem(FindingList_);
    item->setText(0, ToQString(finding.sentence));
    item->setToolTip(0, ToQString(finding.sentence));
    item->setText(1, books::IsRepairable(finding.kind) ? tr("Repairable") : tr("Look into"));
  }
  FindingList_->resizeColumnToContents(1);
  RepairButton_->setEnabled(check_->readAll && !books::RepairQuestion(*check_).empty());
}

// Asks with the exact list of what will be rewritten, repairs, says where the backup
// is and what was done, and checks again.
void TBooksCheck::RepairButtonClick() {
  if (!check_) return;
  const std::string question = books::RepairQuestion(*check_);
  if (question.empty() || !services_.dialogs.confirm(kCaption, question, platform::Answer::kNo)) return;
  books::RepairResult repair;
  {
    const platform::qt::WaitCursor hourglass;
    repair = books::RepairBooks(services_, *check_);
  }
  if (!repair.failure.empty()) {
    services_.dialogs.inform(kCaption, "Nothing was rewritten: " + repair.failure, platform::Icon::kError);
    return;
  }
  std::string told = std::to_string(repair.rewritten.size()) + " figure(s) were rewritten. The files as they were are in " +
                     repair.backupFolder.string() + ".";
  for (const std::string& left : repair.notRewritten) told += "\n" + left;
  services_.dialogs.inform(kCaption, told);
  CheckButtonClick();
}

}  // namespace shell::ui
