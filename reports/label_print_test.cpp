#include "reports/label_print.h"

#include <gtest/gtest.h>

#include <map>

#include "invoicing/testing/books_fixture.h"
#include "platform/testing/recording_canvas.h"

namespace reports {
namespace {

using platform::testing::RecordingCanvas;

// Customers 10 and 20 come with the fixture; 30 has a billing and a shipping address.
// The label font is 10 points: lines are 100 dots high and "X" is 50 wide.
class LabelPrintTest : public invoicing::testing::BooksFixture {
 protected:
  void SetUp() override {
    BooksFixture::SetUp();
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Open());
    model::CustomerRecord customer = files::testing::ClearCustomer("30", "Dockside Marine");
    customer.BillAddr1 = "PO Box 9";
    customer.ShipAddr1 = "Pier 4";
    files::RecordNumber added = 0;
    ASSERT_TRUE(customers.Add(customer, added));
    session_.CurrentCompany.CoAddr1 = "1 Main St";
    layout_.leftMargin = "100";
    layout_.topMargin = "200";
    layout_.columns = "3";
    layout_.rows = "10";
    layout_.labelWidth = "1000";
    layout_.labelHeight = "500";
    layout_.font.pointSize = 10;
  }

  void Queue(std::initializer_list<std::string_view> numbers) {
    for (std::string_view number : numbers) labelQueue_.Add({std::string(number), {"", "", ""}});
  }

  std::string Print(std::string startLabel = "1", std::string copies = "1") {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    EXPECT_TRUE(customers.Open());
    const LabelRun run{layout_, session_.CurrentCompany, customers, std::move(startLabel), std::move(copies)};
    return PrintLabels(run, labelQueue_, canvas_);
  }

  documents::LabelLayout layout_;
  RecordingCanvas canvas_;
};

TEST_F(LabelPrintTest, StartAtLabel5OnAThreeAcrossSheetIsRow2Column2) {
  Queue({"30"});
  EXPECT_EQ(Print("5"), "Complete. 1 label(s) sent to printer.");
  const auto* name = canvas_.Find("Dockside Marine");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->x, 100 + 1000 + 50);
  EXPECT_EQ(name->y, 200 + 500);
  EXPECT_EQ(canvas_.title, "Mailing Labels");
  EXPECT_FALSE(labelQueue_.Pending());
}

TEST_F(LabelPrintTest, TwoCopiesOfThreeCustomersOnTwoByTwoFillOnePageAndAHalf) {
  layout_.columns = "2";
  layout_.rows = "2";
  Queue({"10", "20", "30"});
  EXPECT_EQ(Print("1", "2"), "Complete. 6 label(s) sent to printer.");
  std::map<int, int> labelsOnPage;
  std::vector<std::pair<int, int>> positions;
  for (const auto& drawn : canvas_.texts) {
    if (drawn.text.starts_with("Customer ") || drawn.text == "Dockside Marine") {
      ++labelsOnPage[drawn.page];
      positions.emplace_back(drawn.x, drawn.y);
    }
  }
  EXPECT_EQ(labelsOnPage, (std::map<int, int>{{1, 4}, {2, 2}}));
  const std::vector<std::pair<int, int>> expected = {{150, 200}, {1150, 200}, {150, 700},
                                                     {1150, 700}, {150, 200}, {1150, 200}};
  EXPECT_EQ(positions, expected);
}

TEST_F(LabelPrintTest, AFullLastSheetLeavesNoBlankPage) {
  layout_.columns = "2";
  layout_.rows = "1";
  Queue({"10", "20"});
  Print();
  EXPECT_EQ(canvas_.page, 1);
}

