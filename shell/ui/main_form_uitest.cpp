#include "shell/ui/main_form.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/testing/company_folder.h"
#include "model/company_defaults.h"
#include "model/side_files.h"
#include "platform/qt/help_window.h"
#include "platform/qt/printer_canvas.h"
#include "platform/testing/fake_desktop.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/ui/backup_panel.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/testing/window_fixture.h"

namespace shell::ui {
namespace {



class MainFormTest : public shell::testing::WindowFixture {
 protected:
  // A data folder whose company list and "LastCo.Dat" hold `company`, with a background.
  void MakeDataFolder(const model::CompanyRecord& company) {
    files::testing::WriteCompanyFolder(company, company);
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::lightGray);
    ASSERT_TRUE(tile.save("vtt8.bmp"));
  }

  std::unique_ptr<TMainForm> MakeForm() {
    return std::make_unique<TMainForm>(services_);
  }
  // Shows the form and lets its first-show work run.
  void ShowAndSettle(TMainForm& form) {
    form.show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }

};

using files::testing::NamedCompany;

TEST_F(MainFormTest, MissingDataFilesEndTheProgramBeforeAnyWindow) {
  auto form = MakeForm();
  EXPECT_FALSE(form->LoadCompany());
  EXPECT_EQ(dialogs_.Log().at(0).caption, "VT Quillary PRO");
  EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, ShowsCaptionClockCompanyAndBackground) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  ShowAndSettle(*form);
  EXPECT_EQ(form->windowTitle(), "VT Quillary PRO");
  EXPECT_EQ(form->CompanyCaption(), "Harbor Supply\n     Number: 1");
  EXPECT_EQ(form->ClockPanelText(), "Tuesday, December 8, 2026, 02:05 PM");
  EXPECT_EQ(form->StatusText(), "Ready.");
  EXPECT_TRUE(form->BackgroundShown());
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(MainFormTest, OpensMaximised) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  ShowAndSettle(*form);
  EXPECT_TRUE(form->isMaximized());
}

TEST_F(MainFormTest, CompanyWithoutANameAsksToBeSetUp) {
  MakeDataFolder(NamedCompany(""));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  EXPECT_EQ(form->CompanyCaption(), "Please Setup Your Company.");
  EXPECT_FALSE(form->BackgroundShown());
}

TEST_F(MainFormTest, WrongPasswordEndsTheProgram) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  ASSERT_TRUE(model::WritePassword("Secret"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  bool refused = false;
  QObject::connect(form.get(), &TMainForm::programMustEnd, [&refused] { refused = true; });
  dialogs_.Type("wrong");
  ShowAndSettle(*form);
  EXPECT_TRUE(refused);
  EXPECT_EQ(dialogs_.Log().back().text, "You did not enter the correct password.");
}

TEST_F(MainFormTest, AgingRunsOnTheFirstShowOfADayOnly) {
  model::CompanyRecord company = NamedCompany("Harbor Supply");
  company.TotalAR = "10.00";
  MakeDataFolder(company);
  {
    platform::SilentProgress progress;
    engine::Engine engine;
    engine.InitEngine(30);
    for (auto file : {files::CompanyFile::kCustomers, files::CompanyFile::kTransactions}) {
      files::KeyedFile keyed(engine, dialogs_, progress, files::DescribeFile(file, "1"));
      ASSERT_TRUE(keyed.Create());
    }
  }
  {
    auto form = MakeForm();
    ASSERT_TRUE(form->LoadCompany());
    ShowAndSettle(*form);
    EXPECT_EQ(session_.CurrentCompany.LastAgingDate.str(), "12/08/2026");
    form->close();
  }
  model::CompanyRecord last{};
  ASSERT_TRUE(model::ReadLastCompany(last));
  EXPECT_EQ(last.LastAgingDate.str(), "12/08/2026");

  session_ = {};
  auto again = MakeForm();
  ASSERT_TRUE(again->LoadCompany());
  EXPECT_FALSE(AgingDueToday(session_));
}

TEST_F(MainFormTest, CommandsOfLaterWindowsArePresentButDisabled) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  EXPECT_FALSE(form->Action(Command::kPaymentWizard)->isEnabled());
  EXPECT_EQ(form->Action(Command::kInvoiceManager)->text(), "&Invoice Manager...");
  EXPECT_TRUE(form->Action(Command::kAgingChart)->isEnabled());
  EXPECT_EQ(form->Action(Command::kReportWizard)->text(), "&Report  Wizard...");
}

TEST_F(MainFormTest, AnOpenerHandedInEnablesItsCommandAndRunsOnIt) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  int opened = 0;
  form->SetOpener(Command::kInvoiceManager, [&opened] { ++opened; });
  ASSERT_TRUE(form->Action(Command::kInvoiceManager)->isEnabled());
  form->Action(Command::kInvoiceManager)->trigger();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(form->StatusText(), "Ready.");
}

