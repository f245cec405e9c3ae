// The interest wizard without its window: the options and the company's stored
// interest settings, the scan that lists in name order each customer whose overdue
// amount earns a charge, one interest invoice per listed customer, and the printed
// interest report.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/keyed_file.h"
#include "files/services.h"
#include "model/money.h"
#include "model/records.h"
#include "platform/dialogs.h"
#include "platform/page_canvas.h"

namespace reports {

inline constexpr std::string_view kInterestCaption = "Interest Wizard";
inline constexpr std::string_view kInterestStartText = "Enter above options then select scan button...";

// Which of the customer's aging amounts count as overdue.
enum class OverdueDays { k30, k60, k90 };

// What the wizard's controls hold, texts as typed.
struct InterestOptions {
  OverdueDays days = OverdueDays::k30;
  std::string percentage;   // IPct: percent a month
  std::string minimum;      // MinChg
  bool flatFee = false;     // FlatCB
  std::string flatRate;     // FlatRate
  std::string invoiceDate;  // IDate, in the company's date order
  std::string comments = "Interest Charges";       // InvComm
  std::string statementNote = "Interest Charges";  // StmntNote
  std::string terms;                               // ITerms
  bool markPrinted = false;                        // IPrin
};

// The options the wizard opens with: the company's stored settings, the percentage
// "1.50" and the minimum ".10" where the stored text is shorter than 2 characters,
// and the invoice dated `today`.
InterestOptions OpeningOptions(const model::CompanyRecord& company, std::string_view today);
// Keeps the run's days choice, percentage, minimum, mark-printed choice and terms for
// the next run, and its invoice date as LastInterestDate.
void StoreInterestSettings(model::CompanyRecord& company, const InterestOptions& options);

// "Last Interest Invoices: 11/30/2026".
std::string LastRunText(const model::CompanyRecord& company);
// "Over 30 Days", "Over 60 Days", "Over 90 Days".
std::string_view OverdueHeading(OverdueDays days);

// The flat rate box after a change: false, after telling why, when it holds a minus
// sign or is no amount. A blank box passes.
bool CheckFlatRate(std::string_view text, platform::Dialogs& dialogs);

// What a customer owes beyond the chosen age, from its stored aging amounts; nullopt
// when one of them is no amount.
std::optional<model::Money> OverdueAmount(const model::CustomerRecord& customer, OverdueDays days);

struct ChargeRule {
  model::Decimal percent;               // a month, of the overdue amount
  model::Money minimum;                 // smaller charges are not made
  std::optional<model::Money> flatFee;  // charged instead of interest, whatever the amount
};

// The charge for an overdue amount, rounded to the cent; nullopt when nothing is
// owed beyond the age (zero or a credit), when the interest as computed, before
// rounding, is below the minimum, or when the charge would be nothing.
std::optional<model::Money> InterestCharge(model::Money overdue, const ChargeRule& rule);

struct InterestRow {
  std::string customerName;
  std::string customerNo;
  model::Money overdue;
  model::Money charge;
  std::string invoiceNo;  // filled by the generation; empty when no invoice was filed
};

struct InterestScan {
  OverdueDays days = OverdueDays::k30;
  std::vector<InterestRow> rows;  // in customer name order
  model::Money overdueTotal;
  model::Money chargeTotal;
  bool generated = false;  // the invoices were made: the rows carry their numbers
};

// The scan: the charge rule from the options (telling the user when the flat rate is
// missing or no amount), then every customer in name order with a charge. Tells when
// nobody is charged. nullopt when the scan stopped before the customers were read.
std::optional<InterestScan> ScanForInterest(const files::Services& services, const InterestOptions& options);

// "3 found. Complete data below then select generate button...", or "No records found.".
std::string ScanStatus(const InterestScan& scan);

// The grid as shown and printed: the heading row, one row per customer and the totals
// row; the "Invoice#" column once the invoices were made.
std::vector<std::vector<std::string>> InterestGrid(const InterestScan& scan);

// The open files the invoices are written to.
struct InterestFiles {
  files::KeyedFile& transactions;
  files::KeyedFile& details;
};

// Files one interest invoice with its one line per scanned row, in row order, and
// charges each customer and the company for the invoices on file only; numbers run on
// from the company's next invoice number past any already on file. A row whose
// invoice could not be filed is told and left without a number. Then keeps the
// options for the next run. The count of invoices made; nullopt, after telling the
// user, when the invoice date is no date (nothing is written).
std::optional<int> GenerateInterestInvoices(const files::Services& services, InterestFiles files, InterestScan& scan,
                                            const InterestOptions& options);

// Asks whether to print the interest report after `created` invoices; Yes prints it
// on `canvas` and says so in the status line.
void OfferInterestReport(const files::Services& services, const InterestScan& scan, const InterestOptions& options,
                         int created, platform::PageCanvas& canvas);

// The interest report, `now` in its page head; the pages printed, 0 when the job could
// not be made.
int PrintInterestReport(const InterestScan& scan, const InterestOptions& options, std::string_view now,
                        platform::PageCanvas& canvas);

}  // namespace reports
