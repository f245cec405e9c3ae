// The invoice entry window ("Product Invoice"): the heading fields, the customer, the
// 99-line grid or the memo, the totals and the work timer. It only collects and checks
// an invoice; the invoice manager stores what it hands back.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "invoicing/invoice_entry.h"
#include "invoicing/invoice_form.h"
#include "shell/ui/app_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;
class QTableWidgetItem;
class QTimer;

namespace invoicing::ui {

class TProdInv : public QDialog {
  Q_OBJECT

 public:
  TProdInv(shell::ui::AppServices& services, QWidget* parent = nullptr);

  // Shows the window modally on `form`, which the invoice manager prepared: mode, kind,
  // stored number and the pre-filled fields. True after OK, with `form` holding what
  // was typed (the number trimmed and upper-cased, amounts as typed); `form` is left
  // as it was after Close. `numberOnFile` answers the duplicate-number check.
  //
  // The company is the session's current one. In add mode an empty form.number takes
  // the company's next invoice number (with the yymm prefix of the form's date, or of
  // today when that is no date) and empty terms the company's default terms.
  bool Execute(InvoiceForm& form, const QString& caption, std::function<bool(std::string_view)> numberOnFile);

  // The work timer runs on between invoices while the window is hidden.
  bool TimerRunning() const;

