// Answers for an unattended run (the demo company's making, the benchmarks): every
// question gets Yes (or OK), and only warnings and errors are kept, so that a run can
// say what the bookkeeping complained of.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace platform {

class QuietDialogs final : public Dialogs {
 public:
  void inform(std::string_view caption, std::string_view text, Icon icon) override {
    if (icon == Icon::kError || icon == Icon::kWarning) {
      problems.push_back(std::string(caption) + ": " + std::string(text));
    }
  }
  bool confirm(std::string_view, std::string_view, Answer) override { return true; }
  Answer ask(std::string_view, std::string_view, Buttons buttons, Icon) override {
    return buttons == Buttons::kOk || buttons == Buttons::kOkCancel ? Answer::kOk
                                                                                          : Answer::kYes;
  }
  std::optional<std::string> prompt(std::string_view, bool, int, std::string_view) override { return std::nullopt; }

  std::vector<std::string> problems;
};

}  // namespace platform
