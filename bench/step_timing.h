// How a side turns a timed stretch into a step's outcome, and how a read-only step is
// timed more than once, so that one disturbed stretch of a shared machine does not
// decide a ratio.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <array>

#include "bench/report.h"
#include "bench/workload.h"

namespace bench {

// What was written so far goes to disk before the next timing starts, so that the system
// writing it back in its own time does not land in a step that only reads, on either side.
inline void SettleWrites() { ::sync(); }

inline StepOutcome Outcome(const Stopwatch& watch, const Digest& digest) {
  return {watch.seconds(), digest.rows(), digest.value()};
}

// Runs a read-only step three times (run() returns its outcome) and keeps the median
// time. Every run must return the same rows; when one does not, the digest is spoiled so
// that the comparison with the other side shows it.
template <class Run>
StepOutcome MedianOfRuns(Run run) {
  std::array<StepOutcome, 3> outcomes;
  for (StepOutcome& outcome : outcomes) outcome = run();
  const bool same = std::all_of(outcomes.begin(), outcomes.end(), [&](const StepOutcome& o) {
    return o.rows == outcomes[0].rows && o.digest == outcomes[0].digest;
  });
  std::sort(outcomes.begin(), outcomes.end(),
            [](const StepOutcome& a, const StepOutcome& b) { return a.seconds < b.seconds; });
  StepOutcome median = outcomes[1];
  if (!same) median.digest = ~median.digest;
  return median;
}

}  // namespace bench
