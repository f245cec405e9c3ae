// The as-of rule at its edges, on records made by hand as the payment wizard writes
// them; invoicing/aging_as_of_test.cpp runs it over books the wizard itself wrote.
#include "books/aging_as_of.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "model/field_values.h"
#include "platform/testing/scripted_dialogs.h"

namespace books {
namespace {

using model::Money;
using model::TransactionRecord;
using TransactionRow = files::Row<TransactionRecord>;

Money M(std::string_view text) { return model::ParseMoney(text).value(); }

constexpr model::Date kToday{2026, 12, 8};
constexpr auto kOrder = model::DateOrder::kMonthFirst;

model::Date DaysAgo(int days) { return model::AddDays(kToday, -days); }

// Records as invoice entry and the payment wizard leave them.
void DateRecord(TransactionRecord& record, int daysAgo) {
  record.TransDate = model::FormatDisplayDate(DaysAgo(daysAgo), kOrder);
  EXPECT_TRUE(model::SplitTransactionDate(record, kOrder));
}

void MarkPaid(TransactionRecord& record, int daysAgo) {
  record.PaidFlag = "P";
  record.PaidSortDate = model::SortableDate(DaysAgo(daysAgo));
  record.BalanceDue = "0.00";
}

TransactionRecord Invoice(std::string_view number, int daysAgo, std::string_view total,
                          std::string_view paidAtEntry = "0.00", std::string_view customer = "10") {
  TransactionRecord invoice{};
  invoice.InvoiceNo = number;
  invoice.TransType = "I";
  invoice.CustNo = customer;
  DateRecord(invoice, daysAgo);
  invoice.TotalAmount = total;
  invoice.PaidAmount = paidAtEntry;
  model::StoreMoney(invoice.BalanceDue, M(total) - M(paidAtEntry));
  if (M(total) == M(paidAtEntry)) MarkPaid(invoice, daysAgo);
  return invoice;
}

// Paid in full by one payment and no payment before: the invoice keeps it.
void PayInFull(TransactionRecord& invoice, int daysAgo) {
  invoice.PaidAmount = invoice.BalanceDue;
  MarkPaid(invoice, daysAgo);
}

// An X record of `amount` on the invoice, which becomes a Z.
TransactionRecord PayPart(TransactionRecord& invoice, int daysAgo, std::string_view amount) {
  TransactionRecord payment{};
  payment.InvoiceNo = invoice.InvoiceNo.str();
  payment.CustNo = invoice.CustNo.str();
  payment.TransType = "X";
  DateRecord(payment, daysAgo);
  payment.TotalAmount = "0.00";
  payment.PaidAmount = amount;
  MarkPaid(payment, daysAgo);
  invoice.TransType = "Z";
  model::StoreMoney(invoice.BalanceDue, M(invoice.BalanceDue.str()) - M(amount));
  if (M(invoice.BalanceDue.str()).IsZero()) MarkPaid(invoice, daysAgo);
  return payment;
}

TransactionRecord Deposit(std::string_view number, int daysAgo, std::string_view amount) {
  TransactionRecord deposit{};
  deposit.InvoiceNo = number;
  deposit.TransType = "D";
  deposit.CustNo = "10";
  DateRecord(deposit, daysAgo);
  deposit.TotalAmount = "0.00";
  deposit.PaidAmount = amount;
  model::StoreMoney(deposit.BalanceDue, -M(amount));
  deposit.PaidSortDate = model::SortableDate(DaysAgo(daysAgo));
  return deposit;
}

std::vector<TransactionRow> Rows(const std::vector<TransactionRecord>& records) {
  std::vector<TransactionRow> rows;
  for (const TransactionRecord& record : records) {
    rows.push_back({static_cast<files::RecordNumber>(rows.size() + 1), {}, record});
  }
  return rows;
}

// "1001 100.00, DP7 -50.00": the open items at the day, in record order.
std::string OpenAt(const std::vector<TransactionRecord>& records, int daysAgo) {
  std::string text;
  for (const OpenItem& item : OpenItemsAsOf(Rows(records), {DaysAgo(daysAgo), kToday}, kOrder)) {
    text += (text.empty() ? "" : ", ") + item.row.record.InvoiceNo.str() + " " + model::FormatMoney(item.open, "0.00");
  }
  return text;
}

TEST(OpenItemsAsOf, PaymentsMeetOnlyTheirOwnRecord) {
  TransactionRecord ours = Invoice("500", 30, "100.00");
  const TransactionRecord ourPayment = PayPart(ours, 5, "40.00");
  TransactionRecord theirs = Invoice("500", 30, "70.00", "0.00", "20");
  theirs.TransType = "Z";
  // A deposit numbered like the invoice takes no X record of it.
  const TransactionRecord deposit = Deposit("500", 30, "10.00");
  EXPECT_EQ(OpenAt({theirs, deposit, ours, ourPayment}, 6), "500 70.00, 500 -10.00, 500 100.00");

  // The payments of a record dated after the day go with it, not to an earlier
  // record of the same number.
  TransactionRecord later = Invoice("1001", 10, "100.00");
  const TransactionRecord laterPayment = PayPart(later, 5, "40.00");
  TransactionRecord earlier = Invoice("1001", 50, "25.00");
  earlier.TransType = "Z";
  EXPECT_EQ(OpenAt({later, earlier, laterPayment}, 11), "1001 25.00");
}

TEST(OpenItemsAsOf, WhereTheRecordsAreSilentTheSafestReadingIsTaken) {
  // Payments without a date are taken as made today.
  TransactionRecord invoice = Invoice("1001", 40, "100.00");
  TransactionRecord payment = PayPart(invoice, 5, "30.00");
  payment.TransDate = "";
  payment.SortDate = "";
  payment.PaidSortDate = " ";
  TransactionRecord paidUndated = Invoice("1002", 40, "60.00");
  PayInFull(paidUndated, 5);
  paidUndated.PaidSortDate = " ";
  EXPECT_EQ(OpenAt({invoice, payment, paidUndated}, 1), "1001 100.00, 1002 60.00");
  EXPECT_EQ(OpenAt({invoice, payment, paidUndated}, 0), "1001 70.00");

  // A payment record dated only by its date paid is dated by it.
  TransactionRecord third = Invoice("1003", 40, "100.00");
  TransactionRecord paidOn20 = PayPart(third, 20, "30.00");
  paidOn20.TransDate = "";
  paidOn20.SortDate = "";
  EXPECT_EQ(OpenAt({third, paidOn20}, 21), "1003 100.00");
  EXPECT_EQ(OpenAt({third, paidOn20}, 20), "1003 70.00");

  // A record without a date counts on every day; an amount that is no number is left out.
  TransactionRecord undated = Invoice("1004", 0, "15.00");
  undated.TransDate = "";
  undated.SortDate = "";
  TransactionRecord damaged = Invoice("1005", 400, "100.00");
  damaged.BalanceDue = "1O0.00";
  TransactionRecord fourth = Invoice("1006", 400, "100.00");
  TransactionRecord unreadablePayment = PayPart(fourth, 5, "30.00");
  unreadablePayment.PaidAmount = "thirty";
  EXPECT_EQ(OpenAt({undated, damaged, fourth, unreadablePayment}, 300), "1004 15.00, 1006 70.00");
}

// Entries dated after today are in the books already: they count from today on, and
// not the day before.
TEST(OpenItemsAsOf, EntriesDatedAfterTodayCountAsMadeToday) {
  const TransactionRecord postDated = Invoice("1001", -5, "70.00");
  TransactionRecord paidPostDated = Invoice("1002", 20, "100.00");
  PayInFull(paidPostDated, -3);
  const std::vector<TransactionRecord> records{postDated, paidPostDated};
  EXPECT_EQ(OpenAt(records, 1), "1002 100.00");
  EXPECT_EQ(OpenAt(records, 0), "1001 70.00");
  EXPECT_EQ(OpenAt(records, -2), "1001 70.00");
}

class AgingAsOfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    files::testing::WriteCompanyOne(session_, "Harbor Supply", "123.45");
  }

