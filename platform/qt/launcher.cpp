#include "platform/qt/launcher.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform::qt {

QtLauncher::QtLauncher()
    : calculators_{"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-qt", "qalculate-gtk",
                   "speedcrunch", "xcalc"} {}

bool QtLauncher::StartCalculator() {
  for (const QString& name : calculators_) {
    const QString program = QStandardPaths::findExecutable(name);
    if (!program.isEmpty() && QProcess::startDetached(program, {})) return true;
  }
  return false;
}

}  // namespace platform::qt
