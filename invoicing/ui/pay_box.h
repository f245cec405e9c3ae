// The payment wizard: choose a customer, move what the payment settles from the open
// items to the posting list (whole, in part, or as a new deposit), type the amount
// received and post. The window keeps the lists; the rules and the posting are the
// payments logic's.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "files/keyed_file.h"
#include "invoicing/payments.h"
#include "model/records.h"
#include "shell/ui/app_services.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform::qt {
class TProgressWindow;
}

namespace invoicing::ui {

class TPPmtDialog;

class TPayBox : public QDialog {
  Q_OBJECT

 public:
  TPayBox(shell::ui::AppServices& services, QWidget* parent = nullptr);
  ~TPayBox() override;

  // Closing in any way closes the invoice file and forgets the lists.
  void done(int result) override;

  QListWidget* SrcList() const { return SrcList_; }
  QListWidget* DstList() const { return DstList_; }
  QLabel* PCustName() const { return PCustName_; }
  QLabel* PCustNum() const { return PCustNum_; }
  QLabel* PCustPhone() const { return PCustPhone_; }
  QLabel* Sname() const { return Sname_; }
  QLabel* PCustBal() const { return PCustBal_; }
  QLineEdit* PmtDate() const { return PmtDate_; }
  QPushButton* CalButton() const { return CalButton_; }
  QLineEdit* PAmt() const { return PAmt_; }
  QLineEdit* PNotes() const { return PNotes_; }
  QLabel* IPostedAmt() const { return IPostedAmt_; }
  QPushButton* BitBtn3() const { return BitBtn3_; }
  QPushButton* AccountDep() const { return AccountDep_; }
  QPushButton* PPmtBtn() const { return PPmtBtn_; }
  QPushButton* IncludeBtn() const { return IncludeBtn_; }
  QPushButton* IncAllBtn() const { return IncAllBtn_; }
  QPushButton* ExcludeBtn() const { return ExcludeBtn_; }
  QPushButton* ExAllBtn() const { return ExAllBtn_; }
  QPushButton* OKBtn() const { return OKBtn_; }
  QPushButton* CancelBtn() const { return CancelBtn_; }
  QPushButton* HelpBtn() const { return HelpBtn_; }
  TPPmtDialog* PPmtDialog() const { return PPmtDialog_; }

 signals:
  // The invoice file cannot be opened: the program cannot go on.
  void programMustEnd();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void ConnectSignals();
  void FormShow();
  bool OpenInvoiceFile();
  void ResetPayment();
  void ShowCustomer();
  // Fills both lists from lists_, with these rows current (clamped to the list).
  void ShowLists(int srcRow, int dstRow);
  void ShowButtons();
  std::vector<std::size_t> SelectedRows(const QListWidget* list) const;
  void MoveSelected(PaymentList from);
  void MoveAll(PaymentList from);
  model::Money CustomerBalance() const;
  files::Services Logic() const;

  void BitBtn3Click();
  void AccountDepClick();
  void PPmtBtnClick();
  void IncludeBtnClick();
  void IncAllBtnClick();
  void ExcludeBtnClick();
  void ExAllBtnClick();
  void SrcListClick();
  void SrcListDblClick();
  void DstListDblClick();
  void PAmtChange(const QString& text);
  void CalButtonClick();
  void OKBtnClick();
  void CancelBtnClick();
  void HelpBtnClick();

  shell::ui::AppServices& services_;
  std::unique_ptr<files::KeyedFile> transactions_;
  std::optional<model::CustomerRecord> customer_;
  PaymentLists lists_;
  platform::qt::TProgressWindow* ProgressWindow_;
  TPPmtDialog* PPmtDialog_;
  QPushButton* BitBtn3_;
  QLabel* PCustName_;
  QLabel* PCustNum_;
  QLabel* PCustPhone_;
  QLabel* Sname_;
  QLabel* PCustBal_;
  QLineEdit* PmtDate_;
  QPushButton* CalButton_;
  QLineEdit* PAmt_;
  QLineEdit* PNotes_;
  QListWidget* SrcList_;
  QListWidget* DstList_;
  QPushButton* IncludeBtn_;
  QPushButton* IncAllBtn_;
  QPushButton* ExcludeBtn_;
  QPushButton* ExAllBtn_;
  QPushButton* PPmtBtn_;
  QPushButton* AccountDep_;
  QLabel* IPostedAmt_;
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
  QPushButton* HelpBtn_;
};

}  // namespace invoicing::ui