  void CreateFiles() {
    ASSERT_TRUE(customers_.Create() && customers_.Open());
    ASSERT_TRUE(transactions_.Create() && transactions_.Open());
  }

  void AddCustomer(std::string_view number, std::string_view balance) {
    model::CustomerRecord customer = files::testing::ClearCustomer(number, "Customer " + std::string(number));
    customer.Balance = balance;
    files::RecordNumber added = 0;
    EXPECT_TRUE(customers_.Add(customer, added));
  }

  void Add(const std::vector<TransactionRecord>& records) {
    for (const TransactionRecord& record : records) {
      files::RecordNumber added = 0;
      EXPECT_TRUE(transactions_.Add(record, added));
    }
  }

  // Every record of a file, byte for byte, in slot order.
  template <class Record>
  std::vector<std::string> Bytes(files::KeyedFile& file) {
    std::vector<std::string> bytes;
    files::Table<Record>(file).ForEachRecord([&](const auto& row) {
      bytes.emplace_back(reinterpret_cast<const char*>(&row.record), sizeof row.record);
      return true;
    });
    return bytes;
  }

  std::optional<CompanyAgingAsOf> AgeCompany(int daysAgo) {
    customers_.Close();
    transactions_.Close();
    std::optional<CompanyAgingAsOf> aging = AgeCompanyAsOf(services_, DaysAgo(daysAgo));
    EXPECT_TRUE(customers_.Open() && transactions_.Open());
    return aging;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{kToday.year, kToday.month, kToday.day, 9, 0, 0}};
  model::CompanySession session_;
  files::Services services_{engine_, dialogs_, progress_, clock_, session_};
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
  files::KeyedFile transactions_{engine_, dialogs_, progress_,
                                 files::DescribeFile(files::CompanyFile::kTransactions, "1")};
};

