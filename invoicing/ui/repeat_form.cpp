#include "invoicing/ui/repeat_form.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/date_sel.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "SetRepeat";
constexpr int kIntervalLength = 3;

QLabel* BoldLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

TRepeatForm::TRepeatForm(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      InvoiceLabel_(BoldLabel(this)),
      DateLabel_(new QLabel(this)),
      CustomerLabel_(new QLabel(this)),
      Label8_(BoldLabel(this)),
      Panel2_(new QFrame(this)),
      CheckBox1_(new QCheckBox(tr("Generate Invoices from this master record"), Panel2_)),
      NumDays_(new QLineEdit(this)),
      RBMonths_(new QRadioButton(tr("Month(s)"), this)),
      RBDays_(new QRadioButton(tr("Days"), this)),
      EndDate_(new QLineEdit(this)),
      Cal2button_(new QPushButton(tr("..."), this)),
      OKButton_(new QPushButton(tr("OK"), this)),
      CancelButton_(new QPushButton(tr("&Cancel"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(tr("Repeat Invoice Setup"));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  NumDays_->setMaxLength(kIntervalLength);
  NumDays_->setFixedWidth(NumDays_->fontMetrics().horizontalAdvance("00000") + 16);
  EndDate_->setInputMask(QStringLiteral("99/99/9999; "));
  EndDate_->setFixedWidth(EndDate_->fontMetrics().horizontalAdvance("00/00/00000") + 16);
  Cal2button_->setToolTip(tr("Calendar"));
  Cal2button_->setFixedWidth(Cal2button_->fontMetrics().horizontalAdvance("...") + 24);
  RBMonths_->setChecked(true);
  OKButton_->setDefault(true);
  BuildLayout();
  connect(CheckBox1_, &QCheckBox::clicked, this, &TRepeatForm::CheckBox1Click);
  connect(Cal2button_, &QPushButton::clicked, this, &TRepeatForm::Cal2buttonClick);
  connect(OKButton_, &QPushButton::clicked, this, &TRepeatForm::OKButtonClick);
  connect(CancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TRepeatForm::HelpButtonClick);
}

void TRepeatForm::BuildLayout() {
  auto* invoice = new QGridLayout;
  invoice->addWidget(InvoiceLabel_, 0, 0, 1, 2);
  invoice->addWidget(new QLabel(tr("Invoice Date:"), this), 1, 0);
  invoice->addWidget(DateLabel_, 1, 1);
  invoice->addWidget(CustomerLabel_, 2, 0, 1, 2);
  invoice->setColumnStretch(1, 1);

  Panel2_->setFrameShape(QFrame::StyledPanel);
  auto* panel = new QHBoxLayout(Panel2_);
  panel->addWidget(CheckBox1_);

  auto* every = new QHBoxLayout;
  auto* everyLabel = new QLabel(tr("Every:"), this);
  everyLabel->setBuddy(NumDays_);
  every->addWidget(everyLabel);
  every->addWidget(NumDays_);
  every->addWidget(RBMonths_);
  every->addWidget(RBDays_);
  every->addStretch();

  auto* next = new QHBoxLayout;
  next->setSpacing(2);
  auto* nextLabel = new QLabel(tr("Next Scheduled Creation Date:"), this);
  nextLabel->setBuddy(EndDate_);
  next->addWidget(nextLabel);
  next->addSpacing(6);
  next->addWidget(EndDate_);
  next->addWidget(Cal2button_);
  next->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKButton_, CancelButton_, HelpButton_}) {
    button->setMinimumWidth(84);
    buttons->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(invoice);
  layout->addWidget(Panel2_);
  layout->addWidget(new QLabel(tr("How often do I create this invoice?"), this));
  layout->addLayout(every);
  layout->addLayout(next);
  layout->addWidget(Label8_);
  layout->addLayout(buttons);
  setMinimumWidth(420);
}

std::optional<RepeatSchedule> TRepeatForm::Execute(const model::TransactionRecord& header,
                                                   const RepeatSetupState& state) {
  schedule_.reset();
  ShowState(header, state);
  return exec() == QDialog::Accepted ? schedule_ : std::nullopt;
}

void TRepeatForm::ShowState(const model::TransactionRecord& header, const RepeatSetupState& state) {
  InvoiceLabel_->setText(tr("Invoice#: ") + ToQString(header.InvoiceNo.str()));
  DateLabel_->setText(ToQString(header.TransDate.str()));
  CustomerLabel_->setText(tr("Customer: ") + ToQString(header.CustNo.str() + "  " + header.ShortName.str()));
  CheckBox1_->setChecked(state.generate);
  CheckBox1_->setEnabled(state.generateEnabled);
  Panel2_->setVisible(state.generatePanelShown);
  NumDays_->setText(ToQString(state.interval));
  (state.months ? RBMonths_ : RBDays_)->setChecked(true);
  EndDate_->setText(ToQString(state.nextDate));
  Label8_->setText(ToQString(state.generatedText));
  EnableEntry();
  (state.generateEnabled ? static_cast<QWidget*>(CheckBox1_) : NumDays_)->setFocus();
}

// The interval and OK wait for the box: a schedule is stored only for an invoice
// that is to be billed again.
void TRepeatForm::EnableEntry() {
  NumDays_->setEnabled(CheckBox1_->isChecked());
  OKButton_->setEnabled(CheckBox1_->isChecked());
}

void TRepeatForm::CheckBox1Click() {
  EnableEntry();
  if (CheckBox1_->isChecked()) NumDays_->setFocus();
}

void TRepeatForm::Cal2buttonClick() {
  shell::ui::TDateSel::SelectIntoField(services_.session, services_.clock, services_.help, *EndDate_,
                                       tr("Next Scheduled Creation Date"));
  EndDate_->setFocus();
}

void TRepeatForm::OKButtonClick() {
  const RepeatSetupEntry entry{CheckBox1_->isChecked(), NumDays_->text().toStdString(), RBMonths_->isChecked(),
                               EndDate_->text().toStdString()};
  RepeatSetupField focus = RepeatSetupField::kInterval;
  schedule_ = CheckRepeatSetup(entry, services_.session.DateOrder(), services_.dialogs, focus);
  if (schedule_) {
    accept();
    return;
  }
  QLineEdit* field = focus == RepeatSetupField::kInterval ? NumDays_ : EndDate_;
  field->setFocus();
  field->selectAll();
}

void TRepeatForm::HelpButtonClick() { services_.help.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
