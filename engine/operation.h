// The check every public engine operation makes on entry, in a fixed order: engine
// initialised (10455), no other operation running (10446), a valid open file set
// (10445), not read-only when writing (10065), an index number in range (10164).
// It also resets the status on entry and, on leaving, reports an operating-system
// error on a read-only file set as 10397.
#pragma once

#include <limits>

#include "engine/engine.h"

namespace engine {

class Operation {
 public:
  static constexpr KeyNumber kNoIndex = std::numeric_limits<KeyNumber>::min();
  enum class Access { kRead, kWrite };

  // For operations that take no file set.
  explicit Operation(Engine& engine);
  Operation(Engine& engine, FileBlock* fileBlock, Access access, KeyNumber index = kNoIndex);
  ~Operation();
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  explicit operator bool() const { return started_; }

 private:
  bool Start();

  Engine& engine_;
  bool started_ = false;
  bool readOnlyFile_ = false;
};

}  // namespace engine
