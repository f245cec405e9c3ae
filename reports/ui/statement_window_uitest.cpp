#include "reports/ui/statement_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "engine/ui/fvc_browser.h"
#include "files/testing/company_folder.h"
#include "reports/ui/statement_selection.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/testing/window_fixture.h"

namespace reports::ui {
namespace {

class StatementWindowTest : public shell::testing::WindowFixture {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    session_.CurrentCompany = files::testing::NamedCompany("Harbor Supply");
    session_.CurrentCompany.CompanyNo = "1";
    customer_ = files::testing::ClearCustomer("10", "Customer 10");
    customer_.BillAddr1 = "1 Harbor Road";
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    ASSERT_TRUE(transactions.Create() && transactions.Open());
    Add(transactions, "1001", "I", "2026/10/01", "1250.00", "0.00", "1250.00");
    Add(transactions, "1002", "I", "2026/09/01", "40.00", "40.00", "0.00");
  }

  static void Add(files::KeyedFile& file, std::string_view number, std::string_view type, std::string_view date,
                  std::string_view total, std::string_view paid, std::string_view balance) {
    model::TransactionRecord record{};
    record.InvoiceNo = number;
    record.TransType = type;
    record.CustNo = "10";
    record.SortDate = date;
    record.TotalAmount = total;
    record.PaidAmount = paid;
    record.BalanceDue = balance;
    files::RecordNumber added = 0;
    ASSERT_TRUE(file.Add(record, added));
  }

  model::CustomerRecord customer_{};
};

// The statement PDFs the print jobs left in the data folder.
QStringList StatementPrintouts() {
  return QDir("Printouts").entryList({"Statement*.pdf"}, QDir::Files, QDir::Name);
}

TEST_F(StatementWindowTest, ShowsTheActivityAndSwitchesToUnpaidOnly) {
  TStment window(services_);
  ASSERT_TRUE(window.Load(customer_));
  window.show();
  EXPECT_EQ(window.windowTitle(), "Customer Statement");
  EXPECT_EQ(window.HeaderTexts().mid(0, 2), (QStringList{"Customer 10", "1 Harbor Road"}));
  QTableWidget* grid = window.SGrid();
  ASSERT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->item(0, kInvoiceColumn)->text(), "1002");
  EXPECT_EQ(grid->item(2, kReferenceColumn)->text(), "*** Account Totals:");
  EXPECT_EQ(grid->item(2, kTotalColumn)->text(), "1,290.00");
  EXPECT_EQ(window.StatusBar()->currentMessage(), "There are 2 records selected.");

  window.CheckBox1()->click();
  ASSERT_EQ(grid->rowCount(), 2);
  EXPECT_EQ(grid->item(0, kInvoiceColumn)->text(), "1001");
  EXPECT_EQ(window.StatusBar()->currentMessage(), "There are 1 records selected.");

  window.SpeedButton3()->click();
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"ViewStatement"}));
}

TEST_F(StatementWindowTest, PrintButtonPrintsTheStatementAndTakesTheHourglassBack) {
  TStment window(services_);
  ASSERT_TRUE(window.Load(customer_));
  window.show();
  window.PrinStButn()->click();
  EXPECT_EQ(window.StatusBar()->currentMessage(), "Statement for Customer 10 sent to print queue.");
  EXPECT_EQ(StatementPrintouts(), QStringList{"Statement.pdf"});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(StatementWindowTest, CustomerWithoutActivityIsToldAndGetsNoWindow) {
  TStment window(services_);
  EXPECT_FALSE(window.Load(files::testing::ClearCustomer("20", "Customer 20")));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Customer: Customer 20");
}

TEST_F(StatementWindowTest, SelectionStartsOnNonZeroBalancesAndUnpaidOnly) {
  TSelStmnt selection(help_);
  EXPECT_EQ(selection.windowTitle(), "Statement Selection");
  EXPECT_EQ(selection.Choice().balances, BalanceSelection::kAllNonZero);
  EXPECT_EQ(selection.Choice().detail, Activity::kUnpaidOnly);
  selection.RBover60()->setChecked(true);
  selection.RBActAll()->setChecked(true);
  EXPECT_EQ(selection.Choice().balances, BalanceSelection::kOver60);
  EXPECT_EQ(selection.Choice().detail, Activity::kAll);
  selection.HelpButton()->click();
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"GetStatement"}));
}

