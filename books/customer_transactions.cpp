#include "books/customer_transactions.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/table.h"
#include "model/keys.h"
#include "model/text.h"

namespace books {
namespace {

constexpr std::string_view kNumberChangedCaption = "Customer Number Changed";

using TransactionRows = std::vector<files::Row<model::TransactionRecord>>;

engine::KeyString CustomerKey(std::string_view customerNumber) {
  model::TransactionRecord probe{};
  probe.CustNo = customerNumber;
  return model::BuildKey(probe, model::transaction_key::kCustNo);
}

bool RenumberTransaction(const files::Services& services, files::KeyedFile& transactions,
                         const files::Row<model::TransactionRecord>& row, std::string_view newNumber) {
  model::TransactionRecord transaction = row.record;
  transaction.CustNo = model::TrimBlanks(newNumber);
  if (transactions.Update(row.number, transaction)) return true;
  services.dialogs.inform(kNumberChangedCaption,
                          "Changing the customer number of transaction " + transaction.InvoiceNo.str() + " failed.",
                          platform::Icon::kError);
  return false;
}

}  // namespace

std::optional<files::KeyedFile> TransactionFileIfAny(const files::Services& services) {
  files::FileDescription description =
      files::DescribeFile(files::CompanyFile::kTransactions, services.session.CurrentCompany.CompanyNo.str());
  std::error_code ignored;
  if (!description.nameRefusal.empty() ||
      !std::filesystem::exists(engine::FileSetPath(description.name, "DAT"), ignored)) {
    return std::nullopt;
  }
  return std::optional<files::KeyedFile>(std::in_place, services.engine, services.dialogs, services.progress,
                                         std::move(description));
}

bool ForEachOfCustomer(files::KeyedFile& transactions, std::string_view customerNumber,
                       const files::Table<model::TransactionRecord>::Visitor& visit) {
  return files::Table<model::TransactionRecord>(transactions)
      .ForEachEqual(model::transaction_key::kCustNo, CustomerKey(customerNumber), visit);
}

std::optional<bool> CustomerHasTransactions(const files::Services& services, std::string_view customerNumber) {
  std::optional<files::KeyedFile> transactions = TransactionFileIfAny(services);
  if (!transactions) return false;
  if (!transactions->Open()) return std::nullopt;
  bool found = false;
  const bool searched = ForEachOfCustomer(*transactions, customerNumber, [&](const auto&) {
    found = true;
    return false;
  });
  if (!searched) return std::nullopt;
  return found;
}

int RenumberTransactions(const files::Services& services, std::string_view oldNumber, std::string_view newNumber) {
  std::optional<files::KeyedFile> transactions = TransactionFileIfAny(services);
  if (!transactions) return 0;
  TransactionRows rows;
  const bool collected = transactions->Open() && ForEachOfCustomer(*transactions, oldNumber, [&](const auto& row) {
                           rows.push_back(row);
                           return true;
                         });
  if (!collected) {
    services.dialogs.inform(kNumberChangedCaption,
                            "The transactions of this customer could not be changed to the new customer number.",
                            platform::Icon::kError);
    return 0;
  }
  return static_cast<int>(std::count_if(rows.begin(), rows.end(), [&](const auto& row) {
    return RenumberTransaction(services, *transactions, row, newNumber);
  }));
}

}  // namespace books
