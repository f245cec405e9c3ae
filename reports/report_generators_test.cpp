// The generators over one hand-built company: invoices of November 2026 in every type,
// checked row by row and total by total against figures worked out here.
#include "reports/report_generators.h"

#include <gtest/gtest.h>

#include "invoicing/testing/books_fixture.h"
#include "model/text.h"

namespace reports {
namespace {

using model::TransactionRecord;

struct StoredTransaction {
  const char *type, *number, *customer, *date, *net, *tax, *total, *paid, *balance, *paidDate, *keyCode;
};

class ReportsFixture : public invoicing::testing::BooksFixture {
 protected:
  void SetUp() override {
    BooksFixture::SetUp();
    const StoredTransaction transactions[] = {
        {"I", "1001", "10", "2026/11/02", "100.00", "8.25", "108.25", "0.00", "108.25", "", "WEST"},
        {"I", "1002", "20", "2026/11/30", "1000.00", "0.00", "1000.00", "1000.00", "0.00", "2026/12/01", "EAST"},
        {"I", "1003", "10", "2026/11/15", "0.00", "0.00", "0.00", "0.00", "0.00", "", "WEST"},
        {"G", "1004", "20", "2026/11/15", "0.00", "0.00", "0.00", "0.00", "0.00", "", "EAST"},
        {"Z", "1006", "10", "2026/11/20", "200.00", "16.50", "216.50", "16.50", "200.00", "", "WEST"},
        {"I", "1007", "20", "2026/12/01", "40.00", "0.00", "40.00", "0.00", "40.00", "", "EAST"},
        {"D", "DP1", "20", "2026/11/10", "-50.00", "0.00", "-50.00", "-50.00", "0.00", "2026/11/10", "None"},
        {"I", "1008", "10", "2026/10/31", "75.00", "0.00", "75.00", "75.00", "0.00", "2026/11/05", "WEST"},
    };
    for (const StoredTransaction& transaction : transactions) AddTransaction(transaction);
    AddMaster("1005", "12/15/2026", "3", "M", "50.00");
    AddMaster("1009", "01/02/2027", "0", "D", "20.00");
    AddLine("2026/11/02", "1001", "HAMMER", "2", "Claw hammer, \"pro\"", "25.00", "50.00");
    AddLine("2026/11/30", "1002", "", "1.5", "Consulting", "10.00", "15.00");
    AddLine("2026/12/01", "1007", "NAIL", "100", "Nails", "0.40", "40.00");
    AddLine("2026/11/03", "1000", "X", "1", "Repeat line", "9.00", "9.00", "R");
    session_.CurrentCompany.TotalAR = "298.25";
    for (files::KeyedFile* file : {&transactions_, &details_, &memos_}) file->Close();
  }

  files::RecordNumber AddTransaction(const StoredTransaction& s) {
    TransactionRecord r{};
    r.TransType = s.type;
    r.InvoiceNo = s.number;
    r.CustNo = s.customer;
    r.ShortName = std::string("Short ") + s.customer;
    r.SortDate = s.date;
    const auto date = model::ParseSortableDate(s.date).value();
    r.TransDate = model::FormatDisplayDate(date, model::DateOrder::kMonthFirst);
    r.NetAmount = s.net;
    r.TaxAmount = s.tax;
    r.TotalAmount = s.total;
    r.PaidAmount = s.paid;
    r.BalanceDue = s.balance;
    r.PaidSortDate = *s.paidDate ? s.paidDate : " ";
    r.PaidFlag = *s.paidDate && std::string_view(s.type) != "D" ? "P" : " ";
    r.KeyCode = s.keyCode;
    files::RecordNumber added = 0;
    EXPECT_TRUE(transactions_.Add(r, added));
    return added;
  }

