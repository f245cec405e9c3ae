#include "books/invoice_records.h"

#include "model/keys.h"

namespace books {

std::vector<files::Row<model::DetailRecord>> LinesOfInvoice(files::KeyedFile& details,
                                                            const model::TransactionRecord& transaction) {
  const files::Table<model::DetailRecord> table(details);
  model::DetailRecord probe{};
  probe.InvoiceNo.SetRaw(transaction.InvoiceNo.raw());
  std::vector<files::Row<model::DetailRecord>> lines;
  table.ForEachEqual(model::detail_key::kInvoiceNo, table.KeyOf(probe, model::detail_key::kInvoiceNo),
                     [&](const auto& row) {
                       lines.push_back(row);
                       return true;
                     });
  return lines;
}

std::optional<files::Row<model::MemoRecord>> MemoOfInvoice(files::KeyedFile& memos,
                                                           const model::TransactionRecord& transaction) {
  const files::Table<model::MemoRecord> table(memos);
  model::MemoRecord probe{};
  probe.InvoiceNo.SetRaw(transaction.InvoiceNo.raw());
  return table.FindExact(model::memo_key::kInvoiceNo, table.KeyOf(probe, model::memo_key::kInvoiceNo));
}

}  // namespace books
