#include "platform/testing/fake_desktop.h"
#include "shell/ui/aging_chart.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace shell::ui {
namespace {

using platform::testing::RecordingHelp;

class AgingChartTest : public ::testing::Test {
 protected:
  AgingChartTest() {
    QObject::connect(&chart_, &TAgingChart::statusChanged, [this](const QString& text) { statuses_.append(text); });
  }

  RecordingHelp help_;
  TAgingChart chart_{help_};
  QStringList statuses_;
};

AgingTotals Dollars(std::array<int, kAgingBucketCount> dollars) {
  AgingTotals totals;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) totals.amounts[i] = model::Money::FromCents(dollars[i] * 100);
  return totals;
}

TEST_F(AgingChartTest, BarsStackInTheFrameWithTheirAmountsAsHints) {
  chart_.ShowTotals(Dollars({1, 1, 1, 997}));
  ASSERT_TRUE(chart_.isVisible());
  const QRect inside = chart_.ChartFrame()->contentsRect();
  int top = inside.top();
  const int heights[] = {4, 4, 4, inside.height()};
  for (const AgingBucket bucket :
       {AgingBucket::kCurrent, AgingBucket::kDays31to60, AgingBucket::kDays61to90, AgingBucket::kOver90}) {
    const QRect bar = chart_.Bar(bucket)->geometry();
    const int i = static_cast<int>(bucket);
    SCOPED_TRACE(i);
    EXPECT_EQ(bar.top(), top);
    EXPECT_EQ(bar.height(), heights[i]);
    EXPECT_EQ(bar.left(), inside.left());
    EXPECT_EQ(bar.width(), inside.width());
    top += heights[i];
  }
  EXPECT_EQ(chart_.toolTip(), "Total A/R: 1,000.00");
  EXPECT_EQ(chart_.Bar(AgingBucket::kCurrent)->toolTip(), "0-30 Days: 1.00");
  EXPECT_EQ(chart_.Bar(AgingBucket::kOver90)->toolTip(), "Over 90 Days: 997.00");
  EXPECT_EQ(statuses_, QStringList{"Hold mouse over color to see aging amount..."});
}

// A past day's aging names the day under the bars; today's names none.
TEST_F(AgingChartTest, AsOfAsksTheMainWindowAndNamesTheDayShown) {
  int asked = 0;
  QObject::connect(&chart_, &TAgingChart::asOfRequested, [&asked] { ++asked; });
  chart_.ShowTotals(Dollars({10, 0, 0, 0}), "06/30/2026");
  EXPECT_TRUE(chart_.AsOfLabel()->isVisibleTo(&chart_));
  EXPECT_EQ(chart_.AsOfLabel()->text(), "As of 06/30/2026");
  chart_.AsOfButton()->click();
  EXPECT_EQ(asked, 1);
  chart_.ShowTotals(Dollars({10, 0, 0, 0}));
  EXPECT_FALSE(chart_.AsOfLabel()->isVisibleTo(&chart_));
}

TEST_F(AgingChartTest, CloseChartHidesThePanelAndReportsReady) {
  chart_.ShowTotals(Dollars({10, 0, 0, 0}));
  chart_.CloseChartButton()->click();
  EXPECT_FALSE(chart_.isVisible());
  EXPECT_EQ(statuses_.last(), "Ready.");
  chart_.HelpButton()->click();
  EXPECT_EQ(help_.topics, std::vector<std::string>{"AgingChart"});
}

}  // namespace
}  // namespace shell::ui
