#include "reports/ui/statement_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>

#include "files/testing/company_folder.h"
#include "reports/ui/statement_selection.h"
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

}  // namespace
}  // namespace reports::ui
