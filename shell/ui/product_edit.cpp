#include "shell/ui/product_edit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/storable_text.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr int kCodeLength = 10;
constexpr int kDescriptionLength = 32;
constexpr int kPriceLength = 10;
constexpr int kNotesLength = 150;

}  // namespace

TEditProduct::TEditProduct(platform::Help& help, QWidget* parent)
    : QDialog(parent),
      help_(help),
      PNum_(new QLineEdit(this)),
      PDesc_(new QLineEdit(this)),
      PSell_(new QLineEdit(this)),
      Taxable_(new QCheckBox(tr("&Taxable"), this)),
      PNote_(new QLineEdit(this)),
      OKButton_(new QPushButton(tr("OK"), this)),
      CancelButton_(new QPushButton(tr("Cancel"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)),
      StatusBar1_(new QStatusBar(this)),
      SetupPanel_(new QLabel(this)),
      ChangedPanel_(new QLabel(this)) {
  platform::qt::SetHelpKeyword(*this, "NewProduct");
  setObjectName("Edit Product");
  PNum_->setMaxLength(kCodeLength);
  PDesc_->setMaxLength(kDescriptionLength);
  PSell_->setMaxLength(kPriceLength);
  PNote_->setMaxLength(kNotesLength);
  OKButton_->setDefault(true);
  StatusBar1_->setSizeGripEnabled(false);
  StatusBar1_->addWidget(SetupPanel_, 1);
  StatusBar1_->addWidget(ChangedPanel_, 1);
  BuildLayout();
  ConnectSignals();
  KeepTextStorable(this);
}

void TEditProduct::BuildLayout() {
  auto* fields = new QFormLayout;
  fields->addRow(tr("Product Code:"), PNum_);
  fields->addRow(tr("Description:"), PDesc_);
  fields->addRow(tr("Sales Price:"), PSell_);
  fields->addRow(QString(), Taxable_);
  fields->addRow(tr("Notes:"), PNote_);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(OKButton_, QDialogButtonBox::AcceptRole);
  buttons->addButton(CancelButton_, QDialogButtonBox::RejectRole);
  buttons->addButton(HelpButton_, QDialogButtonBox::HelpRole);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(buttons);
  layout->addWidget(StatusBar1_);
  PNote_->setMinimumWidth(PNote_->fontMetrics().averageCharWidth() * 60);
}

void TEditProduct::ConnectSignals() {
  connect(OKButton_, &QPushButton::clicked, this, &TEditProduct::OKButtonClick);
  connect(CancelButton_, &QPushButton::clicked, this, &TEditProduct::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TEditProduct::HelpButtonClick);
}

void TEditProduct::Prepare(const ProductDialog& dialog, Check check) {
  check_ = std::move(check);
  setWindowTitle(ToQString(dialog.caption));
  PNum_->setText(ToQString(dialog.entry.PNum));
  PDesc_->setText(ToQString(dialog.entry.PDesc));
  PSell_->setText(ToQString(dialog.entry.PSell));
  Taxable_->setChecked(dialog.entry.Taxable);
  PNote_->setText(ToQString(dialog.entry.PNote));
  SetupPanel_->setText(ToQString(dialog.setupText));
  ChangedPanel_->setText(ToQString(dialog.changedText));
  PNum_->setFocus();
}

ProductEntry TEditProduct::Entry() const {
  return {PNum_->text().toStdString(), PDesc_->text().toStdString(), PSell_->text().toStdString(),
          Taxable_->isChecked(), PNote_->text().toStdString()};
}

QString TEditProduct::SetupDateText() const { return SetupPanel_->text(); }
QString TEditProduct::LastChangedText() const { return ChangedPanel_->text(); }

void TEditProduct::OKButtonClick() {
  if (!check_) return;
  ProductEntry entry = Entry();
  switch (check_(entry)) {
    case ProductField::kPNum: PNum_->setFocus(); return;
    case ProductField::kPDesc: PDesc_->setFocus(); return;
    case ProductField::kPSell: PSell_->setFocus(); return;
    case ProductField::kNone: break;
  }
  PSell_->setText(ToQString(entry.PSell));
  accept();
}

void TEditProduct::HelpButtonClick() { help_.ShowTopic(platform::qt::HelpKeywordOf(this)); }

}  // namespace shell::ui
