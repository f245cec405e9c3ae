// A customer's statement: the account activity of one customer (all of it, or only
// what is still open) with its totals and the customer's address and aging, as the
// statement window shows it and the printed statement prints it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/keyed_file.h"
#include "files/services.h"
#include "model/records.h"

namespace reports {

enum class Activity { kAll, kUnpaidOnly };

enum StatementColumn { kDateColumn, kInvoiceColumn, kReferenceColumn, kTotalColumn, kPaidColumn, kBalanceColumn,
                       kTypeColumn, kStatementColumns };
using StatementRow = std::array<std::string, kStatementColumns>;

// The headings the statement window shows over its columns.
const StatementRow& StatementHeadings();
inline constexpr std::string_view kTotalsLabel = "*** Account Totals:";

// What a blank statement note shows instead: the record's type in words; blank for a
// type letter outside the seven.
std::string_view ReferenceOfType(const model::TransactionRecord& transaction);

struct StatementCustomer {
  std::string number;
  std::string name;
  std::array<std::string, 4> address;
  std::array<std::string, 4> aging;  // current, 31-60, 61-90, over 90 as ",0.00"
  std::string notes;
  bool notesOnStatement = false;
};
StatementCustomer StatementCustomerOf(const model::CustomerRecord& customer);

struct Statement {
  StatementCustomer customer;
  std::vector<StatementRow> rows;  // in date order
  StatementRow totals;
  // Records holding an amount that is no number: their amounts show and count as 0.00.
  std::vector<files::RecordNumber> damaged;

  bool HasActivity() const { return !rows.empty(); }
};

// "There are 3 records selected.", and the damaged records, if any, after it.
std::string SelectionStatus(const Statement& statement);

// The activity of `customer` in the open transaction file. A failed read ends the
// walk; the rows read so far stand.
Statement BuildStatement(files::KeyedFile& transactions, const model::CustomerRecord& customer, Activity activity);
// The same from the company's transaction file, opened for the build; a company
// without one has no activity. nullopt when the file could not be opened.
std::optional<Statement> BuildStatement(const files::Services& services, const model::CustomerRecord& customer,
                                        Activity activity);

// Today in the company's date order: the statement date and the batch run's date.
std::string StatementDate(const files::Services& services);

// "There is no activity for this customer." (caption "Customer: " + name) when the
// statement has no rows; false then.
bool TellWhenNoActivity(const Statement& statement, platform::Dialogs& dialogs);

}  // namespace reports
