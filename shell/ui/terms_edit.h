// The payment terms editor ("&Edit Payment Terms..."): the shared terms list, sorted
// with case ignored, with Add, Edit and Delete; closing writes the list back to
// "QYTERMS.DAT".
#pragma once

#include <QDialog>

#include "platform/dialogs.h"
#include "shell/terms_list.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace shell::ui {

class TTermsEdit : public QDialog {
  Q_OBJECT

 public:
  TTermsEdit(platform::Dialogs& dialogs, QWidget* parent = nullptr);

  // Every way of closing (the "&Close" button, Escape, the title bar) writes the list;
  // when writing fails the dialog stays open, so nothing typed is lost.
  void reject() override;

  QListWidget* ListBox1() const { return ListBox1_; }
  QLineEdit* Edit1() const { return Edit1_; }
  QLabel* Prompt() const { return Prompt_; }
  QPushButton* EditButton() const { return EditButton_; }
  QPushButton* DeleteButton() const { return DeleteButton_; }
  QPushButton* AddButton() const { return AddButton_; }
  QPushButton* OkButton() const { return OkButton_; }
  QPushButton* CloseButton() const { return CloseButton_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void ConnectSignals();
  void FormShow();
  // Shows the editor's list, selection and pending entry.
  void Render();
  void FillList();
  void AddButtonClick();
  void EditButtonClick();
  void DeleteButtonClick();
  void OkButtonClick();
  void CloseButtonClick();
  void ListBox1Click();

  TermsEditor editor_;
  QListWidget* ListBox1_;
  QLineEdit* Edit1_;
  QLabel* Prompt_;
  QPushButton* EditButton_;
  QPushButton* DeleteButton_;
  QPushButton* AddButton_;
  QPushButton* OkButton_;
  QPushButton* CloseButton_;
};

}  // namespace shell::ui
