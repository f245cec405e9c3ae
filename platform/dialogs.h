// The port through which the logic talks to the user: message boxes, questions and
// prompts. The desktop answers with real dialogs; tests answer from a script and keep
// a log of every text shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class Icon { kNone, kInformation, kWarning, kError, kQuestion };
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message with an OK button.
  virtual void inform(std::string_view caption, std::string_view text, Icon icon = Icon::kInformation) = 0;
  // A Yes/No question; true for Yes. `defaultAnswer` is the button Enter presses: No
  // for questions whose Yes destroys data, so that a hurried Enter keeps it.
  virtual bool confirm(std::string_view caption, std::string_view text, Answer defaultAnswer = Answer::kYes) = 0;
  // A question with any set of buttons; closing the box answers Cancel (or No).
  virtual Answer ask(std::string_view caption, std::string_view text, Buttons buttons,
                     Icon icon = Icon::kQuestion) = 0;
  // A one-line entry of at most `maxLength` characters; nullopt when cancelled.
  // `secret` hides what is typed; a non-empty `helpKeyword` adds a Help button.
  virtual std::optional<std::string> prompt(std::string_view caption, bool secret, int maxLength = 255,
                                            std::string_view helpKeyword = {}) = 0;
};

}  // namespace platform
