#include "reports/ui/statement_selection.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"

namespace reports::ui {
namespace {

constexpr std::string_view kHelpKeyword = "GetStatement";

QGroupBox* Group(QWidget* parent, const QString& title, std::initializer_list<QRadioButton*> buttons) {
  auto* group = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(group);
  for (QRadioButton* button : buttons) layout->addWidget(button);
  return group;
}

}  // namespace

TSelStmnt::TSelStmnt(platform::Help& help, QWidget* parent)
    : QDialog(parent),
      help_(help),
      RBAll_(new QRadioButton(tr("All non-zero balances"), this)),
      RBover30_(new QRadioButton(tr("Over 30 Days"), this)),
      RBover60_(new QRadioButton(tr("Over 60 Days"), this)),
      RBover90_(new QRadioButton(tr("Over 90 Days"), this)),
      RBActAll_(new QRadioButton(tr("All activity (paid and unpaid)"), this)),
      RBActUnPd_(new QRadioButton(tr("Only Unpaid Transactions"), this)),
      OkButton_(new QPushButton(tr("&Ok"), this)),
      CancelButton_(new QPushButton(tr("&Cancel"), this)),
      HelpButton_(new QPushButton(tr("&Help"), this)) {
  setWindowTitle(tr("Statement Selection"));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Group(this, tr(" Account Balance Selection: "), {RBAll_, RBover30_, RBover60_, RBover90_}));
  layout->addWidget(Group(this, tr(" Statement Detail: "), {RBActAll_, RBActUnPd_}));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {OkButton_, CancelButton_, HelpButton_}) buttons->addWidget(button);
  layout->addLayout(buttons);
  RBAll_->setChecked(true);
  RBActUnPd_->setChecked(true);
  OkButton_->setDefault(true);
  connect(OkButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TSelStmnt::HelpButtonClick);
}

BatchChoice TSelStmnt::Choice() const {
  BatchChoice choice;
  choice.balances = RBover30_->isChecked()   ? BalanceSelection::kOver30
                    : RBover60_->isChecked() ? BalanceSelection::kOver60
                    : RBover90_->isChecked() ? BalanceSelection::kOver90
                                             : BalanceSelection::kAllNonZero;
  choice.detail = RBActUnPd_->isChecked() ? Activity::kUnpaidOnly : Activity::kAll;
  return choice;
}

void TSelStmnt::HelpButtonClick() { help_.ShowTopic(kHelpKeyword); }

}  // namespace reports::ui
