// The port for long runs: a small window (or status text) with a caption and a few
// lines of counters, kept responsive while the run goes on.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace platform {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;

  virtual void Begin(std::string_view title, std::string_view caption) = 0;
  virtual void Show(std::span<const std::string> lines) = 0;
  // Lets the window system handle pending events between two steps of the run.
  virtual void KeepResponsive() = 0;
  virtual void End() = 0;
};

// A run's Begin when made and its End when its scope is left in any way, so the window
// and its hourglass never outlive a run that failed.
class ProgressRun {
 public:
  ProgressRun(ProgressSink& sink, std::string_view title, std::string_view caption) : sink_(sink) {
    sink_.Begin(title, caption);
  }
  ~ProgressRun() { sink_.End(); }
  ProgressRun(const ProgressRun&) = delete;
  ProgressRun& operator=(const ProgressRun&) = delete;

 private:
  ProgressSink& sink_;
};

// For runs nobody watches.
class SilentProgress final : public ProgressSink {
 public:
  void Begin(std::string_view, std::string_view) override {}
  void Show(std::span<const std::string>) override {}
  void KeepResponsive() override {}
  void End() override {}
};

}  // namespace platform
