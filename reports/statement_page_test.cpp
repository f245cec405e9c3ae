#include "reports/statement_page.h"

#include <gtest/gtest.h>

#include <tuple>

#include "documents/form_head.h"
#include "documents/testing/picture_files.h"
#include "files/testing/company_folder.h"
#include "platform/testing/recording_canvas.h"
#include "platform/testing/temp_folder.h"

namespace reports {
namespace {

using platform::testing::DrawnShape;
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
  // The text as drawn on `page`; a failure and a blank text when it is not there.
  const platform::testing::DrawnText& On(std::string_view text, int page) const {
    for (const auto& drawn : canvas_.texts) {
      if (drawn.text == text && drawn.page == page) return drawn;
    }
    ADD_FAILURE() << text << " not on page " << page;
    static const platform::testing::DrawnText kNone{};
    return kNone;
  }
  std::vector<DrawnShape> Shapes(DrawnShape::Kind kind, int page) const {
    std::vector<DrawnShape> found;
    for (const DrawnShape& shape : canvas_.shapes) {
      if (shape.kind == kind && shape.page == page) found.push_back(shape);
    }
    return found;
  }
  // On every page the customer's name stands below all the head drew there.
  void ExpectCustomerBelowTheHead(int headBottom) {
    for (int page = 1; page <= canvas_.page; ++page) {
      const int nameY = On("Customer 10", page).y;
      EXPECT_GE(nameY, headBottom) << page;
      for (const std::string& head : {std::string("STATEMENT"), "Page Number: " + std::to_string(page)}) {
        EXPECT_LT(On(head, page).y, nameY) << head;
      }
    }
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

TEST_F(StatementPageTest, BoxShadingAndRulesOnEveryPage) {
  company_.BoxStatements = true;
  company_.PrintShading = true;
  company_.PrintHorizontalLines = true;
  Print(StatementOfRows(70));
  ASSERT_EQ(canvas_.page, 2);
  const int width = canvas_.PageWidth();
  const int height = canvas_.PageHeight();
  for (int page : {1, 2}) {
    const std::vector<DrawnShape> frames = Shapes(DrawnShape::Kind::kRectangle, page);
    ASSERT_EQ(frames.size(), 1u) << page;
    EXPECT_EQ(std::tie(frames[0].x1, frames[0].y1, frames[0].x2, frames[0].y2),
              std::make_tuple(20, 20, width - 40, height - 40));
    // The hatched band lies behind the customer's five lines, between two rules.
    const int top = On("Customer 10", page).y;
    const std::vector<DrawnShape> bands = Shapes(DrawnShape::Kind::kFill, page);
    ASSERT_FALSE(bands.empty()) << page;
    EXPECT_EQ(std::tie(bands[0].x1, bands[0].y1, bands[0].x2), std::make_tuple(20, top, width - 40));
    EXPECT_GE(bands[0].y1 + bands[0].y2, On("Portsmouth", page).y + 100);
    std::vector<int> rules;
    for (const DrawnShape& line : Shapes(DrawnShape::Kind::kLine, page)) {
      EXPECT_EQ(std::tie(line.x1, line.x2, line.y2), std::make_tuple(20, width - 20, line.y1));
      rules.push_back(line.y1);
    }
    ASSERT_GE(rules.size(), 2u) << page;
    EXPECT_EQ(rules[0], top);
    EXPECT_EQ(rules[1], bands[0].y1 + bands[0].y2);
  }
  // The foot's band behind the aging, and the rule above the totals, on the last page.
  EXPECT_EQ(Shapes(DrawnShape::Kind::kFill, 1).size(), 1u);
  EXPECT_EQ(Shapes(DrawnShape::Kind::kFill, 2).size(), 2u);
  EXPECT_EQ(Shapes(DrawnShape::Kind::kLine, 2).size(), 3u);
}

TEST_F(StatementPageTest, WithoutBoxShadingAndRulesOnlyTextIsDrawn) {
  company_.BoxStatements = false;
  company_.PrintShading = false;
  company_.PrintHorizontalLines = false;
  Print(StatementOfRows(70));
  EXPECT_TRUE(canvas_.shapes.empty());
}

TEST_F(StatementPageTest, CaptionIsTrimmedAndCentredInTheRightHalfInTheCaptionFont) {
  company_.StatementCaption = "  ACCOUNT STATEMENT";
  Print(StatementOfRows(3));
  const auto& caption = Drawn("ACCOUNT STATEMENT");
  EXPECT_EQ(caption.font.pointSize, 18);
  EXPECT_TRUE(caption.font.bold);
  canvas_.SetFont(documents::FormFontOf(company_, model::kCaptionFont));
  const int half = canvas_.PageWidth() / 2;
  const int right = documents::FormGeometryOf(company_).TextRight(canvas_.PageWidth());
  EXPECT_EQ(caption.x, half + (right - half - canvas_.TextWidth("ACCOUNT STATEMENT")) / 2);
  EXPECT_EQ(Drawn("Harbor Supply").y, caption.y);
}

TEST_F(StatementPageTest, LetterheadLeavesItsLinesAndOmitsTheCompanyOnEveryPage) {
  company_.LetterheadStyle = true;
  Print(StatementOfRows(70));
  ASSERT_GE(canvas_.page, 2);
  EXPECT_EQ(canvas_.Find("Harbor Supply"), nullptr);
  // Two lines below the top margin, then the letterhead's nine.
  for (int page = 1; page <= canvas_.page; ++page) {
    EXPECT_EQ(On("STATEMENT", page).y, 50 + 2 * 100 + 9 * 100) << page;
  }
  ExpectCustomerBelowTheHead(50 + 11 * 100);
}

TEST_F(StatementPageTest, OmittedCompanyLeavesEightLinesBesideTheCaption) {
  company_.OmitCompanyOnForms = "Y";
  Print(StatementOfRows(70));
  ASSERT_EQ(canvas_.page, 2);
  EXPECT_EQ(canvas_.Find("Harbor Supply"), nullptr);
  for (int page : {1, 2}) EXPECT_EQ(On("STATEMENT", page).y, 50 + 2 * 100) << page;
  ExpectCustomerBelowTheHead(50 + 2 * 100 + 8 * 100);
}

TEST_F(StatementPageTest, LogoOnEveryPageWithTheCustomerBelowItAndNoneWhenItsFileIsGone) {
  platform::testing::TempDir folder;
  const std::string logo = (folder.path() / "logo.bmp").string();
  documents::testing::WriteFile(logo, documents::testing::BmpHeader(96, 960));  // shrunk to six lines
  company_.PrintLogo = true;
  company_.LogoFile = logo;
  Print(StatementOfRows(70));
  ASSERT_EQ(canvas_.page, 2);
  int logoBottom = 0;
  for (int page : {1, 2}) {
    const std::vector<DrawnShape> pictures = Shapes(DrawnShape::Kind::kPicture, page);
    ASSERT_EQ(pictures.size(), 1u) << page;
    EXPECT_EQ(pictures[0].y2, 6 * 100);
    EXPECT_EQ(On("Harbor Supply", page).x, pictures[0].x1 + pictures[0].x2 + 100);
    logoBottom = pictures[0].y1 + pictures[0].y2;
  }
  ExpectCustomerBelowTheHead(logoBottom);

  canvas_ = RecordingCanvas();
  company_.LogoFile = (folder.path() / "gone.bmp").string();
  Print(StatementOfRows(3));
  EXPECT_TRUE(Shapes(DrawnShape::Kind::kPicture, 1).empty());
  EXPECT_EQ(Drawn("Harbor Supply").x, documents::FormGeometryOf(company_).TextLeft());
}

}  // namespace
}  // namespace reports
