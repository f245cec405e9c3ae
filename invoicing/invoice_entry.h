// The rules of invoice entry, apart from its window: blank and comment lines, reading
// typed amounts, line extensions and the totals of both kinds, the customer chosen,
// the twelve checks that must pass before OK closes the window, the new invoice
// number, the work timer's texts and the saved-lines files.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/services.h"
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

// A product chosen for a row: code, description (trimmed), price and flag, and the
// extension again; the quantity is set only when given (a pick from the product list
// brings the default).
void FillFromProduct(GridLine& line, const model::ProductRecord& product,
                     std::optional<std::string_view> quantity = std::nullopt);

// The code typed into the product column as the product file is searched for it:
// trimmed, upper case, at most 10 characters.
std::string TypedProductCode(std::string_view cell);

// Enter in the product column. An empty code calls for the product list; a code not
// on file asks whether to add it, and Yes calls for the product list too. The
// company's product file is open for the look-up only.
struct CodeLookup {
  std::optional<model::ProductRecord> product;
  bool openProductList = false;
};
CodeLookup LookUpProductCode(const files::Services& services, std::string_view cell);

// --- Amounts -------------------------------------------------------------------

// A typed number as the window reads it: blanks and control characters trimmed, every
// comma removed ("1,2,3" is 123), the rest a plain decimal number ("1e5" is none, "-0"
// is 0); empty text is 0. nullopt otherwise.
std::optional<model::Decimal> ReadNumber(std::string_view typed);
// The same rounded to the cent. Amounts far beyond any record's field are held at a
// ceiling, so that sums of them cannot overflow; the checks refuse them as too large.
std::optional<model::Money> ReadAmount(std::string_view typed);

// quantity × unit price, exactly, rounded half away from zero to the cent; nullopt
// when either does not read.
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
// and "0.00" into an empty IPaid. Text that does not read counts as 0 here; the
// checks on OK refuse it.
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

// The tax check box beside what the form holds (checked is form.calcTax).
struct TaxBox {
  bool enabled = true;
  std::string caption;
};
// As the window shows it: enabled, checked and captioned with the rate when the
// company calculates taxes, unchecked otherwise; in edit mode a tax-exempt customer
// leaves it unchecked, captioned "Tax Exempt" and disabled.
TaxBox PrepareTaxBox(InvoiceForm& form, const model::CompanyRecord& company);

// --- Customer ------------------------------------------------------------------

// What the customer labels show.
struct CustomerLabels {
  std::string name, number, shortName;
  std::string creditLimit;  // ",0.00"; an empty limit is 0
  std::string balance;      // ",0.00"
  bool balanceNegative = false;
  std::array<std::string, 4> aging;  // 0-30, 31-60, 61-90, over 90
};
CustomerLabels LabelsOf(const model::CustomerRecord& customer);

// A customer chosen: TakeCustomer puts it into the form (tax box and terms); then,
// once the window shows it, WarnAboutCustomer tells when the customer is over the
// credit limit and when on credit hold, in that order. ChooseCustomer does both.
void TakeCustomer(InvoiceForm& form, const model::CustomerRecord& customer, const model::CompanyRecord& company,
                  TaxBox& taxBox);
void WarnAboutCustomer(const model::CustomerRecord& customer, platform::Dialogs& dialogs);
void ChooseCustomer(InvoiceForm& form, const model::CustomerRecord& customer, const model::CompanyRecord& company,
                    platform::Dialogs& dialogs, TaxBox& taxBox);

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
// where the focus goes. Also refuses what the records cannot hold: a number with
// blanks inside or longer than 9 characters, and a quantity, price, extension or
// amount too wide for its field, which cut short would be another value.
EntryCheck CheckInvoice(const InvoiceForm& form, const EntryContext& context);

// The typed invoice date, all ten characters of it, read in `order`; nullopt, after
// telling the user, when it is no date.
std::optional<model::Date> CheckInvoiceDate(std::string_view typed, model::DateOrder order,
                                            platform::Dialogs& dialogs);

// --- The number of a new invoice -------------------------------------------------

// The company's next invoice number, preceded by yymm of `invoiceDate` when the
// company prefixes invoice numbers (July 1997: "9707").
std::string NewInvoiceNumber(const model::CompanyRecord& company, const model::Date& invoiceDate);

// --- Work timer ----------------------------------------------------------------

// "hh:mm:ss" of a span of seconds; a negative span (the clock set back) is 0.
std::string ElapsedText(std::int64_t seconds);
// Hours with format "00.000": 5400 seconds give "01.500".
std::string HoursText(std::int64_t seconds);

// --- Saved lines ----------------------------------------------------------------

constexpr std::string_view kSavedLinesFileName = "SAVELINE.SAV";
constexpr std::string_view kSavedMemoFileName = "SAVEMEMO.SAV";

// The files' text, lines ended by CR LF, in the files' Windows-1252.
std::string SavedLinesText(const InvoiceForm& form);
std::string SavedMemoText(const InvoiceForm& form);
// Reads a file's text into the form as "Loads Saved Lines" does, and the totals again.
void LoadSavedLinesText(std::string_view text, InvoiceForm& form, const model::CompanyRecord& company);
void LoadSavedMemoText(std::string_view text, InvoiceForm& form, const model::CompanyRecord& company);

// "Replaces saved lines with current lines" and "Loads Saved Lines" for the form's
// kind, in the working directory, with their messages. False when nothing was
// written or loaded (a file that cannot be read or written is reported).
bool ReplaceSavedLines(const InvoiceForm& form, platform::Dialogs& dialogs);
bool LoadSavedLines(InvoiceForm& form, const model::CompanyRecord& company, platform::Dialogs& dialogs);

}  // namespace invoicing
