// The desktop's answer to the Dialogs port: modal message boxes over the window that
// is active, and a small entry dialog for prompts (passwords among them).
#pragma once

#include <QDialog>
#include <functional>

#include "platform/dialogs.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace platform::qt {

// The one-line entry behind Dialogs::prompt. Each showing starts with an empty,
// focused edit.
class TPromptDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TPromptDlg(QWidget* parent = nullptr);

  // Help opens `helpKeyword` through `showHelp` when both are set.
  std::optional<std::string> Ask(std::string_view caption, bool secret, int maxLength, std::string_view helpKeyword,
                                 const std::function<void(std::string_view)>& showHelp);
  QLineEdit* Password() const { return Password_; }

 private:
  void HelpButtonClick();

  ::QLabel* Prompt_;
  QLineEdit* Password_;
  class QPushButton* HelpButton_;
  std::string helpKeyword_;
  std::function<void(std::string_view)> showHelp_;
};

class QtDialogs final : public Dialogs {
 public:
  // `showHelp` serves the Help buttons of prompts; it may be empty.
  explicit QtDialogs(std::function<void(std::string_view)> showHelp = {}) : showHelp_(std::move(showHelp)) {}

  void inform(std::string_view caption, std::string_view text, Icon icon) override;
  bool confirm(std::string_view caption, std::string_view text, Answer defaultAnswer) override;
  Answer ask(std::string_view caption, std::string_view text, Buttons buttons, Icon icon) override;
  std::optional<std::string> prompt(std::string_view caption, bool secret, int maxLength,
                                    std::string_view helpKeyword) override;
  void SetHelp(std::function<void(std::string_view)> showHelp) { showHelp_ = std::move(showHelp); }

 private:
  std::function<void(std::string_view)> showHelp_;
};

QString ToQString(std::string_view text);

}  // namespace platform::qt
