// The customer edit dialog ("Add Customer" / "Edit Customer"): every field of one
// customer, the shipping-address helpers, and the checks on OK. A failed check keeps
// the dialog open on its field; the caller writes the record only after OK.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/help.h"
#include "shell/customers.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shell::ui {

class TEditRecord : public QDialog {
  Q_OBJECT

 public:
  explicit TEditRecord(platform::Help& help, QWidget* parent = nullptr);

  // The checks OK runs over the typed values (CheckCustomerEntry over the caller's
  // customer file, looked up when OK is pressed, never kept here).
  using Check = std::function<CustomerField(CustomerEntry& entry)>;

  // Before exec(): the values to show, the number the record has (nullopt for a new
  // customer) and the checks.
  void Start(const CustomerEntry& entry, std::optional<std::string> originalNumber, Check check);
  // After OK: the values as checked, the short name filled in.
  const CustomerEntry& Entry() const { return entry_; }

  QLineEdit* CNo() const { return CNo_; }
  QLineEdit* CName() const { return CName_; }
  QLineEdit* CustType() const { return CustType_; }
  QLineEdit* TaxExempt() const { return TaxExempt_; }
  QLineEdit* CLimit() const { return CLimit_; }
  QComboBox* CTerms() const { return CTerms_; }
  QLineEdit* CAddEdit(int line) const { return CAddEdit_[static_cast<std::size_t>(line)]; }
  QLineEdit* CShip(int line) const { return CShip_[static_cast<std::size_t>(line)]; }
  QLineEdit* CPhone1() const { return CPhone1_; }
  QLineEdit* CPhone2() const { return CPhone2_; }
  QLineEdit* ShortName() const { return ShortName_; }
  QLineEdit* CstNote() const { return CstNote_; }
  QLineEdit* MListCode() const { return MListCode_; }
  QCheckBox* CRHold() const { return CRHold_; }
  QCheckBox* NotesOnInv() const { return NotesOnInv_; }
  QCheckBox* NotesOnStmnt() const { return NotesOnStmnt_; }
  QLabel* CBal() const { return CBal_; }
  QCheckBox* AutoCopy() const { return AutoCopy_; }
  QPushButton* CopyButton() const { return CopyButton_; }
  QPushButton* ClearButton() const { return ClearButton_; }
  QPushButton* OKButton() const { return OKButton_; }
  QPushButton* CancelButton() const { return CancelButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }

 private:
  void BuildLayout();
  void ConnectSignals();
  void ShowEntry(const CustomerEntry& entry);
  CustomerEntry ReadControls() const;
  void FocusField(CustomerField field);
  void OKButtonClick();
  void CAddEditChange(int line, const QString& text);
  void CopyButtonClick();
  void ClearButtonClick();
  void HelpButtonClick();

  platform::Help& help_;
  Check check_;
  CustomerEntry entry_;

  QLineEdit* CNo_;
  QLineEdit* CName_;
  QLineEdit* CustType_;
  QLineEdit* TaxExempt_;
  QLineEdit* CLimit_;
  QComboBox* CTerms_;
  std::array<QLineEdit*, kAddressLines> CAddEdit_;
  std::array<QLineEdit*, kAddressLines> CShip_;
  QLineEdit* CPhone1_;
  QLineEdit* CPhone2_;
  QLineEdit* ShortName_;
  QLineEdit* CstNote_;
  QLineEdit* MListCode_;
  QCheckBox* CRHold_;
  QCheckBox* NotesOnInv_;
  QCheckBox* NotesOnStmnt_;
  QLabel* CBal_;
  QCheckBox* AutoCopy_;
  QPushButton* CopyButton_;
  QPushButton* ClearButton_;
  QPushButton* OKButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
};

}  // namespace shell::ui
