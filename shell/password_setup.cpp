#include "shell/password_setup.h"

#include <optional>
#include <string>

#include "model/side_files.h"
#include "model/text.h"
#include "shell/password.h"

namespace shell {
namespace {

constexpr std::string_view kSetupCaption = "Password Setup";

std::optional<std::string> AskForPassword(platform::Dialogs& dialogs, std::string_view caption) {
  return dialogs.prompt(caption, true, static_cast<int>(model::kPasswordCapacity), kPasswordHelpKeyword);
}

bool Succeeded(platform::Dialogs& dialogs, const model::FileOutcome& outcome) {
  if (!outcome) dialogs.inform(kSetupCaption, outcome.error, platform::Icon::kError);
  return outcome.ok;
}

// Asks for the current password before it may be changed; false ends the dialogue.
bool MayChange(platform::Dialogs& dialogs, const std::string& stored) {
  if (!dialogs.confirm("Please Confirm", "A Password exists. Do you want to change it?")) return false;
  const std::optional<std::string> entry = AskForPassword(dialogs, "Enter the Current Password");
  if (!entry) return false;
  if (!model::PasswordMatches(*entry, stored)) {
    dialogs.inform("Incorrect Password", "You did not enter the correct password. Unable to change password.",
                   platform::Icon::kWarning);
    return false;
  }
  dialogs.inform(kSetupCaption,
                 "You will need to enter a new password TWO times. Do not enter any password (twice) if you want "
                 "to remove the password protection.");
  return true;
}

bool MayCreate(platform::Dialogs& dialogs) {
  return dialogs.confirm("Please Confirm",
                         "Once you create a password you must enter it EXACTLY or you will not be able to use the "
                         "billing system. Continue?");
}

// The new password typed twice alike, as it would be stored; nullopt when cancelled or
// when the two differ.
std::optional<std::string> NewPassword(platform::Dialogs& dialogs) {
  const std::optional<std::string> first = AskForPassword(dialogs, kSetupCaption);
  if (!first) return std::nullopt;
  const std::optional<std::string> second = AskForPassword(dialogs, "Re-enter Your Password");
  if (!second) return std::nullopt;
  if (model::PasswordOfEntry(*first) != model::PasswordOfEntry(*second)) {
    dialogs.inform("Invalid Password", "The two passwords do not match. Unable to setup password. Try again.",
                   platform::Icon::kWarning);
    return std::nullopt;
  }
  return model::PasswordOfEntry(*first);
}

void Store(platform::Dialogs& dialogs, const std::string& password) {
  if (password.size() < 2) {
    if (!Succeeded(dialogs, model::RemovePassword())) return;
    dialogs.inform("Password Removed",
                   "You did not enter password. Any password has been cleared. This system is no longer password "
                   "protected.");
    return;
  }
  if (!Succeeded(dialogs, model::WritePassword(password))) return;
  dialogs.inform("Password: " + password,
                 "Your new password is shown above. You will need to enter it EXACTLY as shown next time you want "
                 "to access the system.");
}

}  // namespace

void PasswordSetup(platform::Dialogs& dialogs) {
  std::optional<std::string> stored;
  if (!Succeeded(dialogs, model::ReadPassword(stored))) return;
  const bool mayGoOn = stored ? MayChange(dialogs, *stored) : MayCreate(dialogs);
  if (!mayGoOn) return;
  if (const std::optional<std::string> password = NewPassword(dialogs)) Store(dialogs, *password);
}

}  // namespace shell
