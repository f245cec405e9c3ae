#include "shell/aging_chart.h"

#include <algorithm>
#include <cstdlib>

#include "model/field_values.h"

namespace shell {
namespace {

constexpr std::string_view kChartCaption = "Aging Chart";
constexpr int kSmallestVisibleBar = 4;
constexpr std::string_view kHintPicture = ",0.00";
constexpr std::array<std::string_view, kAgingBucketCount> kBarHintLabels = {"0-30 Days: ", "31-60 Days: ",
                                                                            "61-90 Days: ", "Over 90 Days: "};

// numerator / denominator to the nearest whole number, halves away from zero.
std::int64_t RoundedShare(std::int64_t numerator, std::int64_t denominator) {
  const bool negative = (numerator < 0) != (denominator < 0);
  const std::int64_t magnitude = (std::abs(numerator) + std::abs(denominator) / 2) / std::abs(denominator);
  return negative ? -magnitude : magnitude;
}

}  // namespace

bool AgingChartCommandAllowed(const model::CompanyRecord& current, bool chartShowing, platform::Dialogs& dialogs) {
  const std::optional<model::Money> total = model::ReadMoney(current.TotalAR);
  if (total && total->IsZero()) {
    dialogs.inform(kChartCaption, "You do not have any open invoices.", platform::Icon::kInformation);
    return false;
  }
  if (chartShowing) {
    dialogs.inform(kChartCaption, "The Aging Chart is currently showing.", platform::Icon::kInformation);
    return false;
  }
  return true;
}

std::array<BarSpan, kAgingBucketCount> AgingBarSpans(const AgingTotals& totals, int frameHeight) {
  std::array<BarSpan, kAgingBucketCount> bars{};
  const std::int64_t grand = totals.Grand().Cents();
  int top = 0;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    const model::Money amount = totals.amounts[i];
    // Credits can push a share below 0 or above 100 percent; the bar stays in the frame.
    const std::int64_t percent =
        grand == 0 ? 0 : std::clamp<std::int64_t>(RoundedShare(amount.Cents() * 100, grand), 0, 100);
    int height = static_cast<int>(percent * frameHeight / 100);
    if (!amount.IsZero()) height = std::max(height, kSmallestVisibleBar);
    bars[i] = {top, height};
    top += height;
  }
  return bars;
}

std::string AgingTotalHint(const AgingTotals& totals) {
  return "Total A/R: " + model::FormatMoney(totals.Grand(), kHintPicture);
}

std::array<std::string, kAgingBucketCount> AgingBarHints(const AgingTotals& totals) {
  std::array<std::string, kAgingBucketCount> hints;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    hints[i] = std::string(kBarHintLabels[i]) + model::FormatMoney(totals.amounts[i], kHintPicture);
  }
  return hints;
}

}  // namespace shell