// The customer manager with the statement commands handed in as the program does.
class StatementCommandsTest : public StatementWindowTest {
 protected:
  void SetUp() override {
    StatementWindowTest::SetUp();
    files::testing::WriteCompanyFolder(session_.CurrentCompany, session_.CurrentCompany);
    customer_.Balance = "1250.00";
    model::CustomerRecord owingWithoutActivity = files::testing::ClearCustomer("30", "Customer 30");
    owingWithoutActivity.Balance = "5.00";
    FileCustomers({customer_, files::testing::ClearCustomer("20", "Customer 20"), owingWithoutActivity});
    ConnectStatementCommands(services_);
    manager_ = std::make_unique<shell::ui::TCustManager>(services_);
    manager_->show();
    QApplication::processEvents();
    manager_->ByNameItem()->trigger();
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  void FileCustomers(std::initializer_list<model::CustomerRecord> customers) {
    files::KeyedFile file = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(file.Create() && file.Open());
    for (const model::CustomerRecord& customer : customers) {
      files::RecordNumber added = 0;
      ASSERT_TRUE(file.Add(customer, added));
    }
  }
  // Runs `step` on the modal window the next command opens; the manager owns the
  // timer, so a window that never opens leaves no step behind for a later test.
  void WhenModalShows(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, manager_.get(), [step = std::move(step)] { step(QApplication::activeModalWidget()); });
  }
  void NextRow() {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(manager_->Frame()->Browser(), &down);
  }
  // The header texts of the statement window the command opened, which is closed then.
  QStringList StatementShownBy(QAction* command) {
    QStringList shown;
    WhenModalShows([&shown](QWidget* modal) {
      auto* window = qobject_cast<TStment*>(modal);
      ASSERT_NE(window, nullptr);
      shown = window->HeaderTexts();
      window->SpeedButton2()->click();
    });
    command->trigger();
    QApplication::processEvents();  // a step left over when no window opened runs now
    return shown;
  }

  std::unique_ptr<shell::ui::TCustManager> manager_;
};

TEST_F(StatementCommandsTest, ViewPrintAndThePopUpsStatementOpenTheCurrentCustomersStatement) {
  EXPECT_TRUE(manager_->PopupMenu()->actions().contains(manager_->StatementItem()));
  EXPECT_EQ(manager_->StatementItem()->text(), "&Statement");
  for (QAction* command : {manager_->ViewPrintItem(), manager_->StatementItem()}) {
    ASSERT_TRUE(command->isEnabled());
    const QStringList shown = StatementShownBy(command);
    EXPECT_EQ(shown.value(0), "Customer 10") << command->text().toStdString();
    EXPECT_EQ(shown.value(5), "10") << command->text().toStdString();
  }
  NextRow();
  manager_->StatementItem()->trigger();
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Customer: Customer 20");
  EXPECT_EQ(dialogs_.Log()[0].text, "There is no activity for this customer.");
}

TEST_F(StatementCommandsTest, BatchPrintPrintsOneStatementForEachSelectedCustomer) {
  ASSERT_TRUE(manager_->BatchPrintItem()->isEnabled());
  WhenModalShows([](QWidget* modal) {
    auto* selection = qobject_cast<TSelStmnt*>(modal);
    ASSERT_NE(selection, nullptr);
    selection->OkButton()->click();
  });
  dialogs_.Answer(platform::Answer::kYes);
  manager_->BatchPrintItem()->trigger();
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_NE(dialogs_.Log()[0].text.find("There are 2 statement(s) to be printed."), std::string::npos);
  EXPECT_EQ(manager_->Frame()->Message(), "Batch printing complete.");
  EXPECT_EQ(StatementPrintouts(), (QStringList{"Statement (2).pdf", "Statement.pdf"}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(StatementCommandsTest, CancelledSelectionPrintsNothing) {
  WhenModalShows([](QWidget* modal) {
    auto* selection = qobject_cast<TSelStmnt*>(modal);
    ASSERT_NE(selection, nullptr);
    selection->CancelButton()->click();
  });
  manager_->BatchPrintItem()->trigger();
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_TRUE(StatementPrintouts().isEmpty());
  EXPECT_EQ(manager_->Frame()->Message(), "");
}

}  // namespace
}  // namespace reports::ui
