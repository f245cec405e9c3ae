// The books-integrity check: reads the current company's files and lists where the
// figures kept for speed (customer balances and aging buckets, the company's A/R
// total, paid marks, the next invoice number) disagree with the transactions, and
// which records point at nothing. The repair rewrites only those kept figures, after
// copying the company's files aside; what the transactions themselves hold is never
// changed, and records that point at nothing are left for the bookkeeper.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "books/aging.h"
#include "files/company_files.h"
#include "files/services.h"
#include "model/money.h"

namespace books {

enum class FindingKind {
  // Repaired: figures kept beside the transactions.
  kCustomerBalance,  // Balance against the open amounts of the customer's transactions
  kCustomerAging,    // one aging bucket against an aging as of the company's last aging date
  kCompanyTotal,     // TotalAR against what the customers owe on their transactions
  kPaidFlag,         // PaidFlag against BalanceDue: "P" exactly when nothing is due
  kPaidDate,         // PaidSortDate against BalanceDue: a date when paid, blank while open (an
                     // open deposit keeps the day it was taken)
  kNextInvoiceNumber,  // NextInvoiceNo at or below the counter of an invoice on file
  // Only listed: the transactions are the books, and nobody but the bookkeeper can
  // say which of two disagreeing records is right.
  kTransactionWithoutCustomer,
  kLineWithoutInvoice,
  kMemoWithoutInvoice,
  kMemoInvoiceWithoutMemo,     // BodyStyle "M" without a memo of its number
  kPaymentWithoutInvoice,      // an X record without the Z invoice of its number
  kDepositUseWithoutDeposit,   // a T record without the D deposit of its number
  kUnreadableAmount,           // a transaction amount, credit limit or unit price that is no amount
  kDuplicateInvoiceNumber,     // an invoice (I, G, R or Z) with the number of an earlier one
};

bool IsRepairable(FindingKind kind);

struct Finding {
  FindingKind kind{};
  files::CompanyFile file{};       // the file that holds the record
  files::RecordNumber record = 0;  // the record's slot in that file
  std::string customerNo;          // the customer concerned, trimmed; empty when none is
  std::string invoiceNo;           // the invoice concerned, trimmed; empty when none is
  std::string subject;             // the record as a bookkeeper names it: "Customer 1003 Blue Heron Inn"
  std::string field;               // the figure concerned ("balance", "31-60 days"); empty for a record
                                   // that points at nothing
  std::optional<AgingBucket> bucket;  // kCustomerAging only
  std::string stored;    // the field's text as stored (for an orphan, the number it points at)
  std::string expected;  // what the transactions say it should hold: what a repair writes
  std::optional<model::Money> storedAmount;    // amounts: the stored text read, when it reads
  std::optional<model::Money> expectedAmount;  // amounts: what the transactions say
  std::string sentence;  // the finding told to a bookkeeper
};

struct BooksCheck {
  // False when a file could not be opened or read: nothing is found then, as half the
  // books would give wrong balances, and nothing is repaired.
  bool readAll = false;
  std::string failure;  // what could not be read, for the user
  std::string company;  // "Company 1 Harbor Supply"
  std::vector<Finding> findings;  // none for consistent books
};

// Reads the company's entry in the company list and its customer, transaction,
// detail-line, memo and product files, each once; a file the company does not have
// yet holds nothing and is not created. Balances count exactly the records the aging
// run counts. A balance, bucket or A/R total whose text is no amount is reported by its
// own kind, as the repair rewrites it.
BooksCheck CheckBooks(const files::Services& services);

// "Customer 1003 Blue Heron Inn: balance 2,343.23 becomes 2,100.00." for a finding the
// repair rewrites; the question and the repair's account say the same.
std::string RepairSentence(const Finding& finding);

// The question asked before repairing: every figure that will be rewritten, the backup
// taken first, and how many findings are only listed. Empty when nothing would be
// rewritten.
std::string RepairQuestion(const BooksCheck& check);

struct RepairResult {
  std::filesystem::path backupFolder;  // relative to the data folder; empty when no backup was made
  std::string failure;                 // why nothing was rewritten; empty when the repair ran
  std::vector<std::string> rewritten;  // RepairSentence of each figure rewritten
  std::vector<std::string> notRewritten;  // figures that could not be rewritten, and why
};

// The folder a repair started at `now` copies the company's files into, under the
// data folder: "Backups/<CompanyNo>-YYYY-MM-DD-HHMMSS".
std::filesystem::path BackupFolderOf(std::string_view companyNo, const platform::LocalDateTime& now);

// Copies the company list and the company's data and index files into
// BackupFolderOf(now) and then rewrites the repairable findings of `check` through the
// normal record update, each record re-read first: a figure that no longer holds what
// the check found is left alone and told. Nothing is rewritten when `check` did not
// read everything or the backup fails. The files must not be open elsewhere, so the
// copies are whole.
RepairResult RepairBooks(const files::Services& services, const BooksCheck& check);

}  // namespace books
