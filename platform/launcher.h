// The port for starting other desktop programs.
#pragma once

namespace platform {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts the desktop's calculator as a separate process; false when none is found.
  virtual bool StartCalculator() = 0;
};

}  // namespace platform
