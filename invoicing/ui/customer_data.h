// The quick view of one transaction ("Customer Data"): its type, number, date and
// amounts, whether it was printed or repeats, and its customer's name, number,
// balance and phone.
#pragma once

#include <QDialog>

#include "invoicing/transaction_types.h"
#include "platform/help.h"

class QLabel;
class QPushButton;

namespace invoicing::ui {

class TCustData : public QDialog {
  Q_OBJECT

 public:
  explicit TCustData(platform::Help& help, QWidget* parent = nullptr);

  void Show(const QuickView& view);
  // The texts shown, top to bottom, for tests.
  QStringList Lines() const;

 private:
  void CloseButtonClick();
  void HelpButtonClick();

  platform::Help& help_;
  QLabel* TypeLabel_;
  QLabel* StyleLabel_;
  QLabel* InvoiceNo_;
  QLabel* InvoiceDate_;
  QLabel* Total_;
  QLabel* Paid_;
  QLabel* Balance_;
  QLabel* Marks_;
  QLabel* CustName_;
  QLabel* CustNo_;
  QLabel* CustBalance_;
  QLabel* Phone_;
  QPushButton* CloseButton_;
  QPushButton* HelpButton_;
};

}  // namespace invoicing::ui
