// Where an invoice's dependent records are found: its detail lines and its memo are
// filed under its number in their own files. Adding, changing, deleting and purging
// an invoice all look them up here, so they agree on what belongs to it.
#pragma once

#include <optional>
#include <vector>

#include "files/keyed_file.h"
#include "files/table.h"
#include "model/records.h"

namespace books {

// The detail lines filed under the transaction's number, in key order. They are
// collected before any is changed, so the index walk never has to find its place again
// in an index that has just changed.
std::vector<files::Row<model::DetailRecord>> LinesOfInvoice(files::KeyedFile& details,
                                                            const model::TransactionRecord& transaction);

// The memo filed under the transaction's number.
std::optional<files::Row<model::MemoRecord>> MemoOfInvoice(files::KeyedFile& memos,
                                                           const model::TransactionRecord& transaction);

}  // namespace books
