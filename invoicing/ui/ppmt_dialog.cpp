#include "invoicing/ui/ppmt_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "PartialPayment";
constexpr int kAmountLength = 10;

}  // namespace

TPPmtDialog::TPPmtDialog(platform::Dialogs& dialogs, platform::Help& help, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      help_(help),
      Label1_(new QLabel(this)),
      PPAmt_(new QLineEdit(this)),
      OKBtn_(new QPushButton(tr("&OK"), this)),
      CancelBtn_(new QPushButton(tr("&Cancel"), this)),
      HelpBtn_(new QPushButton(tr("Help"), this)) {
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  PPAmt_->setMaxLength(kAmountLength);
  PPAmt_->setAlignment(Qt::AlignRight);
  PPAmt_->setMinimumWidth(PPAmt_->fontMetrics().horizontalAdvance("0,000,000.00") + 16);
  QFont bold = Label1_->font();
  bold.setBold(true);
  Label1_->setFont(bold);
  OKBtn_->setDefault(true);

  auto* amount = new QFormLayout;
  amount->addRow(tr("&Amount:"), PPAmt_);
  qobject_cast<QLabel*>(amount->labelForField(PPAmt_))->setBuddy(PPAmt_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKBtn_, CancelBtn_, HelpBtn_}) {
    button->setMinimumWidth(84);
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(12);
  layout->addWidget(Label1_);
  layout->addLayout(amount);
  layout->addLayout(buttons);
  setMinimumWidth(380);

  connect(OKBtn_, &QPushButton::clicked, this, &TPPmtDialog::OKBtnClick);
  connect(CancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn_, &QPushButton::clicked, this, &TPPmtDialog::HelpBtnClick);
}

std::optional<model::Money> TPPmtDialog::AskPartialPayment(const PaymentLine& line) {
  return Ask(kPartialPaymentCaption, PartialPaymentLabel(line), line.amount);
}

std::optional<model::Money> TPPmtDialog::AskDeposit(std::string_view paymentDate) {
  return Ask(kDepositCaption, DepositLabel(paymentDate), std::nullopt);
}

std::optional<model::Money> TPPmtDialog::Ask(std::string_view caption, std::string_view label,
                                             std::optional<model::Money> due) {
  setWindowTitle(ToQString(caption));
  // The label's tabs set its parts apart; a label shows them as wide blanks.
  Label1_->setText(ToQString(label).replace('\t', QStringLiteral("    ")).trimmed());
  due_ = due;
  amount_.reset();
  PPAmt_->setText(QStringLiteral("0.00"));
  PPAmt_->selectAll();
  PPAmt_->setFocus();
  return exec() == QDialog::Accepted ? amount_ : std::nullopt;
}

void TPPmtDialog::OKBtnClick() {
  amount_ = CheckPartAmount(PPAmt_->text().toStdString(), due_, dialogs_);
  if (!amount_) {
    PPAmt_->selectAll();
    PPAmt_->setFocus();
    return;
  }
  accept();
}

void TPPmtDialog::HelpBtnClick() { help_.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
