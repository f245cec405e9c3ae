#include "invoicing/invoice_manager.h"

#include <cstring>

#include "invoicing/invoice_books.h"
#include "invoicing/invoice_entry.h"
#include "model/keys.h"
#include "model/text.h"

namespace invoicing {

InvoiceForm NewInvoiceForm(const model::CompanyRecord& company, std::string_view date) {
  InvoiceForm form;
  form.mode = EntryMode::kAdd;
  form.kind = KindOfBodyStyle(company.DefaultBodyStyle.raw());
  form.storedNumber = "0";
  form.date = date;
  form.keyCode = "None";
  form.paid = "0.00";
  form.memoQuantity = "1";
  EraseAllLines(form, company);
  return form;
}

std::optional<files::Row<model::TransactionRecord>> FindInvoice(files::KeyedFile& transactions,
                                                                std::string_view invoiceNo) {
  model::TransactionRecord wanted{};
  wanted.InvoiceNo = model::Folded(invoiceNo);
  const files::Table<model::TransactionRecord> table(transactions);
  return table.FindExact(model::transaction_key::kInvoiceNo, table.KeyOf(wanted, model::transaction_key::kInvoiceNo));
}

bool InvoiceNumberOnFile(files::KeyedFile& transactions, std::string_view invoiceNo) {
  return FindInvoice(transactions, invoiceNo).has_value();
}

std::optional<std::string> FreeInvoiceNumber(files::KeyedFile& transactions, model::CompanyRecord company,
                                             const model::Date& date) {
  const bool prefixed = model::IsYes(company.PrefixInvoiceNo);
  for (;;) {
    const std::string number = NewInvoiceNumber(company, date);
    if (number.size() > static_cast<std::size_t>(kNumberCapacity)) return std::nullopt;
    // A number without a successor would leave the company's next number on it.
    const std::optional<std::string> next = books::NextInvoiceNumberAfter(number, prefixed);
    if (!next) return std::nullopt;
    if (!InvoiceNumberOnFile(transactions, number)) return number;
    company.NextInvoiceNo = *next;
  }
}

std::optional<model::TransactionRecord> ReadAsListed(files::KeyedFile& transactions,
                                                    const files::Row<model::TransactionRecord>& listed) {
  std::optional<model::TransactionRecord> stored =
      files::Table<model::TransactionRecord>(transactions).Read(listed.number);
  if (stored && std::memcmp(&*stored, &listed.record, sizeof listed.record) != 0) stored.reset();
  return stored;
}

std::string CompanyCaption(const model::CompanyRecord& company) {
  return company.CompanyName.str() + " - #" + company.CompanyNo.str();
}

std::string AddInvoiceCaption(const model::CompanyRecord& company) {
  return "Add Invoice - Company: " + CompanyCaption(company);
}

std::string FilterLabel(std::string_view customerNumber) {
  return "Filtering Customer#: " + std::string(customerNumber);
}

bool PassesCustomerFilter(std::string_view rowCustomer, std::string_view filterCustomer) {
  return model::Folded(rowCustomer) == model::Folded(filterCustomer);
}

std::string_view TimerStateText(bool running) { return running ? "Timer running..." : "Timer off"; }

}  // namespace invoicing
