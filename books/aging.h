// The aging run: spreads every owing customer's open transactions over four age
// buckets, rewrites the customer's balance from them and stores the company's total
// receivables, so that the company's A/R total is the sum of the customer balances.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "files/keyed_file.h"
#include "files/services.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"

namespace books {

enum class AgingBucket { kCurrent, kDays31to60, kDays61to90, kOver90 };
constexpr std::size_t kAgingBucketCount = 4;

// Age in whole days (today minus the document date) to bucket: under 31, future dates
// included, is current.
AgingBucket BucketOfAge(int days);

// The customer's field that holds `bucket`.
model::MoneyField<10>& BucketField(model::CustomerRecord& customer, AgingBucket bucket);
const model::MoneyField<10>& BucketField(const model::CustomerRecord& customer, AgingBucket bucket);

struct AgingTotals {
  std::array<model::Money, kAgingBucketCount> amounts{};

  model::Money& operator[](AgingBucket bucket) { return amounts[static_cast<std::size_t>(bucket)]; }
  model::Money operator[](AgingBucket bucket) const { return amounts[static_cast<std::size_t>(bucket)]; }
  model::Money Grand() const;
  AgingTotals& operator+=(const AgingTotals& other);
};

// The date an amount is aged from: TransDate read in the company's order; when it is
// no date the sortable SortDate stands in.
std::optional<model::Date> DocumentDate(const model::TransactionRecord& transaction, model::DateOrder order);

// Which bucket a transaction's open amount belongs to; without a date it counts as
// current.
AgingBucket BucketOfTransaction(const model::TransactionRecord& transaction, const model::Date& today,
                                model::DateOrder order);

// Adds the transaction's open amount to the bucket of its age: the one rule for which
// records make up a balance. A zero amount, or one that is no number and so cannot be
// aged, is left out.
void AddOpenAmount(AgingTotals& sums, const model::TransactionRecord& transaction, const model::Date& today,
                   model::DateOrder order);

// The open amounts of the customer's transactions by age, found through the
// customer-number index: what its aging fields hold after a run. nullopt when a
// transaction could not be read.
std::optional<AgingTotals> AgeOfCustomer(files::KeyedFile& transactions, std::string_view customerNumber,
                                         const model::Date& today, model::DateOrder order);

// Stores the four sums in the customer's aging fields; false when one does not fit its
// field (that field is left as it was).
bool StoreAgingBuckets(model::CustomerRecord& customer, const AgingTotals& sums);

struct AgingResult {
  bool ran = false;  // false: nothing to age, or the files could not be opened
  AgingTotals totals;
  bool showChart = false;
};

// forceChart is true only when the user asked for the chart. Rewrites the aging
// fields and balance of every customer whose balance is not zero, then the company's
// LastAgingDate and TotalAR in the company list, "LastCo.Dat" and CurrentCompany.
AgingResult RunAging(const files::Services& services, bool forceChart);

}  // namespace books
