// Runs one side of one benchmark phase in a forked child process. The child's memory
// figures are then its own, and the child can end without closing anything, which is
// how a file set is left open for the rebuild step.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <type_traits>

namespace bench {

// Handed to the child's body: Finish sends the report and ends the process at once
// with _exit, so no destructor runs and nothing is closed or flushed.
class ChildReporter {
 public:
  explicit ChildReporter(int fd) : fd_(fd) {}
  template <class Report>
  [[noreturn]] void Finish(const Report& report) {
    static_assert(std::is_trivially_copyable_v<Report>);
    Send(std::as_bytes(std::span(&report, 1)));
  }

 private:
  [[noreturn]] void Send(std::span<const std::byte> bytes);
  int fd_;
};

struct ChildResult {
  bool ok = false;  // exited normally after sending a whole report
  long maxRssKiB = 0;
};

// Forks, runs `body` in the child and waits for it; the report is written to `report`.
// A child that fails prints its own message on standard error and exits nonzero.
ChildResult RunInChild(const std::function<void(ChildReporter&)>& body, std::span<std::byte> report);

template <class Report>
ChildResult RunInChild(const std::function<void(ChildReporter&)>& body, Report& report) {
  static_assert(std::is_trivially_copyable_v<Report>);
  return RunInChild(body, std::as_writable_bytes(std::span(&report, 1)));
}

}  // namespace bench
