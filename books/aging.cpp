#include "books/aging.h"

#include <numeric>
#include <string>

#include "books/posting.h"
#include "files/table.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/side_files.h"

namespace books {
namespace {

constexpr std::string_view kAgingCaption = "Aging";

// Text that is no amount is not zero: such a balance is aged and so repaired.
template <std::size_t N>
bool ReadsAsZero(const model::MoneyField<N>& field) {
  const std::optional<model::Money> amount = model::ReadMoney(field);
  return amount && amount->IsZero();
}

void StoreAging(model::CustomerRecord& customer, const AgingTotals& sums) {
  StoreAgingBuckets(customer, sums);
  model::StoreMoney(customer.Balance, sums.Grand());
}

// One switch for the changing and the reading caller.
template <class Customer>
auto& FieldOfBucket(Customer& customer, AgingBucket bucket) {
  switch (bucket) {
    case AgingBucket::kCurrent: return customer.AgeCurrent;
    case AgingBucket::kDays31to60: return customer.Age31to60;
    case AgingBucket::kDays61to90: return customer.Age61to90;
    case AgingBucket::kOver90: return customer.AgeOver90;
  }
  return customer.AgeCurrent;
}

struct AgingFiles {
  files::KeyedFile customers;
  files::KeyedFile transactions;
};

// Visits the customers in record order; a customer or transaction that cannot be read
// ends the visit with the totals as far as they go.
AgingTotals AgeCustomers(const files::Services& services, AgingFiles& files, const model::Date& today) {
  const model::DateOrder order = services.session.DateOrder();
  AgingTotals totals;
  files::Table<model::CustomerRecord>(files.customers).ForEachRecord([&](const auto& row) {
    services.progress.KeepResponsive();
    if (ReadsAsZero(row.record.Balance)) return true;
    const std::optional<AgingTotals> sums = AgeOfCustomer(files.transactions, row.record.CustNo.str(), today, order);
    if (!sums) return false;
    model::CustomerRecord customer = row.record;
    StoreAging(customer, *sums);
    if (!files.customers.Update(row.number, customer)) {
      services.dialogs.inform(kAgingCaption, "Saving the aging of customer " + customer.CustNo.str() + " failed.",
                              platform::Icon::kError);
    }
    totals += *sums;
    return true;
  });
  return totals;
}

std::optional<AgingTotals> AgeCompanyFiles(const files::Services& services, const model::Date& today) {
  AgingFiles files{services.FileOf(files::CompanyFile::kCustomers),
                   services.FileOf(files::CompanyFile::kTransactions)};
  if (!files.customers.Open() || !files.transactions.Open()) return std::nullopt;
  return AgeCustomers(services, files, today);
}

void StoreCompanyAging(const files::Services& services, const std::string& todayText, model::Money grandTotal) {
  const bool stored = ChangeCurrentCompany(services, [&](model::CompanyRecord& company) {
    company.LastAgingDate = todayText;
    model::StoreMoney(company.TotalAR, grandTotal);
  });
  if (!stored) {
    services.dialogs.inform(kAgingCaption, "The aging totals could not be saved in the company file.",
                            platform::Icon::kError);
  }
}

void WriteLastCompanyCopy(const files::Services& services, const std::string& todayText) {
  model::CompanyRecord copy = services.session.CurrentCompany;
  copy.LastAgingDate = todayText;
  if (const model::FileOutcome written = model::WriteLastCompany(copy, services.session.CurrentCompany); !written) {
    services.dialogs.inform(kAgingCaption, written.error, platform::Icon::kError);
  }
}

}  // namespace

AgingBucket BucketOfAge(int days) {
  if (days <= 30) return AgingBucket::kCurrent;
  if (days <= 60) return AgingBucket::kDays31to60;
  if (days <= 90) return AgingBucket::kDays61to90;
  return AgingBucket::kOver90;
}

model::MoneyField<10>& BucketField(model::CustomerRecord& customer, AgingBucket bucket) {
  return FieldOfBucket(customer, bucket);
}

const model::MoneyField<10>& BucketField(const model::CustomerRecord& customer, AgingBucket bucket) {
  return FieldOfBucket(customer, bucket);
}

void AddOpenAmount(AgingTotals& sums, const model::TransactionRecord& transaction, const model::Date& today,
                   model::DateOrder order) {
  const std::optional<model::Money> balanceDue = model::ReadMoney(transaction.BalanceDue);
  if (!balanceDue || balanceDue->IsZero()) return;
  sums[BucketOfTransaction(transaction, today, order)] += *balanceDue;
}

model::Money AgingTotals::Grand() const { return std::accumulate(amounts.begin(), amounts.end(), model::Money()); }

std::optional<AgingTotals> AgeOfCustomer(files::KeyedFile& transactions, std::string_view customerNumber,
                                         const model::Date& today, model::DateOrder order) {
  const files::Table<model::TransactionRecord> table(transactions);
  model::TransactionRecord probe{};
  probe.CustNo = customerNumber;
  AgingTotals sums;
  const bool readAll = table.ForEachEqual(model::transaction_key::kCustNo,
                                          table.KeyOf(probe, model::transaction_key::kCustNo), [&](const auto& row) {
                                            AddOpenAmount(sums, row.record, today, order);
                                            return true;
                                          });
  if (!readAll) return std::nullopt;
  return sums;
}

bool StoreAgingBuckets(model::CustomerRecord& customer, const AgingTotals& sums) {
  bool stored = model::StoreMoney(customer.AgeCurrent, sums[AgingBucket::kCurrent]);
  stored = model::StoreMoney(customer.Age31to60, sums[AgingBucket::kDays31to60]) && stored;
  stored = model::StoreMoney(customer.Age61to90, sums[AgingBucket::kDays61to90]) && stored;
  return model::StoreMoney(customer.AgeOver90, sums[AgingBucket::kOver90]) && stored;
}

AgingTotals& AgingTotals::operator+=(const AgingTotals& other) {
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) amounts[i] += other.amounts[i];
  return *this;
}

