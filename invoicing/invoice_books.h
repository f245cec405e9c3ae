// What storing an invoice does to the books: the header with its six keys, its detail
// lines, its memo, the customer's balance, last invoice, last payment and aging
// bucket, and the company's A/R total and invoice numbers. Adding, editing and
// deleting are one function each, with the checks and questions that come before.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "books/invoice_numbers.h"
#include "documents/label_queue.h"
#include "files/keyed_file.h"
#include "files/services.h"
#include "invoicing/invoice_form.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"

namespace invoicing {

// The invoice manager's three files, open while its window is.
struct InvoiceFiles {
  files::KeyedFile& transactions;
  files::KeyedFile& details;
  files::KeyedFile& memos;
};

// A header read back from the form of a new invoice: number, type "I", date and its
// parts, texts, customer, amounts, balance and paid marks, company and body style.
// nullopt when there is no customer, the date does not read, or an amount does not
// read or does not fit its field (the entry window's checks prevent all three).
std::optional<model::TransactionRecord> HeaderOfForm(const InvoiceForm& form, const model::CompanyRecord& company);

// The 63-character LineText of a grid line: quantity (10), description (32), unit
// price (10), taxable flag (1), extension (10), amounts without commas. A value wider
// than its column is not cut (it would read as another amount): the text comes out
// longer, and such a line is refused rather than stored.
std::string LineTextOf(const GridLine& line);
// The detail record of `line` on the invoice `header`, filed under its number with its
// body style; nullopt when the line does not fit LineText's columns.
std::optional<model::DetailRecord> DetailOf(const GridLine& line, const model::TransactionRecord& header);
// A stored amount of a line as the grid and the view show it (",0.00"); an empty cell
// stays empty, and text that is no amount is shown as it is.
std::string ShownAmount(std::string_view stored);
// A stored line back into grid cells (amounts shown with ",0.00").
GridLine GridLineOf(const model::DetailRecord& detail);
// The stored line's cells as they are stored: quantity and amounts trimmed but not
// reformatted, the description without trailing blanks.
GridLine StoredLineOf(const model::DetailRecord& detail);

// --- Posting -----------------------------------------------------------------------

// What the record keeps open in the customer's balance and the company's A/R total:
// total - paid. A repeat master is a template whose balance is always zero, so it keeps
// nothing open. nullopt when an amount does not read.
std::optional<model::Money> OpenAmount(const model::TransactionRecord& header);

// Posts a newly stored invoice to its customer: the open amount to the balance and the
// bucket of its age, its number as the last invoice, and its date as the last payment
// when it came with one. When the customer cannot be updated the user is told, under
// `caption`, which invoice the balance is missing.
void PostNewInvoice(const files::Services& services, const model::TransactionRecord& header,
                    std::string_view caption);

// Moves the company's TotalAR by `amount` and makes `alsoChange`'s changes, in one
// rewrite; false when the total does not read or fit, or the record is not stored.
bool PostToCurrentCompany(const files::Services& services, model::Money amount,
                          const std::function<void(model::CompanyRecord&)>& alsoChange = {});

// --- Add ---------------------------------------------------------------------------

struct AddOutcome {
  bool added = false;  // the header is on file
  files::RecordNumber number = 0;
  model::TransactionRecord header{};
  int lineCount = 0;
  std::string status;  // "Added invoice 1043 containing 2 line item(s)."
};

// What a new invoice on file does to the books: its open amount to the customer's
// balance and the bucket of its age, its number as the customer's last invoice (its
// date as the last payment when something was paid), the A/R total, and the company's
// last saved and next invoice numbers. Written in this order: the customer, then the
// company; a part that could not be stored is told under `caption`.
void PostAddedInvoice(const files::Services& services, const model::TransactionRecord& header,
                      std::string_view caption);

// Stores a new invoice from the form the entry window accepted. `labelQueue` takes
// the customer when the company copies new invoices to the label queue.
AddOutcome AddInvoice(const files::Services& services, InvoiceFiles& files, const InvoiceForm& form,
                      documents::LabelQueue& labelQueue);

// --- Edit --------------------------------------------------------------------------

// The checks and notes before an edit, in their order; false when the edit may not
// go on.
bool MayEditInvoice(const files::Services& services, const model::TransactionRecord& header);

// The entry form for editing the stored invoice: its fields, its lines from the detail
// file and its memo. `linesLoaded` is how many grid rows came from detail records.
struct EditForm {
  InvoiceForm form;
  int linesLoaded = 0;
};
EditForm FormOfInvoice(const files::Services& services, InvoiceFiles& files, const model::TransactionRecord& header);

struct EditOutcome {
  bool stored = false;
  model::TransactionRecord header{};
  std::string status;  // "Editing invoice 1043 completed."
};

// Stores the edited form over slot `number`, which held `snapshot` when the edit began.
EditOutcome EditInvoice(const files::Services& services, InvoiceFiles& files, files::RecordNumber number,
                        const model::TransactionRecord& snapshot, const EditForm& edited);

// --- Delete --------------------------------------------------------------------------

struct DeleteOutcome {
  bool deleted = false;
  std::string status;  // "Deleted invoice 1043 containing 2 line item(s)."
};

// The checks and questions, then the header, its lines, the customer and company
// totals and the memo.
DeleteOutcome DeleteInvoice(const files::Services& services, InvoiceFiles& files, files::RecordNumber number,
                            const model::TransactionRecord& header);

// --- Repeat billing master ----------------------------------------------------------

struct RepeatSchedule {
  int interval = 1;     // days or months between invoices
  bool months = true;   // false: days
  model::Date nextDue;  // when the next invoice is due
};

// Rewrites slot `number`, which held `snapshot` (an invoice without payments, or a
// master), as a repeat billing master on `schedule`. Its lines become repeat lines, and
// an invoice's open amount comes off its customer and the company. False, after
// telling the user, when the header could not be stored.
bool StoreRepeatMaster(const files::Services& services, InvoiceFiles& files, files::RecordNumber number,
                       const model::TransactionRecord& snapshot, const RepeatSchedule& schedule);

}  // namespace invoicing