  void AddMaster(const char* number, const char* nextDue, const char* count, const char* cycle, const char* total) {
    TransactionRecord r{};
    r.TransType = "R";
    r.InvoiceNo = number;
    r.CustNo = "10";
    r.ShortName = "Short 10";
    r.SortDate = "2026/10/01";
    r.TransDate = "10/01/2026";
    r.TotalAmount = total;
    r.PaidAmount = "0.00";
    r.BalanceDue = "0.00";
    r.PaidSortDate = " ";
    r.NextDueDate = nextDue;
    r.RepeatCount = count;
    r.RepeatCycle = cycle;
    files::RecordNumber added = 0;
    EXPECT_TRUE(transactions_.Add(r, added));
  }

  void AddLine(const char* date, const char* number, const char* product, const char* quantity,
               const char* description, const char* price, const char* amount, const char* style = "P") {
    model::DetailRecord d{};
    d.SortDate = date;
    d.InvoiceNo = number;
    d.ProductCode = product;
    d.BodyStyle = style;
    d.CustNo = "10";
    d.ShortName = "Short 10";
    d.LineText = model::PadRight(quantity, 10) + model::PadRight(description, 32) + model::PadRight(price, 10) + "Y" +
                 model::PadRight(amount, 10);
    files::RecordNumber added = 0;
    EXPECT_TRUE(details_.Add(d, added));
  }

  std::optional<Report> Run(std::string_view name, DateRange range = {"11/01/2026", "11/30/2026"}) {
    return GenerateReport(services_, *FindReport(name), range);
  }

  // The trimmed cells of one column, data rows only.
  static std::vector<std::string> Column(const Report& report, std::size_t column) {
    std::vector<std::string> cells;
    for (std::size_t i = 1; i < report.table.rows.size(); ++i) {
      cells.emplace_back(model::TrimBlanks(report.table.rows[i].at(column)));
    }
    return cells;
  }

  std::string LastMessage() const {
    if (dialogs_.Log().empty()) return {};
    return dialogs_.Log().back().caption + ": " + dialogs_.Log().back().text;
  }

