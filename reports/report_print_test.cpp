// The report on paper, drawn on the recording canvas: what every page repeats, where a
// long report breaks and goes on, and which cells stand right-aligned.
#include "reports/report_print.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/testing/recording_canvas.h"
#include "reports/report_generators.h"

namespace reports {
namespace {

using platform::testing::DrawnText;
using platform::testing::RecordingCanvas;

const ReportKind& Register() { return *FindReport("Invoice Register"); }

Cells RegisterRow(const std::string& date, const std::string& invoice, const std::string& net,
                  const std::string& tax, const std::string& total, const std::string& type = "I") {
  return {LeftField(date, 10), LeftField(invoice, 9), LeftField("Short 10", 10), LeftField("10", 8),
          RightField(net, 12),  RightField(tax, 12),   RightField(total, 12),      type};
}

// Invoices 5001 onwards, one a day from November 1st, 2026, and 4999 of the first day,
// sorted on the date.
std::vector<GridRow> RegisterGrid(int invoices, bool subTotals = false) {
  ReportTable table{{RegisterRow("Year/Mo/Dy", "Invoice#", "Net Amount", "Tax Amount", "Grand Total", "C")}};
  for (int i = 0; i < invoices; ++i) {
    const model::Date date = model::AddDays({2026, 11, 1}, i);
    table.rows.push_back(RegisterRow(model::SortableDate(date), std::to_string(5001 + i), "1,000.00", "80.00",
                                     "1,080.00"));
  }
  table.rows.push_back(RegisterRow("2026/11/01", "4999", "5.00", "0.40", "5.40"));
  EXPECT_TRUE(SortOnColumn(Register(), table, 0));
  return WithTotals(Register(), table, subTotals);
}

const ReportHeads kHeads{"Invoice Register by Date", "Harbor Supply", "Date: Tuesday, December 8, 2026, 02:05 PM",
                         "Selected records from 11/01/2026 to 01/31/2027"};

class ReportPrintTest : public ::testing::Test {
 protected:
  int Print(const std::vector<GridRow>& grid) {
    return PrintReport(Register(), kHeads, model::LongDate({2026, 12, 8}), grid, canvas_);
  }
  std::vector<const DrawnText*> All(std::string_view text) const {
    std::vector<const DrawnText*> found;
    for (const DrawnText& drawn : canvas_.texts) {
      if (drawn.text == text) found.push_back(&drawn);
    }
    return found;
  }
  static int RightEdge(const DrawnText& drawn) {
    return drawn.x + static_cast<int>(drawn.text.size()) * drawn.font.pointSize * RecordingCanvas::kCharWidthPerPoint;
  }

  RecordingCanvas canvas_;
};

TEST_F(ReportPrintTest, EveryPageCarriesTitlePageNumberLongDateAndHeads) {
  ASSERT_EQ(Print(RegisterGrid(70)), 3);
  EXPECT_EQ(canvas_.title, "Invoice Register");
  EXPECT_EQ(canvas_.orientation, platform::Orientation::kLandscape);
  EXPECT_EQ(canvas_.ended, 1);
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE(page);
    const auto number = All("Page " + std::to_string(page));
    ASSERT_EQ(number.size(), 1u);
    EXPECT_EQ(number[0]->page, page);
    EXPECT_EQ(number[0]->x, canvas_.PageWidth() - 500);
    for (const std::string& repeated : {kHeads.caption, std::string("Date: Tuesday, December 8, 2026"), kHeads.head1,
                                        kHeads.head3, std::string("Invoice#")}) {
      int onPage = 0;
      for (const DrawnText* drawn : All(repeated)) onPage += drawn->page == page;
      EXPECT_EQ(onPage, 1) << repeated;
    }
  }
  EXPECT_TRUE(All("Page 4").empty());
}

TEST_F(ReportPrintTest, LongReportContinuesItsRowsInOrderOnTheNextPages) {
  const std::vector<GridRow> grid = RegisterGrid(70);
  ASSERT_EQ(Print(grid), 3);
  const auto continued = All("Continued on page 2 ...");
  ASSERT_EQ(continued.size(), 1u);
  EXPECT_EQ(continued[0]->page, 1);
  EXPECT_EQ(continued[0]->y, canvas_.PageHeight() - 100);
  ASSERT_EQ(All("Continued on page 3 ...").size(), 1u);
  EXPECT_EQ(All("Continued on page 3 ...")[0]->page, 2);

  // Every invoice once, in the grid's order; page 2 goes on where page 1 stopped, with
  // the column headings above its first row.
  std::vector<std::string> printed;
  std::set<int> pagesWithRows;
  int lastPage = 1;
  for (const DrawnText& drawn : canvas_.texts) {
    if (drawn.text.size() != 4 || !drawn.text.starts_with("50")) continue;
    EXPECT_GE(drawn.page, lastPage);
    EXPECT_LE(drawn.y, canvas_.PageHeight() - 250) << drawn.text;
    EXPECT_GT(drawn.y, All("Invoice#")[static_cast<std::size_t>(drawn.page - 1)]->y) << drawn.text;
    lastPage = drawn.page;
    pagesWithRows.insert(drawn.page);
    printed.push_back(drawn.text);
  }
  std::vector<std::string> expected;
  for (int i = 0; i < 70; ++i) expected.push_back(std::to_string(5001 + i));
  EXPECT_EQ(printed, expected);
  EXPECT_EQ(pagesWithRows, (std::set<int>{1, 2, 3}));

  const auto complete = All("Report Complete. " + std::to_string(grid.size() - 1) + " records printed.");
  ASSERT_EQ(complete.size(), 1u);
  EXPECT_EQ(complete[0]->page, 3);
}

TEST_F(ReportPrintTest, AmountsAndTheirHeadingsStandRightAlignedAndTotalsInBold) {
  ASSERT_EQ(Print(RegisterGrid(2, true)), 1);
  EXPECT_TRUE(All("Continued on page 2 ...").empty());
  // The net amount column: its heading, amounts of either length and the totals end at
  // one edge; the invoice numbers start at one edge.
  std::set<int> amountEdges, invoiceStarts;
  for (const std::string_view net : {"Net Amount", "1,000.00", "5.00", "1,005.00", "2,005.00"}) {
    for (const DrawnText* drawn : All(net)) amountEdges.insert(RightEdge(*drawn));
  }
  for (const std::string_view invoice : {"Invoice#", "4999", "5001", "5002"}) {
    for (const DrawnText* drawn : All(invoice)) invoiceStarts.insert(drawn->x);
  }
  EXPECT_EQ(amountEdges.size(), 1u);
  EXPECT_EQ(invoiceStarts.size(), 1u);
  ASSERT_EQ(All("Grand Total").size(), 2u);  // the heading of column 6, and the label
  EXPECT_TRUE(All("** Totals")[0]->font.bold);
  EXPECT_FALSE(All("5001")[0]->font.bold);
}

TEST_F(ReportPrintTest, PrinterThatCannotStartPrintsNothing) {
  canvas_.refuseToStart = true;
  EXPECT_EQ(Print(RegisterGrid(2)), 0);
  EXPECT_TRUE(canvas_.texts.empty());
}

}  // namespace
}  // namespace reports
