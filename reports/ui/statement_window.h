// The "Customer Statement" window: one customer's account activity in a grid with
// the amounts aligned on their decimal points, all of it or only what is unpaid, and
// the printed statement from there. Also the two entry points the customer manager is
// handed: one statement, and the batch print after the statement selection.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "model/records.h"
#include "reports/statement.h"
#include "shell/ui/app_services.h"

class QCheckBox;
class QLabel;
class QStatusBar;
class QTableWidget;
class QToolButton;

namespace reports::ui {

class TStment : public QDialog {
  Q_OBJECT

 public:
  TStment(shell::ui::AppServices& services, QWidget* parent = nullptr);

  // Builds the customer's statement with all activity; false, after telling that
  // there is no activity, when it lists nothing.
  bool Load(const model::CustomerRecord& customer);

  const Statement& Current() const { return statement_; }
  QTableWidget* SGrid() const { return SGrid_; }
  QCheckBox* CheckBox1() const { return CheckBox1_; }
  QToolButton* PrinStButn() const { return PrinStButn_; }
  QToolButton* SpeedButton2() const { return SpeedButton2_; }
  QToolButton* SpeedButton3() const { return SpeedButton3_; }
  QStatusBar* StatusBar() const { return StatusBar_; }
  // The customer's name, four address lines and number as the window shows them.
  QStringList HeaderTexts() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool Build();
  void FillGrid();
  void SizeColumns();
  void FormShow();
  void CheckBox1Click();
  void PrinStButnClick();
  void SpeedButton2Click();
  void SpeedButton3Click();

  shell::ui::AppServices& services_;
  model::CustomerRecord customer_{};
  Activity activity_ = Activity::kAll;
  Statement statement_;
  std::array<QLabel*, 5> Label_;  // name, then the four address lines
  QLabel* CNoLabel_;
  QCheckBox* CheckBox1_;
  QTableWidget* SGrid_;
  QToolButton* PrinStButn_;
  QToolButton* SpeedButton2_;
  QToolButton* SpeedButton3_;
  QStatusBar* StatusBar_;
};

// What the program hands the customer manager: both statement commands, each working
// with `services`, which must outlive every window made from them.
void ConnectStatementCommands(shell::ui::AppServices& services);

// The two commands by themselves.
void ShowStatement(shell::ui::AppServices& services, QWidget& parent, const model::CustomerRecord& customer);
std::string BatchStatements(shell::ui::AppServices& services, QWidget& parent, const files::Services& logic,
                            files::KeyedFile& customers);

}  // namespace reports::ui
