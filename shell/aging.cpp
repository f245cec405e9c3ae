#include "shell/aging.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "files/keyed_file.h"
#include "files/table.h"
#include "files/company_files.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/money.h"
#include "model/side_files.h"
#include "model/text.h"
#include "shell/company_list.h"

namespace shell {
namespace {

constexpr std::string_view kAgingCaption = "Aging";
constexpr std::string_view kChartCaption = "Aging Chart";
constexpr int kSmallestVisibleBar = 4;
constexpr std::string_view kHintPicture = ",0.00";
constexpr std::array<std::string_view, kAgingBucketCount> kBarHintLabels = {"0-30 Days: ", "31-60 Days: ",
                                                                            "61-90 Days: ", "Over 90 Days: "};

// Text that is no amount is not zero: such a balance is aged and so repaired.
template <std::size_t N>
bool ReadsAsZero(const model::MoneyField<N>& field) {
  const std::optional<model::Money> amount = model::ReadMoney(field);
  return amount && amount->IsZero();
}

std::optional<model::Date> TransactionDate(const model::TransactionRecord& transaction, model::DateOrder order) {
  if (auto date = model::ParseDisplayDate(transaction.TransDate.view(), order)) return date;
  return model::ParseSortableDate(transaction.SortDate.view());
}

// Adds one transaction's open amount to its bucket; an amount that is no number
// cannot be aged and is left out.
void AddTransaction(AgingTotals& sums, const model::TransactionRecord& transaction, const model::Date& today,
                    model::DateOrder order) {
  const std::optional<model::Money> balanceDue = model::ReadMoney(transaction.BalanceDue);
  if (!balanceDue || balanceDue->IsZero()) return;
  sums[BucketOfTransaction(transaction, today, order)] += *balanceDue;
}

// The customer's open amounts by age; nullopt when a transaction could not be read.
std::optional<AgingTotals> AgeCustomer(files::KeyedFile& transactions, const model::CustomerRecord& customer,
                                       const model::Date& today, model::DateOrder order) {
  const files::Table<model::TransactionRecord> table(transactions);
  model::TransactionRecord probe{};
  probe.CustNo = customer.CustNo.view();
  AgingTotals sums;
  const bool readAll = table.ForEachEqual(model::transaction_key::kCustNo,
                                          table.KeyOf(probe, model::transaction_key::kCustNo), [&](const auto& row) {
                                            AddTransaction(sums, row.record, today, order);
                                            return true;
                                          });
  if (!readAll) return std::nullopt;
  return sums;
}

void StoreAging(model::CustomerRecord& customer, const AgingTotals& sums) {
  model::StoreMoney(customer.AgeCurrent, sums[AgingBucket::kCurrent]);
  model::StoreMoney(customer.Age31to60, sums[AgingBucket::kDays31to60]);
  model::StoreMoney(customer.Age61to90, sums[AgingBucket::kDays61to90]);
  model::StoreMoney(customer.AgeOver90, sums[AgingBucket::kOver90]);
  model::StoreMoney(customer.Balance, sums.Grand());
}

struct AgingFiles {
  files::KeyedFile customers;
  files::KeyedFile transactions;
};

// Visits the customers in record order; a customer or transaction that cannot be read
// ends the visit with the totals as far as they go.
AgingTotals AgeCustomers(const AgingContext& context, AgingFiles& files, const model::Date& today) {
  const model::DateOrder order = context.session.DateOrder();
  AgingTotals totals;
  files::Table<model::CustomerRecord>(files.customers).ForEachRecord([&](const auto& row) {
    context.progress.KeepResponsive();
    if (ReadsAsZero(row.record.Balance)) return true;
    const std::optional<AgingTotals> sums = AgeCustomer(files.transactions, row.record, today, order);
    if (!sums) return false;
    model::CustomerRecord customer = row.record;
    StoreAging(customer, *sums);
    if (!files.customers.Update(row.number, customer)) {
      context.dialogs.inform(kAgingCaption, "Saving the aging of customer " + customer.CustNo.str() + " failed.",
                             platform::Icon::kError);
    }
    totals += *sums;
    return true;
  });
  return totals;
}

std::optional<AgingTotals> AgeCompanyFiles(const AgingContext& context, const model::Date& today) {
  const std::string_view companyNo = context.session.CurrentCompany.CompanyNo.view();
  AgingFiles files{
      {context.engine, context.dialogs, context.progress,
       files::DescribeFile(files::CompanyFile::kCustomers, companyNo)},
      {context.engine, context.dialogs, context.progress,
       files::DescribeFile(files::CompanyFile::kTransactions, companyNo)},
  };
  if (!files.customers.Open() || !files.transactions.Open()) return std::nullopt;
  AgingTotals totals = AgeCustomers(context, files, today);
  files.transactions.Close();
  files.customers.Close();
  return totals;
}

void SetAgingFields(model::CompanyRecord& company, const std::string& todayText, model::Money grandTotal) {
  company.LastAgingDate = todayText;
  model::StoreMoney(company.TotalAR, grandTotal);
}

// Re-reads the company from the company list before changing it, so that nothing
// another window stored there is overwritten with an older copy. CurrentCompany takes
// the new values even when the list cannot be written.
void StoreCompanyAging(const AgingContext& context, const std::string& todayText, model::Money grandTotal) {
  CompanySession& session = context.session;
  files::KeyedFile list(context.engine, context.dialogs, context.progress,
                         files::DescribeFile(files::CompanyFile::kCompanyList));
  model::CompanyRecord company = session.CurrentCompany;
  engine::RecordNumber number = 0;
  const bool found = list.Open() && FindCompanyByNumber(list, session.CurrentCompany, number, company);
  SetAgingFields(company, todayText, grandTotal);
  if (!found || !list.Update(number, company)) {
    context.dialogs.inform(kAgingCaption, "The aging totals could not be saved in the company file.",
                           platform::Icon::kError);
  }
  list.Close();
  session.CurrentCompany = company;
}

void WriteLastCompanyCopy(const AgingContext& context, const std::string& todayText) {
  model::CompanyRecord copy = context.session.CurrentCompany;
  copy.LastAgingDate = todayText;
  if (const model::FileOutcome written = model::WriteLastCompany(copy, context.session.CurrentCompany); !written) {
    context.dialogs.inform(kAgingCaption, written.error, platform::Icon::kError);
  }
}

void SetStatus(const AgingContext& context, std::string_view text) {
  if (context.setStatus) context.setStatus(text);
}

// numerator / denominator to the nearest whole number, halves away from zero.
std::int64_t RoundedShare(std::int64_t numerator, std::int64_t denominator) {
  const bool negative = (numerator < 0) != (denominator < 0);
  const std::int64_t magnitude = (std::abs(numerator) + std::abs(denominator) / 2) / std::abs(denominator);
  return negative ? -magnitude : magnitude;
}

}  // namespace

AgingBucket BucketOfAge(int days) {
  if (days <= 30) return AgingBucket::kCurrent;
  if (days <= 60) return AgingBucket::kDays31to60;
  if (days <= 90) return AgingBucket::kDays61to90;
  return AgingBucket::kOver90;
}

model::Money AgingTotals::Grand() const { return std::accumulate(amounts.begin(), amounts.end(), model::Money()); }

AgingTotals& AgingTotals::operator+=(const AgingTotals& other) {
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) amounts[i] += other.amounts[i];
  return *this;
}