  QLineEdit* INum() const { return INum_; }
  QLineEdit* IDate() const { return IDate_; }
  QLabel* DateLabel() const { return DateLabel_; }
  QLineEdit* INVNOTES() const { return INVNOTES_; }
  QLineEdit* KeyCode() const { return KeyCode_; }
  QComboBox* ITerms() const { return ITerms_; }
  QLineEdit* IStmntNote() const { return IStmntNote_; }
  QLabel* ICustName() const { return ICustName_; }
  QLabel* ICustNo() const { return ICustNo_; }
  QLabel* Sname() const { return Sname_; }
  QLabel* ICredLimit() const { return ICredLimit_; }
  QLabel* CBal() const { return CBal_; }
  QLabel* Acur() const { return Acur_; }
  QLabel* A30() const { return A30_; }
  QLabel* A60() const { return A60_; }
  QLabel* A90() const { return A90_; }
  QTableWidget* StringGrid1() const { return StringGrid1_; }
  QPlainTextEdit* Memo1() const { return Memo1_; }
  QLineEdit* MemoPDesc() const { return MemoPDesc_; }
  QLineEdit* MemoQuan() const { return MemoQuan_; }
  QLineEdit* INet() const { return INet_; }
  QLineEdit* ITax() const { return ITax_; }
  QLineEdit* IPaid() const { return IPaid_; }
  QLabel* ITotal() const { return ITotal_; }
  QLabel* BalDue() const { return BalDue_; }
  QCheckBox* CheckBox2() const { return CheckBox2_; }
  QCheckBox* PrintFlag() const { return PrintFlag_; }
  QLabel* TaxLbl() const { return TaxLbl_; }
  QLabel* IMode() const { return IMode_; }
  QRadioButton* RadioButton1() const { return RadioButton1_; }
  QRadioButton* RadioButton2() const { return RadioButton2_; }
  QLabel* StartTime() const { return StartTime_; }
  QLabel* ElapsedTime() const { return ElapsedTime_; }
  QLabel* ToHours() const { return ToHours_; }
  QPushButton* TimeBtn() const { return TimeBtn_; }
  QTimer* Timer1() const { return Timer1_; }
  QPushButton* BitBtn3() const { return BitBtn3_; }
  QPushButton* SpeedButton2() const { return SpeedButton2_; }
  QPushButton* DeleteLine() const { return DeleteLine_; }
  QPushButton* UndoAll() const { return UndoAll_; }
  QPushButton* MakeNote() const { return MakeNote_; }
  QPushButton* ImportButn() const { return ImportButn_; }
  QPushButton* ExportButn() const { return ExportButn_; }
  QPushButton* TopButn() const { return TopButn_; }
  QPushButton* CnterButn() const { return CnterButn_; }
  QPushButton* BottButn() const { return BottButn_; }
  QPushButton* SpeedButton8() const { return SpeedButton8_; }
  QPushButton* Calbutton() const { return Calbutton_; }
  QPushButton* InvClose() const { return InvClose_; }
  QPushButton* BitBtn2() const { return BitBtn2_; }
  QPushButton* OKButton() const { return OKButton_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const model::CompanyRecord& Company() const;
  void BuildGrid();
  void BuildLayout();
  void ConnectSignals();
  void FormShow();
  void SetColumnWidths();
  void ApplyFonts();
  void ApplyModeLayout();
  void ShowForm();
  void ShowLine(int row);
  void ShowLines();
  void ShowCustomer();
  void ShowTaxBox();
  void ShowAmounts();
  void ReadControls();
  void RecalcTotals();
  void ZeroEmptyAmounts();
  void FocusField(const EntryCheck& check);
  void MoveToCell(int row, GridColumn column);
  int CurrentRow() const;  // grid row 1..99
  void FillRowFromProduct(int row, const model::ProductRecord& product, std::optional<std::string_view> quantity);
  void OpenProductList(int row);
  void LoadTermsList();
  std::int64_t NowInSeconds() const;

  void StringGrid1CellChanged(QTableWidgetItem* item);
  void StringGrid1KeyEnter(int row);
  void StringGrid1DblClick(int row);
  void RadioButtonClick();
  void CheckBox2Click();
  void Memo1Change();
  void BitBtn3Click();
  void SpeedButton2Click();
  void DeleteLineClick();
  void UndoAllClick();
  void MakeNoteClick();
  void ImportButnClick();
  void ExportButnClick();
  void TopButnClick();
  void CnterButnClick();
  void BottButnClick();
  void SpeedButton8Click();
  void TimeBtnClick();
  void Timer1Timer();
  void CalbuttonClick();
  void InvCloseClick();
  void BitBtn2Click();
  void OKButtonClick();

  shell::ui::AppServices& services_;
  InvoiceForm form_;
  TaxBox taxBox_;
  std::vector<std::string> terms_;
  std::function<bool(std::string_view)> numberOnFile_;
  bool showing_ = false;  // controls are being filled: their change signals are not the user's
  std::int64_t timerStart_ = 0;

  QLineEdit* INum_;
  QLabel* DateLabel_;
  QLineEdit* IDate_;
  QPushButton* Calbutton_;
  QLineEdit* INVNOTES_;
  QLineEdit* KeyCode_;
  QComboBox* ITerms_;
  QLineEdit* IStmntNote_;
  QLabel* IMode_;
  QPushButton* BitBtn3_;
  QLabel* ICustName_;
  QLabel* ICustNo_;
  QLabel* Sname_;
  QLabel* ICredLimit_;
  QLabel* CBal_;
  QLabel* Acur_;
  QLabel* A30_;
  QLabel* A60_;
  QLabel* A90_;
  QRadioButton* RadioButton1_;
  QRadioButton* RadioButton2_;
  QStackedWidget* Body_;
  QTableWidget* StringGrid1_;
  QWidget* MemoPage_;
  QPlainTextEdit* Memo1_;
  QLineEdit* MemoPDesc_;
  QLineEdit* MemoQuan_;
  QPushButton* SpeedButton2_;
  QPushButton* DeleteLine_;
  QPushButton* UndoAll_;
  QPushButton* MakeNote_;
  QPushButton* ImportButn_;
  QPushButton* ExportButn_;
  QPushButton* TopButn_;
  QPushButton* CnterButn_;
  QPushButton* BottButn_;
  QLineEdit* INet_;
  QLineEdit* ITax_;
  QLineEdit* IPaid_;
  QLabel* ITotal_;
  QLabel* BalDue_;
  QCheckBox* CheckBox2_;
  QCheckBox* PrintFlag_;
  QLabel* TaxLbl_;
  QPushButton* TimeBtn_;
  QLabel* StartTime_;
  QLabel* ElapsedTime_;
  QLabel* ToHours_;
  QTimer* Timer1_;
  QPushButton* SpeedButton8_;
  QPushButton* OKButton_;
  QPushButton* InvClose_;
  QPushButton* BitBtn2_;
};

}  // namespace invoicing::ui
