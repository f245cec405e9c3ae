#include "shell/ui/terms_edit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/side_files.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/storable_text.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

QStringList ToQStringList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list.append(ToQString(text));
  return list;
}

QStringList ItemTexts(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts.append(list.item(row)->text());
  return texts;
}

}  // namespace

TTermsEdit::TTermsEdit(platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      editor_(dialogs),
      ListBox1_(new QListWidget(this)),
      Edit1_(new QLineEdit(this)),
      Prompt_(new QLabel(this)),
      EditButton_(new QPushButton(tr("Edit"), this)),
      DeleteButton_(new QPushButton(tr("Delete"), this)),
      AddButton_(new QPushButton(tr("Add"), this)),
      OkButton_(new QPushButton(tr("Ok"), this)),
      CloseButton_(new QPushButton(tr("&Close"), this)) {
  setWindowTitle(tr("Edit Payment Terms"));
  platform::qt::SetHelpKeyword(*this, "EditTerms");
  Edit1_->setMaxLength(static_cast<int>(model::kTermCapacity));
  // Enter in the entry means "Ok", never closing the dialog.
  for (QPushButton* button : {EditButton_, DeleteButton_, AddButton_, OkButton_, CloseButton_}) {
    button->setAutoDefault(false);
  }
  BuildLayout();
  ConnectSignals();
  KeepTextStorable(this);
}

void TTermsEdit::BuildLayout() {
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {EditButton_, DeleteButton_, AddButton_, CloseButton_}) buttons->addWidget(button);
  buttons->addStretch();

  auto* layout = new QGridLayout(this);
  layout->addWidget(ListBox1_, 0, 0);
  layout->addLayout(buttons, 0, 1);
  layout->addWidget(Prompt_, 1, 0, 1, 2);
  layout->addWidget(Edit1_, 2, 0);
  layout->addWidget(OkButton_, 2, 1);
}

void TTermsEdit::ConnectSignals() {
  connect(AddButton_, &QPushButton::clicked, this, &TTermsEdit::AddButtonClick);
  connect(EditButton_, &QPushButton::clicked, this, &TTermsEdit::EditButtonClick);
  connect(DeleteButton_, &QPushButton::clicked, this, &TTermsEdit::DeleteButtonClick);
  connect(OkButton_, &QPushButton::clicked, this, &TTermsEdit::OkButtonClick);
  connect(Edit1_, &QLineEdit::returnPressed, this, &TTermsEdit::OkButtonClick);
  connect(CloseButton_, &QPushButton::clicked, this, &TTermsEdit::CloseButtonClick);
  // A click on the chosen term, or a move to another one by mouse or keyboard.
  connect(ListBox1_, &QListWidget::itemClicked, this, &TTermsEdit::ListBox1Click);
  connect(ListBox1_, &QListWidget::currentRowChanged, this, &TTermsEdit::ListBox1Click);
}

void TTermsEdit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TTermsEdit::FormShow() {
  editor_.Load();
  Render();
}

void TTermsEdit::Render() {
  FillList();
  const bool pending = editor_.Mode() != TermsMode::kNone;
  Edit1_->setText(ToQString(editor_.EntryText()));
  Edit1_->setEnabled(pending);
  OkButton_->setEnabled(pending);
  Prompt_->setText(ToQString(editor_.Prompt()));
  for (QPushButton* button : {AddButton_, EditButton_, DeleteButton_}) button->setEnabled(editor_.Loaded());
  if (pending) Edit1_->setFocus();
}

// Refills only when the terms changed, so a click does not scroll the list away.
void TTermsEdit::FillList() {
  const QSignalBlocker blocker(ListBox1_);
  const QStringList terms = ToQStringList(editor_.Terms());
  if (ItemTexts(*ListBox1_) != terms) {
    ListBox1_->clear();
    ListBox1_->addItems(terms);
  }
  ListBox1_->setCurrentRow(editor_.Selected());
}

void TTermsEdit::AddButtonClick() {
  editor_.BeginAdd();
  Render();
}

void TTermsEdit::EditButtonClick() {
  editor_.BeginEdit();
  Render();
}

void TTermsEdit::DeleteButtonClick() {
  editor_.DeleteSelected();
  Render();
}

void TTermsEdit::OkButtonClick() {
  // A refused entry stays as typed, for the user to put right.
  if (editor_.Commit(Edit1_->text().toStdString())) Render();
}

void TTermsEdit::CloseButtonClick() {
  if (editor_.Save()) QDialog::done(QDialog::Accepted);
}

void TTermsEdit::reject() { CloseButtonClick(); }

void TTermsEdit::ListBox1Click() {
  editor_.Select(ListBox1_->currentRow());
  editor_.CancelPending();
  Render();
}

}  // namespace shell::ui
