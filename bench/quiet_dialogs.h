// Answers for an unattended run: every question gets Yes (or OK), and only warnings
// and errors are kept, so that a run can say what the bookkeeping complained of.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace bench {

class QuietDialogs final : public platform::Dialogs {
 public:
  void inform(std::string_view caption, std::string_view text, platform::Icon icon) override {
    if (icon == platform::Icon::kError || icon == platform::Icon::kWarning) {
      problems.push_back(std::string(caption) + ": " + std::string(text));
    }
  }
  bool confirm(std::string_view, std::string_view, platform::Answer) override { return true; }
  platform::Answer ask(std::string_view, std::string_view, platform::Buttons buttons, platform::Icon) override {
    return buttons == platform::Buttons::kOk || buttons == platform::Buttons::kOkCancel ? platform::Answer::kOk
                                                                                          : platform::Answer::kYes;
  }
  std::optional<std::string> prompt(std::string_view, bool, int, std::string_view) override { return std::nullopt; }

  std::vector<std::string> problems;
};

}  // namespace bench