TEST_F(LabelPrintTest, ReturnAddressAndRuleStandAboveTheShippingAddress) {
  layout_.returnAddress = true;
  layout_.bitmapName = "missing.bmp";
  layout_.printLine = true;
  layout_.lineWidth = "";
  layout_.useShipping = true;
  layout_.sendToCaption = "To:";
  Queue({"30"});
  Print();
  EXPECT_EQ(canvas_.Texts(), (std::vector<std::string>{"Harbor Supply", "1 Main St", "", "", "", "To:",
                                                       "Dockside Marine", "Pier 4", "", "", ""}));
  EXPECT_EQ(canvas_.Find("Harbor Supply")->x, 100);
  EXPECT_EQ(canvas_.Find("To:")->y, 200 + 600);
  EXPECT_EQ(canvas_.Find("Pier 4")->x, 100 + 4 * 50);
  EXPECT_EQ(canvas_.Find("Pier 4")->y, 200 + 700);
  ASSERT_EQ(canvas_.shapes.size(), 1u);
  const auto& rule = canvas_.shapes[0];
  EXPECT_EQ(std::tie(rule.x1, rule.y1, rule.x2, rule.y2), std::tuple(75, 720, 900, 720));
}

TEST_F(LabelPrintTest, BillingAddressWithoutShippingAndUnknownCustomersAreSkipped) {
  Queue({"99", "30"});
  EXPECT_EQ(Print(), "Complete. 1 label(s) sent to printer.");
  EXPECT_NE(canvas_.Find("PO Box 9"), nullptr);
  EXPECT_EQ(canvas_.Find("Pier 4"), nullptr);
  EXPECT_EQ(canvas_.Find("Dockside Marine")->x, 150);
}

TEST(LabelCounts, BlankOrLeadingZeroCountsAsOne) {
  EXPECT_EQ(CountOf(""), 1);
  EXPECT_EQ(CountOf("0"), 1);
  EXPECT_EQ(CountOf("07"), 1);
  EXPECT_EQ(CountOf("3"), 3);
}

TEST_F(LabelPrintTest, PrintingRefusesAnEmptyQueueOrLayoutAndOffersToSaveChanges) {
  platform::testing::ScriptedDialogs dialogs;
  EXPECT_EQ(CheckBeforePrinting(labelQueue_, layout_, layout_, dialogs), PrintCheck::kRefused);
  Queue({"10"});
  documents::LabelLayout blank = layout_;
  blank.rows = "";
  EXPECT_EQ(CheckBeforePrinting(labelQueue_, blank, layout_, dialogs), PrintCheck::kRefused);
  EXPECT_EQ(CheckBeforePrinting(labelQueue_, layout_, layout_, dialogs), PrintCheck::kGo);
  documents::LabelLayout moved = layout_;
  moved.leftMargin = "150";
  dialogs.Answer(platform::Answer::kYes).Answer(platform::Answer::kNo);
  EXPECT_EQ(CheckBeforePrinting(labelQueue_, moved, layout_, dialogs), PrintCheck::kSaveFirst);
  EXPECT_EQ(CheckBeforePrinting(labelQueue_, moved, layout_, dialogs), PrintCheck::kGo);
  const std::vector<std::string> texts = {
      "You do not have any customer records listed in the print queue.",
      "You have an empty layout definition field. All six fields are required. Unable to print.",
      "Your layout settings have changed. Do you want to save the changes before printing?",
      "Your layout settings have changed. Do you want to save the changes before printing?"};
  ASSERT_EQ(dialogs.Log().size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(dialogs.Log()[i].text, texts[i]);
}

TEST(CalibrationRuler, PrintsOnlyWhenConfirmed) {
  platform::testing::ScriptedDialogs dialogs;
  RecordingCanvas canvas;
  dialogs.Answer(platform::Answer::kNo).Answer(platform::Answer::kYes);
  EXPECT_EQ(PrintCalibrationRuler(canvas, dialogs), std::nullopt);
  EXPECT_TRUE(canvas.documents.empty());
  EXPECT_EQ(PrintCalibrationRuler(canvas, dialogs), "Calibration ruler sent to printer.");
  EXPECT_NE(canvas.Find("Be sure to include any spacing between labels in your height and width measurements."),
            nullptr);
  EXPECT_EQ(dialogs.Log()[0].caption, "Please Confirm");
}

}  // namespace
}  // namespace reports
