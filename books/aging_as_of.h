// Aging as it stood at the end of a past day: what each record was still owed then,
// read back from the records as they are now, spread over the same four buckets as
// the aging run. It only reads: balances, aging fields and company totals stay as the
// aging run left them.
//
// The rule. A record counts when it is dated on or before the day. What it still owed
// is its BalanceDue now plus every payment on it made after the day: the X records of a
// Z invoice and the T record of a D deposit (filed under the same customer and number,
// each dated by its own date), and for any other record marked paid the PaidAmount it
// keeps, made on its PaidSortDate. What was paid at entry, or by editing the invoice,
// has no date of its own and counts from the invoice's date. Ages run from the
// record's date to the day.
//
// Safest readings where the records are silent. A record dated after today is in the
// books already and counts as made today, so as of today the result is the aging run's
// to the cent. A record without a date counts on every day, as current, as in the aging
// run. A payment without a readable date is taken as made today: on every earlier day
// its amount is still owed. An amount that is no number is left out. What is no longer
// on file cannot be counted: deleted records, and those "Delete Paid Records" removed
// (days before its cut-off miss them); an edited invoice counts as it reads now.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/aging.h"
#include "files/keyed_file.h"
#include "files/services.h"
#include "files/table.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"

namespace books {

// The day the books are taken at, and today, beyond which nothing has happened yet.
struct AsOf {
  model::Date date;
  model::Date today;

  // Whether something dated `dated` had happened by the end of `date`.
  bool Includes(const model::Date& dated) const;
};

// A record on file by the day, with what was paid on it after the day: at the day it
// owed that much more than its BalanceDue says now.
struct RecordAsOf {
  files::Row<model::TransactionRecord> row;
  model::Money paidAfter;
};

// The records among `transactions` on file by the day, in their order; the payment
// records of a record must be among them. Works on one customer's records or on the
// whole file.
std::vector<RecordAsOf> RecordsAsOf(const std::vector<files::Row<model::TransactionRecord>>& transactions,
                                    const AsOf& asOf, model::DateOrder order);

// A record that still owed something (or held a credit) at the day.
struct OpenItem {
  files::Row<model::TransactionRecord> row;
  model::Money open;
};

// Those of RecordsAsOf that owed something at the day.
std::vector<OpenItem> OpenItemsAsOf(const std::vector<files::Row<model::TransactionRecord>>& transactions,
                                    const AsOf& asOf, model::DateOrder order);

// The customer's open amounts at the day by age; nullopt when a transaction could not
// be read.
std::optional<AgingTotals> AgeOfCustomerAsOf(files::KeyedFile& transactions, std::string_view customerNumber,
                                             const AsOf& asOf, model::DateOrder order);

struct CustomerAgingAsOf {
  std::string number;
  std::string name;
  AgingTotals totals;
};

struct CompanyAgingAsOf {
  std::vector<CustomerAgingAsOf> customers;  // in record order, those with any bucket not zero
  AgingTotals totals;
};

// Every customer of the current company aged at `asOf`, today taken from the clock.
// Unlike the aging run, a customer whose balance is zero now is aged too: it may have
// owed at the day. A company without a transaction file owes nothing, and none is
// created. nullopt when a file could not be opened or a record could not be read.
std::optional<CompanyAgingAsOf> AgeCompanyAsOf(const files::Services& services, const model::Date& asOf);

}  // namespace books
