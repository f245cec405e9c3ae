// The rules of invoice entry, apart from its window: blank and comment lines, reading
// typed amounts, line extensions and the totals of both kinds, the customer chosen,
// the twelve checks that must pass before OK closes the window, the new invoice
// number, the work timer's texts and the saved-lines files.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "invoicing/invoice_form.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"
#include "model/whole_file.h"
#include "platform/dialogs.h"

namespace invoicing {

// --- Lines ---------------------------------------------------------------------

// Line number, no code, the company's default quantity (trimmed), no description,
// "0.00", "N", "0.00".
GridLine BlankLine(const model::CompanyRecord& company);
// Quantity " ", unit price empty, taxable " ", extension "0.00".
GridLine CommentLine();
// Every line blank ("Erase All Lines"); in memo mode also the memo emptied and net,
// tax, paid and balance "0.00".
void EraseAllLines(InvoiceForm& form, const model::CompanyRecord& company);

// A product chosen for a row: code, description (trimmed), price and flag; the
// quantity is set only when given (a pick from the product list brings the default).
void FillFromProduct(GridLine& line, const model::ProductRecord& product,
                     std::optional<std::string_view> quantity = std::nullopt);

// --- Amounts -------------------------------------------------------------------

// A typed number as the window reads it: blanks and control characters trimmed, every
// comma removed, the rest a decimal number; empty text is 0. nullopt otherwise.
std::optional<model::Decimal> ReadNumber(std::string_view typed);
std::optional<model::Money> ReadAmount(std::string_view typed);

// quantity × unit price, rounded to the cent; nullopt when either does not read.
std::optional<model::Money> LineExtension(const GridLine& line);
// Sets the line's extension (",0.00") from its quantity and price; a line whose
// numbers do not read keeps its extension.
void ExtendLine(GridLine& line);

// --- Totals --------------------------------------------------------------------

struct Totals {
  model::Money net, tax, total, paid, balance;
  bool balanceNegative() const { return balance.Cents() < 0; }
};

// Line-item mode: net is the sum of the extensions; tax, when the box is checked, is
// re-rounded to the cent after every row whose flag is exactly "Y" (8.125 % of two
// taxable 1.00 lines: 0.08, then 0.16). Writes INet, ITax, ITotal, BalDue (",0.00"),
// and "0.00" into an empty IPaid.
Totals ComputeLineItemTotals(InvoiceForm& form, const model::CompanyRecord& company);
// Memo mode: empty amounts become "0.00"; total = net + tax, balance = total - paid.
Totals ComputeMemoTotals(InvoiceForm& form);
// Whichever of the two the form's kind calls for.
Totals ComputeTotals(InvoiceForm& form, const model::CompanyRecord& company);
// Memo mode, when the company calculates taxes: "Tax on 1,000.00 is 81.25."; empty
// otherwise.
std::string MemoTaxLabel(const InvoiceForm& form, const model::CompanyRecord& company);
// "Calc. Tax at 8.125%".
std::string TaxBoxCaption(const model::CompanyRecord& company);
constexpr std::string_view kTaxExemptCaption = "Tax Exempt";

// --- Customer ------------------------------------------------------------------

// Puts the chosen customer into the form (tax box and terms as documented) and tells
// the credit-limit and credit-hold warnings. `taxBoxEnabled` reports whether the box
// may still be changed (false for a tax-exempt customer).
void ChooseCustomer(InvoiceForm& form, const model::CustomerRecord& customer, const model::CompanyRecord& company,
                    platform::Dialogs& dialogs, bool& taxBoxEnabled);

// --- Checks on OK --------------------------------------------------------------

// Where the focus goes after a refused check.
enum class EntryField { kNone, kNumber, kCustomerButton, kDate, kGridCell, kNet, kTax, kPaid, kTerms };

struct EntryCheck {
  bool ok = false;
  EntryField focus = EntryField::kNone;
  int row = 0;  // kGridCell: grid row 1..99 and column
  GridColumn column = GridColumn::kProduct;
};

struct EntryContext {
  const model::CompanyRecord& company;
  platform::Dialogs& dialogs;
  // Whether an invoice with this number (trimmed, upper case) is on file.
  std::function<bool(std::string_view number)> numberOnFile;
  // The terms list as loaded, and its writer; a new term accepted by the user is
  // appended and the whole list written.
  std::vector<std::string>& terms;
  std::function<model::FileOutcome(const std::vector<std::string>&)> saveTerms;
};

// The twelve checks in their order; the first that fails tells the user and says
// where the focus goes. Also refuses what the records cannot hold: a number, amount
// or extension too wide for its field is refused, never cut into another value.
EntryCheck CheckInvoice(const InvoiceForm& form, const EntryContext& context);

// --- The number of a new invoice -------------------------------------------------

// The company's next invoice number, preceded by yymm of `invoiceDate` when the
// company prefixes invoice numbers (July 1997: "9707").
std::string NewInvoiceNumber(const model::CompanyRecord& company, const model::Date& invoiceDate);

// --- Work timer ----------------------------------------------------------------

// "hh:mm:ss" of a span of seconds.
std::string ElapsedText(std::int64_t seconds);
// Hours with format "00.000": 5400 seconds give "01.500".
std::string HoursText(std::int64_t seconds);

// --- Saved lines ----------------------------------------------------------------

constexpr std::string_view kSavedLinesFileName = "SAVELINE.SAV";
constexpr std::string_view kSavedMemoFileName = "SAVEMEMO.SAV";

// The files' text, lines ended by CR LF, in the files' Windows-1252.
std::string SavedLinesText(const InvoiceForm& form);
std::string SavedMemoText(const InvoiceForm& form);
// Reads a file's text into the form as "Loads Saved Lines" does.
void LoadSavedLinesText(std::string_view text, InvoiceForm& form, const model::CompanyRecord& company);
void LoadSavedMemoText(std::string_view text, InvoiceForm& form, const model::CompanyRecord& company);

// "Replaces saved lines with current lines" and "Loads Saved Lines" for the form's
// kind, in the working directory, with their messages. False when nothing was
// written or loaded.
bool ReplaceSavedLines(const InvoiceForm& form, platform::Dialogs& dialogs);
bool LoadSavedLines(InvoiceForm& form, const model::CompanyRecord& company, platform::Dialogs& dialogs);

}  // namespace invoicing
