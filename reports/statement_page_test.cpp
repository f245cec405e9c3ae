#include "reports/statement_page.h"

#include <gtest/gtest.h>

#include "documents/form_head.h"
#include "files/testing/company_folder.h"
#include "platform/testing/recording_canvas.h"

namespace reports {
namespace {

using platform::testing::RecordingCanvas;

Statement StatementOfRows(int count) {
  Statement statement;
  statement.customer.number = "10";
  statement.customer.name = "Customer 10";
  statement.customer.address = {"1 Harbor Road", "Portsmouth", "", ""};
  statement.customer.aging = {"1.00", "2.00", "3.00", "-4.00"};
  for (int i = 0; i < count; ++i) {
    statement.rows.push_back({"2026/01/" + std::to_string(10 + i % 20), std::to_string(1000 + i), "Invoice", "10.00",
                              "0.00", "10.00", "I"});
  }
  statement.totals = {"", "", std::string(kTotalsLabel), "700.00", "0.00", "700.00", ""};
  return statement;
}

class StatementPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    company_ = files::testing::NamedCompany("Harbor Supply");
    company_.StatementCaption = "STATEMENT";
    company_.PrintCustomerAging = true;
    company_.PrintSalesMessage = true;
    company_.SalesMsg1 = "Thank you for your business.";
    company_.SalesMsg2 = "Please pay within 30 days.";
  }

  void Print(const Statement& statement) {
    ASSERT_TRUE(PrintStatement(statement, company_, "12/08/2026", canvas_));
  }
  const platform::testing::DrawnText& Drawn(std::string_view text) {
    const platform::testing::DrawnText* drawn = canvas_.Find(text);
    EXPECT_NE(drawn, nullptr) << text;
    static const platform::testing::DrawnText kNone{};
    return drawn != nullptr ? *drawn : kNone;
  }
  int Count(std::string_view text, int page) const {
    int count = 0;
    for (const auto& drawn : canvas_.texts) count += drawn.text == text && drawn.page == page;
    return count;
  }

  model::CompanyRecord company_;
  RecordingCanvas canvas_;
};

TEST_F(StatementPageTest, LongStatementContinuesWithHeadAndHeadingsOnTheNextPage) {
  Print(StatementOfRows(70));
  EXPECT_EQ(canvas_.title, "Statement");
  EXPECT_EQ(canvas_.page, 2);
  const auto& continued = Drawn("Continued on page 2 ...");
  EXPECT_EQ(continued.page, 1);
  EXPECT_EQ(continued.y, canvas_.PageHeight() - 100);
  for (std::string_view repeated : {"STATEMENT", "Date", "Reference/Comments", " Balance Due", "Customer 10",
                                    "Statement Date: 12/08/2026", "Account Number: 10"}) {
    EXPECT_EQ(Count(repeated, 1), 1) << repeated;
    EXPECT_EQ(Count(repeated, 2), 1) << repeated;
  }
  EXPECT_EQ(Count("Page Number: 1", 1), 1);
  EXPECT_EQ(Count("Page Number: 2", 2), 1);
  // No row starts below the limit, and every row printed once.
  int rows = 0;
  for (const auto& drawn : canvas_.texts) {
    if (drawn.text != "Invoice") continue;
    ++rows;
    EXPECT_LE(drawn.y, canvas_.PageHeight() - 250);
  }
  EXPECT_EQ(rows, 70);
  EXPECT_EQ(Drawn("*** Account Totals:").page, 2);
}

TEST_F(StatementPageTest, AmountsEndAtTheirColumnsRightEdge) {
  Statement statement = StatementOfRows(2);
  statement.rows[1][kTotalColumn] = "1,250.00";
  Print(statement);
  const auto& wide = Drawn("1,250.00");
  const auto& narrow = Drawn("10.00");  // the first row's total
  EXPECT_EQ(narrow.x + canvas_.TextWidth("10.00"), wide.x + canvas_.TextWidth("1,250.00"));
}

TEST_F(StatementPageTest, FootHasAgingAndSalesMessageWithTheCustomersNotes) {
  Statement statement = StatementOfRows(3);
  statement.customer.notes = "Closed in August";
  statement.customer.notesOnStatement = true;
  Print(statement);
  const int foot = canvas_.PageHeight() - 100;
  EXPECT_EQ(Drawn("Over 90: -4.00").y, foot);
  EXPECT_EQ(Drawn("Over 90: -4.00").x, Drawn("Current: 1.00").x + 3 * canvas_.PageWidth() / 4);
  canvas_.SetFont(documents::FormFontOf(company_, model::kColumnHeadingFont));
  EXPECT_EQ(Drawn("Account Status:").y, foot - documents::LineHeight(canvas_));
  canvas_.SetFont(documents::FormFontOf(company_, model::kBodyFont));
  const int line = documents::LineHeight(canvas_);
  EXPECT_EQ(Drawn("Thank you for your business. Closed in August").y, foot - 7 * line);
  EXPECT_EQ(Drawn("Please pay within 30 days.").y, foot - 6 * line);
}

TEST_F(StatementPageTest, SalesMessageIsLeftOutWhenTheRowsReachIntoIt) {
  Print(StatementOfRows(40));
  ASSERT_EQ(canvas_.page, 1);
  canvas_.SetFont(documents::FormFontOf(company_, model::kBodyFont));
  ASSERT_GT(Drawn("*** Account Totals:").y, canvas_.PageHeight() - 100 - 7 * documents::LineHeight(canvas_));
  EXPECT_EQ(canvas_.Find("Thank you for your business."), nullptr);
  EXPECT_NE(canvas_.Find("Current: 1.00"), nullptr);
}

}  // namespace
}  // namespace reports
