// "Report Wizard" selection dialog: the seven reports with their descriptions, the
// date choices and the two dates with calendar buttons; View checks the dates, runs
// the chosen report and shows it in the report window.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "model/dates.h"
#include "reports/report_dates.h"
#include "reports/report_kinds.h"
#include "shell/ui/app_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QShowEvent;

namespace reports::ui {

class TRptSelect : public QDialog {
  Q_OBJECT

 public:
  explicit TRptSelect(shell::ui::AppServices& services, QWidget* parent = nullptr);

  QListWidget* ListBox1() const { return ListBox1_; }
  QLabel* RType() const { return RType_; }
  QLabel* DateLabel() const { return DateLabel_; }
  QComboBox* ComboBox1() const { return ComboBox1_; }
  QLineEdit* IDate() const { return IDate_; }
  QLineEdit* EndDt() const { return EndDt_; }
  // Shown for the Accounts Receivable report only.
  QCheckBox* AsOfBox() const { return AsOfBox_; }
  QPushButton* Button1() const { return Button1_; }

  // Checks the dates and runs the chosen report; true when a report was shown. The
  // report window is handed to `show`, so tests can look at it instead of waiting.
  bool Button1Click();
  void ComboBox1Change();

  // How a built report window is shown; exec() unless replaced.
  std::function<void(QDialog&)> showReport;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::optional<model::Date> AsOf(const ReportKind& kind, const DateRange& range) const;
  void BuildLayout();
  void FormShow();
  void ListBox1Click();
  void CalButClick(QLineEdit& field, const QString& caption);
  DateRange Range() const;

  shell::ui::AppServices& services_;
  QListWidget* ListBox1_ = nullptr;
  QLabel* RType_ = nullptr;
  QLabel* DateLabel_ = nullptr;
  QComboBox* ComboBox1_ = nullptr;
  QLineEdit* IDate_ = nullptr;
  QLineEdit* EndDt_ = nullptr;
  QCheckBox* AsOfBox_ = nullptr;
  QPushButton* Cal1But_ = nullptr;
  QPushButton* Cal2But_ = nullptr;
  QPushButton* Button1_ = nullptr;
  QPushButton* CancelBut_ = nullptr;
  QPushButton* HelpBut_ = nullptr;
};

}  // namespace reports::ui
