#include "invoicing/invoice_print.h"

#include <algorithm>

#include "books/invoice_records.h"
#include "files/table.h"
#include "invoicing/invoice_page.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/text.h"
#include "shell/customers.h"

namespace invoicing {
namespace {

constexpr std::string_view kPrintCaption = "Print Invoice";
constexpr std::string_view kBatchCaption = "Batch Print";

// The printed line's columns.
constexpr std::size_t kCodeWidth = 10;
constexpr std::size_t kQuantityWidth = 10;
constexpr std::size_t kDescriptionWidth = 33;
constexpr std::size_t kPriceWidth = 10;
constexpr std::size_t kExtensionWidth = 12;
constexpr std::size_t kAgingWidth = 12;
// A quantity shows at most this many of the decimals it was typed with.
constexpr int kMaxQuantityDecimals = 4;

using Rows = std::vector<files::Row<model::TransactionRecord>>;

std::string Trimmed(std::string_view text) { return std::string(model::TrimBlanks(text)); }

bool IsPaymentRecord(const model::TransactionRecord& header) {
  const TransactionType type = TypeOf(header);
  return type == TransactionType::kPartialPayment || type == TransactionType::kDepositTaken;
}

// The invoice's own header among the records of its number: the first that is no
// payment record, or the last read when all are.
const model::TransactionRecord& InvoiceHeaderOf(const Rows& rows) {
  const auto invoice = std::find_if(rows.begin(), rows.end(), [](const auto& row) { return !IsPaymentRecord(row.record); });
  return (invoice != rows.end() ? *invoice : rows.back()).record;
}

// The records filed under the number, in key order.
Rows RecordsNumbered(files::KeyedFile& transactions, std::string_view invoiceNo) {
  const files::Table<model::TransactionRecord> table(transactions);
  model::TransactionRecord probe{};
  probe.InvoiceNo = invoiceNo;
  Rows rows;
  table.ForEachEqual(model::transaction_key::kInvoiceNo, table.KeyOf(probe, model::transaction_key::kInvoiceNo),
                     [&](const files::Row<model::TransactionRecord>& row) {
                       rows.push_back(row);
                       return true;
                     });
  return rows;
}

// An amount that does not read adds nothing rather than stopping the print.
template <std::size_t N>
model::Money AmountOf(const model::MoneyField<N>& field) {
  return model::ReadMoney(field).value_or(model::Money());
}

std::optional<model::CustomerRecord> FindCustomer(const files::Services& services, std::string_view customerNumber) {
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::RecordNumber number = 0;
  model::CustomerRecord customer{};
  if (!customers.Open() || !shell::FindCustomerByNumber(customers, customerNumber, number, customer)) {
    return std::nullopt;
  }
  return customer;
}

PrintCustomer PrintCustomerOf(const model::CustomerRecord& customer) {
  PrintCustomer printed;
  printed.name = Trimmed(customer.CustName.str());
  printed.billing = {customer.BillAddr1.str(), customer.BillAddr2.str(), customer.BillAddr3.str(),
                     customer.BillAddr4.str()};
  printed.shipping = {customer.ShipAddr1.str(), customer.ShipAddr2.str(), customer.ShipAddr3.str(),
                      customer.ShipAddr4.str()};
  printed.number = Trimmed(customer.CustNo.str());
  printed.notesOnInvoice = model::IsYes(customer.NotesOnInvoice);
  printed.notes = Trimmed(customer.CustNotes.str());
  printed.aging = {model::PadLeft(model::AmountText(customer.AgeCurrent), kAgingWidth),
                   model::PadLeft(model::AmountText(customer.Age31to60), kAgingWidth),
                   model::PadLeft(model::AmountText(customer.Age61to90), kAgingWidth),
                   model::PadLeft(model::AmountText(customer.AgeOver90), kAgingWidth)};
  return printed;
}

void GatherBody(const files::Services& services, InvoiceFiles& files, const model::TransactionRecord& invoice,
                std::string_view caption, PrintRecord& record) {
  if (record.memo) {
    if (const auto memo = books::MemoOfInvoice(files.memos, invoice)) {
      for (std::size_t i = 0; i < record.memoLines.size(); ++i) record.memoLines[i] = memo->record.MemoLine[i].str();
    } else {
      services.dialogs.inform(caption, "Error reading memo data.", platform::Icon::kError);
    }
    return;
  }
  for (const auto& line : books::LinesOfInvoice(files.details, invoice)) {
    if (record.lines.size() == static_cast<std::size_t>(kLineCount)) break;
    record.lines.push_back(PrintLineOf(line.record));
  }
}

int FileCopies(const model::CompanyRecord& company) {
  const std::string_view copies = model::TrimBlanks(company.InvoiceCopies.raw());
  return copies.size() == 1 && copies[0] >= '2' && copies[0] <= '5' ? copies[0] - '0' : 1;
}

PrintOutcome PrintOne(const files::Services& services, InvoiceFiles& files, std::string_view invoiceNo,
                      platform::PageCanvas& canvas, documents::LabelQueue* batchQueue) {
  PrintOutcome outcome;
  const std::optional<PrintRecord> record = GatherInvoice(services, files, invoiceNo, kPrintCaption);
  const model::CompanyRecord& company = services.session.CurrentCompany;
  if (!record || !PrintInvoiceCopy(*record, CopyKind::kInvoice, company, canvas)) return outcome;
  outcome.printed = true;
  if (batchQueue != nullptr && model::IsYes(company.BatchToLabelQueue) && record->customerOnFile) {
    shell::AddToLabelQueue(*batchQueue, *record->customerOnFile);
  }
  if (company.PrintPackingSlip) PrintInvoiceCopy(*record, CopyKind::kPackingSlip, company, canvas);
  if (company.PrintFileCopy) {
    for (int copy = FileCopies(company); copy > 0; --copy) {
      PrintInvoiceCopy(*record, CopyKind::kFileCopy, company, canvas);
    }
  }
  outcome.status = "Invoice " + record->number + " sent to printer.";
  services.ShowStatus(outcome.status);
  if (!record->printed && !MarkInvoicePrinted(files.transactions, record->number)) {
    services.dialogs.inform(kPrintCaption, "Modify operation failed", platform::Icon::kError);
  }
  return outcome;
}

}  // namespace

std::string QuantityText(std::string_view stored) {
  const std::string_view text = model::TrimBlanks(stored);
  if (text.empty()) return {};
  const std::optional<model::Decimal> quantity = model::ParseDecimal(text);
  if (!quantity) return std::string(text);
  const std::size_t point = text.find('.');
  const int typed = point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
  const int decimals = std::min(typed, kMaxQuantityDecimals);
  return model::FormatDecimal(*quantity, decimals == 0 ? std::string(",0") : ",0." + std::string(decimals, '0'));
}

PrintLine PrintLineOf(const model::DetailRecord& detail) {
  const GridLine stored = StoredLineOf(detail);
  return PrintLine{Trimmed(stored.productCode), QuantityText(stored.quantity), stored.description, stored.unitPrice,
                   stored.taxable, stored.extension};
}

std::string PrintedLineText(const PrintLine& line) {
  return model::PadRight(line.productCode, kCodeWidth) + ' ' + model::PadLeft(line.quantity, kQuantityWidth) + ' ' +
         model::PadRight(line.description, kDescriptionWidth) + ' ' + model::PadLeft(line.unitPrice, kPriceWidth) +
         ' ' + model::PadRight(line.taxable, 1) + ' ' + model::PadLeft(line.extension, kExtensionWidth);
}

bool PrintCustomer::HasShipping() const { return model::CharacterCount(shipping[0]) > 1; }

std::optional<PrintRecord> GatherInvoice(const files::Services& services, InvoiceFiles& files,
                                         std::string_view invoiceNo, std::string_view caption) {
  const Rows rows = RecordsNumbered(files.transactions, invoiceNo);
  if (rows.empty()) return std::nullopt;
  PrintRecord record;
  for (const auto& [slot, key, header] : rows) {
    record.total += AmountOf(header.TotalAmount);
    record.tax += AmountOf(header.TaxAmount);
    record.paid += AmountOf(header.PaidAmount);
    if (TypeOf(header) == TransactionType::kDepositTaken) record.depositTaken = true;
  }
  const model::TransactionRecord& invoice = InvoiceHeaderOf(rows);
  record.type = TypeOf(invoice);
  record.deposit = record.type == TransactionType::kDeposit || record.type == TransactionType::kDepositTaken ||
                   model::HoldsLetter(invoice.BodyStyle, 'D');
  record.memo = !record.deposit && KindOfBodyStyle(invoice.BodyStyle.raw()) == InvoiceKind::kMemo;
  record.number = Trimmed(invoice.InvoiceNo.str());
  record.date = Trimmed(invoice.TransDate.str());
  record.reference = Trimmed(invoice.InvNotes.str());
  record.terms = Trimmed(invoice.Terms.str());
  record.printed = model::IsYes(invoice.PrintedFlag);

  // An invoice whose customer has gone still prints, under its customer number.
  record.customerOnFile = FindCustomer(services, invoice.CustNo.str());
  model::CustomerRecord customer{};
  customer.CustNo.SetRaw(invoice.CustNo.raw());
  record.customer = PrintCustomerOf(record.customerOnFile.value_or(customer));

  if (!record.deposit) GatherBody(services, files, invoice, caption, record);
  return record;
}

std::optional<Refusal> PrintRefusal(const model::TransactionRecord& header) {
  const TransactionType type = TypeOf(header);
  if (type != TransactionType::kDeposit && type != TransactionType::kDepositTaken) return std::nullopt;
  return Refusal{"Deposit Transaction",
                 "This record is a deposit. Unable to print. I am going to use the view option instead."};
}

PrintOutcome PrintInvoice(const files::Services& services, InvoiceFiles& files, std::string_view invoiceNo,
                          platform::PageCanvas& canvas) {
  return PrintOne(services, files, invoiceNo, canvas, nullptr);
}

std::string PrintQueuedText(std::string_view invoiceNo) {
  return "Invoice " + Trimmed(invoiceNo) + " sent to print queue.";
}

BatchOutcome BatchPrintInvoices(const files::Services& services, InvoiceFiles& files, platform::PageCanvas& canvas,
                                documents::LabelQueue& labelQueue) {
  BatchOutcome batch;
  const files::Table<model::TransactionRecord> table(files.transactions);
  const std::vector<files::RecordNumber> selected = InvoicesToPrint(table);
  if (selected.empty()) {
    services.dialogs.inform(kBatchCaption, "There are no invoices to print.", platform::Icon::kInformation);
    return batch;
  }
  if (!services.dialogs.confirm("Batch Print - Invoices",
                                BatchPrintQuestion(selected.size(), services.session.CurrentCompany))) {
    return batch;
  }
  services.progress.Begin(kBatchCaption, "Printing Invoices...");
  const std::string count = std::to_string(selected.size());
  bool stopped = false;
  for (std::size_t i = 0; i < selected.size(); ++i) {
    // An invoice printed earlier in the run marks every record of its number.
    const std::optional<model::TransactionRecord> header = table.Read(selected[i]);
    if (!header || !SelectedForBatchPrint(*header)) continue;
    const std::string number = Trimmed(header->InvoiceNo.str());
    const std::string lines[] = {"Invoice " + number, std::to_string(i + 1) + " of " + count};
    services.progress.Show(lines);
    services.progress.KeepResponsive();
    if (!PrintOne(services, files, number, canvas, &labelQueue).printed) {
      stopped = true;
      break;
    }
    ++batch.printed;
  }
  services.progress.End();
  if (stopped) {
    services.dialogs.inform(kBatchCaption,
                            "Batch Print stopped: an invoice could not be printed. " +
                                std::to_string(batch.printed) + " invoices sent to spooler.",
                            platform::Icon::kError);
    return batch;
  }
  batch.status = "Batch Print complete. " + std::to_string(batch.printed) + " invoices sent to spooler.";
  services.dialogs.inform(kBatchCaption, batch.status, platform::Icon::kInformation);
  return batch;
}

bool MarkInvoicePrinted(files::KeyedFile& transactions, std::string_view invoiceNo) {
  // The records are collected before any is rewritten, so the walk never has to find its
  // place again in an index that has just changed.
  bool marked = true;
  for (auto& [slot, key, header] : RecordsNumbered(transactions, invoiceNo)) {
    if (!IsPrintedInvoiceType(header) || model::IsYes(header.PrintedFlag)) continue;
    header.PrintedFlag = "Y";
    marked = transactions.Update(slot, header) && marked;
  }
  return marked;
}

}  // namespace invoicing
