// The aging run: spreads every owing customer's open transactions over four age
// buckets, rewrites the customer's balance from them and stores the company's total
// receivables; and the checks, bar geometry and hint texts of the aging chart.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "shell/company_session.h"

namespace shell {

enum class AgingBucket { kCurrent, kDays31to60, kDays61to90, kOver90 };
constexpr std::size_t kAgingBucketCount = 4;

// Age in whole days (today minus the document date) to bucket: under 31, future dates
// included, is current.
AgingBucket BucketOfAge(int days);

struct AgingTotals {
  std::array<model::Money, kAgingBucketCount> amounts{};

  model::Money& operator[](AgingBucket bucket) { return amounts[static_cast<std::size_t>(bucket)]; }
  model::Money operator[](AgingBucket bucket) const { return amounts[static_cast<std::size_t>(bucket)]; }
  model::Money Grand() const;
  AgingTotals& operator+=(const AgingTotals& other);
};

// Which bucket a transaction's open amount belongs to. TransDate is read in the
// company's order; when it is no date the sortable SortDate stands in, and with
// neither the amount counts as current.
AgingBucket BucketOfTransaction(const model::TransactionRecord& transaction, const model::Date& today,
                                model::DateOrder order);

// What a run needs from the program; setStatus writes status panel 1.
struct AgingContext {
  engine::Engine& engine;
  platform::Dialogs& dialogs;
  platform::ProgressSink& progress;
  const platform::Clock& clock;
  CompanySession& session;
  std::function<void(std::string_view)> setStatus;
};

struct AgingResult {
  bool ran = false;  // false: nothing to age, or the files could not be opened
  AgingTotals totals;
  bool showChart = false;
};

inline constexpr std::string_view kStatusReady = "Ready.";

// forceChart is true only when the user asked for the chart. Rewrites the aging
// fields and balance of every customer whose balance is not zero, then the company's
// LastAgingDate and TotalAR in the company list, "LastCo.Dat" and CurrentCompany.
AgingResult RunAging(const AgingContext& context, bool forceChart);

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
