// The hourglass for the length of a scope: set when made, taken back when the scope is
// left in any way, so a failing print cannot leave the whole program showing it.
#pragma once

#include <QGuiApplication>

namespace platform::qt {

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace platform::qt
