// Test stand-ins for the user: ScriptedDialogs answers questions from a queue and logs
// every message; RecordingProgress keeps what a progress window would have shown.
// A question nobody scripted, or an answer that is not one of the question's
// buttons, throws, so the test fails at the spot.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/progress.h"

namespace platform::testing {

struct LoggedMessage {
  enum class Kind { kInform, kConfirm, kAsk, kPrompt };
  Kind kind;
  std::string caption;
  std::string text;  // empty for a prompt
  Icon icon = Icon::kNone;
  Buttons buttons = Buttons::kOk;
  Answer defaultAnswer = Answer::kOk;  // the button Enter would press
};

class UnexpectedDialog : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class ScriptedDialogs final : public Dialogs {
 public:
  // Queue answers for confirm() and ask(), in the order the questions will come.
  ScriptedDialogs& Answer(platform::Answer answer) {
    answers_.push_back(answer);
    return *this;
  }
  // Queue Enter for the next confirm() or ask(): it takes the question's default answer.
  ScriptedDialogs& PressEnter() {
    answers_.push_back(std::nullopt);
    return *this;
  }
  // Queue an entry for prompt(); nullopt presses Cancel.
  ScriptedDialogs& Type(std::optional<std::string> entry) {
    entries_.push_back(std::move(entry));
    return *this;
  }

  // Called with each message as it comes up, for tests that look at the windows then.
  std::function<void(const LoggedMessage&)> onMessage;

  void inform(std::string_view caption, std::string_view text, Icon icon) override {
    Show({LoggedMessage::Kind::kInform, std::string(caption), std::string(text), icon, Buttons::kOk});
  }
  bool confirm(std::string_view caption, std::string_view text, platform::Answer defaultAnswer) override {
    Show({LoggedMessage::Kind::kConfirm, std::string(caption), std::string(text), Icon::kQuestion, Buttons::kYesNo,
          defaultAnswer});
    return NextAnswer(Buttons::kYesNo) == platform::Answer::kYes;
  }
  platform::Answer ask(std::string_view caption, std::string_view text, Buttons buttons, Icon icon) override {
    const bool okFirst = buttons == Buttons::kOk || buttons == Buttons::kOkCancel;
    Show({LoggedMessage::Kind::kAsk, std::string(caption), std::string(text), icon, buttons,
          okFirst ? platform::Answer::kOk : platform::Answer::kYes});
    return NextAnswer(buttons);
  }
  std::optional<std::string> prompt(std::string_view caption, bool, int, std::string_view) override {
    Show({LoggedMessage::Kind::kPrompt, std::string(caption), {}, Icon::kNone, Buttons::kOkCancel});
    if (entries_.empty()) throw UnexpectedDialog("unscripted prompt: " + std::string(caption));
    auto entry = std::move(entries_.front());
    entries_.pop_front();
    return entry;
  }

  const std::vector<LoggedMessage>& Log() const { return log_; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& message : log_) texts.push_back(message.text);
    return texts;
  }
  bool AllAnswersUsed() const { return answers_.empty() && entries_.empty(); }

 private:
  void Show(LoggedMessage message) {
    log_.push_back(std::move(message));
    if (onMessage) onMessage(log_.back());
  }
  platform::Answer NextAnswer(Buttons buttons) {
    const std::string& question = log_.back().text;
    if (answers_.empty()) throw UnexpectedDialog("unscripted question: " + question);
    const platform::Answer answer = answers_.front().value_or(log_.back().defaultAnswer);
    answers_.pop_front();
    if (!Offers(buttons, answer)) throw UnexpectedDialog("scripted answer is not a button of: " + question);
    return answer;
  }
  static bool Offers(Buttons buttons, platform::Answer answer) {
    using enum platform::Answer;
    switch (buttons) {
      case Buttons::kOk: return answer == kOk;
      case Buttons::kOkCancel: return answer == kOk || answer == kCancel;
      case Buttons::kYesNo: return answer == kYes || answer == kNo;
      case Buttons::kYesNoCancel: return answer == kYes || answer == kNo || answer == kCancel;
    }
    return false;
  }

  std::deque<std::optional<platform::Answer>> answers_;  // nullopt: Enter
  std::deque<std::optional<std::string>> entries_;
  std::vector<LoggedMessage> log_;
};

class RecordingProgress final : public ProgressSink {
 public:
  struct Shown {
    std::vector<std::string> lines;
  };

  void Begin(std::string_view title, std::string_view caption) override {
    ++begun;
    this->title = title;
    this->caption = caption;
  }
  void Show(std::span<const std::string> lines) override { shown.push_back({{lines.begin(), lines.end()}}); }
  void KeepResponsive() override { ++responsiveCalls; }
  void End() override { ++ended; }

  int begun = 0;
  int ended = 0;
  int responsiveCalls = 0;
  std::string title;
  std::string caption;
  std::vector<Shown> shown;
};

}  // namespace platform::testing
