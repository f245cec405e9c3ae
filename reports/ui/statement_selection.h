// The "Statement Selection" window of the batch print: which customers get a
// statement (by balance and age) and whether it lists all activity or only what is
// unpaid.
#pragma once

#include <QDialog>

#include "platform/help.h"
#include "reports/statement_batch.h"

class QPushButton;
class QRadioButton;

namespace reports::ui {

class TSelStmnt : public QDialog {
  Q_OBJECT

 public:
  explicit TSelStmnt(platform::Help& help, QWidget* parent = nullptr);

  BatchChoice Choice() const;

  QRadioButton* RBAll() const { return RBAll_; }
  QRadioButton* RBover30() const { return RBover30_; }
  QRadioButton* RBover60() const { return RBover60_; }
  QRadioButton* RBover90() const { return RBover90_; }
  QRadioButton* RBActAll() const { return RBActAll_; }
  QRadioButton* RBActUnPd() const { return RBActUnPd_; }
  QPushButton* OkButton() const { return OkButton_; }
  QPushButton* CancelButton() const { return CancelButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }

 private:
  void HelpButtonClick();

  platform::Help& help_;
  QRadioButton* RBAll_;
  QRadioButton* RBover30_;
  QRadioButton* RBover60_;
  QRadioButton* RBover90_;
  QRadioButton* RBActAll_;
  QRadioButton* RBActUnPd_;
  QPushButton* OkButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
};

}  // namespace reports::ui
