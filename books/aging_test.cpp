#include "books/aging.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "model/company_defaults.h"
#include "model/field_values.h"
#include "model/side_files.h"
#include "platform/testing/scripted_dialogs.h"

namespace books {
namespace {

using platform::testing::RecordingProgress;
using platform::testing::ScriptedDialogs;

constexpr model::Date kToday{2026, 12, 8};

class AgingTest : public ::testing::Test {
 protected:
  AgingTest() {
    engine_.InitEngine(30);
    session_.CurrentCompany = model::StarterCompany();
    session_.CurrentCompany.CompanyNo = "1";
    session_.CurrentCompany.TotalAR = "100.00";
    session_.CurrentCompany.LastAgingDate = "12/01/2026";
    session_.CurrentCompany.ShowAgingChart = false;
    customers_.Create();
    transactions_.Create();
    list_.Create();
    EXPECT_TRUE(customers_.Open() && transactions_.Open() && list_.Open());
    engine::RecordNumber added = 0;
    EXPECT_TRUE(list_.Add(session_.CurrentCompany, added));
  }

  engine::RecordNumber AddCustomer(std::string_view custNo, std::string_view balance) {
    model::CustomerRecord customer{};
    customer.CustNo = custNo;
    customer.CustName = "Customer " + std::string(custNo);
    customer.Balance = balance;
    customer.AgeCurrent = "11.11";
    engine::RecordNumber added = 0;
    EXPECT_TRUE(customers_.Add(customer, added));
    return added;
  }

  void AddTransaction(std::string_view custNo, int daysAgo, std::string_view balanceDue) {
    model::TransactionRecord transaction{};
    transaction.InvoiceNo = std::to_string(++invoices_);
    transaction.CustNo = custNo;
    transaction.TransDate = model::FormatDisplayDate(model::AddDays(kToday, -daysAgo), session_.DateOrder());
    EXPECT_TRUE(model::SplitTransactionDate(transaction, session_.DateOrder()));
    transaction.BalanceDue = balanceDue;
    engine::RecordNumber added = 0;
    EXPECT_TRUE(transactions_.Add(transaction, added));
  }

  model::CustomerRecord Customer(engine::RecordNumber number) {
    model::CustomerRecord customer{};
    engine_.GetRecord(customers_.Block(), number, engine::RecordBytes(customer));
    return customer;
  }

  model::CompanyRecord CompanyOnList() {
    model::CompanyRecord company{};
    engine_.GetRecord(list_.Block(), 1, engine::RecordBytes(company));
    return company;
  }

  AgingResult Run(bool forceChart) {
    customers_.Close();
    transactions_.Close();
    list_.Close();
    const files::Services services{engine_, dialogs_, progress_, clock_, session_,
                                   [this](std::string_view text) { statuses_.emplace_back(text); }};
    AgingResult result = RunAging(services, forceChart);
    EXPECT_TRUE(customers_.Open() && transactions_.Open() && list_.Open());
    return result;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  RecordingProgress progress_;
  platform::FixedClock clock_{{kToday.year, kToday.month, kToday.day, 9, 30, 0}};
  model::CompanySession session_;
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
  files::KeyedFile transactions_{engine_, dialogs_, progress_,
                                  files::DescribeFile(files::CompanyFile::kTransactions, "1")};
  files::KeyedFile list_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCompanyList)};
  std::vector<std::string> statuses_;
  int invoices_ = 0;
};

struct AgeCase {
  int daysAgo;
  const char* current;
  const char* days31to60;
  const char* days61to90;
  const char* over90;
};

AgingTotals Totals(std::array<std::string_view, kAgingBucketCount> amounts) {
  AgingTotals totals;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) totals.amounts[i] = model::ParseMoney(amounts[i]).value();
  return totals;
}

