// Printing an invoice: the invoice and the payment records filed under its number
// gathered into one print record, with its customer and its lines or memo; printing
// it with its packing slip and file copies; batch printing of every invoice not yet
// printed; and the printed marks. The page itself is laid out in invoice_page.h.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/label_queue.h"
#include "files/services.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_form.h"
#include "invoicing/transaction_types.h"
#include "model/money.h"
#include "model/records.h"
#include "platform/page_canvas.h"

namespace invoicing {

// --- Lines ---------------------------------------------------------------------------

// A stored quantity as printed: thousands separators and as many decimals as were
// typed, up to four ("1234" is "1,234", "2.50" stays "2.50"); empty stays empty, and
// text that is no number is printed as it is.
std::string QuantityText(std::string_view stored);

// One line of a line-item invoice: the quantity as QuantityText makes it, the rest as
// stored.
struct PrintLine {
  std::string productCode, quantity, description, unitPrice, taxable, extension;
  friend bool operator==(const PrintLine&, const PrintLine&) = default;
};
PrintLine PrintLineOf(const model::DetailRecord& detail);

// The line as one text: code padded to 10, quantity right-aligned in 10, description
// padded to 33, unit price right-aligned in 10, the taxable flag, extension
// right-aligned in 12, with one blank between.
std::string PrintedLineText(const PrintLine& line);

// --- The print record --------------------------------------------------------------

struct PrintCustomer {
  std::string name;
  std::array<std::string, 4> billing;
  std::array<std::string, 4> shipping;
  std::string number;
  bool notesOnInvoice = false;
  std::string notes;
  // Current, 31-60, 61-90 and over 90, each ",0.00" right-aligned in 12.
  std::array<std::string, 4> aging;

  // "Deliver To:" is printed only for a first shipping line of more than one character.
  bool HasShipping() const;
};

struct PrintRecord {
  PrintCustomer customer;
  std::optional<model::CustomerRecord> customerOnFile;  // as read, for the label queue
  TransactionType type = TransactionType::kInvoice;
  bool memo = false;
  bool deposit = false;       // a deposit on account (type D or T, or body style D)
  bool depositTaken = false;  // a deposit offset against invoices (a T record is on file)
  std::string number, date, reference, terms;
  bool printed = false;  // the invoice's printed flag is "Y"
  // Summed over every record of the number: an invoice with its payment records counts
  // once, with all its payments.
  model::Money total, tax, paid;
  std::vector<PrintLine> lines;
  std::array<std::string, kStoredMemoLines> memoLines;

  model::Money Net() const { return total - tax; }
  model::Money Balance() const { return total - paid; }
};

// Every record filed under the number, its customer, and its lines or memo. The
// invoice's own fields come from its header rather than from a payment record filed
// after it (a payment record carries the payment's date and no memo mark). A missing
// memo is told under `caption` ("Error reading memo data.") and leaves the memo lines
// empty. nullopt when no record carries the number.
std::optional<PrintRecord> GatherInvoice(const files::Services& services, InvoiceFiles& files,
                                         std::string_view invoiceNo, std::string_view caption);

// --- Printing ------------------------------------------------------------------------

// Deposits are never printed; the invoice manager shows them instead.
std::optional<Refusal> PrintRefusal(const model::TransactionRecord& header);

struct PrintOutcome {
  bool printed = false;  // the invoice copy went out
  std::string status;    // "Invoice 1043 sent to printer."
};

// The invoice copy, then the packing slip and the file copies as the company asks,
// then the printed mark on the invoice's records. When the invoice copy cannot be
// printed nothing else is, and the invoice stays unmarked.
PrintOutcome PrintInvoice(const files::Services& services, InvoiceFiles& files, std::string_view invoiceNo,
                          platform::PageCanvas& canvas);

// What the invoice manager says after printing one: "Invoice 1043 sent to print queue.".
std::string PrintQueuedText(std::string_view invoiceNo);

struct BatchOutcome {
  int printed = 0;
  std::string status;  // "Batch Print complete. 3 invoices sent to spooler."; empty when stopped
};

// Every invoice not printed yet, after the question, in record order, with the count
// shown as it goes. The customers go to `labelQueue` when the company asks for it.
// A print job that fails stops the run, told as such.
BatchOutcome BatchPrintInvoices(const files::Services& services, InvoiceFiles& files, platform::PageCanvas& canvas,
                                documents::LabelQueue& labelQueue);

// Sets the printed flag "Y" on every invoice record (type G, I, M or Z) of the number
// that does not carry it yet; false when one could not be rewritten.
bool MarkInvoicePrinted(files::KeyedFile& transactions, std::string_view invoiceNo);

}  // namespace invoicing
