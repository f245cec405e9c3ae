// The report window: the generated report in a grid that sorts on a column, shows
// sub-totals, month totals and the grand total, prints with page numbers and saves to
// a text or CSV file.
#pragma once

#include <QDialog>
#include <functional>

#include "reports/report_generators.h"
#include "reports/report_output.h"
#include "shell/ui/app_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class QToolButton;

namespace reports::ui {

class Trtreport : public QDialog {
  Q_OBJECT

 public:
  Trtreport(shell::ui::AppServices& services, Report report, QWidget* parent = nullptr);

  QTableWidget* RptGrid() const { return RptGrid_; }
  QCheckBox* stotals() const { return stotals_; }
  QComboBox* SortCol() const { return SortCol_; }
  QLabel* Head1() const { return Head1_; }
  QLabel* Head2() const { return Head2_; }
  QLabel* Head3() const { return Head3_; }
  QToolButton* SpeedButton1() const { return SpeedButton1_; }
  QToolButton* SaveButn() const { return SaveButn_; }
  const std::vector<GridRow>& Grid() const { return grid_; }

  // Sorts on `column` and rebuilds the grid with its totals; false (after a beep) when
  // the column may not be sorted on.
  bool SpeedButton2Click(int column);
  void SortColChange();
  // Writes the shown report to `path`, as CSV when the name ends in ".CSV".
  bool SaveTo(const QString& path);

  // The font and colour dialogs: true when a font was chosen, with the choice left in
  // the arguments. Replaceable, like the beep, so that tests can answer them.
  std::function<bool(QFont& font, QColor& color)> chooseFontAndColor;
  std::function<void()> beep;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildLayout();
  void FillGrid();
  void SizeColumns();
  // Shows the grid in `font` with its text in `color`, as chosen with "Fonts/Colors".
  void ApplyGridLook(const QFont& font, const QColor& color);
  QString AskForFile();
  ReportHeads Heads() const;
  void InvPrintClick();
  void SpeedButton1Click();
  void PSetButnClick();
  void SaveButnClick();

  shell::ui::AppServices& services_;
  Report report_;
  std::vector<GridRow> grid_;
  QToolButton *InvPrint_ = nullptr, *SpeedButton1_ = nullptr, *PSetButn_ = nullptr, *SaveButn_ = nullptr,
              *ExitButn_ = nullptr, *HelpButn_ = nullptr;
  QLabel *Head1_ = nullptr, *Head2_ = nullptr, *Head3_ = nullptr;
  QCheckBox* stotals_ = nullptr;
  QComboBox* SortCol_ = nullptr;
  QTableWidget* RptGrid_ = nullptr;
};

}  // namespace reports::ui
