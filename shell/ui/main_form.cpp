#include "shell/ui/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/aging_chart.h"
#include "shell/maintenance.h"
#include "shell/password.h"
#include "shell/password_setup.h"
#include "shell/ui/about_box.h"
#include "shell/ui/aging_chart.h"
#include "shell/ui/backup_panel.h"
#include "shell/ui/books_check.h"
#include "books/aging_as_of.h"
#include "platform/qt/wait_cursor.h"
#include "shell/ui/company_manager.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/fonts.h"
#include "shell/ui/product_manager.h"
#include "shell/ui/terms_edit.h"
#include "shell/ui/tool_icons.h"

namespace shell::ui {

using platform::qt::ToQString;

// The client area under the menus: the company caption, the button panels and the
// aging chart over the company's background picture, tiled from the top left.
class TBackground : public QWidget {
 public:
  using QWidget::QWidget;

  void SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
  }
  bool HasPicture() const { return !picture_.isNull(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), picture_);
  }

 private:
  QPixmap picture_;
};

namespace {

// The dialogs of a run, each message preceded by `beforeMessage`.
class RunDialogs final : public platform::Dialogs {
 public:
  RunDialogs(platform::Dialogs& dialogs, std::function<void()> beforeMessage)
      : dialogs_(dialogs), beforeMessage_(std::move(beforeMessage)) {}

  void inform(std::string_view caption, std::string_view text, platform::Icon icon) override {
    beforeMessage_();
    dialogs_.inform(caption, text, icon);
  }
  bool confirm(std::string_view caption, std::string_view text, platform::Answer defaultAnswer) override {
    beforeMessage_();
    return dialogs_.confirm(caption, text, defaultAnswer);
  }
  platform::Answer ask(std::string_view caption, std::string_view text, platform::Buttons buttons,
                       platform::Icon icon) override {
    beforeMessage_();
    return dialogs_.ask(caption, text, buttons, icon);
  }
  std::optional<std::string> prompt(std::string_view caption, bool secret, int maxLength,
                                    std::string_view helpKeyword) override {
    beforeMessage_();
    return dialogs_.prompt(caption, secret, maxLength, helpKeyword);
  }

 private:
  platform::Dialogs& dialogs_;
  std::function<void()> beforeMessage_;
};

constexpr int kClockTickMs = 1000;
constexpr std::string_view kLabelsQuestion =
    "You have labels in the print queue that you have not printed or saved to a file. Exit anyway?";

}  // namespace

