#include "invoicing/transaction_types.h"

#include "model/field_values.h"
#include "model/keys.h"
#include "model/money.h"
#include "model/text.h"

namespace invoicing {
namespace {

// The browser row's columns, each followed by one blank but the last.
constexpr std::size_t kSortDateWidth = 10;
constexpr std::size_t kTypeWidth = 1;
constexpr std::size_t kNumberWidth = 9;
constexpr std::size_t kCustomerWidth = 8;
constexpr std::size_t kShortNameWidth = 10;
constexpr std::size_t kAmountWidth = 12;
constexpr std::size_t kKeyCodeWidth = 8;
constexpr std::size_t kDatePaidWidth = 10;
constexpr std::size_t kCompanyWidth = 5;
constexpr std::size_t kColumnCount = 11;
constexpr std::size_t kColumnsWidth = kSortDateWidth + kTypeWidth + kNumberWidth + kCustomerWidth + kShortNameWidth +
                                      3 * kAmountWidth + kKeyCodeWidth + kDatePaidWidth + kCompanyWidth +
                                      (kColumnCount - 1);
static_assert(kColumnsWidth == 107 && kColumnsWidth <= kInvoiceRowWidth);

constexpr std::size_t kRepeatNumberLimit = 5;

// A text column: cut to its width so that no value pushes the columns after it.
std::string Left(std::string_view text, std::size_t width) {
  return model::PadRight(model::FirstCharacters(text, width), width);
}

struct RowTexts {
  std::string sortDate, type, number, customer, shortName, total, balance, paid, keyCode, datePaid, company;
};

std::string JoinRow(const RowTexts& texts) {
  std::string row = Left(texts.sortDate, kSortDateWidth) + ' ' + Left(texts.type, kTypeWidth) + ' ' +
                    Left(texts.number, kNumberWidth) + ' ' + Left(texts.customer, kCustomerWidth) + ' ' +
                    Left(texts.shortName, kShortNameWidth) + ' ' + model::PadLeft(texts.total, kAmountWidth) + ' ' +
                    model::PadLeft(texts.balance, kAmountWidth) + ' ' + model::PadLeft(texts.paid, kAmountWidth) + ' ' +
                    Left(texts.keyCode, kKeyCodeWidth) + ' ' + Left(texts.datePaid, kDatePaidWidth) + ' ' +
                    Left(texts.company, kCompanyWidth);
  return model::PadRight(row, kInvoiceRowWidth);
}

bool HoldsOneOf(const model::LetterCode& code, std::string_view letters) {
  const std::string letter = model::Folded(code.raw());
  return letter.size() == 1 && letters.find(letter.front()) != std::string_view::npos;
}

std::string StyleText(const model::TransactionRecord& header) {
  switch (TypeOf(header)) {
    case TransactionType::kDeposit:
    case TransactionType::kPartialPayment: return "(Payment Record)";
    case TransactionType::kDepositTaken: return "(Applied Deposit)";
    default: break;
  }
  return model::HoldsLetter(header.BodyStyle, 'M') ? "(Memo Invoice)" : "(Product Invoice)";
}

std::string NextDueText(const model::TransactionRecord& header, model::DateOrder order) {
  const std::optional<model::Date> due = NextDueDateOf(header);
  return due ? model::FormatDisplayDate(*due, order) : header.NextDueDate.str();
}

}  // namespace

TransactionType TypeOf(const model::TransactionRecord& header) {
  const std::string letter = model::Folded(header.TransType.raw());
  if (letter == "I") return TransactionType::kInvoice;
  if (letter == "R") return TransactionType::kRepeatMaster;
  if (letter == "G") return TransactionType::kGenerated;
  if (letter == "X") return TransactionType::kPartialPayment;
  if (letter == "Z") return TransactionType::kPartlyPaid;
  if (letter == "D") return TransactionType::kDeposit;
  if (letter == "T") return TransactionType::kDepositTaken;
  return TransactionType::kUnknown;
}

bool HasPayment(const model::TransactionRecord& header) {
  const std::optional<model::Money> paid = model::ReadMoney(header.PaidAmount);
  return !paid || !paid->IsZero();
}

bool IsPaidInFull(const model::TransactionRecord& header) {
  return model::HoldsLetter(header.PaidFlag, 'P') && HasPayment(header);
}

std::string TransactionTypeText(const model::TransactionRecord& header) {
  switch (TypeOf(header)) {
    case TransactionType::kInvoice: return "I - Regular Invoice";
    case TransactionType::kRepeatMaster:
      return "R - Repeat Billing Master Record (Created: " + std::string(model::TrimBlanks(header.RepeatCount.str())) +
             ")";
    case TransactionType::kGenerated: return "G - Repeat Billing Generated Invoice";
    case TransactionType::kPartialPayment: return "X - Partial Payment Record against Type Z";
    case TransactionType::kPartlyPaid: return "Z - Invoice has Partial Payment(s) of Type X";
    case TransactionType::kDeposit: return "D - Deposit on Account";
    case TransactionType::kDepositTaken: return "T - Deposit Taken (offsets type D)";
    case TransactionType::kUnknown: break;
  }
  return header.TransType.str();
}

std::optional<model::Date> NextDueDateOf(const model::TransactionRecord& master) {
  return model::ParseDisplayDate(master.NextDueDate.raw(), model::DateOrder::kMonthFirst);
}

bool ForEachRepeatMaster(const files::Table<model::TransactionRecord>& transactions,
                         const files::Table<model::TransactionRecord>::Visitor& visit) {
  // Keys are the trimmed, upper-cased type and number, so every master's starts with R.
  return transactions.ForEachFrom(model::transaction_key::kTypeAndInvoice, "R", [&](const auto& row) {
    if (!row.key.view().starts_with('R')) return false;
    return TypeOf(row.record) != TransactionType::kRepeatMaster || visit(row);
  });
}

std::string QuickViewDate(const model::TransactionRecord& header, model::DateOrder order) {
  std::string date = header.TransDate.str();
  if (TypeOf(header) == TransactionType::kRepeatMaster) date += "\n - Next Due: " + NextDueText(header, order);
  return date;
}

QuickView QuickViewOf(const model::TransactionRecord& header, const std::optional<model::CustomerRecord>& customer,
                      model::DateOrder order) {
  QuickView view;
  view.typeText = TransactionTypeText(header);
  view.styleText = StyleText(header);
  view.number = header.InvoiceNo.str();
  view.date = QuickViewDate(header, order);
  view.total = model::AmountText(header.TotalAmount);
  view.paid = model::AmountText(header.PaidAmount);
  view.balance = model::AmountText(header.BalanceDue);
  if (model::IsYes(header.PrintedFlag)) view.printedMark = "* Printed *";
  if (TypeOf(header) == TransactionType::kRepeatMaster) view.repeatMark = "* Repeat *";
  if (customer) {
    view.customerName = customer->CustName.str();
    view.customerNumber = customer->CustNo.str();
    view.customerBalance = model::AmountText(customer->Balance);
    view.customerPhone = customer->Phone1.str();
  }
  return view;
}

std::string InvoiceRow(const model::TransactionRecord& header) {
  return JoinRow({header.SortDate.str(), header.TransType.str(), header.InvoiceNo.str(), header.CustNo.str(),
                  header.ShortName.str(), model::AmountText(header.TotalAmount), model::AmountText(header.BalanceDue),
                  model::AmountText(header.PaidAmount), header.KeyCode.str(), header.PaidSortDate.str(),
                  header.CompanyNo.str()});
}

std::string InvoiceHeading() {
  return JoinRow({"Year/Mo/Dy", "T", "Invoice#", "Cust#", "Short Name", "Grand Total", "Amount Due", "Paid Amount",
                  "Key Code", "Date Paid", "CO#"});
}

const std::array<InvoiceView, 6>& InvoiceViews() {
  using namespace model::transaction_key;
  static const std::array<InvoiceView, 6> views = {{{kInvoiceNo, "By Invoice &Number"},
                                                    {kCustNo, "By &Customer Number"},
                                                    {kSortDate, "By Invoice &Date"},
                                                    {kKeyCode, "By &Key Code"},
                                                    {kTypeAndInvoice, "By &Transaction Type"},
                                                    {kPaidSortDate, "By Date &Paid"}}};
  return views;
}

bool IsPrintedInvoiceType(const model::TransactionRecord& header) {
  // "M" is no transaction type, but a record carrying it is an invoice all the same.
  return HoldsOneOf(header.TransType, "GIMZ");
}

bool SelectedForBatchPrint(const model::TransactionRecord& header) {
  return !model::IsYes(header.PrintedFlag) && IsPrintedInvoiceType(header);
}

std::vector<files::RecordNumber> InvoicesToPrint(const files::Table<model::TransactionRecord>& transactions) {
  std::vector<files::RecordNumber> selected;
  transactions.ForEachRecord([&](const files::Row<model::TransactionRecord>& row) {
    if (SelectedForBatchPrint(row.record)) selected.push_back(row.number);
    return true;
  });
  return selected;
}

std::string BatchPrintQuestion(std::size_t count, const model::CompanyRecord& company) {
  std::string question = "There are " + std::to_string(count) + " invoice(s) to print.";
  if (company.PrintPackingSlip) question += "\nNote: Packing Slips will be printed.";
  if (company.PrintFileCopy) question += "\nNote: File Copies will be printed.";
  return question + "\nDo you want to continue?";
}

std::optional<Refusal> RepeatSetupRefusal(const model::TransactionRecord& header) {
  if (HasPayment(header)) {
    return Refusal{"Payment Acivity",
                   "This invoice has payment activity. To create a repeat billing, the invoice must not have any "
                   "payments."};
  }
  const TransactionType type = TypeOf(header);
  if (type != TransactionType::kInvoice && type != TransactionType::kRepeatMaster) {
    return Refusal{"Transaction Type",
                   "This record must be Type Code \"I\" or \"R\" in order to change repeat billing information."};
  }
  if (model::CharacterCount(model::TrimBlanks(header.InvoiceNo.str())) > kRepeatNumberLimit) {
    return Refusal{"Repeat Billing Setup",
                   "The invoice number is too long. A repeat billing invoice number must be 5 or less characters. "
                   "Please change the invoice number and try again."};
  }
  return std::nullopt;
}

}  // namespace invoicing
