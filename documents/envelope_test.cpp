#include "documents/envelope.h"

#include <gtest/gtest.h>

#include "platform/testing/recording_canvas.h"
#include "platform/testing/scripted_dialogs.h"

namespace documents {
namespace {

using platform::testing::RecordingCanvas;
using platform::testing::ScriptedDialogs;

model::CustomerRecord Customer(std::string_view number, std::string_view name) {
  model::CustomerRecord customer{};
  customer.CustNo = number;
  customer.CustName = name;
  customer.BillAddr1 = "1 Quay Street";
  customer.BillAddr3 = "Portsmouth";
  customer.ShipAddr1 = "Dock 4";
  customer.ShipAddr2 = "Harbor Road";
  return customer;
}

class EnvelopeTest : public ::testing::Test {
 protected:
  EnvelopeTest() {
    company_.CompanyName = "Harbor Supply";
    company_.CoAddr1 = "1 Main St";
    company_.CoAddr4 = "Portsmouth";
    model::SetFont(company_.EnvelopeFont, "Courier", 14, 0x0000FF, model::font_style::kBold);
    company_.EnvLineSpacing = "100";
    company_.EnvLeftMargin = " 150";
    company_.EnvTopMargin = "200";
    company_.EnvSendLeft = "2400";
    customer_ = Customer("10", "  Ship Chandlers ");
  }
  // (x, y, text) of everything drawn.
  std::vector<std::tuple<int, int, std::string>> Drawn() const {
    std::vector<std::tuple<int, int, std::string>> drawn;
    for (const auto& text : canvas_.texts) drawn.emplace_back(text.x, text.y, text.text);
    return drawn;
  }

  model::CompanyRecord company_{};
  model::CustomerRecord customer_;
  RecordingCanvas canvas_;
  ScriptedDialogs dialogs_;
};

TEST_F(EnvelopeTest, PortraitBillingAddressWithoutReturnAddress) {
  company_.EnvOrientation = "P";
  company_.EnvAddress = "B";
  model::SetYes(company_.PrintReturnAddress, false);
  ASSERT_EQ(PrintEnvelope(company_, customer_, canvas_, dialogs_), EnvelopeOutcome::kPrinted);
  EXPECT_EQ(canvas_.documents, (std::vector<std::string>{"Envelope"}));
  EXPECT_EQ(canvas_.orientation, platform::Orientation::kPortrait);
  EXPECT_EQ(canvas_.pageSize, platform::PageSize::kEnvelope10);
  EXPECT_EQ(Drawn(), (std::vector<std::tuple<int, int, std::string>>{{2400, 1000, "  Ship Chandlers "},
                                                                     {2400, 1100, "1 Quay Street"},
                                                                     {2400, 1200, ""},
                                                                     {2400, 1300, "Portsmouth"},
                                                                     {2400, 1400, ""}}));
  EXPECT_EQ(canvas_.texts[0].font.name, "Courier");
  EXPECT_EQ(canvas_.texts[0].font.pointSize, 14);
  EXPECT_EQ(canvas_.texts[0].font.color, 0x0000FFu);
  EXPECT_TRUE(canvas_.texts[0].font.bold);
  EXPECT_EQ(canvas_.ended, 1);
  EXPECT_EQ(EnvelopeSentText(customer_, "the printer Office"),
            "Envelope for Ship Chandlers sent to the printer Office.");
}

TEST_F(EnvelopeTest, LandscapeShippingAddressWithReturnAddress) {
  company_.EnvOrientation = "L";
  company_.EnvAddress = "S";
  model::SetYes(company_.PrintReturnAddress, true);
  ASSERT_EQ(PrintEnvelope(company_, customer_, canvas_, dialogs_), EnvelopeOutcome::kPrinted);
  EXPECT_EQ(canvas_.orientation, platform::Orientation::kLandscape);
  EXPECT_EQ(canvas_.pageSize, platform::PageSize::kEnvelope10);
  EXPECT_EQ(Drawn(), (std::vector<std::tuple<int, int, std::string>>{{150, 200, "Harbor Supply"},
                                                                     {150, 300, "1 Main St"},
                                                                     {150, 400, ""},
                                                                     {150, 500, ""},
                                                                     {150, 600, "Portsmouth"},
                                                                     {2400, 1000, "  Ship Chandlers "},
                                                                     {2400, 1100, "Dock 4"},
                                                                     {2400, 1200, "Harbor Road"},
                                                                     {2400, 1300, ""},
                                                                     {2400, 1400, ""}}));
}

TEST_F(EnvelopeTest, SettingThatIsNoWholeNumberPrintsNothing) {
  for (std::string_view spacing : {"", "1.5", "10x"}) {
    company_.EnvLineSpacing = spacing;
    EXPECT_EQ(PrintEnvelope(company_, customer_, canvas_, dialogs_), EnvelopeOutcome::kBadLayout);
  }
  EXPECT_TRUE(canvas_.documents.empty());
  ASSERT_EQ(dialogs_.Log().size(), 3u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Print Envelope");
}

}  // namespace
}  // namespace documents
