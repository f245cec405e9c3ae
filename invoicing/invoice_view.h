// What the "View Invoice" window shows of a gathered invoice, as plain texts: the
// customer and addresses, the details, what kind of invoice it is with its lines or
// memo, the banner of a repeat master, generated invoice or deposit, the totals and
// the customer's notes.
#pragma once

#include <string>
#include <vector>

#include "invoicing/invoice_print.h"

namespace invoicing {

struct ViewAmount {
  std::string label;  // "Total:", "Tax: ", "Grand Total:", "Paid Amount: ", "Balance Due:"
  std::string value;  // ",0.00"
};

struct InvoiceViewContent {
  std::string caption;  // "View Invoice# 1043"
  std::string customerName;
  std::vector<std::string> billing;    // the billing address lines
  std::vector<std::string> deliverTo;  // "Deliver To:" and the shipping lines; empty without one
  std::string date, number, account, terms, reference;  // "Date: 12/08/2026" and so on
  // "Product Code Invoice", "Memo Invoice", "Deposit on Account" or "Deposit on Account
  // - Offset against invoices."
  std::string description;
  bool memoInvoice = false;
  std::vector<PrintLine> lines;  // a line-item invoice's lines, amounts ",0.00"
  std::string memo;              // a memo invoice's text, lines joined by '\n'
  std::string banner;            // empty when the invoice has none
  std::vector<ViewAmount> amounts;
  std::string notes;
};

InvoiceViewContent ViewOfInvoice(const PrintRecord& record);

}  // namespace invoicing
