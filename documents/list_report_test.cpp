#include "documents/list_report.h"

#include <gtest/gtest.h>

#include "platform/testing/recording_canvas.h"

namespace documents {
namespace {

using platform::testing::RecordingCanvas;

ListReport CustomerList(int customers) {
  ListReport report{"Customer List by Name", {"Customer List for Harbor Supply", "Date: Tuesday, December 8, 2026"}, {}};
  for (int i = 1; i <= customers; ++i) {
    report.entries.push_back({"Customer " + std::to_string(i),
                              {{"Number:", std::to_string(i)}, {"Balance:", "0.00"}, {"Type:", "Retail"}},
                              {"Billing Address:", "1 Dock Road"}});
  }
  return report;
}

TEST(ListReportTest, TitleHeadingsAndEachEntryWithItsLabelledValues) {
  RecordingCanvas canvas;
  ASSERT_TRUE(PrintListReport(CustomerList(2), canvas));
  EXPECT_EQ(canvas.documents, (std::vector<std::string>{"Customer List by Name"}));
  const auto texts = canvas.Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[0], "Customer List by Name");
  EXPECT_EQ(texts[1], "Customer List for Harbor Supply");
  const auto* number = canvas.Find("Number:");
  const auto* balance = canvas.Find("Balance:");
  ASSERT_NE(number, nullptr);
  ASSERT_NE(balance, nullptr);
  EXPECT_EQ(number->y, balance->y);  // two columns
  EXPECT_GT(balance->x, number->x);
  EXPECT_GT(canvas.Find("1 Dock Road")->y, number->y);
  EXPECT_EQ(canvas.ended, 1);
}

TEST(ListReportTest, LongListsFlowOntoNumberedPagesWithoutSplittingAnEntry) {
  RecordingCanvas canvas;
  ASSERT_TRUE(PrintListReport(CustomerList(60), canvas));
  EXPECT_GT(canvas.page, 1);
  EXPECT_NE(canvas.Find("Page " + std::to_string(canvas.page)), nullptr);
  for (const auto& drawn : canvas.texts) EXPECT_LE(drawn.y, canvas.PageHeight()) << drawn.text;
  // An entry's name and its last line share a page.
  int namePage = 0;
  for (const auto& drawn : canvas.texts) {
    if (drawn.text.starts_with("Customer ")) namePage = drawn.page;
    if (drawn.text == "1 Dock Road") {
      EXPECT_EQ(drawn.page, namePage);
    }
  }
}

TEST(ListReportTest, PrinterThatCannotStartPrintsNothing) {
  RecordingCanvas canvas;
  canvas.refuseToStart = true;
  EXPECT_FALSE(PrintListReport(CustomerList(1), canvas));
  EXPECT_TRUE(canvas.texts.empty());
}

}  // namespace
}  // namespace documents
