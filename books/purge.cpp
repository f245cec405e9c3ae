#include "books/purge.h"

#include <string>

#include "books/invoice_records.h"
#include "files/table.h"
#include "model/keys.h"
#include "model/text.h"

namespace books {
namespace {

constexpr std::string_view kPurgeCaption = "Delete Paid Records";

struct PurgeFiles {
  files::KeyedFile memos;
  files::KeyedFile transactions;
  files::KeyedFile details;

  bool Open() { return memos.Open() && transactions.Open() && details.Open(); }
};

void ReportFailure(const files::Services& services, std::string_view text) {
  services.dialogs.inform(kPurgeCaption, text, platform::Icon::kError);
}

// Both dates are read as dates, so the removal does not depend on the display format
// in force. A paid date that is no date cannot be shown to be old: the record stays.
bool PaidBefore(const model::TransactionRecord& transaction, const model::Date& cutOff) {
  if (!model::HoldsLetter(transaction.PaidFlag, 'P')) return false;
  const std::optional<model::Date> paid = model::ParseSortableDate(transaction.PaidSortDate.raw());
  return paid && *paid < cutOff;
}

void DeleteDetailLines(const files::Services& services, files::KeyedFile& details,
                       const model::TransactionRecord& transaction) {
  for (const auto& line : LinesOfInvoice(details, transaction)) {
    if (!details.Delete(line.number, line.record)) ReportFailure(services, "Delete detail recs failed");
  }
}

void DeleteMemo(const files::Services& services, files::KeyedFile& memos, const model::TransactionRecord& transaction) {
  const auto memo = MemoOfInvoice(memos, transaction);
  if (!memo) {
    ReportFailure(services, "Memo search failed");
    return;
  }
  if (!memos.Delete(memo->number, memo->record)) ReportFailure(services, "Memo record deletion failed");
}

// Whether a record of this invoice number is still on file: a partial payment (X) shares
// its number with the invoice it paid, which may still be open.
bool InvoiceNumberStillUsed(files::KeyedFile& transactions, const model::TransactionRecord& transaction) {
  const files::Table<model::TransactionRecord> table(transactions);
  bool found = false;
  table.ForEachEqual(model::transaction_key::kInvoiceNo, table.KeyOf(transaction, model::transaction_key::kInvoiceNo),
                     [&found](const auto&) {
                       found = true;
                       return false;
                     });
  return found;
}

// A transaction that could not be deleted keeps its lines and memo: without it they
// would belong to nothing, with it they still serve its reports. Lines and memo are
// also kept while another record of the number, the invoice a removed payment paid
// part of, still needs them.
bool RemoveTransaction(const files::Services& services, PurgeFiles& files, files::RecordNumber number,
                       const model::TransactionRecord& transaction) {
  if (!files.transactions.Delete(number, transaction)) {
    ReportFailure(services, "Delete Failed.");
    return false;
  }
  if (InvoiceNumberStillUsed(files.transactions, transaction)) return true;
  DeleteDetailLines(services, files.details, transaction);
  if (model::HoldsLetter(transaction.BodyStyle, 'M')) DeleteMemo(services, files.memos, transaction);
  return true;
}

}  // namespace

PurgeResult RemovePaidBefore(const files::Services& services, const model::Date& cutOff) {
  PurgeFiles files{services.FileOf(files::CompanyFile::kMemos), services.FileOf(files::CompanyFile::kTransactions),
                   services.FileOf(files::CompanyFile::kDetails)};
  PurgeResult result;
  if (!files.Open()) {
    ReportFailure(services, "The invoice files could not be opened. Nothing was removed.");
    return result;
  }
  result.opened = true;
  const bool readAll =
      files::Table<model::TransactionRecord>(files.transactions).ForEachRecord([&](const auto& row) {
        services.progress.KeepResponsive();
        if (PaidBefore(row.record, cutOff) && RemoveTransaction(services, files, row.number, row.record))
          ++result.removed;
        return true;
      });
  if (!readAll) {
    ReportFailure(services, "The transactions could not all be read (status " +
                                std::to_string(files.transactions.FailureStatus()) + "); the purge stopped there.");
  }
  return result;
}

}  // namespace books
