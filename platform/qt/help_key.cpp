#include "platform/qt/help_key.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

#include "platform/qt/qt_dialogs.h"

namespace platform::qt {
namespace {

constexpr char kKeywordProperty[] = "qyHelpKeyword";

}  // namespace

void SetHelpKeyword(QWidget& window, std::string_view keyword) {
  window.setProperty(kKeywordProperty, keyword.empty() ? QVariant() : QVariant(ToQString(keyword)));
}

std::string HelpKeywordOf(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    const QVariant keyword = widget->property(kKeywordProperty);
    if (keyword.isValid()) return keyword.toString().toStdString();
  }
  return {};
}

HelpKey::HelpKey(Help& help) : help_(help) { QCoreApplication::instance()->installEventFilter(this); }

// The key reaches the focused widget of the window it was pressed in; handled there,
// it goes no further.
bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  if (!key->isAutoRepeat()) {
    const std::string keyword = HelpKeywordOf(static_cast<QWidget*>(watched));
    if (keyword.empty()) {
      help_.ShowContents();
    } else {
      help_.ShowTopic(keyword);
    }
  }
  return true;
}

}  // namespace platform::qt
