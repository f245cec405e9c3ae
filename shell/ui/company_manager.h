// The company manager: lists the companies of the installation by number or name,
// adds, edits and deletes them through the company options, finds and prints them,
// and hands the company chosen with "&Set As Default" to the main window.
#pragma once

#include <QDialog>

#include "model/records.h"
#include "shell/ui/app_services.h"
#include "shell/ui/company_options.h"

class QPushButton;
class QRadioButton;

namespace shell::ui {

class TManagerFrame;

class TCoManager : public QDialog {
  Q_OBJECT

 public:
  explicit TCoManager(AppServices& services, QWidget* parent = nullptr);
  ~TCoManager() override;

  // Opens the company list first; when it cannot be opened that is said, the window
  // is not shown (result Rejected) and programMustEnd() is emitted, as every manager
  // does for its file. Accepted: "&Set As Default" was chosen; ChosenCompany() is it.
  int exec() override;
  // Every way of closing closes the company list.
  void done(int result) override;

  // The current company's record was changed here: the main window re-reads it.
  bool CurrentCompanyEdited() const { return currentCompanyEdited_; }
  // The company "&Set As Default" chose.
  const model::CompanyRecord& ChosenCompany() const { return chosen_; }

  TManagerFrame* Frame() const { return Frame_; }
  TCoOptions* OptionsDialog() const { return CoOptions_; }
  QRadioButton* ByNumber() const { return ByNumber_; }
  QRadioButton* ByName() const { return ByName_; }
  QPushButton* AddButton() const { return AddButton_; }
  QPushButton* EditButton() const { return EditButton_; }
  QPushButton* DeleteButton() const { return DeleteButton_; }
  QPushButton* SetDefaultButton() const { return SetDefaultButton_; }
  QPushButton* FindButton() const { return FindButton_; }
  QPushButton* ListButton() const { return ListButton_; }
  QPushButton* PrintWindowButton() const { return PrintWindowButton_; }
  QPushButton* CloseButton() const { return CloseButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }

 signals:
  // The company list cannot be opened: the program cannot go on.
  void programMustEnd();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void ConnectSignals();
  bool OpenCompanyList();
  engine::KeyNumber ChosenOrder() const;
  // Makes the stored record the current row.
  void ShowStored(engine::RecordNumber number, const model::CompanyRecord& company);

  void FormShow();
  void OrderClick();
  void AddButtonClick();
  void EditButtonClick();
  void DeleteButtonClick();
  void SetDefaultButtonClick();
  void FindButtonClick();
  void ListButtonClick();
  void PrintWindowButtonClick();
  void HelpButtonClick();
  TCoOptions::Save OptionsSave();

  AppServices services_;
  bool currentCompanyEdited_ = false;
  model::CompanyRecord record_{};  // the browser's row buffer
  model::CompanyRecord chosen_{};  // kept apart from the browser's buffer until closing
  TManagerFrame* Frame_;
  TCoOptions* CoOptions_;
  QRadioButton* ByNumber_;
  QRadioButton* ByName_;
  QPushButton* AddButton_;
  QPushButton* EditButton_;
  QPushButton* DeleteButton_;
  QPushButton* SetDefaultButton_;
  QPushButton* FindButton_;
  QPushButton* ListButton_;
  QPushButton* PrintWindowButton_;
  QPushButton* CloseButton_;
  QPushButton* HelpButton_;
};

}  // namespace shell::ui