TEST_F(MainFormTest, ToolButtonsCarryTheirHints) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  QStringList hints;
  for (QToolButton* tool : form->findChildren<QToolButton*>()) {
    if (!tool->toolTip().isEmpty()) hints << tool->toolTip();
  }
  for (const char* hint : {"Companies/System Options", "Password Setup", "View Calendar", "Calculator",
                           "Interest Wizard", "Label Wizard", "Repeat Billing Wizard", "Aging Chart", "Backup Files",
                           "Help", "Printer Setup", "Close", "Form Letter Wizard"}) {
    EXPECT_TRUE(hints.contains(hint)) << hint;
  }
}

TEST_F(MainFormTest, AgingChartRefusesWithoutOpenInvoicesAndCalculatorSaysWhenMissing) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  form->Action(Command::kAgingChart)->trigger();
  form->Action(Command::kCalculator)->trigger();
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"You do not have any open invoices.", "Calculator not found."}));
  form->Action(Command::kFrequentQuestions)->trigger();
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"Frequent Asked Questions"}));
}

TEST_F(MainFormTest, PendingLabelsAreAskedAboutBeforeClosing) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  ShowAndSettle(*form);
  labelQueue_.Add({"1001", {"Harbor Lights"}});
  dialogs_.Answer(platform::Answer::kNo);
  EXPECT_FALSE(form->close());
  dialogs_.Answer(platform::Answer::kYes);
  EXPECT_TRUE(form->close());
}

TEST_F(MainFormTest, ExitWithHelpOpenEndsTheProgram) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  platform::qt::THelpWindow help;
  QTimer::singleShot(0, form.get(), [&] {
    form->show();
    help.ShowTopic("CustomerManager");
    form->Action(Command::kExit)->trigger();
  });
  bool stillRunning = false;
  QTimer giveUp;
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [&stillRunning] {
    stillRunning = true;
    QApplication::exit(1);
  });
  giveUp.start(5000);
  QApplication::exec();
  EXPECT_FALSE(stillRunning);
  EXPECT_FALSE(help.isVisible());
}

TEST_F(MainFormTest, StaleRunningTextsAreClearedWhenTheRunEnds) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  std::map<std::string, std::string> statusUnder;  // message → status panel 1 while it showed
  dialogs_.onMessage = [&](const platform::testing::LoggedMessage& message) {
    statusUnder[message.text] = form->StatusText().toStdString();
  };

  engine::testing::TempDir target;
  form->Action(Command::kBackupDataFiles)->trigger();
  auto* backup = form->findChild<TBackupPanel*>();
  backup->AddTarget(QString::fromStdString(target.path().string()));
  dialogs_.Answer(platform::Answer::kOk);
  backup->BackupButton()->click();
  EXPECT_EQ(statusUnder.at("Backup complete. 3 files were copied."), "");
  EXPECT_EQ(form->StatusText(), "Ready.");

  QTimer::singleShot(0, [] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* dateSel = qobject_cast<TDateSel*>(window); dateSel != nullptr && dateSel->isVisible()) {
        dateSel->OKButton()->click();
      }
    }
  });
  // The two questions of the purge, and the notice that the company's invoice file is new.
  dialogs_.Answer(platform::Answer::kYes).Answer(platform::Answer::kYes).Answer(platform::Answer::kOk);
  form->Action(Command::kDeletePaidInvoices)->trigger();
  EXPECT_EQ(statusUnder.at("0 paid records older than 12/08/2026 were removed."), "");
  EXPECT_EQ(form->StatusText(), "0 records were removed.");
  EXPECT_TRUE(dialogs_.AllAnswersUsed());
}

TEST_F(MainFormTest, RebuildDataFilesRunsFromTheToolsMenu) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  ASSERT_TRUE(form->Action(Command::kRebuildDataFiles)->isEnabled());
  form->Action(Command::kRebuildDataFiles)->trigger();
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"The data files have been rebuilt."}));
  EXPECT_EQ(dialogs_.Log().back().caption, "Rebuild Complete");
}

TEST_F(MainFormTest, StatusBarTellsWhereAPrintoutWent) {
  MakeDataFolder(NamedCompany("Harbor Supply"));
  auto form = MakeForm();
  ASSERT_TRUE(form->LoadCompany());
  platform::qt::PrinterCanvas canvas(nullptr, platform::qt::PrintDestination::kPdf);
  ASSERT_TRUE(canvas.BeginDocument("Company List", platform::Orientation::kPortrait));
  canvas.DrawText(100, 100, "Harbor Supply");
  ASSERT_TRUE(canvas.EndDocument());
  form->ReportPrintout(canvas);
  EXPECT_TRUE(form->StatusText().startsWith("Printed to /")) << form->StatusText().toStdString();
  EXPECT_TRUE(form->StatusText().endsWith("/Printouts/Company List.pdf"));
}

}  // namespace
}  // namespace shell::ui
