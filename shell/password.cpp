#include "shell/password.h"

#include <optional>
#include <string>

#include "model/side_files.h"

namespace shell {

bool CheckPassword(platform::Dialogs& dialogs) {
  std::optional<std::string> stored;
  if (const model::FileOutcome read = model::ReadPassword(stored); !read) {
    dialogs.inform("Password Required", read.error, platform::Icon::kError);
    return false;
  }
  if (!stored) return true;
  const std::optional<std::string> entry =
      dialogs.prompt("Password Required", true, static_cast<int>(model::kPasswordCapacity), kPasswordHelpKeyword);
  if (!entry) return false;
  if (model::PasswordMatches(*entry, *stored)) return true;
  dialogs.inform("Invalid Password", "You did not enter the correct password.", platform::Icon::kWarning);
  return false;
}

}  // namespace shell
