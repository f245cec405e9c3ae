#include "invoicing/invoice_entry.h"

#include <algorithm>
#include <filesystem>

#include "files/company_files.h"
#include "model/field_values.h"
#include "model/text.h"
#include "model/text_encoding.h"
#include "shell/products.h"
#include "shell/startup.h"

namespace invoicing {
namespace {

using model::Money;
using platform::Icon;

constexpr std::string_view kShown = ",0.00";
constexpr std::string_view kWarningCaption = "Warning";
constexpr std::string_view kNumberCaption = "Invoice Number";
constexpr std::string_view kConfirmCaption = "Please Confirm";
constexpr std::string_view kSavedLinesCaption = "Saved Lines File";
// A plain message box carries the program's name, as the desktop's do.
constexpr std::string_view kPlainCaption = shell::kProgramCaption;

// Every amount field of the records holds 10 characters of money text.
constexpr std::size_t kStoredAmountWidth = 10;
// Derived amounts are held within ±10^15 cents: a hundred of them still add up
// inside 64 bits, and any value that large is refused as too wide to store.
constexpr std::int64_t kAmountCeiling = 1'000'000'000'000'000;

Money Held(Money amount) {
  return Money::FromCents(std::clamp<std::int64_t>(amount.Cents(), -kAmountCeiling, kAmountCeiling));
}

std::string Shown(Money amount) { return model::FormatMoney(amount, kShown); }

Money AmountOrZero(std::string_view typed) { return ReadAmount(typed).value_or(Money()); }

std::string WithoutCommas(std::string_view typed) {
  std::string plain(model::TrimBlanks(typed));
  std::erase(plain, ',');
  return std::string(model::TrimBlanks(plain));
}

model::Decimal TaxRate(const model::CompanyRecord& company) {
  return model::ParseDecimal(company.TaxRate.raw()).value_or(model::Decimal{});
}

bool StoredWidthFits(Money amount) { return model::MoneyText(amount).size() <= kStoredAmountWidth; }

// --- Checks -------------------------------------------------------------------------

EntryCheck Refused(EntryField focus, int row = 0, GridColumn column = GridColumn::kProduct) {
  return {false, focus, row, column};
}

struct FormAmounts {
  Money net, tax, paid, total, balance;
};

FormAmounts AmountsOf(const InvoiceForm& form) {
  FormAmounts amounts{AmountOrZero(form.net), AmountOrZero(form.tax), AmountOrZero(form.paid), {}, {}};
  amounts.total = Held(amounts.net + amounts.tax);
  amounts.balance = Held(amounts.total - amounts.paid);
  return amounts;
}

std::optional<EntryCheck> CheckNumber(const InvoiceForm& form, platform::Dialogs& dialogs) {
  const std::string_view number = model::TrimBlanks(form.number);
  if (number.empty()) {
    dialogs.inform(kNumberCaption, "You need an invoice number.", Icon::kWarning);
    return Refused(EntryField::kNumber);
  }
  // The number is a key: "10 43" would be filed apart from "1043" and read as neither.
  if (std::any_of(number.begin(), number.end(), model::IsBlankOrControl)) {
    dialogs.inform(kNumberCaption, "An invoice number may not contain blanks.", Icon::kWarning);
    return Refused(EntryField::kNumber);
  }
  if (model::CharacterCount(number) > static_cast<std::size_t>(kNumberCapacity)) {
    dialogs.inform(kNumberCaption, "An invoice number may not be longer than 9 characters.", Icon::kWarning);
    return Refused(EntryField::kNumber);
  }
  return std::nullopt;
}

bool DateIsValid(std::string_view typed, model::DateOrder order) {
  const std::string_view date = model::TrimBlanks(typed);
  return date.size() == static_cast<std::size_t>(kDateCapacity) && model::ParseDisplayDate(date, order).has_value();
}

std::string LineMessage(int row, std::string_view what) {
  return "Line " + std::to_string(row) + " has " + std::string(what);
}

std::optional<EntryCheck> CheckLineNumbers(const InvoiceForm& form, platform::Dialogs& dialogs) {
  for (int row = 1; row <= kLineCount; ++row) {
    const GridLine& line = form.Line(row);
    if (!ReadNumber(line.quantity)) {
      dialogs.inform(kPlainCaption, LineMessage(row, "an invalid QUANTITY value."), Icon::kNone);
      return Refused(EntryField::kGridCell, row, GridColumn::kQuantity);
    }
    if (!ReadNumber(line.unitPrice)) {
      dialogs.inform(kPlainCaption, LineMessage(row, "an invalid UNIT PRICE value."), Icon::kNone);
      return Refused(EntryField::kGridCell, row, GridColumn::kUnitPrice);
    }
  }
  return std::nullopt;
}

// A detail line keeps quantity, price and extension in 10 characters each, without
// commas; a longer value would be cut into another number.
std::optional<EntryCheck> CheckLineWidths(const InvoiceForm& form, platform::Dialogs& dialogs) {
  for (int row = 1; row <= kLineCount; ++row) {
    const GridLine& line = form.Line(row);
    std::string_view fault;
    GridColumn column = GridColumn::kQuantity;
    if (WithoutCommas(line.quantity).size() > kStoredAmountWidth) {
      fault = "a QUANTITY too large to store.";
    } else if (WithoutCommas(line.unitPrice).size() > kStoredAmountWidth) {
      fault = "a UNIT PRICE too large to store.";
      column = GridColumn::kUnitPrice;
    } else if (const std::optional<Money> extension = LineExtension(line); extension && !StoredWidthFits(*extension)) {
      fault = "an EXTENSION too large to store.";
      column = GridColumn::kExtension;
    }
    if (!fault.empty()) {
      dialogs.inform(kPlainCaption, LineMessage(row, fault), Icon::kNone);
      return Refused(EntryField::kGridCell, row, column);
    }
  }
  return std::nullopt;
}

bool AnyDescription(const InvoiceForm& form) {
  return std::any_of(form.lines.begin(), form.lines.end(),
                     [](const GridLine& line) { return !model::TrimBlanks(line.description).empty(); });
}

std::optional<EntryCheck> CheckAmountsRead(const InvoiceForm& form, platform::Dialogs& dialogs) {
  const struct {
    const std::string& text;
    std::string_view message;
    EntryField field;
  } amounts[] = {
      {form.net, "The NET amount has an invalid value.", EntryField::kNet},
      {form.tax, "The TAX amount has an invalid value.", EntryField::kTax},
      {form.paid, "The PAID amount has an invalid value.", EntryField::kPaid},
  };
  for (const auto& amount : amounts) {
    if (ReadAmount(amount.text)) continue;
    dialogs.inform(kPlainCaption, amount.message, Icon::kNone);
    return Refused(amount.field);
  }
  return std::nullopt;
}

std::optional<EntryCheck> CheckAmountWidths(const FormAmounts& amounts, platform::Dialogs& dialogs) {
  const struct {
    Money amount;
    std::string_view name;
    EntryField field;
  } checked[] = {
      {amounts.net, "NET", EntryField::kNet},       {amounts.tax, "TAX", EntryField::kTax},
      {amounts.paid, "PAID", EntryField::kPaid},    {amounts.total, "TOTAL", EntryField::kNet},
      {amounts.balance, "BALANCE", EntryField::kPaid},
  };
  for (const auto& entry : checked) {
    if (StoredWidthFits(entry.amount)) continue;
    dialogs.inform(kPlainCaption, "The " + std::string(entry.name) + " amount is too large to store.", Icon::kNone);
    return Refused(entry.field);
  }
  return std::nullopt;
}

bool OverCreditLimit(Money amount, const model::CustomerRecord& customer) {
  const Money limit = model::ReadMoney(customer.CreditLimit).value_or(Money());
  const Money balance = Held(model::ReadMoney(customer.Balance).value_or(Money()));
  return limit > Money() && Held(amount + balance) > limit;
}

bool KnownTerm(std::string_view typed, const std::vector<std::string>& terms) {
  const std::string folded = model::ToUpperAscii(typed);
  return std::any_of(terms.begin(), terms.end(),
                     [&](const std::string& term) { return model::ToUpperAscii(term) == folded; });
}

EntryCheck CheckTerms(const InvoiceForm& form, const EntryContext& context) {
  if (KnownTerm(form.terms, context.terms)) return {true};
  const platform::Answer answer =
      context.dialogs.ask("Terms: " + form.terms,
                          "This is a new payment term. Would you like to add terms to the terms file?",
                          platform::Buttons::kYesNoCancel);
  if (answer == platform::Answer::kNo) return {true};
  if (answer != platform::Answer::kYes) return Refused(EntryField::kTerms);
  std::vector<std::string> extended = context.terms;
  extended.push_back(form.terms);
  const model::FileOutcome saved = context.saveTerms(extended);
  if (!saved) {
    context.dialogs.inform("Terms: " + form.terms, saved.error, Icon::kError);
    return Refused(EntryField::kTerms);
  }
  context.terms = std::move(extended);
  return {true};
}

// --- Saved lines ------------------------------------------------------------------

// Fixed columns of a saved grid row (1-based in the file's description, 0-based here).
struct Column {
  std::size_t start, width;
};
constexpr Column kCodeColumn{3, 10}, kQuantityColumn{14, 10}, kDescriptionColumn{25, 32}, kPriceColumn{58, 10},
    kFlagColumn{69, 1}, kExtensionColumn{71, 12};
constexpr std::size_t kSavedLineWidth = 85;
constexpr Column kNotesColumn{0, 60}, kStatementNoteColumn{60, 25}, kKeyCodeColumn{85, 8};
constexpr int kSavedRows = 100;  // one more than the grid has: the last is written empty
constexpr int kSavedMemoLines = 26;
constexpr std::string_view kLineEnd = "\r\n";

std::string SavedRow(std::string_view lineNumber, const GridLine& line) {
  std::string text = model::PadRight(lineNumber, 2);
  text += ' ' + model::PadRight(line.productCode, kCodeColumn.width);
  text += ' ' + model::PadRight(line.quantity, kQuantityColumn.width);
  text += ' ' + model::PadRight(line.description, kDescriptionColumn.width);
  text += ' ' + model::PadRight(line.unitPrice, kPriceColumn.width);
  text += ' ' + model::PadRight(model::FirstCharacters(line.taxable, 1), kFlagColumn.width);
  text += ' ' + model::PadRight(line.extension, kExtensionColumn.width);
  return std::string(model::FirstCharacters(text, kSavedLineWidth));
}

std::string SavedHeader(const InvoiceForm& form) {
  return model::PadRight(form.notes, kNotesColumn.width) +
         model::PadRight(form.statementNote, kStatementNoteColumn.width) + form.keyCode;
}

// The one line a memo invoice keeps in its detail file, as the invoice manager makes it.
GridLine MemoGridLine(const InvoiceForm& form) {
  const std::optional<Money> net = ReadAmount(form.net);
  const std::string amount = net ? model::MoneyText(*net) : form.net;
  return {"Memo", form.memoQuantity, form.memoDescription, amount, "M", amount};
}

void AddLine(std::string& text, std::string_view line) { text.append(line).append(kLineEnd); }

// The file's lines as stored bytes, without their ends.
std::vector<std::string_view> StoredLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

std::string_view LineAt(const std::vector<std::string_view>& lines, int number) {
  return number >= 1 && static_cast<std::size_t>(number) <= lines.size() ? lines[static_cast<std::size_t>(number - 1)]
                                                                          : std::string_view();
}

// A field of stored bytes (one byte a character) as trimmed UTF-8.
std::string FieldAt(std::string_view line, Column column) {
  if (column.start >= line.size()) return {};
  return model::FromWindows1252(model::TrimBlanks(line.substr(column.start, column.width)));
}

GridLine ReadSavedRow(std::string_view line) {
  GridLine row;
  row.productCode = FieldAt(line, kCodeColumn);
  row.quantity = FieldAt(line, kQuantityColumn);
  row.description = FieldAt(line, kDescriptionColumn);
  row.unitPrice = FieldAt(line, kPriceColumn);
  if (kFlagColumn.start < line.size()) row.taxable = model::FromWindows1252(line.substr(kFlagColumn.start, 1));
  row.extension = FieldAt(line, kExtensionColumn);
  return row;
}

void ReadSavedHeader(std::string_view line, InvoiceForm& form) {
  form.notes = FieldAt(line, kNotesColumn);
  form.statementNote = FieldAt(line, kStatementNoteColumn);
  form.keyCode = FieldAt(line, kKeyCodeColumn);
}

std::vector<std::string> MemoLines(std::string_view memo) {
  std::vector<std::string> lines;
  while (true) {
    const std::size_t end = memo.find('\n');
    std::string_view line = memo.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    memo.remove_prefix(end + 1);
  }
  return lines;
}

struct SavedFile {
  std::string_view name;
  std::string_view missingCaption;
  std::string_view missingText;
};

SavedFile SavedFileOf(InvoiceKind kind) {
  if (kind == InvoiceKind::kMemo) {
    return {kSavedMemoFileName, "Load Saved Memo", "You have not created a saved memo file."};
  }
  return {kSavedLinesFileName, "Load Saved Lines", "You have not created a saved lines file."};
}

}  // namespace

// --- Lines ---------------------------------------------------------------------

GridLine BlankLine(const model::CompanyRecord& company) {
  return {"", std::string(model::TrimBlanks(company.DefaultQuantity.str())), "", "0.00", "N", "0.00"};
}

GridLine CommentLine() { return {"", " ", "", "", " ", "0.00"}; }

void EraseAllLines(InvoiceForm& form, const model::CompanyRecord& company) {
  form.lines.fill(BlankLine(company));
  if (form.kind != InvoiceKind::kMemo) return;
  form.memo.clear();
  form.net = form.tax = form.paid = form.balanceDue = "0.00";
}

void FillFromProduct(GridLine& line, const model::ProductRecord& product, std::optional<std::string_view> quantity) {
  line.productCode = product.ProductCode.str();
  if (quantity) line.quantity = std::string(*quantity);
  line.description = std::string(model::TrimBlanks(product.ProdDesc.str()));
  line.unitPrice = product.UnitPrice.str();
  line.taxable = product.Taxable ? "Y" : "N";
  ExtendLine(line);
}

std::string TypedProductCode(std::string_view cell) {
  const std::string code = model::Folded(cell);
  return std::string(model::FirstCharacters(code, model::ProductRecord{}.ProductCode.kCapacity));
}

CodeLookup LookUpProductCode(const files::Services& services, std::string_view cell) {
  const std::string code = TypedProductCode(cell);
  if (code.empty()) return {std::nullopt, true};
  std::optional<shell::FoundProduct> found;
  {
    files::KeyedFile products = services.FileOf(files::CompanyFile::kProducts);
    if (!products.Open()) return {};
    found = shell::FindProductByCode(products, code);
  }
  if (found) return {found->record, false};
  return {std::nullopt, services.dialogs.confirm("Product Code",
                                                 "That product code was not found. Would you like to add it now?")};
}

// --- Amounts -------------------------------------------------------------------

std::optional<model::Decimal> ReadNumber(std::string_view typed) {
  return model::ParseDecimal(typed);
}

std::optional<Money> ReadAmount(std::string_view typed) {
  const std::optional<model::Decimal> number = ReadNumber(typed);
  if (!number) return std::nullopt;
  return Held(Money::Of(*number));
}

std::optional<Money> LineExtension(const GridLine& line) {
  const std::optional<model::Decimal> quantity = ReadNumber(line.quantity);
  const std::optional<model::Decimal> price = ReadNumber(line.unitPrice);
  if (!quantity || !price) return std::nullopt;
  return Held(Money::Product(*quantity, *price));
}

void ExtendLine(GridLine& line) {
  if (const std::optional<Money> extension = LineExtension(line)) line.extension = Shown(*extension);
}

// --- Totals --------------------------------------------------------------------

Totals ComputeLineItemTotals(InvoiceForm& form, const model::CompanyRecord& company) {
  const model::Decimal rate = TaxRate(company);
  Totals totals;
  for (const GridLine& line : form.lines) totals.net = Held(totals.net + AmountOrZero(line.extension));
  if (form.calcTax) {
    // tax + extension × rate / 100, rounded as one sum: the running tax, not each
    // row's share, is brought to the cent.
    for (const GridLine& line : form.lines) {
      if (line.taxable == "Y") totals.tax = Held(totals.tax.PlusPercentOf(AmountOrZero(line.extension), rate));
    }
  }
  if (model::TrimBlanks(form.paid).empty()) form.paid = "0.00";
  totals.paid = AmountOrZero(form.paid);
  totals.total = Held(totals.net + totals.tax);
  totals.balance = Held(totals.total - totals.paid);
  form.net = Shown(totals.net);
  form.tax = Shown(totals.tax);
  form.total = Shown(totals.total);
  form.balanceDue = Shown(totals.balance);
  return totals;
}

Totals ComputeMemoTotals(InvoiceForm& form) {
  for (std::string* amount : {&form.net, &form.tax, &form.paid}) {
    if (model::TrimBlanks(*amount).empty()) *amount = "0.00";
  }
  Totals totals{AmountOrZero(form.net), AmountOrZero(form.tax), {}, AmountOrZero(form.paid), {}};
  totals.total = Held(totals.net + totals.tax);
  totals.balance = Held(totals.total - totals.paid);
  form.total = Shown(totals.total);
  form.balanceDue = Shown(totals.balance);
  return totals;
}

Totals ComputeTotals(InvoiceForm& form, const model::CompanyRecord& company) {
  return form.kind == InvoiceKind::kMemo ? ComputeMemoTotals(form) : ComputeLineItemTotals(form, company);
}

std::string MemoTaxLabel(const InvoiceForm& form, const model::CompanyRecord& company) {
  if (!company.CalcTaxes) return {};
  const Money net = AmountOrZero(form.net);
  return "Tax on " + Shown(net) + " is " + Shown(net.PercentOf(TaxRate(company))) + ".";
}

std::string TaxBoxCaption(const model::CompanyRecord& company) {
  return "Calc. Tax at " + std::string(model::TrimBlanks(company.TaxRate.str())) + "%";
}

TaxBox PrepareTaxBox(InvoiceForm& form, const model::CompanyRecord& company) {
  TaxBox box{true, TaxBoxCaption(company)};
  form.calcTax = company.CalcTaxes;
  if (form.mode == EntryMode::kEdit && form.customer && model::IsYes(form.customer->TaxExempt)) {
    form.calcTax = false;
    box = {false, std::string(kTaxExemptCaption)};
  }
  return box;
}

// --- Customer ------------------------------------------------------------------

CustomerLabels LabelsOf(const model::CustomerRecord& customer) {
  CustomerLabels labels;
  labels.name = customer.CustName.str();
  labels.number = customer.CustNo.str();
  labels.shortName = customer.ShortName.str();
  labels.creditLimit = model::AmountText(customer.CreditLimit);
  labels.balance = model::AmountText(customer.Balance);
  labels.balanceNegative = model::ReadMoney(customer.Balance).value_or(Money()) < Money();
  labels.aging = {model::AmountText(customer.AgeCurrent), model::AmountText(customer.Age31to60),
                  model::AmountText(customer.Age61to90), model::AmountText(customer.AgeOver90)};
  return labels;
}

void TakeCustomer(InvoiceForm& form, const model::CustomerRecord& customer, const model::CompanyRecord& company,
                  TaxBox& taxBox) {
  form.customer = customer;
  if (company.CalcTaxes) {
    taxBox = {true, TaxBoxCaption(company)};
    form.calcTax = true;
  }
  if (model::IsYes(customer.TaxExempt) && form.calcTax) {
    form.calcTax = false;
    taxBox = {false, std::string(kTaxExemptCaption)};
  }
  if (!model::TrimBlanks(customer.Terms.raw()).empty()) form.terms = customer.Terms.str();
}

void WarnAboutCustomer(const model::CustomerRecord& customer, platform::Dialogs& dialogs) {
  if (OverCreditLimit(Money(), customer)) {
    dialogs.inform(kWarningCaption, "This customer is over their credit limit.", Icon::kWarning);
  }
  if (model::IsYes(customer.CreditHold)) {
    dialogs.inform(kWarningCaption, "This customer is placed on inactive/credit hold status.", Icon::kWarning);
  }
}

void ChooseCustomer(InvoiceForm& form, const model::CustomerRecord& customer, const model::CompanyRecord& company,
                    platform::Dialogs& dialogs, TaxBox& taxBox) {
  TakeCustomer(form, customer, company, taxBox);
  WarnAboutCustomer(customer, dialogs);
}

// --- Checks on OK --------------------------------------------------------------

std::optional<model::Date> CheckInvoiceDate(std::string_view typed, model::DateOrder order,
                                            platform::Dialogs& dialogs) {
  if (DateIsValid(typed, order)) return model::ParseDisplayDate(model::TrimBlanks(typed), order);
  dialogs.inform("Invoice Date",
                 "You have an invalid invoice date. You can clear the date and then select the calendar button.",
                 Icon::kWarning);
  return std::nullopt;
}

EntryCheck CheckInvoice(const InvoiceForm& form, const EntryContext& context) {
  platform::Dialogs& dialogs = context.dialogs;
  const bool lineItems = form.kind == InvoiceKind::kLineItem;
  const std::string number = model::Folded(form.number);

  if (std::optional<EntryCheck> refused = CheckNumber(form, dialogs)) return *refused;
  if (!form.customer) {
    dialogs.inform("Customer Required", "You need to select a customer.", Icon::kInformation);
    return Refused(EntryField::kCustomerButton);
  }
  if (!CheckInvoiceDate(form.date, model::DateOrderFromCode(context.company.DateOrder.raw()), dialogs)) {
    return Refused(EntryField::kDate);
  }
  if (number.find('G') != std::string::npos && model::Folded(form.storedNumber).find('G') == std::string::npos) {
    dialogs.inform(kNumberCaption,
                   "Please do not use the letter \"G\" in your invoice numbers. This is reserved for repeat billings. "
                   "You must change this invoice number.",
                   Icon::kWarning);
    return Refused(EntryField::kNumber);
  }
  if (lineItems) {
    if (std::optional<EntryCheck> refused = CheckLineNumbers(form, dialogs)) return *refused;
    if (std::optional<EntryCheck> refused = CheckLineWidths(form, dialogs)) return *refused;
    if (!AnyDescription(form)) {
      dialogs.inform("Description Required",
                     "You do not have a description on any of your line items. At least one description field is "
                     "required or you have nothing to invoice.",
                     Icon::kWarning);
      return Refused(EntryField::kGridCell, 1, GridColumn::kDescription);
    }
  }
  if (number != model::Folded(form.storedNumber) && context.numberOnFile && context.numberOnFile(number)) {
    dialogs.inform("Duplicate Invoice: " + number, "This invoice number currently exists. Please enter another one.",
                   Icon::kInformation);
    return Refused(EntryField::kNumber);
  }
  if (std::optional<EntryCheck> refused = CheckAmountsRead(form, dialogs)) return *refused;
  const FormAmounts amounts = AmountsOf(form);
  if (std::optional<EntryCheck> refused = CheckAmountWidths(amounts, dialogs)) return *refused;
  if (amounts.total.IsZero() && !dialogs.confirm(kConfirmCaption, "Is this a no-charge invoice?")) {
    return Refused(EntryField::kNone);
  }
  if (!amounts.paid.IsZero() && amounts.paid > amounts.total) {
    dialogs.inform("Payment Amount", "The paid amount cannot exceed the invoice total amount.", Icon::kWarning);
    return Refused(EntryField::kPaid);
  }
  if (OverCreditLimit(amounts.balance, *form.customer) &&
      !dialogs.confirm(kConfirmCaption,
                       "This invoice will cause this customer to be over their credit limit.  Do you want to proceed "
                       "anyway?")) {
    return Refused(EntryField::kNone);
  }
  return CheckTerms(form, context);
}

// --- The number of a new invoice -------------------------------------------------

std::string NewInvoiceNumber(const model::CompanyRecord& company, const model::Date& invoiceDate) {
  std::string number(model::TrimBlanks(company.NextInvoiceNo.str()));
  if (!model::IsYes(company.PrefixInvoiceNo)) return number;
  const auto twoDigits = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  return twoDigits(invoiceDate.year % 100) + twoDigits(invoiceDate.month) + number;
}

// --- Work timer ----------------------------------------------------------------

std::string ElapsedText(std::int64_t seconds) {
  seconds = std::max<std::int64_t>(seconds, 0);
  const auto twoDigits = [](std::int64_t value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  return twoDigits(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" + twoDigits(seconds % 60);
}

std::string HoursText(std::int64_t seconds) {
  seconds = std::max<std::int64_t>(seconds, 0);
  const std::int64_t thousandths = (seconds * 1000 + 1800) / 3600;  // rounded half up
  return model::FormatDecimal({thousandths, 3}, "00.000");
}

// --- Saved lines ----------------------------------------------------------------

std::string SavedLinesText(const InvoiceForm& form) {
  std::string text;
  for (int row = 1; row <= kSavedRows; ++row) {
    AddLine(text, row <= kLineCount ? SavedRow(std::to_string(row), form.Line(row)) : SavedRow("", GridLine{}));
  }
  AddLine(text, SavedHeader(form));
  return model::ToWindows1252(text);
}

std::string SavedMemoText(const InvoiceForm& form) {
  std::vector<std::string> memo = MemoLines(form.memo);
  memo.resize(kSavedMemoLines);
  std::string text;
  for (const std::string& line : memo) AddLine(text, line);
  AddLine(text, SavedHeader(form));
  AddLine(text, SavedRow("1", MemoGridLine(form)));
  return model::ToWindows1252(text);
}

void LoadSavedLinesText(std::string_view text, InvoiceForm& form, const model::CompanyRecord& company) {
  const std::vector<std::string_view> lines = StoredLines(text);
  for (int row = 1; row <= kLineCount; ++row) form.Line(row) = ReadSavedRow(LineAt(lines, row));
  ReadSavedHeader(LineAt(lines, kSavedRows + 1), form);
  ComputeTotals(form, company);
}

void LoadSavedMemoText(std::string_view text, InvoiceForm& form, const model::CompanyRecord& company) {
  const std::vector<std::string_view> lines = StoredLines(text);
  form.lines.fill(BlankLine(company));
  std::string memo;
  for (int number = 1; number <= kStoredMemoLines; ++number) {
    const std::string_view line = model::TrimBlanks(LineAt(lines, number).substr(0, kSavedLineWidth));
    if (number > 1) memo += '\n';
    memo += model::FromWindows1252(line);
  }
  // Trailing empty lines came from the padding to 26, not from the user.
  while (!memo.empty() && memo.back() == '\n') memo.pop_back();
  form.memo = std::move(memo);
  ReadSavedHeader(LineAt(lines, kSavedMemoLines + 1), form);
  form.Line(1) = ReadSavedRow(LineAt(lines, kSavedMemoLines + 2));
  form.memoDescription = form.Line(1).description;
  form.memoQuantity = form.Line(1).quantity;
  ComputeTotals(form, company);
}

bool ReplaceSavedLines(const InvoiceForm& form, platform::Dialogs& dialogs) {
  const SavedFile file = SavedFileOf(form.kind);
  const std::string text = form.kind == InvoiceKind::kMemo ? SavedMemoText(form) : SavedLinesText(form);
  if (const model::FileOutcome written = model::WriteWholeFile(file.name, text); !written) {
    dialogs.inform(kSavedLinesCaption, written.error, Icon::kError);
    return false;
  }
  dialogs.inform(kSavedLinesCaption, "The saved lines file has been replaced with the current invoice lines.",
                 Icon::kInformation);
  return true;
}

bool LoadSavedLines(InvoiceForm& form, const model::CompanyRecord& company, platform::Dialogs& dialogs) {
  const SavedFile file = SavedFileOf(form.kind);
  std::error_code ignored;
  if (!std::filesystem::exists(file.name, ignored)) {
    dialogs.inform(file.missingCaption, file.missingText, Icon::kInformation);
    return false;
  }
  std::string text;
  if (const model::FileOutcome read = model::ReadWholeFile(file.name, text); !read) {
    dialogs.inform(kSavedLinesCaption, read.error, Icon::kError);
    return false;
  }
  if (form.kind == InvoiceKind::kMemo) {
    LoadSavedMemoText(text, form, company);
  } else {
    LoadSavedLinesText(text, form, company);
  }
  return true;
}

}  // namespace invoicing