TEST_F(AgingTest, EachAgeLandsInItsBucket) {
  const std::vector<AgeCase> cases = {
      {-3, "10.00", "0.00", "0.00", "0.00"}, {0, "10.00", "0.00", "0.00", "0.00"},
      {30, "10.00", "0.00", "0.00", "0.00"}, {31, "0.00", "10.00", "0.00", "0.00"},
      {60, "0.00", "10.00", "0.00", "0.00"}, {61, "0.00", "0.00", "10.00", "0.00"},
      {90, "0.00", "0.00", "10.00", "0.00"}, {91, "0.00", "0.00", "0.00", "10.00"},
  };
  std::vector<engine::RecordNumber> numbers;
  for (const AgeCase& c : cases) {
    const std::string custNo = "D" + std::to_string(c.daysAgo);
    numbers.push_back(AddCustomer(custNo, "10.00"));
    AddTransaction(custNo, c.daysAgo, "10.00");
  }
  Run(false);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("days ago: " + std::to_string(cases[i].daysAgo));
    const model::CustomerRecord customer = Customer(numbers[i]);
    EXPECT_EQ(customer.AgeCurrent.str(), cases[i].current);
    EXPECT_EQ(customer.Age31to60.str(), cases[i].days31to60);
    EXPECT_EQ(customer.Age61to90.str(), cases[i].days61to90);
    EXPECT_EQ(customer.AgeOver90.str(), cases[i].over90);
  }
}

TEST(AgingBuckets, TransactionDateThatIsNoDateFallsBackToSortDateThenCurrent) {
  model::TransactionRecord transaction{};
  transaction.TransDate = "13/45/2026";
  transaction.SortDate = "2026/08/01";
  EXPECT_EQ(BucketOfTransaction(transaction, kToday, model::DateOrder::kMonthFirst), AgingBucket::kOver90);
  transaction.SortDate = "";
  EXPECT_EQ(BucketOfTransaction(transaction, kToday, model::DateOrder::kMonthFirst), AgingBucket::kCurrent);
}

TEST_F(AgingTest, CreditReducesTheBucketOfItsAge) {
  const engine::RecordNumber number = AddCustomer("C1", "70.00");
  AddTransaction("C1", 10, "100.00");
  AddTransaction("C1", 5, "-30.00");
  AddTransaction("C1", 45, "-20.00");
  Run(false);
  const model::CustomerRecord customer = Customer(number);
  EXPECT_EQ(customer.AgeCurrent.str(), "70.00");
  EXPECT_EQ(customer.Age31to60.str(), "-20.00");
  EXPECT_EQ(customer.Balance.str(), "50.00");
}

TEST_F(AgingTest, CustomerWithZeroBalanceKeepsItsAgingThoughItHasOpenTransactions) {
  const engine::RecordNumber number = AddCustomer("C1", "0.00");
  AddTransaction("C1", 10, "100.00");
  const model::CustomerRecord before = Customer(number);
  const AgingResult result = Run(false);
  const model::CustomerRecord after = Customer(number);
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  EXPECT_EQ(result.totals.Grand(), model::Money());
}

TEST_F(AgingTest, BalanceIsRewrittenFromTheCustomersOwnTransactionsOnly) {
  const engine::RecordNumber first = AddCustomer("A1", "999.00");
  const engine::RecordNumber second = AddCustomer("A10", "1.00");
  AddTransaction("a1 ", 10, "12.50");
  AddTransaction("A1", 75, "7.25");
  AddTransaction("A1", 20, "0.00");
  AddTransaction("A10", 100, "40.00");
  AddTransaction("A2", 100, "1000.00");
  const AgingResult result = Run(false);

  const model::CustomerRecord customer = Customer(first);
  EXPECT_EQ(customer.AgeCurrent.str(), "12.50");
  EXPECT_EQ(customer.Age61to90.str(), "7.25");
  EXPECT_EQ(customer.Balance.str(), "19.75");
  EXPECT_EQ(customer.CustName.str(), "Customer A1");
  EXPECT_EQ(Customer(second).Balance.str(), "40.00");
  EXPECT_EQ(result.totals.amounts, Totals({"12.5", "0", "7.25", "40"}).amounts);
}

