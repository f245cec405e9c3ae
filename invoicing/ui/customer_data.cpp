#include "invoicing/ui/customer_data.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "invoicing/ui/labels.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "InvoiceManager";

}  // namespace

TCustData::TCustData(platform::Help& help, QWidget* parent)
    : QDialog(parent),
      help_(help),
      TypeLabel_(ValueLabel(this, true)),
      StyleLabel_(ValueLabel(this)),
      InvoiceNo_(ValueLabel(this, true)),
      InvoiceDate_(ValueLabel(this)),
      Total_(ValueLabel(this)),
      Paid_(ValueLabel(this)),
      Balance_(ValueLabel(this, true)),
      Marks_(ValueLabel(this)),
      CustName_(ValueLabel(this, true)),
      CustNo_(ValueLabel(this)),
      CustBalance_(ValueLabel(this)),
      Phone_(ValueLabel(this)),
      CloseButton_(new QPushButton(tr("&Close"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(tr("Customer Data"));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  auto* invoice = new QFormLayout;
  invoice->addRow(tr("Invoice#:"), InvoiceNo_);
  invoice->addRow(tr("Date:"), InvoiceDate_);
  invoice->addRow(tr("Total:"), Total_);
  invoice->addRow(tr("Paid:"), Paid_);
  invoice->addRow(tr("Balance Due:"), Balance_);
  auto* customer = new QFormLayout;
  customer->addRow(tr("Customer:"), CustName_);
  customer->addRow(tr("Customer#:"), CustNo_);
  customer->addRow(tr("Account Balance:"), CustBalance_);
  customer->addRow(tr("Phone:"), Phone_);
  for (QLabel* amount : {Total_, Paid_, Balance_, CustBalance_}) amount->setAlignment(Qt::AlignRight);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CloseButton_);
  buttons->addWidget(HelpButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TypeLabel_);
  layout->addWidget(StyleLabel_);
  layout->addWidget(HorizontalRule(this));
  layout->addLayout(invoice);
  layout->addWidget(Marks_);
  layout->addWidget(HorizontalRule(this));
  layout->addLayout(customer);
  layout->addLayout(buttons);
  CloseButton_->setDefault(true);
  connect(CloseButton_, &QPushButton::clicked, this, &TCustData::CloseButtonClick);
  connect(HelpButton_, &QPushButton::clicked, this, &TCustData::HelpButtonClick);
  setMinimumWidth(420);
}

void TCustData::Show(const QuickView& view) {
  TypeLabel_->setText(ToQString(view.typeText));
  StyleLabel_->setText(ToQString(view.styleText));
  InvoiceNo_->setText(ToQString(view.number));
  InvoiceDate_->setText(ToQString(view.date));
  Total_->setText(ToQString(view.total));
  Paid_->setText(ToQString(view.paid));
  Balance_->setText(ToQString(view.balance));
  QStringList marks;
  for (const std::string& mark : {view.printedMark, view.repeatMark}) {
    if (!mark.empty()) marks << ToQString(mark);
  }
  Marks_->setText(marks.join("   "));
  Marks_->setVisible(!marks.isEmpty());
  CustName_->setText(ToQString(view.customerName));
  CustNo_->setText(ToQString(view.customerNumber));
  CustBalance_->setText(ToQString(view.customerBalance));
  Phone_->setText(ToQString(view.customerPhone));
}

QStringList TCustData::Lines() const {
  QStringList lines;
  for (const QLabel* label : {TypeLabel_, StyleLabel_, InvoiceNo_, InvoiceDate_, Total_, Paid_, Balance_, Marks_,
                              CustName_, CustNo_, CustBalance_, Phone_}) {
    lines << label->text();
  }
  return lines;
}

void TCustData::CloseButtonClick() { accept(); }

void TCustData::HelpButtonClick() { help_.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
