// The kinds of transaction the invoice file holds and what the invoice manager shows of
// them: the type texts, the quick view ("Customer Data"), the browser's row and
// heading, the views, and which records batch printing and repeat billing accept.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "files/table.h"
#include "model/dates.h"
#include "model/records.h"

namespace invoicing {

enum class TransactionType { kInvoice, kRepeatMaster, kGenerated, kPartialPayment, kPartlyPaid, kDeposit,
                             kDepositTaken, kUnknown };

// The type letter, blanks around and case ignored.
TransactionType TypeOf(const model::TransactionRecord& header);

// A payment is recorded on the transaction: its paid amount is not zero. Text that is
// no amount counts as one, so nothing is changed over a payment nobody can read.
bool HasPayment(const model::TransactionRecord& header);
// Marked paid ("P") with a payment: such a record is neither edited nor deleted.
bool IsPaidInFull(const model::TransactionRecord& header);

// "I - Regular Invoice" and the like; for an R master with its created count, as the
// repeat billing list shows it under "Created" (the record keeps no creation date).
std::string TransactionTypeText(const model::TransactionRecord& header);

// A master's next due date, kept "mm/dd/yyyy" whatever the company's order; nullopt
// when it does not read.
std::optional<model::Date> NextDueDateOf(const model::TransactionRecord& master);

// Visits the repeat masters (type R) in the order of the type-and-number key, while
// `visit` returns true; false when the walk ended on an error.
bool ForEachRepeatMaster(const files::Table<model::TransactionRecord>& transactions,
                         const files::Table<model::TransactionRecord>::Visitor& visit);

// The date the quick view shows: the invoice date, and for an R master a line break
// and " - Next Due: " + the next due date (day first when the company's order is).
std::string QuickViewDate(const model::TransactionRecord& header, model::DateOrder order);

// What the "Customer Data" window shows, line by line.
struct QuickView {
  std::string typeText;   // TransactionTypeText
  std::string styleText;  // "(Product Invoice)", "(Memo Invoice)", "(Payment Record)", "(Applied Deposit)"
  std::string number;
  std::string date;       // QuickViewDate
  std::string total, paid, balance;  // ",0.00"
  std::string printedMark;  // "* Printed *" or empty
  std::string repeatMark;   // "* Repeat *" or empty
  std::string customerName, customerNumber, customerBalance, customerPhone;
};
QuickView QuickViewOf(const model::TransactionRecord& header, const std::optional<model::CustomerRecord>& customer,
                      model::DateOrder order);

// The browser's 128-character row and its heading: eleven columns of 107 characters
// in all, padded with blanks to the row's width.
constexpr std::size_t kInvoiceRowWidth = 128;
std::string InvoiceRow(const model::TransactionRecord& header);
std::string InvoiceHeading();
// What the browser shows in place of a row it cannot read.
constexpr std::string_view kUnreadableRow = "****";

// The six views of the "&Display" menu, in key-number order.
struct InvoiceView {
  engine::KeyNumber key;
  std::string_view menuText;
};
const std::array<InvoiceView, 6>& InvoiceViews();

// A record that prints as an invoice and carries the printed mark: type G, I, M or Z.
bool IsPrintedInvoiceType(const model::TransactionRecord& header);
// Batch printing takes such a record whose printed flag is not "Y", in record order.
bool SelectedForBatchPrint(const model::TransactionRecord& header);
std::vector<files::RecordNumber> InvoicesToPrint(const files::Table<model::TransactionRecord>& transactions);
// "There are 3 invoice(s) to print." with the packing slip and file copy notes and
// "Do you want to continue?", each on its own line.
std::string BatchPrintQuestion(std::size_t count, const model::CompanyRecord& company);

// Why the repeat billing set-up may not start on this record; nullopt when it may.
struct Refusal {
  std::string caption;
  std::string text;
};
std::optional<Refusal> RepeatSetupRefusal(const model::TransactionRecord& header);

}  // namespace invoicing
