// "Interest Wizard": the options of an interest run, the scan that lists the charges,
// and the generation of the interest invoices with the closing offer of the printed
// report. The window reads its controls into InterestOptions; reports/interest does
// the rest.
#pragma once

#include <QDialog>
#include <optional>

#include "reports/interest.h"
#include "shell/ui/app_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QTableWidget;

namespace platform::qt {
class TProgressWindow;
}

namespace reports::ui {

class TInterestWiz : public QDialog {
  Q_OBJECT

 public:
  explicit TInterestWiz(shell::ui::AppServices& services, QWidget* parent = nullptr);

  QRadioButton* days30() const { return days30_; }
  QRadioButton* days60() const { return days60_; }
  QRadioButton* days90() const { return days90_; }
  QLineEdit* IPct() const { return IPct_; }
  QLineEdit* MinChg() const { return MinChg_; }
  QCheckBox* FlatCB() const { return FlatCB_; }
  QLineEdit* FlatRate() const { return FlatRate_; }
  QLineEdit* IDate() const { return IDate_; }
  QLineEdit* InvComm() const { return InvComm_; }
  QLineEdit* StmntNote() const { return StmntNote_; }
  QComboBox* ITerms() const { return ITerms_; }
  QCheckBox* IPrin() const { return IPrin_; }
  QLabel* LastRun() const { return LastRun_; }
  QLabel* Label3() const { return Label3_; }
  QTableWidget* CustGrid() const { return CustGrid_; }
  QPushButton* Button1() const { return Button1_; }
  QPushButton* GenInv() const { return GenInv_; }
  QPushButton* CanButn() const { return CanButn_; }
  QPushButton* Button2() const { return Button2_; }

  // The options as the controls hold them.
  InterestOptions Options() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void ConnectSignals();
  void LoadTermsList();
  void ShowGrid();
  // Any option the scan reads has changed: the list shown no longer holds.
  void OptionsChanged();
  files::Services Logic() const;

  void FormShow();
  void FlatCBClick();
  void FlatRateChange(const QString& text);
  void CalbuttonClick();
  void Button1Click();
  void GenInvClick();
  void Button2Click();

  shell::ui::AppServices& services_;
  std::optional<InterestScan> scan_;
  platform::qt::TProgressWindow* ProgressWindow_;
  QRadioButton* days30_;
  QRadioButton* days60_;
  QRadioButton* days90_;
  QLineEdit* IPct_;
  QLineEdit* MinChg_;
  QCheckBox* FlatCB_;
  QLineEdit* FlatRate_;
  QLineEdit* IDate_;
  QPushButton* Calbutton_;
  QLineEdit* InvComm_;
  QLineEdit* StmntNote_;
  QComboBox* ITerms_;
  QCheckBox* IPrin_;
  QLabel* LastRun_;
  QLabel* Label3_;
  QTableWidget* CustGrid_;
  QPushButton* Button1_;
  QPushButton* GenInv_;
  QPushButton* CanButn_;
  QPushButton* Button2_;
};

}  // namespace reports::ui
