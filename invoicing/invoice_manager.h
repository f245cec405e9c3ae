// What the invoice manager window asks of its files and its company, apart from the
// bookkeeping: the form a new invoice starts from, whether a number is taken, finding
// an invoice by number, and the texts of its caption and filter.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/keyed_file.h"
#include "files/table.h"
#include "invoicing/invoice_form.h"
#include "model/dates.h"
#include "model/records.h"

namespace invoicing {

// A new invoice's form: dated `date` (the last date entered in this run, or today),
// key code "None", paid "0.00", memo quantity "1", of the company's default kind.
InvoiceForm NewInvoiceForm(const model::CompanyRecord& company, std::string_view date);

// The first transaction filed under this number (trimmed, case ignored).
std::optional<files::Row<model::TransactionRecord>> FindInvoice(files::KeyedFile& transactions,
                                                                 std::string_view invoiceNo);
bool InvoiceNumberOnFile(files::KeyedFile& transactions, std::string_view invoiceNo);
// The record in the slot `listed` was read from, when it is still byte for byte as it
// was listed; nullopt when it has changed or is gone, so nothing is written over a
// change made since.
std::optional<model::TransactionRecord> ReadAsListed(files::KeyedFile& transactions,
                                                    const files::Row<model::TransactionRecord>& listed);

// The number a new invoice dated `date` takes when nobody types one: the company's next
// number (with its year-and-month prefix when the company asks for it), counted on past
// every number already on file, so a run never files a second invoice under a number.
// nullopt when no usable number is left: the counter does not read as a number, or the
// number or its successor would not fit the field.
std::optional<std::string> FreeInvoiceNumber(files::KeyedFile& transactions, model::CompanyRecord company,
                                             const model::Date& date);

// "Harbor Supply Co. - #2".
std::string CompanyCaption(const model::CompanyRecord& company);
// "Add Invoice - Company: Harbor Supply Co. - #2".
std::string AddInvoiceCaption(const model::CompanyRecord& company);

constexpr std::string_view kFilterClosed = "Filter Closed";
// "Filtering Customer#: 1001".
std::string FilterLabel(std::string_view customerNumber);
// Whether a row of customer `rowCustomer` passes the filter on `filterCustomer`.
bool PassesCustomerFilter(std::string_view rowCustomer, std::string_view filterCustomer);

// The third status panel after the entry window closes.
std::string_view TimerStateText(bool running);

}  // namespace invoicing
