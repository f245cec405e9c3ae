// A customer's transactions as a whole: whether there are any (a customer with some may
// not be deleted) and moving them all to a new customer number when the customer's
// number changes, so that no invoice or payment is left under a number nobody has.
#pragma once

#include <optional>
#include <string_view>

#include "files/services.h"
#include "files/table.h"
#include "model/records.h"

namespace books {

// The company's transaction file, not yet opened, when there is one; reading never
// creates it.
std::optional<files::KeyedFile> TransactionFileIfAny(const files::Services& services);

// Visits the transactions filed under the customer number, in key order, until
// `visit` says stop; false when the walk ended on a failure.
bool ForEachOfCustomer(files::KeyedFile& transactions, std::string_view customerNumber,
                       const files::Table<model::TransactionRecord>::Visitor& visit);

// Whether any transaction is filed under the customer number; nullopt when the
// transaction file could not be searched. A company without a transaction file has
// none, and none is created for the question.
std::optional<bool> CustomerHasTransactions(const files::Services& services, std::string_view customerNumber);

// Sets every transaction of `oldNumber` to `newNumber` and returns how many were
// changed; each one that fails is told and the rest go on. The transactions are
// collected before any is changed, as each change moves its key out of the walk.
int RenumberTransactions(const files::Services& services, std::string_view oldNumber, std::string_view newNumber);

}  // namespace books
