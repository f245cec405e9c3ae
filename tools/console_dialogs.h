// Dialogs for a command-line tool: messages go to the error stream, and questions get
// the answer that lets an unattended set-up go on (create, rebuild, give up a lock).
#pragma once

#include <iostream>

#include "platform/dialogs.h"

namespace tools {

class ConsoleDialogs final : public platform::Dialogs {
 public:
  explicit ConsoleDialogs(std::ostream& messages = std::cerr) : messages_(messages) {}

  void inform(std::string_view caption, std::string_view text, platform::Icon) override { Say(caption, text); }
  bool confirm(std::string_view caption, std::string_view text, platform::Answer) override {
    Say(caption, text, "Yes");
    return true;
  }
  platform::Answer ask(std::string_view caption, std::string_view text, platform::Buttons buttons,
                       platform::Icon) override {
    const bool okButtons = buttons == platform::Buttons::kOk || buttons == platform::Buttons::kOkCancel;
    Say(caption, text, okButtons ? "OK" : "Yes");
    return okButtons ? platform::Answer::kOk : platform::Answer::kYes;
  }
  std::optional<std::string> prompt(std::string_view caption, bool, int, std::string_view) override {
    Say(caption, "(no one to type an answer)", "Cancel");
    return std::nullopt;
  }

 private:
  void Say(std::string_view caption, std::string_view text, std::string_view answer = {}) {
    messages_ << caption << ": " << text;
    if (!answer.empty()) messages_ << " [" << answer << "]";
    messages_ << '\n';
  }

  std::ostream& messages_;
};

}  // namespace tools
