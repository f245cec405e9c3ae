// Recording what a customer paid on one date: the open items and the items being
// posted as two lists of fixed-column lines, the checks on the amounts typed, and
// posting itself, which writes the deposit and payment records, settles the invoices
// and deposits, and takes the payment off the customer's balance and the A/R total.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/keyed_file.h"
#include "files/services.h"
#include "files/table.h"
#include "model/dates.h"
#include "model/money.h"
#include "model/records.h"
#include "platform/dialogs.h"

namespace invoicing {

// What a deposit not yet posted shows in place of an invoice number.
inline constexpr std::string_view kNewDepositNumber = "DEPOSIT";

// One line of either list.
struct PaymentLine {
  std::string number;     // the invoice number as filed, or kNewDepositNumber
  std::string shortDate;  // 8 characters, blank when there is no date
  model::Money amount;
  bool partial = false;  // posted as a partial payment: column 32 "P"
  // The record the line stands for, in its slot, as it was read when listed; none for
  // a new deposit. Posting refuses when the file no longer holds it so.
  std::optional<files::Row<model::TransactionRecord>> source;

  bool IsNewDeposit() const { return !source.has_value(); }
};

// Columns 1-9 the number, 11-18 the short date, 20-31 the amount ("#,0.00", right
// aligned), 32 the partial marker.
std::string PaymentLineText(const PaymentLine& line);
// The headings of those columns: "Invoice#", "Date", "Amount" (right-aligned).
std::string PaymentListHeading();
// "MM/DD/YY" or "DD/MM/YY" after the company's date order.
std::string ShortDate(const model::Date& date, model::DateOrder order);

enum class PaymentList { kOpen, kPosted };

struct PaymentLists {
  std::vector<PaymentLine> open;    // "Open Invoices / Deposits:"
  std::vector<PaymentLine> posted;  // "Items you are posting as paid:"

