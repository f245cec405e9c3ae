// The aging chart without its window: whether the command may run, the bars' geometry
// and the hint texts over the totals of an aging run.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "books/aging.h"
#include "model/records.h"
#include "platform/dialogs.h"

namespace shell {

using books::AgingBucket;
using books::AgingTotals;
using books::kAgingBucketCount;

// The "Aging Chart" command: true when the run may start; otherwise the reason has
// been shown.
bool AgingChartCommandAllowed(const model::CompanyRecord& current, bool chartShowing, platform::Dialogs& dialogs);

// One bar of the chart, relative to the chart frame's top.
struct BarSpan {
  int top = 0;
  int height = 0;
  friend bool operator==(const BarSpan&, const BarSpan&) = default;
};

// The bars stacked from the frame's top, current first, each as high as its rounded
// percentage share of the frame; a bucket that is not zero gets at least 4 pixels.
std::array<BarSpan, kAgingBucketCount> AgingBarSpans(const AgingTotals& totals, int frameHeight);

std::string AgingTotalHint(const AgingTotals& totals);
std::array<std::string, kAgingBucketCount> AgingBarHints(const AgingTotals& totals);

inline constexpr std::string_view kChartShownStatus = "Hold mouse over color to see aging amount...";

}  // namespace shell
