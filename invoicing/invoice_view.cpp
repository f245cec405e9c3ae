#include "invoicing/invoice_view.h"

#include "invoicing/invoice_books.h"
#include "model/money.h"
#include "model/text.h"

namespace invoicing {
namespace {

std::string Amount(model::Money amount) { return model::FormatMoney(amount, ",0.00"); }

std::vector<std::string> NonBlank(const std::array<std::string, 4>& lines) {
  std::vector<std::string> kept;
  for (const std::string& line : lines) {
    if (!model::TrimBlanks(line).empty()) kept.emplace_back(model::TrimBlanks(line));
  }
  return kept;
}

std::string DescriptionOf(const PrintRecord& record) {
  if (record.depositTaken) return "Deposit on Account - Offset against invoices.";
  if (record.deposit) return "Deposit on Account";
  return record.memo ? "Memo Invoice" : "Product Code Invoice";
}

std::string BannerOf(const PrintRecord& record) {
  if (record.deposit) {
    return "DEPOSIT ON ACCOUNT OF " + Amount(record.paid) + ". (A zero amount indicates deposit has been offset).";
  }
  if (record.type == TransactionType::kRepeatMaster) return "** REPEAT BILLING MASTER SETUP **";
  if (record.type == TransactionType::kGenerated) return "** GENERATED BILLING **";
  return {};
}

std::string MemoText(const PrintRecord& record) {
  std::size_t used = record.memoLines.size();
  while (used > 0 && model::TrimBlanks(record.memoLines[used - 1]).empty()) --used;
  std::string text;
  for (std::size_t i = 0; i < used; ++i) {
    if (i > 0) text += '\n';
    text += record.memoLines[i];
  }
  return text;
}

}  // namespace

InvoiceViewContent ViewOfInvoice(const PrintRecord& record) {
  InvoiceViewContent view;
  const PrintCustomer& customer = record.customer;
  view.caption = "View Invoice# " + record.number;
  view.customerName = customer.name;
  view.billing = NonBlank(customer.billing);
  if (customer.HasShipping()) {
    view.deliverTo = NonBlank(customer.shipping);
    view.deliverTo.insert(view.deliverTo.begin(), "Deliver To:");
  }
  view.date = "Date: " + record.date;
  view.number = "Number: " + record.number;
  view.account = "Account Number: " + customer.number;
  view.terms = "Payment Terms: " + record.terms;
  view.reference = "Reference: " + record.reference;
  view.description = DescriptionOf(record);
  view.memoInvoice = record.memo;
  if (record.memo) {
    view.memo = MemoText(record);
  } else {
    for (PrintLine line : record.lines) {
      line.unitPrice = ShownAmount(line.unitPrice);
      line.extension = ShownAmount(line.extension);
      view.lines.push_back(std::move(line));
    }
  }
  view.banner = BannerOf(record);
  view.amounts = {{"Total:", Amount(record.Net())},
                  {"Tax: ", Amount(record.tax)},
                  {"Grand Total:", Amount(record.total)},
                  {"Paid Amount: ", Amount(record.paid)},
                  {"Balance Due:", Amount(record.Balance())}};
  view.notes = customer.notes;
  return view;
}

}  // namespace invoicing
