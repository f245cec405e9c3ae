#include "reports/statement.h"

#include <gtest/gtest.h>

#include "invoicing/testing/books_fixture.h"

namespace reports {
namespace {

class StatementTest : public invoicing::testing::BooksFixture {
 protected:
  files::RecordNumber AddRecord(std::string_view number, std::string_view type, std::string_view sortDate,
                                std::string_view total, std::string_view paid, std::string_view balance,
                                std::string_view note = {}, std::string_view customer = "10") {
    model::TransactionRecord record{};
    record.InvoiceNo = number;
    record.TransType = type;
    record.CustNo = customer;
    record.CompanyNo = "1";
    record.SortDate = sortDate;
    record.StatementNote = note;
    record.TotalAmount = total;
    record.PaidAmount = paid;
    record.BalanceDue = balance;
    files::RecordNumber added = 0;
    EXPECT_TRUE(transactions_.Add(record, added));
    return added;
  }

  Statement Build(Activity activity, std::string_view customer = "10") {
    return BuildStatement(transactions_, WithCustomer(customer), activity);
  }

  static std::vector<std::string> Column(const Statement& statement, StatementColumn column) {
    std::vector<std::string> cells;
    for (const StatementRow& row : statement.rows) cells.push_back(row[column]);
    return cells;
  }

  // A month of one customer's account: an invoice paid in parts (Z with its X), an open
  // invoice, one paid in full, a deposit, a repeat master and its generated invoice.
  void AddAccount() {
    AddRecord("1001", "Z", "2026/09/01", "300.00", "0.00", "100.00");
    AddRecord("1001", "X", "2026/09/15", "0.00", "200.00", "0.00");
    AddRecord("1002", "I", "2026/10/01", "1250.00", "0.00", "1250.00", "PO 77");
    AddRecord("1003", "I", "2026/08/01", "40.00", "40.00", "0.00");
    AddRecord("D1", "D", "2026/11/02", "0.00", "50.00", "-50.00");
    AddRecord("1004", "R", "2026/07/01", "25.00", "0.00", "25.00");
    AddRecord("1005", "G", "2026/11/01", "25.00", "0.00", "25.00");
    AddRecord("2001", "I", "2026/09/01", "99.00", "0.00", "99.00", "", "20");
  }
};

TEST_F(StatementTest, AllActivityListsEveryRecordOfTheCustomerByDateWithTypeTexts) {
  AddAccount();
  const Statement statement = Build(Activity::kAll);
  EXPECT_EQ(Column(statement, kDateColumn),
            (std::vector<std::string>{"2026/07/01", "2026/08/01", "2026/09/01", "2026/09/15", "2026/10/01",
                                      "2026/11/01", "2026/11/02"}));
  EXPECT_EQ(Column(statement, kReferenceColumn),
            (std::vector<std::string>{"Repeat Master", "Invoice", "Partial Payment Invoice", "Partial Payment Made",
                                      "PO 77", "Repeat Billing", "Deposit on Account"}));
  EXPECT_EQ(Column(statement, kTypeColumn), (std::vector<std::string>{"R", "I", "Z", "X", "I", "G", "D"}));
  EXPECT_EQ(statement.rows[4][kTotalColumn], "1,250.00");
  EXPECT_EQ(statement.rows[2][kPaidColumn], "0.00");
  EXPECT_EQ(statement.totals, (StatementRow{"", "", "*** Account Totals:", "1,640.00", "290.00", "1,350.00", ""}));
  EXPECT_EQ(SelectionStatus(statement), "There are 7 records selected.");
}

TEST_F(StatementTest, UnpaidOnlyHidesMastersAndSettledRecordsAndShowsWhatWasPaidOnAPartlyPaidInvoice) {
  AddAccount();
  const Statement statement = Build(Activity::kUnpaidOnly);
  EXPECT_EQ(Column(statement, kInvoiceColumn), (std::vector<std::string>{"1001", "1002", "1005", "D1"}));
  EXPECT_EQ(statement.rows[0][kPaidColumn], "200.00");
  EXPECT_EQ(statement.totals, (StatementRow{"", "", "*** Account Totals:", "1,575.00", "250.00", "1,325.00", ""}));
  EXPECT_EQ(SelectionStatus(statement), "There are 4 records selected.");
}

TEST_F(StatementTest, UnknownTypeWithBlankNoteShowsABlankReference) {
  AddRecord("1", "T", "2026/01/01", "10.00", "10.00", "0.00");
  AddRecord("2", "Q", "2026/01/02", "10.00", "0.00", "10.00");
  EXPECT_EQ(Column(Build(Activity::kAll), kReferenceColumn),
            (std::vector<std::string>{"Deposit Offset Applied", ""}));
}

TEST_F(StatementTest, NoRecordsMeansNoActivityAndZeroSelected) {
  const Statement statement = Build(Activity::kAll, "20");
  EXPECT_FALSE(statement.HasActivity());
  EXPECT_EQ(statement.totals[kBalanceColumn], "0.00");
  EXPECT_EQ(SelectionStatus(statement), "There are 0 records selected.");
  EXPECT_FALSE(TellWhenNoActivity(statement, dialogs_));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Customer: Customer 20");
  EXPECT_EQ(dialogs_.Log()[0].text, "There is no activity for this customer.");
}

TEST_F(StatementTest, AmountThatIsNoNumberShowsAsZeroAndNamesItsRecord) {
  AddRecord("1", "I", "2026/01/01", "10.00", "0.00", "10.00");
  const files::RecordNumber damaged = AddRecord("2", "I", "2026/01/02", "12x.00", "0.00", "5.00");
  const Statement statement = Build(Activity::kAll);
  EXPECT_EQ(statement.rows[1][kTotalColumn], "0.00");
  EXPECT_EQ(statement.totals[kTotalColumn], "10.00");
  EXPECT_EQ(statement.totals[kBalanceColumn], "15.00");
  EXPECT_EQ(SelectionStatus(statement), "There are 2 records selected.  Amounts that are no number were counted as "
                                        "0.00 in record " + std::to_string(damaged) + ".");
}

TEST_F(StatementTest, CompanyWithoutTransactionFileHasNoActivity) {
  const model::CustomerRecord customer = WithCustomer("10");
  session_.CurrentCompany.CompanyNo = "7";
  const std::optional<Statement> statement = BuildStatement(services_, customer, Activity::kAll);
  ASSERT_TRUE(statement);
  EXPECT_FALSE(statement->HasActivity());
}

}  // namespace
}  // namespace reports
