// Stand-ins for the desktop's help and program launcher in window tests: help
// remembers the topics asked for, and no calculator is ever found.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/help.h"
#include "platform/launcher.h"

namespace platform::testing {

class RecordingHelp final : public Help {
 public:
  void ShowTopic(std::string_view keyword) override { topics.emplace_back(keyword); }
  void ShowContents() override { topics.emplace_back("contents"); }
  std::vector<std::string> topics;
};

class NoCalculator final : public Launcher {
 public:
  bool StartCalculator() override { return false; }
};

}  // namespace platform::testing
