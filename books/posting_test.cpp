#include "books/posting.h"

#include <gtest/gtest.h>

#include <cstring>

#include "books/testing/books_balance.h"
#include "engine/test_support.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "model/field_values.h"
#include "platform/testing/scripted_dialogs.h"

namespace books {
namespace {

using model::Money;

Money M(std::string_view text) { return model::ParseMoney(text).value(); }

constexpr model::Date kToday{2026, 12, 8};

class PostingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    files::testing::WriteCompanyOne(session_, "Harbor Supply", "0.00");
    ASSERT_TRUE(customers_.Create() && customers_.Open());
    ASSERT_TRUE(transactions_.Create() && transactions_.Open());
  }

  files::RecordNumber AddCustomer(std::string_view number) {
    files::RecordNumber added = 0;
    EXPECT_TRUE(customers_.Add(files::testing::ClearCustomer(number, "Customer " + std::string(number)), added));
    return added;
  }

  // An open transaction, written as an invoice or a payment would be, and posted.
  void OpenAndPost(files::RecordNumber customer, std::string_view customerNo, std::string_view amount, int daysAgo) {
    model::TransactionRecord transaction{};
    transaction.InvoiceNo = std::to_string(++invoices_);
    transaction.CustNo = customerNo;
    const model::Date date = model::AddDays(kToday, -daysAgo);
    transaction.TransDate = model::FormatDisplayDate(date, session_.DateOrder());
    ASSERT_TRUE(model::SplitTransactionDate(transaction, session_.DateOrder()));
    transaction.BalanceDue = amount;
    files::RecordNumber added = 0;
    ASSERT_TRUE(transactions_.Add(transaction, added));
    ASSERT_TRUE(PostAmount(Services(), customers_, customer, M(amount), date, "Posting"));
  }

  files::Services Services() { return {engine_, dialogs_, progress_, clock_, session_}; }

  model::CustomerRecord Customer(files::RecordNumber number) {
    return files::Table<model::CustomerRecord>(customers_).Read(number).value();
  }

  model::CompanyRecord Listed() {
    files::KeyedFile list = Services().FileOf(files::CompanyFile::kCompanyList);
    EXPECT_TRUE(list.Open());
    model::CompanyRecord found{};
    files::RecordNumber number = 0;
    EXPECT_TRUE(files::FindCompanyByNumber(list, session_.CurrentCompany, number, found));
    return found;
  }

  // The books balance: the company's A/R total, the sum of the customer balances and
  // the sum of the open balances due are one amount.
  void ExpectBooksBalance(Money expected) {
    books::testing::ExpectBooksBalance(customers_, transactions_, books::testing::AmountOf(Listed().TotalAR), expected);
    EXPECT_EQ(model::ReadMoney(session_.CurrentCompany.TotalAR), expected);
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{kToday.year, kToday.month, kToday.day, 9, 0, 0}};
  model::CompanySession session_;
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
  files::KeyedFile transactions_{engine_, dialogs_, progress_,
                                 files::DescribeFile(files::CompanyFile::kTransactions, "1")};
  int invoices_ = 0;
};

