// The repeat billing set-up ("Repeat Invoice Setup"): whether an invoice is billed again,
// every how many days or months, and from which date. The invoice manager shows it for
// its current invoice or master and stores the schedule it hands back.
#pragma once

#include <QDialog>
#include <optional>

#include "invoicing/invoice_books.h"
#include "invoicing/repeat_billing.h"
#include "model/records.h"
#include "shell/ui/app_services.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace invoicing::ui {

class TRepeatForm : public QDialog {
  Q_OBJECT

 public:
  explicit TRepeatForm(shell::ui::AppServices& services, QWidget* parent = nullptr);

  // Shows `header` in `state`; the schedule to store after OK, nullopt after Cancel.
  std::optional<RepeatSchedule> Execute(const model::TransactionRecord& header, const RepeatSetupState& state);

  QLabel* InvoiceLabel() const { return InvoiceLabel_; }
  QLabel* DateLabel() const { return DateLabel_; }
  QLabel* CustomerLabel() const { return CustomerLabel_; }
  QLabel* Label8() const { return Label8_; }
  QFrame* Panel2() const { return Panel2_; }
  QCheckBox* CheckBox1() const { return CheckBox1_; }
  QLineEdit* NumDays() const { return NumDays_; }
  QRadioButton* RBMonths() const { return RBMonths_; }
  QRadioButton* RBDays() const { return RBDays_; }
  QLineEdit* EndDate() const { return EndDate_; }
  QPushButton* Cal2button() const { return Cal2button_; }
  QPushButton* OKButton() const { return OKButton_; }
  QPushButton* CancelButton() const { return CancelButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }

 private:
  void BuildLayout();
  void ShowState(const model::TransactionRecord& header, const RepeatSetupState& state);
  void EnableEntry();
  void CheckBox1Click();
  void Cal2buttonClick();
  void OKButtonClick();
  void HelpButtonClick();

  shell::ui::AppServices& services_;
  std::optional<RepeatSchedule> schedule_;
  QLabel* InvoiceLabel_;
  QLabel* DateLabel_;
  QLabel* CustomerLabel_;
  QLabel* Label8_;
  QFrame* Panel2_;
  QCheckBox* CheckBox1_;
  QLineEdit* NumDays_;
  QRadioButton* RBMonths_;
  QRadioButton* RBDays_;
  QLineEdit* EndDate_;
  QPushButton* Cal2button_;
  QPushButton* OKButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
};

}  // namespace invoicing::ui
