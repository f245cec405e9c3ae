// What each side of the benchmark measures and hands back to the parent process.
// Plain bytes only: a report crosses a pipe from the child process that made it.
#pragma once

#include <cstdint>
#include <type_traits>

#include "bench/transaction_record.h"

namespace bench {

enum Step { kLoad, kLookup, kCustomerWalk, kDateRange, kRebuild, kDelete, kAdd, kStepCount };

struct StepOutcome {
  double seconds = 0;
  std::uint64_t rows = 0;    // rows returned, or records written
  std::uint64_t digest = 0;  // of the rows, in the order they came
};

struct SideReport {
  StepOutcome steps[kStepCount];
  // After the change step, every index walked from first to last entry (untimed):
  // index 1 by its records, the others by their keys.
  StepOutcome indexContents[kKeyCount];
  // Engine: bytes of heap in use above what the process held before the engine
  // started, counted through operator new/delete. SQLite: sqlite3_memory_highwater.
  std::uint64_t peakHeapBytes = 0;
  // Engine only: malloc's own count of bytes in use, sampled at the end of each step,
  // so that memory the engine took from malloc directly would show up as well.
  std::uint64_t sampledMallocBytes = 0;
  std::int64_t reusedSlots = 0;  // additions that landed in a freed slot
};
static_assert(std::is_trivially_copyable_v<SideReport>);

}  // namespace bench
