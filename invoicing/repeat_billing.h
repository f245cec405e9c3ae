// Repeat billing: a master (type R) is an invoice kept as a template that yields a new
// invoice (type G) every N days or N calendar months. Here are the set-up dialog's
// starting state and checks, the stepping of a master's next due date, the search for
// the masters due through a date with the wizard's list, and the run that creates
// their invoices and posts them to the customers and the company.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/keyed_file.h"
#include "files/services.h"
#include "files/table.h"
#include "invoicing/invoice_books.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"
#include "platform/dialogs.h"

namespace invoicing {

// A master's count is kept in 3 characters: 999 is the last invoice it can number.
inline constexpr int kMostRepeatCount = 999;
// The wizard's reference text ("Billing Reference/Comments:").
inline constexpr int kRepeatReferenceCapacity = 60;
inline constexpr std::string_view kDefaultRepeatReference = "Monthly Service";

// --- The schedule ------------------------------------------------------------------

// The master's schedule as stored: RepeatCycle "M" is months, any other value days;
// NextDueDate is always "mm/dd/yyyy". nullopt when the interval is no whole number of
// at least 1 or the date does not read.
std::optional<RepeatSchedule> ScheduleOf(const model::TransactionRecord& master);

// The due date one interval after `schedule.nextDue`: N days on, or N calendar months
// on with the day cut to the last day of the target month (January 31 + 1 month is
// February 28, or 29 in a leap year).
model::Date FollowingDueDate(const RepeatSchedule& schedule);

// --- Set-up (TRepeatForm) ------------------------------------------------------------

// What the set-up dialog shows when it opens.
struct RepeatSetupState {
  bool generate = false;         // CheckBox1 ticked
  bool generateEnabled = true;   // CheckBox1 may be changed
  bool generatePanelShown = true;  // Panel2
  std::string interval;          // NumDays
  bool months = true;            // RBMonths, else RBDays
  std::string nextDate;          // EndDate, in the company's date order
  std::string generatedText;     // Label8
};

// For an invoice not yet a master: the box clear, every 1 month, next a month after
// the invoice's date (after `today` when it has none), so the invoice entered is the
// first of the series. For a master: its own schedule, the box ticked and fixed; once
// it has created invoices the box is hidden and their count shown.
RepeatSetupState RepeatSetupStateOf(const model::TransactionRecord& header, const model::Date& today,
                                    model::DateOrder order);

// The dialog's entries when OK is pressed.
struct RepeatSetupEntry {
  bool generate = false;
  std::string interval;
  bool months = true;
  std::string nextDate;
};

enum class RepeatSetupField { kInterval, kNextDate };

// The OK checks in their order, each failure told to the user: the schedule to store,
// or nullopt with `focus` set to the field to correct.
std::optional<RepeatSchedule> CheckRepeatSetup(const RepeatSetupEntry& entry, model::DateOrder order,
                                               platform::Dialogs& dialogs, RepeatSetupField& focus);

// --- Search (TSelectRepeat) ----------------------------------------------------------

// A master due through the search date, as it was read when listed.
struct DueMaster {
  files::Row<model::TransactionRecord> master;
  std::string dueShown;  // the next due date in the company's order
};

// The masters whose next due date is on or before `through`, walking the type-and-
// number key from "R". A master is listed once however many intervals behind it is.
std::vector<DueMaster> FindDueMasters(files::KeyedFile& transactions, const model::Date& through,
                                      model::DateOrder order);

// One list line: number (9), short name (10), total (",0.00", 12, right), next due
// (10), customer (9), created count (5, right), single blanks between.
std::string DueMasterLine(const DueMaster& due);
// "Master#", "Short Name", "Invoice Total", "Next Due", "Customer#", "Created" over
// the columns of the lines (the numeric ones aligned to their right edge).
std::string DueListHeading();
model::Money DueTotal(const std::vector<DueMaster>& due);
// "There are 3 invoices selected totaling 1,840.00."
std::string SelectionText(std::size_t count, model::Money total);

struct RepeatSearch {
  bool searched = false;         // the search date read and the file was walked
  std::vector<DueMaster> due;
  std::string status;            // Label3
};

// Search: the search date as typed in the company's order, then the walk of the open
// transaction file; told when the date does not read.
RepeatSearch SearchRepeatBillings(const files::Services& services, files::KeyedFile& transactions,
                                  std::string_view throughText);
// Told once the window shows the search's status, when it found nothing due.
void TellWhenNothingDue(const RepeatSearch& search, platform::Dialogs& dialogs);

// --- Create ------------------------------------------------------------------------

struct RepeatRun {
  std::string invoiceDate;  // NewInvDate as typed, in the company's order
  std::string reference;    // InvComm
};

// Why no invoice may be created from this master: its schedule does not read, its count
// is at kMostRepeatCount (one more would repeat an earlier number), or its next number
// would not fit InvoiceNo. nullopt when it may.
std::optional<std::string> GenerationRefusal(const model::TransactionRecord& master);

// The number of the invoice created from `advanced` (the master with its count
// raised): master number trimmed + "G" + the count trimmed. InvoiceNo keeps 9
// characters of it.
std::string GeneratedInvoiceNumber(const model::TransactionRecord& advanced);

// The master one interval on: next due date advanced, count raised by one. Only for a
// master GenerationRefusal accepts.
model::TransactionRecord AdvancedMaster(const model::TransactionRecord& master);

// The invoice created from `advanced` (the master already moved on) for `run`: type G,
// its own number, the run's date and reference, not printed, owing its total. nullopt
// when the run's date does not read.
std::optional<model::TransactionRecord> GeneratedInvoice(const model::TransactionRecord& advanced,
                                                         const RepeatRun& run, model::DateOrder order);

struct RepeatOutcome {
  bool ran = false;  // false: refused before anything was written
  int generated = 0;
  int monthly = 0;
  int daily = 0;
  model::Money total;  // of the invoices generated
};

// "3 invoices were generated. 2 Monthly Setups and 1 Daily Setups.", told once the
// window shows the run complete.
void TellRunComplete(const RepeatOutcome& outcome, platform::Dialogs& dialogs);

// Creates an invoice from each listed master in list order and moves each master on by
// one interval; `step` is called after each master (for the progress bar). Then the
// company's A/R total and LastRepeatDate. A master that cannot yield its invoice is
// reported by number and left as it was; the run goes on with the next. Refused, with
// nothing written, when the invoice date does not read.
RepeatOutcome CreateRepeatInvoices(const files::Services& services, InvoiceFiles& files,
                                   const std::vector<DueMaster>& due, const RepeatRun& run,
                                   const std::function<void(std::size_t done)>& step = {});

}  // namespace invoicing
