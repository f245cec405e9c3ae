// The wizard's rules that need no company: date choices on fixed days, the date
// checks, sorting with sub-totals and month totals, the caption, and the saved files.
#include <gtest/gtest.h>

#include "platform/testing/scripted_dialogs.h"
#include "reports/report_dates.h"
#include "reports/report_grid.h"
#include "reports/report_output.h"
#include "reports/testing/csv_reader.h"

namespace reports {
namespace {

using model::DateOrder;

std::string Range(std::string_view choice, model::Date today, DateOrder order = DateOrder::kMonthFirst) {
  const DateRange range = ApplyDateChoice(choice, today, order, {"a", "b"});
  return range.from + " - " + range.to;
}

TEST(ReportDates, ChoicesOnFixedDays) {
  const model::Date first{2026, 12, 1};
  EXPECT_EQ(Range("Month to Date", first), "12/01/2026 - 12/01/2026");
  EXPECT_EQ(Range("Previous Month", {2026, 1, 20}), "12/01/2025 - 12/31/2025");
  EXPECT_EQ(Range("Previous Month", {2024, 3, 5}), "02/01/2024 - 02/29/2024");
  EXPECT_EQ(Range("Previous Month", {2100, 3, 5}), "02/01/2100 - 02/28/2100");
  EXPECT_EQ(Range("Current Month", {2026, 4, 9}), "04/01/2026 - 04/30/2026");
  EXPECT_EQ(Range("Year to Date", {2026, 4, 9}), "01/01/2026 - 04/09/2026");
  EXPECT_EQ(Range("Last 30 Days", {2026, 3, 1}), "01/30/2026 - 03/01/2026");
  EXPECT_EQ(Range("Last 12 Months", {2026, 4, 9}), "04/09/2025 - 04/09/2026");
  EXPECT_EQ(Range("Previous Year", {2026, 4, 9}), "01/01/2025 - 12/31/2025");
  EXPECT_EQ(Range("Custom Dates", {2026, 4, 9}), "a - b");
}

TEST(ReportDates, DayFirstSwapsTheMarkedDates) {
  const model::Date today{2026, 4, 9};
  EXPECT_EQ(Range("Month to Date", today, DateOrder::kDayFirst), "01/04/2026 - 09/04/2026");
  EXPECT_EQ(Range("Current Month", today, DateOrder::kDayFirst), "01/04/2026 - 30/04/2026");
  EXPECT_EQ(Range("Last 12 Months", today, DateOrder::kDayFirst), "09/04/2025 - 09/04/2026");
  EXPECT_EQ(Range("Current Year", today, DateOrder::kDayFirst), "01/01/2026 - 31/12/2026");
  EXPECT_EQ(Range("Last 60 Days", today, DateOrder::kDayFirst), "08/02/2026 - 09/04/2026");
}

TEST(ReportDates, ChecksRefuseBadAndInvertedRanges) {
  platform::testing::ScriptedDialogs dialogs;
  EXPECT_EQ(CheckDates({"13/01/2026", "12/01/2026"}, DateOrder::kMonthFirst, dialogs), DateField::kFrom);
  EXPECT_EQ(dialogs.Log().back().caption, "FROM Date");
  EXPECT_EQ(CheckDates({"12/01/2026", "  /  /    "}, DateOrder::kMonthFirst, dialogs), DateField::kTo);
  EXPECT_EQ(dialogs.Log().back().text,
            "You have an invalid ending date. You can clear the date and then select the calendar button.");
  EXPECT_EQ(CheckDates({"12/02/2026", "12/01/2026"}, DateOrder::kMonthFirst, dialogs), DateField::kFrom);
  EXPECT_EQ(dialogs.Log().back().text, "Your beginning date is not older than your ending date.");
  EXPECT_EQ(CheckDates({"12/01/2026", "12/01/2026"}, DateOrder::kMonthFirst, dialogs), DateField::kNone);
  EXPECT_EQ(dialogs.Log().size(), 3u);
}

const ReportKind& Register() { return *FindReport("Invoice Register"); }

ReportTable RegisterTable() {
  return {{{"Year/Mo/Dy", "Invoice#", "Short Name", "Customer#", "  Net Amount", "  Tax Amount", " Grand Total", "C"},
           {"2026/11/30", "1003", "beta", "20", "10.00", "0.00", "10.00", "I"},
           {"2026/10/02", "1001", "Alpha", "10", "1,000.00", "5.00", "1,005.00", "I"},
           {"2026/11/30", "1004", "alpha", "10", "2.50", "0.25", "2.75", "I"},
           {"2026/11/01", "1002", "Beta", "20", "4.00", "0.00", "4.00", "G"}}};
}

std::string Describe(const std::vector<GridRow>& grid) {
  std::string text;
  for (const GridRow& row : grid) {
    if (row.kind == RowKind::kHeading) continue;
    if (row.kind == RowKind::kBlank) {
      text += "|";
      continue;
    }
    text += row.kind == RowKind::kData ? row.cells[1] : row.cells[2] + row.cells[3] + " " + row.cells[6];
    text += ";";
  }
  return text;
}

TEST(ReportGrid, SubTotalsAndMonthTotalsOnTheDateColumn) {
  ReportTable table = RegisterTable();
  ASSERT_TRUE(SortOnColumn(Register(), table, 0));
  EXPECT_EQ(Describe(WithTotals(Register(), table, true)),
            "1001;** Totals 1,005.00;|(10/2026)Month Total 1,005.00;|1002;** Totals 4.00;|"
            "1003;1004;** Totals 12.75;|(11/2026)Month Total 16.75;|Grand Total 1,021.75;");
  EXPECT_EQ(Describe(WithTotals(Register(), table, false)), "1001;1002;1003;1004;|Grand Total 1,021.75;");
  EXPECT_EQ(CaptionFor(Register(), table.rows[0][0]), "Invoice Register by Date");
}

TEST(ReportGrid, SortingBringsTheColumnForwardAndIgnoresCase) {
  ReportTable table = RegisterTable();
  ASSERT_TRUE(SortOnColumn(Register(), table, 2));
  EXPECT_EQ(table.rows[0][0] + "," + table.rows[0][2], "Short Name,Year/Mo/Dy");
  std::string order;
  for (std::size_t i = 1; i < table.rows.size(); ++i) order += table.rows[i][1] + " ";
  EXPECT_EQ(order, "1001 1004 1002 1003 ");
  EXPECT_EQ(CaptionFor(Register(), table.rows[0][0]), "Invoice Register by Short Name");
  // A change of text, case included, starts a group; no date column, no month totals.
  EXPECT_EQ(Describe(WithTotals(Register(), table, true)),
            "1001;** Totals 1,005.00;|1004;** Totals 2.75;|1002;** Totals 4.00;|1003;** Totals 10.00;|"
            "Grand Total 1,021.75;");
}

TEST(ReportGrid, RowsAlikeButForCaseKeepTheirOrder) {
  ReportTable table = RegisterTable();
  table.rows[1] = {"2026/11/30", "1003", "ALPHA", "10", "2.50", "0.25", "2.75", "I"};
  table.rows[3] = {"2026/11/30", "1003", "alpha", "10", "2.50", "0.25", "2.75", "I"};
  ASSERT_TRUE(SortOnColumn(Register(), table, 2));
  std::string order;
  for (std::size_t i = 1; i < table.rows.size(); ++i) order += table.rows[i][0] + " ";
  EXPECT_EQ(order, "Alpha ALPHA alpha Beta ");
}

TEST(ReportGrid, SortPastTheLastSortableColumnLeavesTheTableAlone) {
  ReportTable table = RegisterTable();
  const ReportTable before = table;
  EXPECT_FALSE(SortOnColumn(Register(), table, 4));
  EXPECT_EQ(table.rows, before.rows);
  ReportTable headingOnly{{before.rows[0]}};
  EXPECT_FALSE(SortOnColumn(Register(), headingOnly, 1));
}

TEST(ReportGrid, NumberCells) {
  EXPECT_TRUE(IsNumberCell("   1,249.50"));
  EXPECT_TRUE(IsNumberCell("-3.000"));
  EXPECT_FALSE(IsNumberCell("2026/11/30"));
  EXPECT_FALSE(IsNumberCell("31 Days"));
  EXPECT_FALSE(IsNumberCell("Mr. Smith"));
}

std::vector<GridRow> SalesGrid() {
  return {{RowKind::kHeading, {"Product Description", "  Unit Price", "Year/Mo/Dy"}},
          {RowKind::kData, {"Café table, \"oak\"", "1,249.50", "2026/11/02"}},
          {RowKind::kBlank, {"", "", ""}}};
}

TEST(ReportOutput, TextFileKeepsTheFixedLayout) {
  const std::vector<std::string> lines = TextFileLines({"Sales Report by Product Description", "Harbor", "Date: x", "All"},
                                                       SalesGrid());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[4], " ");
  EXPECT_EQ(lines[5], " Product Description              Unit Price   Year/Mo/Dy  ");
  EXPECT_EQ(lines[6], " Café table, \"oak\"                    1,249.50 2026/11/02  ");
  EXPECT_EQ(FormatOfFile("x/Report.csv"), SaveFormat::kCsv);
  EXPECT_EQ(FormatOfFile("Report.TXT"), SaveFormat::kText);
}

TEST(ReportOutput, NameTypedWithoutExtensionGetsTheChosenTypes) {
  struct Case {
    const char* typed;
    SaveFormat format;
    const char* saved;
  };
  const Case cases[] = {
      {"Sales Report", SaveFormat::kText, "Sales Report.TXT"},
      {"Sales Report", SaveFormat::kCsv, "Sales Report.CSV"},
      {"/data/co.1/Sales", SaveFormat::kText, "/data/co.1/Sales.TXT"},  // a point in a folder is no extension
      {"Sales.txt", SaveFormat::kCsv, "Sales.txt"},                     // a typed extension wins
      {"Sales.2026", SaveFormat::kText, "Sales.2026"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithDefaultExtension(c.typed, c.format), c.saved) << c.typed;
}

TEST(ReportOutput, CsvRoundTripsCommasQuotesAndAccents) {
  const auto records = testing::ReadCsv(CsvText(SalesGrid()));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0], (std::vector<std::string>{"Product Description", "Unit Price", "Year/Mo/Dy"}));
  EXPECT_EQ(records[1], (std::vector<std::string>{"Café table, \"oak\"", "1249.50", "2026-11-02"}));
  EXPECT_EQ(records[2], (std::vector<std::string>{"", "", ""}));
}

}  // namespace
}  // namespace reports
