// Starting the desktop's calculator: the first of the usual Linux calculators found.
#pragma once

#include <QStringList>

#include "platform/launcher.h"

namespace platform::qt {

class QtLauncher final : public Launcher {
 public:
  QtLauncher();
  explicit QtLauncher(QStringList calculators) : calculators_(std::move(calculators)) {}
  bool StartCalculator() override;

 private:
  QStringList calculators_;
};

}  // namespace platform::qt
