// The "Password Setup" command: sets, changes or removes the start-up password. The
// current password must be typed first, and the new one twice alike.
#pragma once

#include "platform/dialogs.h"

namespace shell {

// The whole dialogue, from the first question to the closing message; file errors are
// reported and end it.
void PasswordSetup(platform::Dialogs& dialogs);

}  // namespace shell
