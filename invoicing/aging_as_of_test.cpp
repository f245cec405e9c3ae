// Aging as of past days over books that invoice entry and the payment wizard wrote:
// full payments kept on the invoice, partial payments, the rest of an invoice paid at
// entry in part, and a deposit offset against an invoice.
#include "books/aging_as_of.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "books/aging.h"
#include "invoicing/payments.h"
#include "invoicing/testing/books_fixture.h"

namespace invoicing {
namespace {

using testing::kToday;
using testing::M;

books::AgingTotals Totals(std::array<std::string_view, books::kAgingBucketCount> amounts) {
  books::AgingTotals totals;
  for (std::size_t i = 0; i < books::kAgingBucketCount; ++i) totals.amounts[i] = M(amounts[i]);
  return totals;
}

class AgingAsOfBooksTest : public testing::BooksFixture {
 protected:
  // The books, by days ago (today is 2026-12-08):
  //   customer 10
  //     1001  100 days  200.00; 50.00 paid 60 days ago, the last 150.00 20 days ago
  //     1002   70 days   80.00 with 30.00 paid at entry; the other 50.00 paid 40 days ago
  //     1003   45 days  120.00, paid in full 25 days ago
  //     DP     35 days  deposit of 40.00, offset against 1005 15 days ago
  //     1005   30 days   40.00
  //     1004   10 days   60.00, open
  //   customer 20
  //     2001   95 days  300.00; 100.00 paid 50 days ago
  //     2002    5 days   25.00, open
  void SetUp() override {
    BooksFixture::SetUp();
    AddInvoice("1001", 100, "200.00", "0.00", "10");
    AddInvoice("1002", 70, "80.00", "30.00", "10");
    AddInvoice("1003", 45, "120.00", "0.00", "10");
    AddInvoice("1005", 30, "40.00", "0.00", "10");
    AddInvoice("1004", 10, "60.00", "0.00", "10");
    AddInvoice("2001", 95, "300.00", "0.00", "20");
    AddInvoice("2002", 5, "25.00", "0.00", "20");

    PayPart("10", "1001", "50.00", 60);
    PayPart("20", "2001", "100.00", 50);
    PayRest("10", {"1002"}, "50.00", 40);
    PayDeposit("10", "40.00", 35);
    PayRest("10", {"1003"}, "120.00", 25);
    PayRest("10", {"1001"}, "150.00", 20);
    PayRest("10", {DepositNumber(), "1005"}, "0.00", 15);
    ASSERT_TRUE(dialogs_.Log().empty());
  }

  void AddInvoice(std::string_view number, int daysAgo, std::string_view total, std::string_view paid,
                  std::string_view customer) {
    ASSERT_TRUE(Add(Form(number, daysAgo, total, paid, customer)).added);
  }

  PaymentLists OpenLines(std::string_view customer) {
    return ListsForCustomer(transactions_, WithCustomer(customer), session_.DateOrder(), dialogs_);
  }

  void Post(std::string_view customer, std::string_view paid, std::vector<PaymentLine> lines, int daysAgo) {
    const Payment payment{std::string(customer), DateAgo(daysAgo), std::string(paid), "", std::move(lines)};
    ASSERT_EQ(PostPayment(services_, transactions_, payment).result, PostResult::kPosted);
  }

  static std::size_t IndexOf(const PaymentLists& lists, std::string_view number) {
    for (std::size_t i = 0; i < lists.open.size(); ++i) {
      if (lists.open[i].number == number) return i;
    }
    ADD_FAILURE() << "no open line " << number;
    return 0;
  }

  void PayPart(std::string_view customer, std::string_view number, std::string_view amount, int daysAgo) {
    PaymentLists lists = OpenLines(customer);
    TakePartialPayment(lists, IndexOf(lists, number), M(amount));
    Post(customer, amount, lists.posted, daysAgo);
  }

  // Posts the open lines of `numbers` whole.
  void PayRest(std::string_view customer, const std::vector<std::string>& numbers, std::string_view paid, int daysAgo) {
    const PaymentLists lists = OpenLines(customer);
    std::vector<PaymentLine> lines;
    for (const std::string& number : numbers) lines.push_back(lists.open[IndexOf(lists, number)]);
    Post(customer, paid, lines, daysAgo);
  }

