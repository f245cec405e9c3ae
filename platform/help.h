// The port to the help system: topics are opened by keyword.
#pragma once

#include <string_view>

namespace platform {

class Help {
 public:
  virtual ~Help() = default;
  virtual void ShowTopic(std::string_view keyword) = 0;
  virtual void ShowContents() = 0;
};

}  // namespace platform
