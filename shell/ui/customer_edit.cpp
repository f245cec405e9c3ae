#include "shell/ui/customer_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "model/records.h"
#include "model/side_files.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/storable_text.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;
using Record = model::CustomerRecord;

template <class Field>
constexpr int Capacity() {
  return static_cast<int>(Field::kCapacity);
}

QLineEdit* LineEdit(int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(maxLength);
  return edit;
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

QComboBox* TermsBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->lineEdit()->setMaxLength(Capacity<decltype(Record::Terms)>());
  std::vector<std::string> terms;
  model::LoadTerms(terms);
  for (const std::string& term : terms) box->addItem(ToQString(term));
  return box;
}

void AddRow(QGridLayout* grid, int row, const QString& label, QWidget* field) {
  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(field, row, 1);
}

}  // namespace

TEditRecord::TEditRecord(platform::Help& help, QWidget* parent)
    : QDialog(parent),
      help_(help),
      CNo_(LineEdit(Capacity<decltype(Record::CustNo)>(), this)),
      CName_(LineEdit(Capacity<decltype(Record::CustName)>(), this)),
      CustType_(LineEdit(Capacity<decltype(Record::CustType)>(), this)),
      TaxExempt_(LineEdit(Capacity<decltype(Record::TaxExempt)>(), this)),
      CLimit_(LineEdit(Capacity<decltype(Record::CreditLimit)>(), this)),
      CTerms_(TermsBox(this)),
      CPhone1_(LineEdit(Capacity<decltype(Record::Phone1)>(), this)),
      CPhone2_(LineEdit(Capacity<decltype(Record::Phone2)>(), this)),
      ShortName_(LineEdit(Capacity<decltype(Record::ShortName)>(), this)),
      CstNote_(LineEdit(Capacity<decltype(Record::CustNotes)>(), this)),
      MListCode_(LineEdit(Capacity<decltype(Record::MailListCode)>(), this)),
      CRHold_(new QCheckBox(tr("Credit Hold / Inactive"), this)),
      NotesOnInv_(new QCheckBox(tr("Notes on Invoices"), this)),
      NotesOnStmnt_(new QCheckBox(tr("Notes on Statements"), this)),
      CBal_(new QLabel(this)),
      AutoCopy_(new QCheckBox(tr("&Auto-Copy to Shipping"), this)),
      CopyButton_(new QPushButton(tr("Copy Billing &to Shipping"), this)),
      ClearButton_(new QPushButton(tr("Cl&ear Shipping"), this)),
      OKButton_(new QPushButton(tr("OK"), this)),
      CancelButton_(new QPushButton(tr("Cancel"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setObjectName("EditRecord");
  platform::qt::SetHelpKeyword(*this, "EditCustomer");
  for (int line = 0; line < kAddressLines; ++line) {
    CAddEdit_[static_cast<std::size_t>(line)] = LineEdit(Capacity<decltype(Record::BillAddr1)>(), this);
    CShip_[static_cast<std::size_t>(line)] = LineEdit(Capacity<decltype(Record::ShipAddr1)>(), this);
  }
  OKButton_->setDefault(true);
  for (QPushButton* button : {CopyButton_, ClearButton_, CancelButton_, HelpButton_}) button->setAutoDefault(false);
  BuildLayout();
  ConnectSignals();
  KeepTextStorable(this);
}

void TEditRecord::BuildLayout() {
  auto* account = new QGridLayout;
  AddRow(account, 0, tr("Customer #:"), CNo_);
  AddRow(account, 1, tr("Name:"), CName_);
  AddRow(account, 2, tr("Short Name:"), ShortName_);
  AddRow(account, 3, tr("Type:"), CustType_);
  AddRow(account, 4, tr("TE:"), TaxExempt_);
  AddRow(account, 5, tr("Credit Limit:"), CLimit_);
  AddRow(account, 6, tr("Terms:"), CTerms_);
  AddRow(account, 7, tr("Phone 1:"), CPhone1_);
  AddRow(account, 8, tr("Phone 2:"), CPhone2_);
  AddRow(account, 9, tr("Mail List Code:"), MListCode_);
  AddRow(account, 10, tr("Balance:"), CBal_);
  account->setRowStretch(11, 1);

  auto* billing = new QGroupBox(tr("Billing Address"));
  auto* billingLines = new QVBoxLayout(billing);
  auto* shipping = new QGroupBox(tr("Shipping Address"));
  auto* shippingLines = new QVBoxLayout(shipping);
  for (int line = 0; line < kAddressLines; ++line) {
    billingLines->addWidget(CAddEdit(line));
    shippingLines->addWidget(CShip(line));
  }
  billingLines->addWidget(AutoCopy_);
  auto* shippingButtons = new QHBoxLayout;
  shippingButtons->addWidget(CopyButton_);
  shippingButtons->addWidget(ClearButton_);
  shippingLines->addLayout(shippingButtons);

  auto* addresses = new QVBoxLayout;
  addresses->addWidget(billing);
  addresses->addWidget(shipping);

  auto* upper = new QHBoxLayout;
  upper->addLayout(account);
  upper->addLayout(addresses);

  auto* notes = new QGridLayout;
  AddRow(notes, 0, tr("Notes:"), CstNote_);
  auto* flags = new QHBoxLayout;
  for (QCheckBox* box : {NotesOnInv_, NotesOnStmnt_, CRHold_}) flags->addWidget(box);
  notes->addLayout(flags, 1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKButton_, CancelButton_, HelpButton_}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(upper);
  layout->addLayout(notes);
  layout->addLayout(buttons);

  // Tab goes down the account column, through the billing and shipping addresses, the
  // notes and the buttons, as they stand, not in the order they were made.
  std::vector<QWidget*> order = {CNo_,    CName_,  ShortName_, CustType_, TaxExempt_,
                                 CLimit_, CTerms_, CPhone1_,   CPhone2_,  MListCode_};
  order.insert(order.end(), CAddEdit_.begin(), CAddEdit_.end());
  order.push_back(AutoCopy_);
  order.insert(order.end(), CShip_.begin(), CShip_.end());
  order.insert(order.end(), {CopyButton_, ClearButton_, CstNote_, NotesOnInv_, NotesOnStmnt_, CRHold_, OKButton_,
                             CancelButton_, HelpButton_});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TEditRecord::ConnectSignals() {
  connect(OKButton_, &QPushButton::clicked, this, &TEditRecord::OKButtonClick);
  connect(CancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TEditRecord::HelpButtonClick);
  connect(CopyButton_, &QPushButton::clicked, this, &TEditRecord::CopyButtonClick);
  connect(ClearButton_, &QPushButton::clicked, this, &TEditRecord::ClearButtonClick);
  for (int line = 0; line < kAddressLines; ++line) {
    connect(CAddEdit(line), &QLineEdit::textEdited, this,
            [this, line](const QString& text) { CAddEditChange(line, text); });
  }
}

void TEditRecord::Start(const CustomerEntry& entry, std::optional<std::string> originalNumber, Check check) {
  check_ = std::move(check);
  entry_ = entry;
  setWindowTitle(originalNumber ? tr("Edit Customer") : tr("Add Customer"));
  ShowEntry(entry);
  CNo_->setFocus();
}

void TEditRecord::ShowEntry(const CustomerEntry& entry) {
  CNo_->setText(ToQString(entry.number));
  CName_->setText(ToQString(entry.name));
  CustType_->setText(ToQString(entry.type));
  TaxExempt_->setText(ToQString(entry.taxExempt));
  CLimit_->setText(ToQString(entry.creditLimit));
  CTerms_->setEditText(ToQString(entry.terms));
  for (int line = 0; line < kAddressLines; ++line) {
    CAddEdit(line)->setText(ToQString(entry.billing[static_cast<std::size_t>(line)]));
    CShip(line)->setText(ToQString(entry.shipping[static_cast<std::size_t>(line)]));
  }
  CPhone1_->setText(ToQString(entry.phone1));
  CPhone2_->setText(ToQString(entry.phone2));
  ShortName_->setText(ToQString(entry.shortName));
  CstNote_->setText(ToQString(entry.notes));
  MListCode_->setText(ToQString(entry.mailListCode));
  CRHold_->setChecked(entry.creditHold);
  NotesOnInv_->setChecked(entry.notesOnInvoice);
  NotesOnStmnt_->setChecked(entry.notesOnStatement);
  AutoCopy_->setChecked(entry.autoCopyToShipping);
  CBal_->setText(ToQString(entry.balance));
}

CustomerEntry TEditRecord::ReadControls() const {
  CustomerEntry entry;
  entry.nameAsOpened = entry_.nameAsOpened;
  entry.number = Text(CNo_);
  entry.name = Text(CName_);
  entry.type = Text(CustType_);
  entry.taxExempt = Text(TaxExempt_);
  entry.creditLimit = Text(CLimit_);
  entry.terms = CTerms_->currentText().toStdString();
  for (int line = 0; line < kAddressLines; ++line) {
    entry.billing[static_cast<std::size_t>(line)] = Text(CAddEdit(line));
    entry.shipping[static_cast<std::size_t>(line)] = Text(CShip(line));
  }
  entry.phone1 = Text(CPhone1_);
  entry.phone2 = Text(CPhone2_);
  entry.shortName = Text(ShortName_);
  entry.notes = Text(CstNote_);
  entry.mailListCode = Text(MListCode_);
  entry.creditHold = CRHold_->isChecked();
  entry.notesOnInvoice = NotesOnInv_->isChecked();
  entry.notesOnStatement = NotesOnStmnt_->isChecked();
  entry.autoCopyToShipping = AutoCopy_->isChecked();
  entry.balance = CBal_->text().toStdString();
  return entry;
}

void TEditRecord::FocusField(CustomerField field) {
  switch (field) {
    case CustomerField::kName: CName_->setFocus(); break;
    case CustomerField::kNumber: CNo_->setFocus(); break;
    case CustomerField::kCreditLimit: CLimit_->setFocus(); break;
    case CustomerField::kNone: break;
  }
}

void TEditRecord::OKButtonClick() {
  if (!check_) return;
  CustomerEntry entry = ReadControls();
  const CustomerField failed = check_(entry);
  ShortName_->setText(ToQString(entry.shortName));
  if (failed != CustomerField::kNone) {
    FocusField(failed);
    return;
  }
  entry_ = std::move(entry);
  accept();
}

void TEditRecord::CAddEditChange(int line, const QString& text) {
  if (AutoCopy_->isChecked()) CShip(line)->setText(text);
}

void TEditRecord::CopyButtonClick() {
  for (int line = 0; line < kAddressLines; ++line) CShip(line)->setText(CAddEdit(line)->text());
}

void TEditRecord::ClearButtonClick() {
  for (int line = 0; line < kAddressLines; ++line) CShip(line)->clear();
}

void TEditRecord::HelpButtonClick() { help_.ShowTopic(platform::qt::HelpKeywordOf(this)); }

}  // namespace shell::ui