  std::vector<PaymentLine>& operator[](PaymentList list) { return list == PaymentList::kOpen ? open : posted; }
  const std::vector<PaymentLine>& operator[](PaymentList list) const {
    return list == PaymentList::kOpen ? open : posted;
  }
};

// --- Choosing the customer -----------------------------------------------------------

// The open list of a newly chosen customer: every record filed under its number that
// is not paid and is no repeat master, with its balance due, in the order of the
// customer-number index; a partly paid invoice (Z) carries the partial marker.
PaymentLists ListsForCustomer(files::KeyedFile& transactions, const model::CustomerRecord& customer,
                              model::DateOrder order, platform::Dialogs& dialogs);

// Told once the customer's items are listed, when its balance is not above zero: only
// deposits and offsetting items can be posted.
void NoteWhenNothingIsDue(const model::CustomerRecord& customer, platform::Dialogs& dialogs);

// --- Moving lines ----------------------------------------------------------------------

// Moves the lines at `selected` (indexes into `from`, in any order) to the end of the
// other list, keeping their order. False, after telling the user, when `from` has no
// lines.
bool MoveLines(PaymentLists& lists, PaymentList from, std::vector<std::size_t> selected,
               platform::Dialogs& dialogs);
bool MoveAllLines(PaymentLists& lists, PaymentList from, platform::Dialogs& dialogs);

// --- The amounts -------------------------------------------------------------------------

// The sum of the posted list.
model::Money PostedSum(const PaymentLists& lists);

// Digits with at most one decimal point, blanks around allowed; nullopt for anything
// else (a comma, a sign, a letter, nothing at all).
std::optional<model::Money> PlainAmount(std::string_view text);

// Post may be pressed: the posted list has lines, and the posted sum and the paid
// amount read the same written "0.00" (so a zero payment can settle a deposit or
// credit against invoices of the same size).
bool MayPost(const PaymentLists& lists, std::string_view paidText);

// The paid amount as it is typed, with its messages in order; empty text does
// nothing. When it equals the customer's balance and open lines remain, they all move
// to the posted list. `paysAll` tells the window to put the caret at the end.
struct PaidAmountTyped {
  std::optional<model::Money> amount;
  bool paysAll = false;
};
PaidAmountTyped TypePaidAmount(PaymentLists& lists, std::string_view text, model::Money customerBalance,
                               platform::Dialogs& dialogs);

// --- Partial payments and deposits -------------------------------------------------

// A partial payment may be taken from an open line owing more than zero.
bool PartialPaymentAllowed(const PaymentLine& line);

// The small dialog's caption and its label for a partial payment of `line`, or for a
// deposit on `paymentDate`.
inline constexpr std::string_view kPartialPaymentCaption = "Partial Payment";
inline constexpr std::string_view kDepositCaption = "Deposit on Account";
std::string PartialPaymentLabel(const PaymentLine& line);
std::string DepositLabel(std::string_view paymentDate);

// The amount typed in the small dialog: a number above zero and, for a partial
// payment, below `due`; nullopt after telling the user why not.
std::optional<model::Money> CheckPartAmount(std::string_view text, std::optional<model::Money> due,
                                            platform::Dialogs& dialogs);

// Adds a partial line of `amount` from open line `openIndex` to the posted list and
// leaves the rest due on the open line.
void TakePartialPayment(PaymentLists& lists, std::size_t openIndex, model::Money amount);

// Adds a new deposit of `amount` to the posted list, dated `paymentDate` when that reads.
void AddDepositLine(PaymentLists& lists, model::Money amount, std::string_view paymentDate, model::DateOrder order);

// --- Posting -----------------------------------------------------------------------------

// How much of the statement note the payment records keep.
inline constexpr std::size_t kPaymentNoteLength = 25;

// What the window holds when Post is pressed.
struct Payment {
  std::string customerNumber;
  std::string date;   // as typed
  std::string paid;   // as typed
  std::string notes;  // the statement note, at most kPaymentNoteLength characters
  std::vector<PaymentLine> lines;  // the posted list, in its order
};

// What every record a payment writes takes from the payment and its customer.
struct PaymentStamp {
  std::string dateText;  // the payment date in the company's order
  std::string sortable;  // the same as "yyyy/mm/dd"
  std::string notes;
  model::DateOrder order = model::DateOrder::kMonthFirst;
  model::CustomerRecord customer{};  // as read when the posting was checked
  model::CompanyRecord company{};
};

// A record the posting rewrites, as the file must hold it when the write comes
// (`before`) and as it is written (`after`): a record changed in the meantime is not
// overwritten.
struct RecordChange {
  files::RecordNumber slot = 0;
  model::TransactionRecord before{};
  model::TransactionRecord after{};
};

// The writes of one posted line: the payment record it adds (deposit, X or T), then
// the invoice or deposit it settles.
struct LineWrites {
  std::string what;  // "invoice 1043 (25.00)", for telling what was and was not posted
  model::Money amount;
  std::optional<model::TransactionRecord> added;
  std::optional<RecordChange> change;
  std::string_view failure;  // "Adding reg pmt failed."
};

// A posting checked and built: nothing of it is written yet.
struct PaymentPlan {
  PaymentStamp stamp;
  std::vector<LineWrites> lines;
};

enum class PostResult {
  kNotPosted,     // refused before anything was written, or every line failed
  kPosted,        // every line, the customer and the company
  kPostedInPart,  // some writes failed; the user was told what was and was not posted
};

struct PostOutcome {
  PostResult result = PostResult::kNotPosted;
  bool badDate = false;  // refused for the payment date: the focus goes there
  model::Money posted;   // what the customer's balance and the A/R total went down by
};

// Every check of a posting, in order, and every record it will write, against the
// open invoice file; nullopt after telling the user why nothing will be posted. The
// payment date comes first (`badDate`), then the paid amount against the posted sum,
// the customer, and each line's record, which must still be on file as it was listed.
std::optional<PaymentPlan> PlanPayment(const files::Services& services, files::KeyedFile& transactions,
                                       const Payment& payment, bool& badDate);

// Writes a planned posting; see the definition for the order of its writes.
PostOutcome WritePayment(const files::Services& services, files::KeyedFile& transactions, const PaymentPlan& plan);

// Plans and, when nothing stands in the way, writes the payment: Post.
PostOutcome PostPayment(const files::Services& services, files::KeyedFile& transactions, const Payment& payment);

}  // namespace invoicing
