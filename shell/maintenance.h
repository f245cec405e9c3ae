// Two housekeeping commands of the main window: removing old paid transactions with
// their invoice lines and memos, and rebuilding every data and index file of the
// company list and the current company.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/services.h"

namespace shell {

// Shows the date selection dialog ("Date Selection", heading "Delete Date Selection")
// and gives the chosen day as display-date text, or nullopt on Cancel.
using DateChooser = std::function<std::optional<std::string>()>;

// Removes every paid transaction of the current company paid before the chosen day,
// with its invoice lines and memo, after the password and two confirmations. Customer
// balances are left as they are. False when the user stopped it or the files could
// not be opened.
bool DeletePaidInvoices(const files::Services& services, const DateChooser& chooseDate);

// Rebuilds the company list, then the current company's customer, transaction,
// detail, memo and product files. None of them may be open. A file that does not
// exist is left alone; a file that cannot be rebuilt is reported and the rest go on.
// "The data files have been rebuilt." closes a run only when every file was; false
// otherwise.
bool RebuildDataFiles(const files::Services& services);

}  // namespace shell