// The company is re-read from the list, so what another window stored there stays.
TEST_F(AgingTest, CompanyTotalAndDateGoToTheListTheLastCompanyFileAndTheSession) {
  model::CompanyRecord onList = session_.CurrentCompany;
  onList.CompanyName = "Renamed Elsewhere";
  onList.DateOrder = "D";
  EXPECT_TRUE(list_.Update(1, onList));
  session_.CurrentCompany.DateOrder = "D";
  AddCustomer("C1", "10.00");
  AddTransaction("C1", 10, "1234.50");
  Run(false);

  model::CompanyRecord last{};
  ASSERT_TRUE(model::ReadLastCompany(last));
  for (const model::CompanyRecord& company : {CompanyOnList(), session_.CurrentCompany}) {
    EXPECT_EQ(company.TotalAR.str(), "1234.50");
    EXPECT_EQ(company.LastAgingDate.str(), "08/12/2026");
    EXPECT_EQ(company.CompanyName.str(), "Renamed Elsewhere");
  }
  EXPECT_EQ(last.LastAgingDate.str(), "08/12/2026");
  EXPECT_EQ(statuses_, (std::vector<std::string>{"Calculating Aging Totals...", "Ready."}));
  EXPECT_EQ(progress_.title, "Aging");
  EXPECT_EQ(progress_.caption, "Calculating Aging...");
  EXPECT_EQ(progress_.ended, 1);
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(AgingTest, NothingHappensWhenTheCompanyOwesNothingAndTheChartWasNotAskedFor) {
  session_.CurrentCompany.TotalAR = "0.00";
  const engine::RecordNumber number = AddCustomer("C1", "10.00");
  AddTransaction("C1", 10, "10.00");
  const AgingResult result = Run(false);
  EXPECT_FALSE(result.ran);
  EXPECT_EQ(Customer(number).Balance.str(), "10.00");
  EXPECT_EQ(session_.CurrentCompany.LastAgingDate.str(), "12/01/2026");
  EXPECT_EQ(CompanyOnList().LastAgingDate.str(), "12/01/2026");
  EXPECT_FALSE(model::LastCompanyFileExists());
  EXPECT_TRUE(statuses_.empty());
  EXPECT_EQ(progress_.begun, 0);
}

TEST_F(AgingTest, NoChartForAGrandTotalOfZeroEvenWhenAskedFor) {
  AddCustomer("C1", "10.00");
  AddTransaction("C1", 10, "10.10");
  AddCustomer("C2", "-10.00");
  AddTransaction("C2", 40, "-10.10");
  const AgingResult result = Run(true);
  EXPECT_TRUE(result.ran);
  EXPECT_FALSE(result.showChart);
  EXPECT_EQ(CompanyOnList().TotalAR.str(), "0.00");
}

TEST_F(AgingTest, ChartFollowsTheCompanySettingOrTheRequest) {
  struct ChartCase {
    bool showAgingChart;
    bool forceChart;
    bool shown;
  };
  AddCustomer("C1", "10.00");
  AddTransaction("C1", 10, "10.00");
  for (const ChartCase c : {ChartCase{false, false, false}, ChartCase{true, false, true}, ChartCase{false, true, true},
                            ChartCase{true, true, true}}) {
    SCOPED_TRACE(std::to_string(c.showAgingChart) + " " + std::to_string(c.forceChart));
    session_.CurrentCompany.ShowAgingChart = c.showAgingChart;
    model::CompanyRecord onList = CompanyOnList();
    onList.ShowAgingChart = c.showAgingChart;
    EXPECT_TRUE(list_.Update(1, onList));
    EXPECT_EQ(Run(c.forceChart).showChart, c.shown);
  }
}

}  // namespace
}  // namespace books
