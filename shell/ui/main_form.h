// The main window: menus, the large buttons and the tool buttons that open every
// other window, the company caption over the tiled background, the status bar with
// its clock, and the aging chart panel.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <functional>
#include <map>
#include <memory>

#include "engine/engine.h"
#include "model/company_session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/launcher.h"
#include "platform/page_canvas.h"
#include "shell/startup.h"
#include "shell/ui/app_services.h"

class QAction;
class QLabel;
class QPrinter;
class QPushButton;
class QTimer;
class QToolButton;

namespace platform::qt {
class TProgressWindow;
}

namespace shell::ui {

class TAgingChart;
class TBackupPanel;


// The commands of the menus and buttons; each has one action.
enum class Command {
  kCompanyManager, kCustomerManager, kProductManager, kInvoiceManager, kPrinterSetup, kEditPaymentTerms, kExit,
  kPaymentWizard, kReportWizard, kInterestWizard, kLabelWizard, kRepeatBillingWizard, kFormLetterWizard,
  kAgingChart, kCalculator, kViewCalendar, kPasswordSetup, kDeletePaidInvoices, kBackupDataFiles,
  kRebuildDataFiles, kCheckBooks, kHelpTopics, kHowToUseHelp, kFrequentQuestions, kAbout,
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(AppServices services, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Loads the starting company; false when the program must end (no data files).
  bool LoadCompany();
  // Brings the window to the front, restoring it when minimised (a second start).
  void BringToFront();

  QAction* Action(Command command) const { return actions_.at(command); }
  // What the windows opened from here work with.
  AppServices& Services() { return services_; }
  QString StatusText() const;
  QString ClockPanelText() const;
  QString CompanyCaption() const;
  bool BackgroundShown() const;
  TAgingChart* AgingChart() const { return AgingChart_; }
  // Status panel 1.
  void SetStatus(const QString& text);
  // Makes `command` open a window of a library built over this one (the invoice
  // manager, the wizards): the program hands in how, and the command is enabled.
  void SetOpener(Command command, std::function<void()> open);
  // Tells where a finished print job went: the printer, or the PDF file's name.
  void ReportPrintout(const platform::PageCanvas& canvas);

 signals:
  // The start-up password was refused, or a manager's file cannot be opened: the
  // program ends.
  void programMustEnd();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  QWidget* BuildLargeButtons();
  void BuildStatusBar();
  void BuildCentralArea();
  QAction* AddAction(Command command, const QString& text, void (TMainForm::*handler)());
  void EnableFinishedCommands();
  void ApplyCompanySettings(const StartResult& result);
  void ApplyHints(bool show);
  void PrepareForWindow();
  // Takes a running text such as "Removing Records..." out of status panel 1.
  void ClearRunningStatus();

  void FormShow();
  void ClockTimerTimer();
  void CompanyManagerClick();
  void CustomerManagerClick();
  void ProductManagerClick();
  void DeletePaidInvoicesClick();
  void PasswordSetupClick();
  void BackupDataFilesClick();
  void RebuildDataFilesClick();
  void CheckBooksClick();
  // Shows a manager modally; its "cannot go on" signal ends the program.
  template <class Manager>
  int RunManager(Manager& manager);
  void PrinterSetupClick();
  void EditPaymentTermsClick();
  void ExitClick();
  void AgingChartClick();
  void AgingChartAsOfClick();
  void CalculatorClick();
  void ViewCalendarClick();
  void HelpTopicsClick();
  void HowToUseHelpClick();
  void FrequentQuestionsClick();
  void AboutClick();
  void RunAgingAndShow(bool forceChart);
  // The services for a run started here, its progress shown in this window.
  files::Services Logic() const;

  AppServices services_;
  // The dialogs of the runs that write status panel 1 (the purge, the backup, aging):
  // before any message the running text goes, as the run waits for the user; so a
  // run's closing message never sits under a text saying it goes on.
  std::unique_ptr<platform::Dialogs> runDialogs_;
  std::map<Command, QAction*> actions_;
  QLabel* CompanyLabel_ = nullptr;
  QLabel* ClockPanel_ = nullptr;
  QLabel* StatePanel_ = nullptr;
  QWidget* ButtonPanel_ = nullptr;
  TAgingChart* AgingChart_ = nullptr;
  TBackupPanel* BackupPanel_ = nullptr;
  QTimer* ClockTimer_ = nullptr;
  platform::qt::TProgressWindow* ProgressWindow_ = nullptr;
  class TBackground* Background_ = nullptr;
  bool shownOnce_ = false;
  bool hintsShown_ = true;
  bool engineStarted_ = false;
};

}  // namespace shell::ui