AgingTotals Totals(std::array<std::string_view, kAgingBucketCount> amounts) {
  AgingTotals totals;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) totals.amounts[i] = M(amounts[i]);
  return totals;
}

TEST_F(AgingAsOfTest, CompanyListsWhoOwedAtTheDayAndWritesNothing) {
  CreateFiles();
  AddCustomer("10", "0.00");
  AddCustomer("20", "0.00");
  AddCustomer("30", "5.00");
  TransactionRecord paid = Invoice("1001", 55, "100.00");
  PayInFull(paid, 10);
  TransactionRecord credit = Invoice("1002", 45, "-100.00", "0.00", "20");
  TransactionRecord debit = Invoice("1003", 85, "100.00", "0.00", "20");
  Add({paid, credit, debit, Invoice("1004", 5, "5.00", "0.00", "30")});
  const std::vector<std::string> customersBefore = Bytes<model::CustomerRecord>(customers_);
  const std::vector<std::string> transactionsBefore = Bytes<TransactionRecord>(transactions_);

  const CompanyAgingAsOf aging = AgeCompany(20).value();
  ASSERT_EQ(aging.customers.size(), 2u);
  EXPECT_EQ(aging.customers[0].number, "10");
  EXPECT_EQ(aging.customers[0].name, "Customer 10");
  EXPECT_EQ(aging.customers[0].totals.amounts, Totals({"0.00", "100.00", "0.00", "0.00"}).amounts);
  // Owing nothing in all, but something in two buckets.
  EXPECT_EQ(aging.customers[1].number, "20");
  EXPECT_EQ(aging.customers[1].totals.amounts, Totals({"-100.00", "0.00", "100.00", "0.00"}).amounts);
  EXPECT_EQ(aging.totals.amounts, Totals({"-100.00", "100.00", "100.00", "0.00"}).amounts);

  EXPECT_EQ(Bytes<model::CustomerRecord>(customers_), customersBefore);
  EXPECT_EQ(Bytes<TransactionRecord>(transactions_), transactionsBefore);
  EXPECT_EQ(session_.CurrentCompany.TotalAR.str(), "123.45");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(AgingAsOfTest, CompanyWithoutATransactionFileOwesNothingAndGetsNoFile) {
  const std::optional<CompanyAgingAsOf> aging = AgeCompanyAsOf(services_, kToday);
  ASSERT_TRUE(aging.has_value());
  EXPECT_TRUE(aging->customers.empty());
  EXPECT_EQ(aging->totals.Grand(), Money());
  EXPECT_FALSE(std::filesystem::exists(engine::FileSetPath("1I", "DAT")));
}

}  // namespace
}  // namespace books
