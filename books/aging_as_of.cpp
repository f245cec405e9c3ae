#include "books/aging_as_of.h"

#include <algorithm>
#include <map>

#include "books/customer_transactions.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/text.h"

namespace books {
namespace {

using TransactionRow = files::Row<model::TransactionRecord>;

bool IsType(const model::TransactionRecord& record, char letter) {
  return model::HoldsLetter(record.TransType, letter);
}

// The type of record a payment record settles: an X pays a Z invoice, a T a D deposit.
std::optional<char> SettledTypeOf(const model::TransactionRecord& record) {
  if (IsType(record, 'X')) return 'Z';
  if (IsType(record, 'T')) return 'D';
  return std::nullopt;
}

bool IsPaymentRecord(const model::TransactionRecord& record) { return SettledTypeOf(record).has_value(); }

// Z invoices and D deposits are settled through payment records; any other record
// paid in full keeps its payment itself.
bool SettledByPaymentRecords(const model::TransactionRecord& record) {
  return IsType(record, 'Z') || IsType(record, 'D');
}

// Payments meet their record by customer, settled type and number, as the payment
// wizard files them.
std::string MatchKey(const model::TransactionRecord& record, char settledType) {
  return model::Folded(record.CustNo.str()) + '|' + settledType + '|' + model::Folded(record.InvoiceNo.str());
}

struct Payment {
  std::optional<model::Date> date;  // nullopt: made today, the safest reading
  model::Money amount;
};

using PaymentsByRecord = std::map<std::string, std::vector<Payment>>;

std::optional<model::Date> PaymentRecordDate(const model::TransactionRecord& payment, model::DateOrder order) {
  if (auto date = DocumentDate(payment, order)) return date;
  return model::ParseSortableDate(payment.PaidSortDate.raw());
}

PaymentsByRecord CollectPaymentRecords(const std::vector<TransactionRow>& transactions, model::DateOrder order) {
  PaymentsByRecord payments;
  for (const TransactionRow& row : transactions) {
    const std::optional<char> settled = SettledTypeOf(row.record);
    const std::optional<model::Money> amount = model::ReadMoney(row.record.PaidAmount);
    if (!settled || !amount) continue;
    payments[MatchKey(row.record, *settled)].push_back({PaymentRecordDate(row.record, order), *amount});
  }
  return payments;
}

// The payment a record paid in full keeps itself, made on its paid date.
std::vector<Payment> KeptPayment(const model::TransactionRecord& record) {
  if (!model::HoldsLetter(record.PaidFlag, 'P')) return {};
  const std::optional<model::Money> amount = model::ReadMoney(record.PaidAmount);
  if (!amount) return {};
  return {{model::ParseSortableDate(record.PaidSortDate.raw()), *amount}};
}

// The payments on `record`; those of payment records go to the first record they meet.
std::vector<Payment> PaymentsOn(const model::TransactionRecord& record, PaymentsByRecord& payments) {
  if (IsPaymentRecord(record)) return {};
  if (!SettledByPaymentRecords(record)) return KeptPayment(record);
  const auto found = payments.find(MatchKey(record, IsType(record, 'Z') ? 'Z' : 'D'));
  if (found == payments.end()) return {};
  std::vector<Payment> taken = std::move(found->second);
  payments.erase(found);
  return taken;
}

model::Money MadeAfter(const std::vector<Payment>& payments, const AsOf& asOf) {
  model::Money after;
  for (const Payment& payment : payments) {
    if (!asOf.Includes(payment.date.value_or(asOf.today))) after += payment.amount;
  }
  return after;
}

bool OnFileBy(const model::TransactionRecord& record, const AsOf& asOf, model::DateOrder order) {
  const std::optional<model::Date> date = DocumentDate(record, order);
  return !date || asOf.Includes(*date);
}

}  // namespace

bool AsOf::Includes(const model::Date& dated) const { return std::min(dated, today) <= date; }

std::vector<RecordAsOf> RecordsAsOf(const std::vector<files::Row<model::TransactionRecord>>& transactions,
                                    const AsOf& asOf, model::DateOrder order) {
  PaymentsByRecord payments = CollectPaymentRecords(transactions, order);
  std::vector<RecordAsOf> records;
  for (const TransactionRow& row : transactions) {
    // Taken before the date check: the payments of a record left out are its own and
    // must not pass to a later record of the same number.
    const std::vector<Payment> paid = PaymentsOn(row.record, payments);
    if (OnFileBy(row.record, asOf, order)) records.push_back({row, MadeAfter(paid, asOf)});
  }
  return records;
}

std::vector<OpenItem> OpenItemsAsOf(const std::vector<files::Row<model::TransactionRecord>>& transactions,
                                    const AsOf& asOf, model::DateOrder order) {
  std::vector<OpenItem> items;
  for (const RecordAsOf& record : RecordsAsOf(transactions, asOf, order)) {
    const std::optional<model::Money> balanceDue = model::ReadMoney(record.row.record.BalanceDue);
    if (!balanceDue) continue;
    const model::Money open = *balanceDue + record.paidAfter;
    if (!open.IsZero()) items.push_back({record.row, open});
  }
  return items;
}

std::optional<AgingTotals> AgeOfCustomerAsOf(files::KeyedFile& transactions, std::string_view customerNumber,
                                             const AsOf& asOf, model::DateOrder order) {
  std::vector<TransactionRow> rows;
  const bool readAll = ForEachOfCustomer(transactions, customerNumber, [&](const TransactionRow& row) {
    rows.push_back(row);
    return true;
  });
  if (!readAll) return std::nullopt;
  AgingTotals sums;
  for (const OpenItem& item : OpenItemsAsOf(rows, asOf, order)) {
    sums[BucketOfTransaction(item.row.record, asOf.date, order)] += item.open;
  }
  return sums;
}

std::optional<CompanyAgingAsOf> AgeCompanyAsOf(const files::Services& services, const model::Date& asOf) {
  std::optional<files::KeyedFile> transactions = TransactionFileIfAny(services);
  if (!transactions) return CompanyAgingAsOf{};
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open() || !transactions->Open()) return std::nullopt;
  const AsOf day{asOf, model::TodayOf(services.clock)};
  const model::DateOrder order = services.session.DateOrder();
  CompanyAgingAsOf company;
  bool readAll = true;
  const bool walked = files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
    services.progress.KeepResponsive();
    const std::optional<AgingTotals> sums = AgeOfCustomerAsOf(*transactions, row.record.CustNo.str(), day, order);
    readAll = sums.has_value();
    if (!readAll) return false;
    const bool owes =
        std::any_of(sums->amounts.begin(), sums->amounts.end(), [](model::Money m) { return !m.IsZero(); });
    if (owes) company.customers.push_back({row.record.CustNo.str(), row.record.CustName.str(), *sums});
    company.totals += *sums;
    return true;
  });
  if (!walked || !readAll) return std::nullopt;
  return company;
}

}  // namespace books