AgingBucket BucketOfTransaction(const model::TransactionRecord& transaction, const model::Date& today,
                                model::DateOrder order) {
  const std::optional<model::Date> date = TransactionDate(transaction, order);
  if (!date) return AgingBucket::kCurrent;
  return BucketOfAge(model::DaysBetween(*date, today));
}

AgingResult RunAging(const AgingContext& context, bool forceChart) {
  if (ReadsAsZero(context.session.CurrentCompany.TotalAR) && !forceChart) return {};

  context.progress.Begin(kAgingCaption, "Calculating Aging...");
  SetStatus(context, "Calculating Aging Totals...");
  const model::Date today = TodayOf(context.clock);
  AgingResult result;
  if (const std::optional<AgingTotals> totals = AgeCompanyFiles(context, today)) {
    result.ran = true;
    result.totals = *totals;
    const std::string todayText = model::FormatDisplayDate(today, context.session.DateOrder());
    WriteLastCompanyCopy(context, todayText);
    StoreCompanyAging(context, todayText, result.totals.Grand());
  }
  context.progress.End();
  SetStatus(context, kStatusReady);

  if (!result.ran) {
    context.dialogs.inform(kAgingCaption, "The customer and invoice files could not be opened.",
                           platform::Icon::kError);
    return result;
  }
  result.showChart = !result.totals.Grand().IsZero() && (context.session.CurrentCompany.ShowAgingChart || forceChart);
  return result;
}

bool AgingChartCommandAllowed(const model::CompanyRecord& current, bool chartShowing, platform::Dialogs& dialogs) {
  if (ReadsAsZero(current.TotalAR)) {
    dialogs.inform(kChartCaption, "You do not have any open invoices.", platform::Icon::kInformation);
    return false;
  }
  if (chartShowing) {
    dialogs.inform(kChartCaption, "The Aging Chart is currently showing.", platform::Icon::kInformation);
    return false;
  }
  return true;
}

std::array<BarSpan, kAgingBucketCount> AgingBarSpans(const AgingTotals& totals, int frameHeight) {
  std::array<BarSpan, kAgingBucketCount> bars{};
  const std::int64_t grand = totals.Grand().Cents();
  int top = 0;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    const model::Money amount = totals.amounts[i];
    // Credits can push a share below 0 or above 100 percent; the bar stays in the frame.
    const std::int64_t percent =
        grand == 0 ? 0 : std::clamp<std::int64_t>(RoundedShare(amount.Cents() * 100, grand), 0, 100);
    int height = static_cast<int>(percent * frameHeight / 100);
    if (!amount.IsZero()) height = std::max(height, kSmallestVisibleBar);
    bars[i] = {top, height};
    top += height;
  }
  return bars;
}

std::string AgingTotalHint(const AgingTotals& totals) {
  return "Total A/R: " + model::FormatMoney(totals.Grand(), kHintPicture);
}

std::array<std::string, kAgingBucketCount> AgingBarHints(const AgingTotals& totals) {
  std::array<std::string, kAgingBucketCount> hints;
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    hints[i] = std::string(kBarHintLabels[i]) + model::FormatMoney(totals.amounts[i], kHintPicture);
  }
  return hints;
}

}  // namespace shell