TMainForm::TMainForm(AppServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      runDialogs_(std::make_unique<RunDialogs>(services.dialogs, [this] { ClearRunningStatus(); })),
      ProgressWindow_(new platform::qt::TProgressWindow(this)) {
  services_.showStatus = [this](std::string_view text) { SetStatus(ToQString(text)); };
  setWindowTitle(ToQString(kProgramCaption));
  platform::qt::SetHelpKeyword(*this, "Main window");
  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildCentralArea();
  BuildStatusBar();
  EnableFinishedCommands();
  QApplication::instance()->installEventFilter(this);
}

TMainForm::~TMainForm() {
  if (engineStarted_) services_.engine.ExitEngine();
}

QAction* TMainForm::AddAction(Command command, const QString& text, void (TMainForm::*handler)()) {
  auto* action = new QAction(text, this);
  if (handler != nullptr) connect(action, &QAction::triggered, this, handler);
  actions_[command] = action;
  return action;
}

void TMainForm::BuildActions() {
  AddAction(Command::kCompanyManager, tr("Co&mpany Manager..."), &TMainForm::CompanyManagerClick);
  AddAction(Command::kCustomerManager, tr("&Customer Manager..."), &TMainForm::CustomerManagerClick);
  AddAction(Command::kProductManager, tr("&Product Manager..."), &TMainForm::ProductManagerClick);
  AddAction(Command::kInvoiceManager, tr("&Invoice Manager..."), nullptr);
  AddAction(Command::kPrinterSetup, tr("P&rinter Setup..."), &TMainForm::PrinterSetupClick);
  AddAction(Command::kEditPaymentTerms, tr("&Edit Payment Terms..."), &TMainForm::EditPaymentTermsClick);
  AddAction(Command::kExit, tr("E&xit"), &TMainForm::ExitClick);
  AddAction(Command::kPaymentWizard, tr("&Payment Wizard..."), nullptr);
  AddAction(Command::kReportWizard, tr("&Report  Wizard..."), nullptr);
  AddAction(Command::kInterestWizard, tr("&Interest Wizard..."), nullptr);
  AddAction(Command::kLabelWizard, tr("&Label Wizard..."), nullptr);
  AddAction(Command::kRepeatBillingWizard, tr("Repeat Billing &Wizard..."), nullptr);
  AddAction(Command::kFormLetterWizard, tr("Form L&etter Wizard..."), nullptr);
  AddAction(Command::kAgingChart, tr("&Aging Chart"), &TMainForm::AgingChartClick);
  AddAction(Command::kCalculator, tr("&Calculator"), &TMainForm::CalculatorClick);
  AddAction(Command::kViewCalendar, tr("&View Calendar"), &TMainForm::ViewCalendarClick);
  AddAction(Command::kPasswordSetup, tr("Password &Setup"), &TMainForm::PasswordSetupClick);
  AddAction(Command::kDeletePaidInvoices, tr("&Delete Paid Invoices"), &TMainForm::DeletePaidInvoicesClick);
  AddAction(Command::kBackupDataFiles, tr("&Backup Data Files"), &TMainForm::BackupDataFilesClick);
  AddAction(Command::kRebuildDataFiles, tr("Rebuild Data &Files"), &TMainForm::RebuildDataFilesClick);
  AddAction(Command::kCheckBooks, tr("Check &Books..."), &TMainForm::CheckBooksClick);
  AddAction(Command::kHelpTopics, tr("&Topics"), &TMainForm::HelpTopicsClick);
  AddAction(Command::kHowToUseHelp, tr("&How to use Help"), &TMainForm::HowToUseHelpClick);
  AddAction(Command::kFrequentQuestions, tr("&Frequent Asked Questions"), &TMainForm::FrequentQuestionsClick);
  AddAction(Command::kAbout, tr("&About"), &TMainForm::AboutClick);
}

// Commands whose windows are not part of the program yet stay visible but disabled.
void TMainForm::EnableFinishedCommands() {
  static const Command kFinished[] = {
      Command::kCompanyManager, Command::kCustomerManager, Command::kProductManager,  Command::kPrinterSetup,
      Command::kEditPaymentTerms, Command::kExit,         Command::kAgingChart,      Command::kCalculator,
      Command::kViewCalendar,   Command::kHelpTopics,     Command::kHowToUseHelp,    Command::kFrequentQuestions,
      Command::kAbout,          Command::kDeletePaidInvoices, Command::kRebuildDataFiles, Command::kPasswordSetup,
      Command::kBackupDataFiles, Command::kCheckBooks,
  };
  for (auto& [command, action] : actions_) action->setEnabled(false);
  for (Command command : kFinished) actions_.at(command)->setEnabled(true);
}

void TMainForm::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  for (Command c : {Command::kCompanyManager, Command::kCustomerManager, Command::kProductManager,
                    Command::kInvoiceManager, Command::kPrinterSetup, Command::kEditPaymentTerms}) {
    file->addAction(Action(c));
  }
  file->addSeparator();
  file->addAction(Action(Command::kExit));
  QMenu* tools = menuBar()->addMenu(tr("&Tools"));
  for (Command c : {Command::kPaymentWizard, Command::kReportWizard, Command::kInterestWizard, Command::kLabelWizard,
                    Command::kRepeatBillingWizard, Command::kFormLetterWizard}) {
    tools->addAction(Action(c));
  }
  tools->addSeparator();
  for (Command c : {Command::kAgingChart, Command::kCalculator, Command::kViewCalendar}) tools->addAction(Action(c));
  tools->addSeparator();
  for (Command c : {Command::kPasswordSetup, Command::kDeletePaidInvoices, Command::kBackupDataFiles,
                    Command::kRebuildDataFiles, Command::kCheckBooks}) {
    tools->addAction(Action(c));
  }
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  for (Command c : {Command::kHelpTopics, Command::kHowToUseHelp, Command::kFrequentQuestions}) {
    help->addAction(Action(c));
  }
  help->addSeparator();
  help->addAction(Action(Command::kAbout));
}

