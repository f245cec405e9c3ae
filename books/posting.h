// Posting to the receivables: an amount owed or paid moves a customer's balance and the
// bucket of its age, and the company's accounts-receivable total by the same amount, so
// the company total stays the sum of the customer balances. Invoices, payments, repeat
// billing and interest all post through here.
#pragma once

#include <functional>

#include "books/aging.h"
#include "files/keyed_file.h"
#include "files/services.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"

namespace books {

// Changes the current company as it is stored: the record is re-read from the company
// list by number (so nothing another window stored there is overwritten with an older
// copy), changed, written back, and then copied into CurrentCompany. CurrentCompany
// takes the change even when the list cannot be written, so the run goes on with it;
// false tells the caller to report that it was not stored.
bool ChangeCurrentCompany(const files::Services& services, const std::function<void(model::CompanyRecord&)>& change);

// Adds `amount` (negative for a payment or credit) to the customer's Balance and to
// the bucket of its age. False, with the record untouched, when either field does not
// read as an amount (it is left for the user to see rather than overwritten) or the
// sum no longer fits the field.
bool PostToCustomer(model::CustomerRecord& customer, model::Money amount, AgingBucket bucket);

// Replaces an amount posted earlier with its new value, as a changed invoice does: the
// balance moves by the difference, the old amount leaves the bucket it was aged into
// and the new amount enters the bucket of its own age. False, with the record
// untouched, as for PostToCustomer.
bool RepostToCustomer(model::CustomerRecord& customer, model::Money oldAmount, AgingBucket oldBucket,
                      model::Money newAmount, AgingBucket newBucket);

// Takes a payment of `paid` off the customer's Balance. A payment settles items of
// several ages at once, so the buckets are not adjusted but replaced by `stillOpen`,
// the ages of what remains open once the payment's records are written. False, with
// the record untouched, when the balance does not read or a result does not fit.
bool PostPaymentToCustomer(model::CustomerRecord& customer, model::Money paid, const AgingTotals& stillOpen);

// Adds `amount` to the company's TotalAR; false (untouched) when it is no amount.
bool PostToCompany(model::CompanyRecord& company, model::Money amount);

// Posts `amount`, dated `documentDate`, to customer slot `number` of the open customer
// file and to the current company. Written in this order: the customer record, then
// the company record. A crash between the two leaves TotalAR short of the sum of the
// balances by `amount`; the next aging run rewrites TotalAR from the balances. False,
// after telling the user under `caption`, when a step could not be stored.
bool PostAmount(const files::Services& services, files::KeyedFile& customers, files::RecordNumber number,
                model::Money amount, const model::Date& documentDate, std::string_view caption);

}  // namespace books