TEST_F(PostingTest, InvoicesAndPaymentsKeepTheBooksBalanced) {
  const files::RecordNumber harbor = AddCustomer("10");
  const files::RecordNumber dockside = AddCustomer("20");
  OpenAndPost(harbor, "10", "100.10", 0);
  OpenAndPost(harbor, "10", "49.95", 45);
  OpenAndPost(dockside, "20", "0.05", 100);
  OpenAndPost(harbor, "10", "-25.00", 2);  // a payment on account

  ExpectBooksBalance(M("125.10"));
  const model::CustomerRecord posted = Customer(harbor);
  EXPECT_EQ(posted.Balance.str(), "125.05");
  EXPECT_EQ(posted.AgeCurrent.str(), "75.10");
  EXPECT_EQ(posted.Age31to60.str(), "49.95");
  EXPECT_EQ(Customer(dockside).AgeOver90.str(), "0.05");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(PostingTest, AnAgingRunAfterPostingFindsTheSameBooks) {
  const files::RecordNumber harbor = AddCustomer("10");
  OpenAndPost(harbor, "10", "10.00", 70);
  OpenAndPost(harbor, "10", "0.01", 0);
  customers_.Close();
  transactions_.Close();
  RunAging(Services(), false);
  ASSERT_TRUE(customers_.Open() && transactions_.Open());

  ExpectBooksBalance(M("10.01"));
  EXPECT_EQ(Customer(harbor).Age61to90.str(), "10.00");
}

TEST_F(PostingTest, FieldThatIsNoAmountIsLeftForTheUserToSeeNotOverwritten) {
  model::CustomerRecord customer{};
  customer.Balance = "12,50x";
  customer.AgeCurrent = "0.00";
  EXPECT_FALSE(PostToCustomer(customer, M("1.00"), AgingBucket::kCurrent));
  EXPECT_EQ(customer.Balance.str(), "12,50x");
  EXPECT_EQ(customer.AgeCurrent.str(), "0.00");

  customer.Balance = "999999999.99";  // a sum of 13 characters does not fit the 12 the field holds
  EXPECT_FALSE(PostToCustomer(customer, M("100.00"), AgingBucket::kCurrent));
  EXPECT_EQ(customer.Balance.str(), "999999999.99");
  EXPECT_EQ(customer.AgeCurrent.str(), "0.00");
}

TEST(RepostToCustomerTest, ChangedAmountMovesBalanceAndBuckets) {
  using enum AgingBucket;
  struct Case {
    const char* name;
    const char* oldAmount;
    AgingBucket oldBucket;
    const char* newAmount;
    AgingBucket newBucket;
    const char* balance;
    const char* current;
    const char* days31to60;
  };
  const Case cases[] = {
      {"same bucket takes the difference", "40.00", kCurrent, "55.00", kCurrent, "115.00", "95.00", "20.00"},
      {"a new date moves the amount", "40.00", kCurrent, "40.00", kDays31to60, "100.00", "40.00", "60.00"},
      {"amount and date both change", "40.00", kCurrent, "10.00", kDays31to60, "70.00", "40.00", "30.00"},
      {"nothing left open", "40.00", kCurrent, "0.00", kDays31to60, "60.00", "40.00", "20.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model::CustomerRecord customer{};
    customer.Balance = "100.00";
    customer.AgeCurrent = "80.00";
    customer.Age31to60 = "20.00";
    ASSERT_TRUE(RepostToCustomer(customer, M(c.oldAmount), c.oldBucket, M(c.newAmount), c.newBucket));
    EXPECT_EQ(customer.Balance.str(), c.balance);
    EXPECT_EQ(customer.AgeCurrent.str(), c.current);
    EXPECT_EQ(customer.Age31to60.str(), c.days31to60);
  }
}

TEST(RepostToCustomerTest, BucketThatWouldOverflowLeavesTheRecordUntouched) {
  model::CustomerRecord customer{};
  customer.Balance = "1.00";
  customer.AgeCurrent = "1.00";
  customer.AgeOver90 = "9999999.00";  // one dollar more needs 11 characters
  const model::CustomerRecord before = customer;
  EXPECT_FALSE(RepostToCustomer(customer, M("1.00"), AgingBucket::kCurrent, M("1.00"), AgingBucket::kOver90));
  EXPECT_EQ(std::memcmp(&customer, &before, sizeof customer), 0);
}

TEST_F(PostingTest, FailedPostIsToldAndLeavesTheCompanyTotalAlone) {
  const files::RecordNumber harbor = AddCustomer("10");
  model::CustomerRecord damaged = Customer(harbor);
  damaged.Age31to60 = "??";
  ASSERT_TRUE(customers_.Update(harbor, damaged));

  EXPECT_FALSE(PostAmount(Services(), customers_, harbor, M("5.00"), model::AddDays(kToday, -40), "Add Invoice"));
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"The customer's balance could not be updated."});
  EXPECT_EQ(dialogs_.Log()[0].caption, "Add Invoice");
  EXPECT_EQ(Customer(harbor).Balance.str(), "0.00");
  EXPECT_EQ(Listed().TotalAR.str(), "0.00");
}

TEST_F(PostingTest, CompanyIsChangedAsStoredNotAsTheSessionLastSawIt) {
  model::CompanyRecord elsewhere = Listed();
  elsewhere.NextCustNo = "5000";  // stored by another window meanwhile
  {
    files::KeyedFile list = Services().FileOf(files::CompanyFile::kCompanyList);
    ASSERT_TRUE(list.Open());
    ASSERT_TRUE(list.Update(1, elsewhere));
  }
  EXPECT_TRUE(ChangeCurrentCompany(Services(), [](model::CompanyRecord& company) { company.TotalAR = "3.00"; }));
  EXPECT_EQ(Listed().NextCustNo.str(), "5000");
  EXPECT_EQ(Listed().TotalAR.str(), "3.00");
  EXPECT_EQ(session_.CurrentCompany.NextCustNo.str(), "5000");
}

}  // namespace
}  // namespace books