void TMainForm::BuildToolBar() {
  QToolBar* bar = addToolBar(tr("Tools"));
  bar->setMovable(false);
  bar->setIconSize(QSize(28, 28));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  struct ToolButton {
    Command command;
    const char* hint;
    ToolGlyph glyph;
  };
  static const ToolButton kButtons[] = {
      {Command::kCompanyManager, "Companies/System Options", ToolGlyph::kCompanies},
      {Command::kInvoiceManager, "Invoice Manager", ToolGlyph::kInvoice},
      {Command::kPasswordSetup, "Password Setup", ToolGlyph::kPassword},
      {Command::kViewCalendar, "View Calendar", ToolGlyph::kCalendar},
      {Command::kCalculator, "Calculator", ToolGlyph::kCalculator},
      {Command::kInterestWizard, "Interest Wizard", ToolGlyph::kInterest},
      {Command::kLabelWizard, "Label Wizard", ToolGlyph::kLabels},
      {Command::kRepeatBillingWizard, "Repeat Billing Wizard", ToolGlyph::kRepeat},
      {Command::kAgingChart, "Aging Chart", ToolGlyph::kAgingChart},
      {Command::kBackupDataFiles, "Backup Files", ToolGlyph::kBackup},
      {Command::kHelpTopics, "Help", ToolGlyph::kHelp},
      {Command::kPrinterSetup, "Printer Setup", ToolGlyph::kPrinter},
      {Command::kExit, "Close", ToolGlyph::kClose},
      {Command::kFormLetterWizard, "Form Letter Wizard", ToolGlyph::kFormLetter},
  };
  for (const ToolButton& button : kButtons) {
    // The button shows its action's tooltip, so the hint lives on the action.
    QAction* action = Action(button.command);
    action->setToolTip(tr(button.hint));
    action->setIcon(ToolIcon(button.glyph));
    auto* tool = new QToolButton(bar);
    tool->setDefaultAction(action);
    bar->addWidget(tool);
  }
  // Captioned rather than drawn, so it is not tied to the menu item's text.
  auto* faq = new QToolButton(bar);
  faq->setText(tr("FAQ's"));
  faq->setToolTip(tr("Frequent Asked Questions"));
  connect(faq, &QToolButton::clicked, Action(Command::kFrequentQuestions), &QAction::trigger);
  bar->addWidget(faq);
}

QWidget* TMainForm::BuildLargeButtons() {
  auto* panel = new QWidget(Background_);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  struct LargeButton {
    const char* caption;
    Command command;
  };
  static const LargeButton kButtons[] = {{"&Customers", Command::kCustomerManager},
                                         {"&Products", Command::kProductManager},
                                         {"&Invoices", Command::kInvoiceManager},
                                         {"Pay&ments", Command::kPaymentWizard},
                                         {"&Reports", Command::kReportWizard}};
  for (const LargeButton& large : kButtons) {
    auto* button = new QPushButton(tr(large.caption), panel);
    button->setMinimumSize(180, 44);
    QFont font = button->font();
    font.setPointSize(font.pointSize() + 3);
    font.setBold(true);
    button->setFont(font);
    QAction* action = Action(large.command);
    button->setEnabled(action->isEnabled());
    connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    column->addWidget(button);
  }
  column->addStretch();
  return panel;
}

void TMainForm::BuildCentralArea() {
  Background_ = new TBackground(this);
  Background_->setAutoFillBackground(true);
  CompanyLabel_ = new QLabel(Background_);
  ButtonPanel_ = BuildLargeButtons();
  AgingChart_ = new TAgingChart(services_.help, Background_);
  AgingChart_->hide();
  connect(AgingChart_, &TAgingChart::statusChanged, this, &TMainForm::SetStatus);
  connect(AgingChart_, &TAgingChart::asOfRequested, this, &TMainForm::AgingChartAsOfClick);
  BackupPanel_ = new TBackupPanel(*runDialogs_, services_.help, Background_);
  BackupPanel_->hide();
  connect(BackupPanel_, &TBackupPanel::statusChanged, this, &TMainForm::SetStatus);

  // Below the caption by a tenth of its height; the chart to the right of the buttons.
  auto* layout = new QVBoxLayout(Background_);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->addWidget(CompanyLabel_);
  layout->addSpacing(CompanyLabel_->sizeHint().height() / 10);
  auto* panels = new QHBoxLayout;
  panels->addWidget(ButtonPanel_, 0, Qt::AlignTop);
  panels->addSpacing(24);
  panels->addWidget(AgingChart_, 0, Qt::AlignTop);
  panels->addWidget(BackupPanel_, 0, Qt::AlignTop);
  panels->addStretch();
  layout->addLayout(panels, 1);
  setCentralWidget(Background_);
}

