#include "shell/aging_chart.h"

#include <gtest/gtest.h>

#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

AgingTotals Totals(std::array<std::string_view, kAgingBucketCount> amounts) {
  AgingTotals totals;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) totals.amounts[i] = model::ParseMoney(amounts[i]).value();
  return totals;
}

TEST(AgingChartCommand, RefusesWithoutOpenInvoicesAndWhileShowing) {
  platform::testing::ScriptedDialogs dialogs_;
  model::CompanyRecord company{};
  company.TotalAR = "0.00";
  EXPECT_FALSE(AgingChartCommandAllowed(company, false, dialogs_));
  company.TotalAR = "5.00";
  EXPECT_FALSE(AgingChartCommandAllowed(company, true, dialogs_));
  EXPECT_TRUE(AgingChartCommandAllowed(company, false, dialogs_));

  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"You do not have any open invoices.",
                                                        "The Aging Chart is currently showing."}));
  for (const auto& message : dialogs_.Log()) {
    EXPECT_EQ(message.caption, "Aging Chart");
    EXPECT_EQ(message.icon, platform::Icon::kInformation);
  }
}

TEST(AgingChartGeometry, SmallBucketsStillGetFourPixels) {
  const AgingTotals totals = Totals({"1", "1", "1", "997"});
  EXPECT_EQ(AgingBarSpans(totals, 200),
            (std::array<BarSpan, 4>{BarSpan{0, 4}, BarSpan{4, 4}, BarSpan{8, 4}, BarSpan{12, 200}}));
}

TEST(AgingChartGeometry, CreditBucketStaysInsideTheFrame) {
  const AgingTotals totals = Totals({"200", "-100", "0", "0"});
  EXPECT_EQ(AgingBarSpans(totals, 100),
            (std::array<BarSpan, 4>{BarSpan{0, 100}, BarSpan{100, 4}, BarSpan{104, 0}, BarSpan{104, 0}}));
}

TEST(AgingChartGeometry, HintsShowAmountsWithThousandsSeparators) {
  const AgingTotals totals = Totals({"1234.5", "0", "10", "1000000"});
  EXPECT_EQ(AgingTotalHint(totals), "Total A/R: 1,001,244.50");
  EXPECT_EQ(AgingBarHints(totals), (std::array<std::string, 4>{"0-30 Days: 1,234.50", "31-60 Days: 0.00",
                                                               "61-90 Days: 10.00", "Over 90 Days: 1,000,000.00"}));
}

}  // namespace
}  // namespace shell
