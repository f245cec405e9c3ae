// Driving a window as the user does: keys go through the window system to the widget
// that has the focus (which changes as grid cells open and close their editors), and
// every step lets the window catch up before the next.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace invoicing::ui::testing {

inline void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

inline void Type(QWidget& window, const char* text) {
  for (const char* c = text; *c != '\0'; ++c) QTest::keyClick(window.windowHandle(), *c);
  Settle();
}

inline void Press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(window.windowHandle(), key, modifiers);
  Settle();
}

inline void Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton);
  Settle();
}

// F1 in `window`, as the window system delivers it to the window that has it.
inline void PressF1(QWidget* window) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(window, &press);
}

// Runs `step` once the next modal window is up.
inline void WhenModalShows(std::function<void()> step) {
  QTimer::singleShot(0, [step = std::move(step)] {
    Settle();
    step();
  });
}

}  // namespace invoicing::ui::testing