  void PayDeposit(std::string_view customer, std::string_view amount, int daysAgo) {
    PaymentLists lists;
    AddDepositLine(lists, M(amount), DateAgo(daysAgo), session_.DateOrder());
    Post(customer, amount, lists.posted, daysAgo);
  }

  std::string DepositNumber() {
    for (const PaymentLine& line : OpenLines("10").open) {
      if (line.number.starts_with("DP")) return line.number;
    }
    ADD_FAILURE() << "no deposit on file";
    return {};
  }

  books::AgingTotals AsOf(std::string_view customer, int daysAgo) {
    const books::AsOf day{model::AddDays(kToday, -daysAgo), kToday};
    return books::AgeOfCustomerAsOf(transactions_, customer, day, session_.DateOrder()).value();
  }

  std::optional<books::CompanyAgingAsOf> CompanyAsOf(int daysAgo) {
    transactions_.Close();
    std::optional<books::CompanyAgingAsOf> aging = books::AgeCompanyAsOf(services_, model::AddDays(kToday, -daysAgo));
    EXPECT_TRUE(transactions_.Open());
    return aging;
  }
};

// Buckets: 0-30, 31-60, 61-90, over 90 days.
TEST_F(AgingAsOfBooksTest, SixtyFiveDaysAgoNothingWasPaidYet) {
  // 1002 is 5 days old: 80.00 - 30.00 at entry; 1001 is 35 days old.
  EXPECT_EQ(AsOf("10", 65).amounts, Totals({"50.00", "200.00", "0.00", "0.00"}).amounts);
  // 2001 is 30 days old.
  EXPECT_EQ(AsOf("20", 65).amounts, Totals({"300.00", "0.00", "0.00", "0.00"}).amounts);
}

TEST_F(AgingAsOfBooksTest, ThirtyDaysAgoPaymentsUpToThenCountAndTheDepositIsACredit) {
  // Current: 1003 120.00 (15 days) + DP -40.00 (5 days) + 1005 40.00 (0 days, dated that
  // very day) = 120.00. 61-90: 1001 200.00 - 50.00 = 150.00 (70 days). 1002 is paid.
  EXPECT_EQ(AsOf("10", 30).amounts, Totals({"120.00", "0.00", "150.00", "0.00"}).amounts);
  // 2001: 300.00 - 100.00, 65 days old.
  EXPECT_EQ(AsOf("20", 30).amounts, Totals({"0.00", "0.00", "200.00", "0.00"}).amounts);

  const books::CompanyAgingAsOf company = CompanyAsOf(30).value();
  ASSERT_EQ(company.customers.size(), 2u);
  EXPECT_EQ(company.customers[0].number + "|" + company.customers[0].name, "10|Customer 10");
  EXPECT_EQ(company.totals.amounts, Totals({"120.00", "0.00", "350.00", "0.00"}).amounts);
}

TEST_F(AgingAsOfBooksTest, TwelveDaysAgoCustomer10OwedNothing) {
  // 1001, 1003, the deposit and 1005 were settled by then; 1004 came 2 days later.
  EXPECT_EQ(AsOf("10", 12).amounts, Totals({"0.00", "0.00", "0.00", "0.00"}).amounts);
  // 2001 is 83 days old; 2002 was not yet on file.
  EXPECT_EQ(AsOf("20", 12).amounts, Totals({"0.00", "0.00", "200.00", "0.00"}).amounts);

  const books::CompanyAgingAsOf company = CompanyAsOf(12).value();
  ASSERT_EQ(company.customers.size(), 1u);
  EXPECT_EQ(company.customers[0].number, "20");
}

TEST_F(AgingAsOfBooksTest, TodayGivesTheAgingRun) {
  for (std::string_view customer : {"10", "20"}) {
    SCOPED_TRACE(customer);
    EXPECT_EQ(AsOf(customer, 0).amounts,
              books::AgeOfCustomer(transactions_, customer, kToday, session_.DateOrder())->amounts);
  }
  EXPECT_EQ(AsOf("20", 0).amounts, Totals({"25.00", "0.00", "0.00", "200.00"}).amounts);
  const books::AgingTotals company = CompanyAsOf(0).value().totals;
  transactions_.Close();
  EXPECT_EQ(company.amounts, books::RunAging(services_, false).totals.amounts);
  EXPECT_TRUE(transactions_.Open());
}

}  // namespace
}  // namespace invoicing
