// The printed pages of one copy of an invoice (the invoice itself, its packing slip or
// a file copy) in the company's form layout: the head, the addresses and details, the
// lines or the memo in a ruled table flowing over as many pages as needed, the totals,
// the sales message and the customer's aging.
#pragma once

#include <string>
#include <string_view>

#include "invoicing/invoice_print.h"
#include "model/records.h"
#include "platform/page_canvas.h"

namespace invoicing {

enum class CopyKind { kInvoice, kPackingSlip, kFileCopy };

// "Invoice - 1043", "Packing Slip - 1043", "File Copy - 1043".
std::string PrintJobTitle(CopyKind copy, std::string_view invoiceNo);

// The form's title: "REPEAT MASTER SETUP" for a repeat master; on the invoice copy the
// company's invoice caption, or "C  R  E  D  I  T" for a negative total; the company's
// own caption on the other copies.
std::string CopyHeading(const PrintRecord& record, CopyKind copy, const model::CompanyRecord& company);

// One print job; false when it could not start or finish.
bool PrintInvoiceCopy(const PrintRecord& record, CopyKind copy, const model::CompanyRecord& company,
                      platform::PageCanvas& canvas);

}  // namespace invoicing
