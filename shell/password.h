// The password asked for at start-up and before purging old invoices.
#pragma once

#include "platform/dialogs.h"

namespace shell {

constexpr std::string_view kPasswordHelpKeyword = "PwordSet";

// True when no password is set, or when the user types it (trimmed, case counts).
bool CheckPassword(platform::Dialogs& dialogs);

}  // namespace shell