std::optional<model::Date> DocumentDate(const model::TransactionRecord& transaction, model::DateOrder order) {
  if (auto date = model::ParseDisplayDate(transaction.TransDate.raw(), order)) return date;
  return model::ParseSortableDate(transaction.SortDate.raw());
}

AgingBucket BucketOfTransaction(const model::TransactionRecord& transaction, const model::Date& today,
                                model::DateOrder order) {
  const std::optional<model::Date> date = DocumentDate(transaction, order);
  if (!date) return AgingBucket::kCurrent;
  return BucketOfAge(model::DaysBetween(*date, today));
}

AgingResult RunAging(const files::Services& services, bool forceChart) {
  if (ReadsAsZero(services.session.CurrentCompany.TotalAR) && !forceChart) return {};

  services.progress.Begin(kAgingCaption, "Calculating Aging...");
  services.ShowStatus("Calculating Aging Totals...");
  const model::Date today = model::TodayOf(services.clock);
  AgingResult result;
  if (const std::optional<AgingTotals> totals = AgeCompanyFiles(services, today)) {
    result.ran = true;
    result.totals = *totals;
    const std::string todayText = model::FormatDisplayDate(today, services.session.DateOrder());
    WriteLastCompanyCopy(services, todayText);
    StoreCompanyAging(services, todayText, result.totals.Grand());
  }
  services.progress.End();
  services.ShowStatus(files::kStatusReady);

  if (!result.ran) {
    services.dialogs.inform(kAgingCaption, "The customer and invoice files could not be opened.",
                            platform::Icon::kError);
    return result;
  }
  result.showChart =
      !result.totals.Grand().IsZero() && (services.session.CurrentCompany.ShowAgingChart || forceChart);
  return result;
}

}  // namespace books
