// Help by window: each window names its help topic once, and F1 pressed anywhere in
// the program opens the topic of the window it was pressed in. A window without a
// topic of its own (a message box, a list window) shows that of the window it
// belongs to.
#pragma once

#include <QObject>
#include <string>
#include <string_view>

#include "platform/help.h"

class QWidget;

namespace platform::qt {

// An empty keyword takes the window's own topic away again.
void SetHelpKeyword(QWidget& window, std::string_view keyword);
// The keyword of `widget`, or of the nearest widget above it that has one; empty when
// none has.
std::string HelpKeywordOf(const QWidget* widget);

// Answers F1 for the whole program while it exists.
class HelpKey final : public QObject {
 public:
  explicit HelpKey(Help& help);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Help& help_;
};

}  // namespace platform::qt
