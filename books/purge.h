// Removing paid transactions: every transaction paid before a cut-off day goes, with
// its invoice lines and its memo. Balances are not touched, as paid records no longer
// count in them.
#pragma once

#include "files/services.h"
#include "model/dates.h"

namespace books {

struct PurgeResult {
  bool opened = false;  // false: the invoice files could not be opened; nothing was removed
  int removed = 0;
};

// A transaction is removed first and its lines and memo after it: a crash in between
// leaves lines or a memo that belong to no transaction, which no list shows and the
// integrity check reports; a failed line or memo is told and the run goes on.
PurgeResult RemovePaidBefore(const files::Services& services, const model::Date& cutOff);

}  // namespace books
