// Statements for many customers at once: the customers chosen by their balances and
// ages, in name order, each statement printed in turn, and the date of the run kept in
// the company record.
#pragma once

#include <string>
#include <vector>

#include "documents/label_queue.h"
#include "files/keyed_file.h"
#include "files/services.h"
#include "model/records.h"
#include "platform/page_canvas.h"
#include "reports/statement.h"

namespace reports {

enum class BalanceSelection { kAllNonZero, kOver30, kOver60, kOver90 };

// What the statement selection window asks; it starts on all non-zero balances and
// only unpaid transactions.
struct BatchChoice {
  BalanceSelection balances = BalanceSelection::kAllNonZero;
  Activity detail = Activity::kUnpaidOnly;
};

inline constexpr std::string_view kBatchCaption = "Batch Print - Statements";

// Whether the customer's balance or aging meets the selection; credits count as
// amounts, and so does an amount that is no number, so no such customer is passed over.
bool MeetsSelection(const model::CustomerRecord& customer, BalanceSelection selection);

// The customers meeting the selection, in name order, from the open customer file.
std::vector<model::CustomerRecord> CustomersForStatements(files::KeyedFile& customers, BalanceSelection selection);

// "Last Batch Print: ..." with the count and "Continue?".
std::string BatchQuestion(const model::CompanyRecord& company, std::size_t count);

// The whole run from the choice made: tells when nobody is selected, asks before
// printing, prints each statement with "Spooling statement i of n..." in the progress,
// copies each customer to the label queue when the company asks for it, and stores
// today as the company's LastStatementDate. Returns the status text for the manager's
// panel; empty when nothing was printed.
std::string PrintStatementBatch(const files::Services& services, files::KeyedFile& customers, const BatchChoice& choice,
                                documents::LabelQueue& labelQueue, platform::PageCanvas& canvas);

}  // namespace reports