  static Cells GrandTotal(const Report& report) {
    const std::vector<GridRow> grid = WithTotals(*report.kind, report.table, false);
    return grid.back().cells;
  }
};

using Strings = std::vector<std::string>;

TEST_F(ReportsFixture, InvoiceRegisterTakesZeroTotalsOnlyOfTypeIAndTheRangesLastDay) {
  const auto report = Run("Invoice Register");
  ASSERT_TRUE(report);
  EXPECT_EQ(Column(*report, 1), (Strings{"1001", "DP1", "1003", "1006", "1002"}));
  EXPECT_EQ(report->head1, "Harbor Supply");
  EXPECT_EQ(report->head2, "Date: Tuesday, December 8, 2026, 09:00 AM");
  EXPECT_EQ(report->head3, "Selected records from 11/01/2026 to 11/30/2026");
  EXPECT_EQ(report->table.rows[1][0] + "|" + report->table.rows[1][4], "2026/11/02|      100.00");
  const Cells total = GrandTotal(*report);
  EXPECT_EQ(total[3], "Grand Total");
  // 100 - 50 + 0 + 200 + 1000; 8.25 + 16.50; 108.25 - 50 + 0 + 216.50 + 1000.
  EXPECT_EQ(total[4] + " " + total[5] + " " + total[6], "1,250.00 24.75 1,274.75");
}

TEST_F(ReportsFixture, KeyCodeInquiryLeavesOutEveryZeroTotal) {
  const auto report = Run("Key Code Inquiry");
  ASSERT_TRUE(report);
  EXPECT_EQ(Column(*report, 1), (Strings{"1001", "DP1", "1006", "1002"}));
  EXPECT_EQ(Column(*report, 0), (Strings{"WEST", "None", "WEST", "EAST"}));
  EXPECT_EQ(GrandTotal(*report)[6], "1,274.75");
}

TEST_F(ReportsFixture, PaymentRegisterWalksTheDatePaid) {
  const auto report = Run("Payment Register");
  ASSERT_TRUE(report);
  // 1002 was paid on December 1st, outside the range.
  EXPECT_EQ(Column(*report, 1), (Strings{"1008", "DP1"}));
  const Cells total = GrandTotal(*report);
  EXPECT_EQ(total[4] + " " + total[5] + " " + total[6], "25.00 25.00 0.00");
}

TEST_F(ReportsFixture, TaxReportAddsPartPaidInvoicesOnTheirInvoiceDate) {
  const auto report = Run("Tax Report");
  ASSERT_TRUE(report);
  EXPECT_EQ(Column(*report, 1), (Strings{"1008", "DP1", "1006"}));
  EXPECT_EQ(Column(*report, 0), (Strings{"2026/11/05", "2026/11/10", "2026/11/20"}));
  const Cells total = GrandTotal(*report);
  EXPECT_EQ(total[4], "Grand Total");
  EXPECT_EQ(total[5] + " " + total[6], "41.50 16.50");
}

TEST_F(ReportsFixture, AccountsReceivableAgesTheOpenItemsAndTheDeposits) {
  const auto report = Run("Accounts Receivable");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->head3, "All unpaid records selected.");
  // Key 6 holds the open items by blank date paid, in record order; then the deposit.
  Strings rows;
  for (std::size_t i = 1; i < report->table.rows.size(); ++i) {
    const Cells& r = report->table.rows[i];
    rows.push_back(std::string(model::TrimBlanks(r[1])) + " " + std::string(model::TrimBlanks(r[0])) + " " +
                   std::string(model::TrimBlanks(r[4])));
  }
  // December 8th less November 2nd is 36 days, less November 15th 23.
  EXPECT_EQ(rows, (Strings{"1001 31 - 60 36 Days", "1003 0 - 30 23 Days", "1004 0 - 30 23 Days",
                           "1006 0 - 30 18 Days", "1007 0 - 30 7 Days", "DP1 0 - 30 28 Days"}));
  EXPECT_EQ(GrandTotal(*report)[6], "348.25");
}

TEST_F(ReportsFixture, AccountsReceivableWithZeroBalanceReadsNothing) {
  session_.CurrentCompany.TotalAR = "0.00";
  EXPECT_FALSE(Run("Accounts Receivable"));
  EXPECT_EQ(LastMessage(),
            "Account Receivable Report: Your Accounts Receivable balance is zero for this company. There are no "
            "outstanding items.");
}

// Number, category, age and amount of each row of the Accounts Receivable report.
Strings ReceivableRows(const Report& report) {
  Strings rows;
  for (std::size_t i = 1; i < report.table.rows.size(); ++i) {
    std::string row;
    for (std::size_t column : {1, 0, 4, 6}) {
      row += (row.empty() ? "" : " ") + std::string(model::TrimBlanks(report.table.rows[i].at(column)));
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(ReportsFixture, AccountsReceivableAsOfTodayIsTheReport) {
  ASSERT_TRUE(transactions_.Open());
  AddTransaction({"I", "1011", "20", "2026/12/20", "9.00", "0.00", "9.00", "0.00", "9.00", "", "EAST"});  // post-dated
  AddTransaction({"I", "1012", "20", "2026/11/16", "5.00", "0.00", "5.00", "0.00", "5x.00", "", "EAST"});
  transactions_.Close();
  const auto report = Run("Accounts Receivable");
  const auto asOfToday = GenerateReport(services_, *FindReport("Accounts Receivable"), {}, invoicing::testing::kToday);
  ASSERT_TRUE(report && asOfToday);
  EXPECT_EQ(asOfToday->table.rows, report->table.rows);
  EXPECT_EQ(asOfToday->damaged, report->damaged);
  EXPECT_EQ(asOfToday->head3, "Records unpaid at the end of 12/08/2026.");
}

TEST_F(ReportsFixture, AccountsReceivableAsOfAPastDayListsWhatWasOpenThen) {
  // Deposit DP9 of 30.00 of November 1st, taken against an invoice on November 12th.
  ASSERT_TRUE(transactions_.Open());
  const files::RecordNumber deposit = AddTransaction(
      {"D", "DP9", "10", "2026/11/01", "0.00", "0.00", "0.00", "30.00", "0.00", "2026/11/12", "Deposit"});
  TransactionRecord used = Stored(deposit);
  used.PaidFlag = "P";
  ASSERT_TRUE(transactions_.Update(deposit, used));
  AddTransaction({"T", "DP9", "10", "2026/11/12", "0.00", "0.00", "0.00", "-30.00", "0.00", "2026/11/12", "Deposit"});
  transactions_.Close();
  session_.CurrentCompany.TotalAR = "0.00";  // nothing owed now says nothing of a past day

  const auto report = GenerateReport(services_, *FindReport("Accounts Receivable"), {}, model::Date{2026, 11, 4});
  ASSERT_TRUE(report);
  EXPECT_EQ(report->head3, "Records unpaid at the end of 11/04/2026.");
  // On file by then: 1001 unpaid still, 1008 paid on the 5th, DP9 taken on the 12th.
  EXPECT_EQ(ReceivableRows(*report),
            (Strings{"1001 0 - 30 2 Days 108.25", "1008 0 - 30 4 Days 75.00", "DP9 0 - 30 3 Days -30.00"}));
  EXPECT_EQ(GrandTotal(*report)[6], "153.25");
}

TEST_F(ReportsFixture, SalesReportSplitsTheLinesAndSkipsRepeatLines) {
  const auto report = Run("Sales Report");
  ASSERT_TRUE(report);
  EXPECT_EQ(Column(*report, 0), (Strings{"Claw hammer, \"pro\"", "Consulting"}));
  EXPECT_EQ(Column(*report, 1), (Strings{"HAMMER", "*None*"}));
  EXPECT_EQ(Column(*report, 7), (Strings{"2.000", "1.500"}));
  const Cells total = GrandTotal(*report);
  EXPECT_EQ(total[6] + " " + total[7] + " " + total[8], "Grand Total 3.500 65.00");
}

TEST_F(ReportsFixture, RepeatBillingListShowsTheMastersAndTheirCycles) {
  const auto report = Run("Repeat Billing List");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->head3, "Master Repeat Billing List");
  EXPECT_EQ(Column(*report, 0), (Strings{"2026/12/15", "2027/01/02"}));
  EXPECT_EQ(Column(*report, 4), (Strings{"3", "0"}));
  EXPECT_EQ(Column(*report, 7), (Strings{"M", "D"}));
  EXPECT_EQ(GrandTotal(*report)[6], "70.00");
}

TEST_F(ReportsFixture, EmptyRangeShowsTheReportsOwnTitle) {
  EXPECT_FALSE(Run("Key Code Inquiry", {"01/01/2020", "01/31/2020"}));
  EXPECT_EQ(LastMessage(), "Key Code Report: No matching records found for the dates entered.");
}

TEST_F(ReportsFixture, DamagedAmountShowsZeroAndNamesItsRecord) {
  ASSERT_TRUE(transactions_.Open());
  const files::RecordNumber damaged =
      AddTransaction({"I", "1010", "10", "2026/11/16", "12x.00", "1.00", "13.00", "0.00", "13.00", "", "WEST"});
  transactions_.Close();
  const auto report = Run("Invoice Register");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->damaged, std::vector<engine::RecordNumber>{damaged});
  EXPECT_EQ(GrandTotal(*report)[4], "1,250.00");
  EXPECT_EQ(DamagedNote(report->damaged), "Records with damaged amounts shown as 0.00: " + std::to_string(damaged));
}

}  // namespace
}  // namespace reports
