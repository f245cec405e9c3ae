// The small dialog of the payment wizard that asks for one amount: a partial payment
// on an open invoice (below what it has due) or a deposit on account.
#pragma once

#include <QDialog>
#include <optional>
#include <string_view>

#include "invoicing/payments.h"
#include "model/money.h"
#include "platform/dialogs.h"
#include "platform/help.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace invoicing::ui {

class TPPmtDialog : public QDialog {
  Q_OBJECT

 public:
  TPPmtDialog(platform::Dialogs& dialogs, platform::Help& help, QWidget* parent = nullptr);

  // Asks for a partial payment on `line`; the amount after OK, nullopt after Cancel.
  std::optional<model::Money> AskPartialPayment(const PaymentLine& line);
  // Asks for a deposit received on `paymentDate`.
  std::optional<model::Money> AskDeposit(std::string_view paymentDate);

  QLabel* Label1() const { return Label1_; }
  QLineEdit* PPAmt() const { return PPAmt_; }
  QPushButton* OKBtn() const { return OKBtn_; }
  QPushButton* CancelBtn() const { return CancelBtn_; }
  QPushButton* HelpBtn() const { return HelpBtn_; }

 private:
  std::optional<model::Money> Ask(std::string_view caption, std::string_view label, std::optional<model::Money> due);
  void OKBtnClick();
  void HelpBtnClick();

  platform::Dialogs& dialogs_;
  platform::Help& help_;
  std::optional<model::Money> due_;  // none for a deposit
  std::optional<model::Money> amount_;
  QLabel* Label1_;
  QLineEdit* PPAmt_;
  QPushButton* OKBtn_;
  QPushButton* CancelBtn_;
  QPushButton* HelpBtn_;
};

}  // namespace invoicing::ui