void TMainForm::BuildStatusBar() {
  ClockPanel_ = new QLabel(this);
  ClockPanel_->setMinimumWidth(320);
  StatePanel_ = new QLabel(tr("Ready."), this);
  statusBar()->addWidget(ClockPanel_);
  statusBar()->addWidget(StatePanel_, 1);
  ClockTimer_ = new QTimer(this);
  connect(ClockTimer_, &QTimer::timeout, this, &TMainForm::ClockTimerTimer);
  ClockTimer_->start(kClockTickMs);
  ClockTimerTimer();
}

bool TMainForm::LoadCompany() {
  const StartResult result = LoadStartingCompany(Logic());
  if (result.state == StartState::kNoDataFiles) return false;
  engineStarted_ = result.state != StartState::kEngineStopped;
  ApplyCompanySettings(result);
  // Maximised by the window manager, which keeps the title bar on the screen (placing
  // the window itself at the screen's corner put the frame above its top). The size
  // of the screen serves a desktop without a window manager, where nothing maximises.
  if (QScreen* screen = QApplication::primaryScreen()) resize(screen->availableGeometry().size());
  setWindowState(windowState() | Qt::WindowMaximized);
  return true;
}

void TMainForm::ApplyCompanySettings(const StartResult& result) {
  const model::CompanyRecord& company = services_.session.CurrentCompany;
  ApplyHints(company.ShowHints);
  QString caption = ToQString(company.CompanyName.str());
  QFont captionFont = font();
  QPalette palette = this->palette();
  if (result.companySetUp) {
    caption += "\n     Number: " + ToQString(company.CompanyNo.str());
    captionFont = FontOf(company.ScreenFont, font());
    palette.setColor(QPalette::WindowText, ColorOf(company.ScreenFont.Color));
  }
  CompanyLabel_->setFont(captionFont);
  CompanyLabel_->setPalette(palette);
  CompanyLabel_->setText(caption);
  Background_->SetPicture(result.backgroundFile.empty() ? QPixmap() : QPixmap(ToQString(result.backgroundFile)));
}

// Hints are tooltips; with hints off the whole window swallows tooltip events.
void TMainForm::ApplyHints(bool show) {
  hintsShown_ = show;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && !hintsShown_) return true;
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  QTimer::singleShot(0, this, &TMainForm::FormShow);
}

void TMainForm::FormShow() {
  if (!CheckPassword(services_.dialogs)) {
    emit programMustEnd();
    return;
  }
  if (engineStarted_ && AgingDueToday(services_.session)) RunAgingAndShow(false);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (services_.labelQueue.Pending() && !services_.dialogs.confirm("Please Confirm", kLabelsQuestion)) {
    event->ignore();
    return;
  }
  ClockTimer_->stop();
  if (engineStarted_) services_.engine.ExitEngine();
  engineStarted_ = false;
  event->accept();
  // The program ends with its main window; a window still open (help, say) would
  // keep it running unseen, holding the data folder.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible()) window->close();
  }
}

void TMainForm::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TMainForm::SetStatus(const QString& text) { StatePanel_->setText(text); }

// Running texts end in "...", finished ones ("Ready.", "3 records were removed.") do not.
void TMainForm::ClearRunningStatus() {
  if (StatePanel_ != nullptr && StatePanel_->text().endsWith("...")) StatePanel_->clear();
}

void TMainForm::ReportPrintout(const platform::PageCanvas& canvas) {
  SetStatus(platform::qt::PrintoutStatus(true, canvas));
}
QString TMainForm::StatusText() const { return StatePanel_->text(); }
QString TMainForm::ClockPanelText() const { return ClockPanel_->text(); }
QString TMainForm::CompanyCaption() const { return CompanyLabel_->text(); }
bool TMainForm::BackgroundShown() const { return Background_->HasPicture(); }

void TMainForm::ClockTimerTimer() { ClockPanel_->setText(ToQString(model::ClockText(services_.clock))); }

void TMainForm::PrepareForWindow() {
  AgingChart_->hide();
  SetStatus(tr("Ready."));
}

void TMainForm::SetOpener(Command command, std::function<void()> open) {
  QAction* action = Action(command);
  connect(action, &QAction::triggered, this, [this, open = std::move(open)] {
    PrepareForWindow();
    open();
  });
  action->setEnabled(true);
}

