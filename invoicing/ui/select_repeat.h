// The repeat billing wizard ("Repeat Billing Wizard"): lists the masters due through a
// date and creates their invoices with a date and reference of the user's, showing the
// run on a progress bar. The search and the run are the repeat billing logic's.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "invoicing/repeat_billing.h"
#include "shell/ui/app_services.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace invoicing::ui {

class TSelectRepeat : public QDialog {
  Q_OBJECT

 public:
  explicit TSelectRepeat(shell::ui::AppServices& services, QWidget* parent = nullptr);

  QLineEdit* EndDate() const { return EndDate_; }
  QPushButton* Calbutton() const { return Calbutton_; }
  QLineEdit* NewInvDate() const { return NewInvDate_; }
  QPushButton* CalButton2() const { return CalButton2_; }
  QLineEdit* InvComm() const { return InvComm_; }
  QLabel* Headings() const { return Headings_; }
  QPlainTextEdit* RichEdit1() const { return RichEdit1_; }
  QLabel* Label3() const { return Label3_; }
  QProgressBar* ProgressBar1() const { return ProgressBar1_; }
  QPushButton* SearchBtn() const { return SearchBtn_; }
  QPushButton* CreateBtn() const { return CreateBtn_; }
  QPushButton* ExitButn() const { return ExitButn_; }
  QPushButton* HelpBtn() const { return HelpBtn_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void FormShow();
  // The file of the current company, open; nullptr after telling the user why not.
  std::unique_ptr<files::KeyedFile> OpenFile(files::CompanyFile kind);
  void ShowDue();

  void SearchBtnClick();
  void CalbuttonClick();
  void CalButton2Click();
  void CreateBtnClick();
  void HelpBtnClick();

  shell::ui::AppServices& services_;
  std::vector<DueMaster> due_;
  QLineEdit* EndDate_;
  QPushButton* Calbutton_;
  QLineEdit* NewInvDate_;
  QPushButton* CalButton2_;
  QLineEdit* InvComm_;
  QLabel* Headings_;
  QPlainTextEdit* RichEdit1_;
  QLabel* Label3_;
  QProgressBar* ProgressBar1_;
  QPushButton* SearchBtn_;
  QPushButton* CreateBtn_;
  QPushButton* ExitButn_;
  QPushButton* HelpBtn_;
};

}  // namespace invoicing::ui