template <class Manager>
int TMainForm::RunManager(Manager& manager) {
  PrepareForWindow();
  connect(&manager, &Manager::programMustEnd, this, &TMainForm::programMustEnd);
  return manager.exec();
}

void TMainForm::CompanyManagerClick() {
  TCoManager manager(services_, this);
  const int result = RunManager(manager);
  if (result == QDialog::Accepted) {
    ApplyCompanySettings(MakeCompanyCurrent(Logic(), manager.ChosenCompany()));
  } else if (manager.CurrentCompanyEdited()) {
    ApplyCompanySettings(ReloadCurrentCompany(Logic()));
  }
}

void TMainForm::CustomerManagerClick() {
  TCustManager manager(services_, this);
  connect(&manager, &TCustManager::statusMessage, this, &TMainForm::SetStatus);
  RunManager(manager);
}

void TMainForm::ProductManagerClick() {
  TProdManager manager(services_, this);
  RunManager(manager);
}

void TMainForm::CheckBooksClick() {
  PrepareForWindow();
  TBooksCheck(services_, this).exec();
}

void TMainForm::DeletePaidInvoicesClick() {
  PrepareForWindow();
  DeletePaidInvoices(Logic(), [this]() {
    return TDateSel::SelectDate(services_.session, services_.help, *this, tr("Date Selection"),
                                tr("Delete Date Selection"), model::TodayOf(services_.clock));
  });
}

void TMainForm::PasswordSetupClick() {
  PrepareForWindow();
  PasswordSetup(services_.dialogs);
}

void TMainForm::BackupDataFilesClick() { BackupPanel_->Start(); }

void TMainForm::RebuildDataFilesClick() {
  PrepareForWindow();
  RebuildDataFiles(Logic());
}

void TMainForm::PrinterSetupClick() {
  QPrintDialog dialog(&services_.printer, this);
  dialog.exec();
}

void TMainForm::EditPaymentTermsClick() {
  PrepareForWindow();
  TTermsEdit editor(services_.dialogs, this);
  editor.exec();
}

void TMainForm::ExitClick() { close(); }

void TMainForm::AgingChartClick() {
  if (!AgingChartCommandAllowed(services_.session.CurrentCompany, AgingChart_->isVisible(), services_.dialogs)) {
    return;
  }
  RunAgingAndShow(true);
}

files::Services TMainForm::Logic() const {
  return {services_.engine, *runDialogs_,      *ProgressWindow_,
          services_.clock,  services_.session, services_.showStatus};
}

// The aging as it stood at the end of a day the user picks; nothing is written.
void TMainForm::AgingChartAsOfClick() {
  const std::optional<std::string> chosen =
      TDateSel::SelectDate(services_.session, services_.help, *this, tr("Aging As Of"), tr("Aging As Of Date"),
                           model::TodayOf(services_.clock));
  if (!chosen) return;
  const std::optional<model::Date> day = model::ParseDisplayDate(*chosen, services_.session.DateOrder());
  if (!day) return;
  const platform::qt::WaitCursor hourglass;
  if (const std::optional<books::CompanyAgingAsOf> aging = books::AgeCompanyAsOf(Logic(), *day)) {
    AgingChart_->ShowTotals(aging->totals, QString::fromStdString(*chosen));
  }
}

void TMainForm::RunAgingAndShow(bool forceChart) {
  const books::AgingResult result = books::RunAging(Logic(), forceChart);
  if (result.showChart) AgingChart_->ShowTotals(result.totals);
}

void TMainForm::CalculatorClick() {
  if (!services_.launcher.StartCalculator()) {
    services_.dialogs.inform(kProgramCaption, "Calculator not found.", platform::Icon::kWarning);
  }
}

void TMainForm::ViewCalendarClick() {
  PrepareForWindow();
  TDateSel::ViewCalendar(services_.session, services_.clock, services_.help, this);
}

void TMainForm::HelpTopicsClick() { services_.help.ShowContents(); }
void TMainForm::HowToUseHelpClick() { services_.help.ShowTopic("How to use Help"); }
void TMainForm::FrequentQuestionsClick() { services_.help.ShowTopic("Frequent Asked Questions"); }

void TMainForm::AboutClick() {
  TAboutBox about(this);
  about.exec();
}

}  // namespace shell::ui
