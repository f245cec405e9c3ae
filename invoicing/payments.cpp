#include "invoicing/payments.h"

#include <algorithm>
#include <map>

#include "books/aging.h"
#include "books/posting.h"
#include "files/company_files.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/text.h"
#include "shell/customers.h"

namespace invoicing {
namespace {

constexpr std::string_view kWizardCaption = "Payment Wizard";

// A list line's columns, each but the marker followed by one blank.
constexpr std::size_t kNumberWidth = 9;
constexpr std::size_t kShortDateWidth = 8;
constexpr std::size_t kAmountWidth = 12;
constexpr std::size_t kLineWidth = kNumberWidth + 1 + kShortDateWidth + 1 + kAmountWidth + 1;
static_assert(kLineWidth == 32);

constexpr std::string_view kDepositPrefix = "DP";
constexpr std::string_view kZeroAmount = "0.00";

std::string Column(std::string_view text, std::size_t width) {
  return model::PadRight(model::FirstCharacters(text, width), width);
}

// The "0.00" text two amounts are compared by.
std::string PlainText(model::Money amount) { return model::FormatMoney(amount, "0.00"); }
std::string ShownAmount(model::Money amount) { return model::FormatMoney(amount, ",0.00"); }

// Digits with at most one decimal point, and a leading minus when `signAllowed`.
std::optional<model::Money> ReadTypedAmount(std::string_view text, bool signAllowed) {
  text = model::TrimBlanks(text);
  std::string_view digits = text;
  if (signAllowed && !digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const bool digitsAndPoint = std::all_of(digits.begin(), digits.end(), [&](char c) { return isDigit(c) || c == '.'; });
  if (!digitsAndPoint || std::none_of(digits.begin(), digits.end(), isDigit) ||
      std::count(digits.begin(), digits.end(), '.') > 1) {
    return std::nullopt;
  }
  return model::ParseMoney(text);
}

void Refuse(platform::Dialogs& dialogs, std::string_view caption, std::string_view text) {
  dialogs.inform(caption, text, platform::Icon::kWarning);
}

PaymentLine LineOf(const files::Row<model::TransactionRecord>& row, model::Money balance, model::DateOrder order) {
  PaymentLine line;
  line.number = model::TrimBlanks(row.record.InvoiceNo.str());
  const std::optional<model::Date> date = books::DocumentDate(row.record, order);
  line.shortDate = date ? ShortDate(*date, order) : std::string(kShortDateWidth, ' ');
  line.amount = balance;
  line.partial = TypeOf(row.record) == TransactionType::kPartlyPaid;
  line.source = row;
  return line;
}

bool IsOpenItem(const model::TransactionRecord& record) {
  return !model::HoldsLetter(record.PaidFlag, 'P') && TypeOf(record) != TransactionType::kRepeatMaster;
}

}  // namespace

// --- Lines ---------------------------------------------------------------------------------

std::string ShortDate(const model::Date& date, model::DateOrder order) {
  // "yyyy/mm/dd", zero-padded: the parts are taken from their places.
  const std::string sortable = model::SortableDate(date);
  const std::string year = sortable.substr(2, 2), month = sortable.substr(5, 2), day = sortable.substr(8, 2);
  return order == model::DateOrder::kDayFirst ? day + "/" + month + "/" + year : month + "/" + day + "/" + year;
}

std::string PaymentLineText(const PaymentLine& line) {
  return Column(line.number, kNumberWidth) + ' ' + Column(line.shortDate, kShortDateWidth) + ' ' +
         model::PadLeft(model::FormatMoney(line.amount, "#,0.00"), kAmountWidth) + (line.partial ? 'P' : ' ');
}

std::string PaymentListHeading() {
  return Column("Invoice#", kNumberWidth) + ' ' + Column("Date", kShortDateWidth) + ' ' +
         model::PadLeft("Amount", kAmountWidth);
}

PaymentLists ListsForCustomer(files::KeyedFile& transactions, const model::CustomerRecord& customer,
                              model::DateOrder order, platform::Dialogs& dialogs) {
  PaymentLists lists;
  const files::Table<model::TransactionRecord> table(transactions);
  model::TransactionRecord probe{};
  probe.CustNo.SetRaw(customer.CustNo.raw());
  const bool readAll = table.ForEachEqual(model::transaction_key::kCustNo,
                                          table.KeyOf(probe, model::transaction_key::kCustNo), [&](const auto& row) {
                                            const std::optional<model::Money> balance =
                                                model::ReadMoney(row.record.BalanceDue);
                                            // A balance that is no amount cannot be posted against.
                                            if (balance && IsOpenItem(row.record)) {
                                              lists.open.push_back(LineOf(row, *balance, order));
                                            }
                                            return true;
                                          });
  if (!readAll) {
    dialogs.inform(kWizardCaption, "The open records of this customer could not all be read.",
                   platform::Icon::kError);
  }
  return lists;
}

void NoteWhenNothingIsDue(const model::CustomerRecord& customer, platform::Dialogs& dialogs) {
  const std::optional<model::Money> balance = model::ReadMoney(customer.Balance);
  if (!balance || *balance <= model::Money()) {
    dialogs.inform("Please Note",
                   "This customer does not have a balance due. You can only record deposits on account or clear "
                   "offsetting invoices and credits.",
                   platform::Icon::kInformation);
  }
}

// --- Moving ----------------------------------------------------------------------------------

namespace {

PaymentList OtherList(PaymentList list) {
  return list == PaymentList::kOpen ? PaymentList::kPosted : PaymentList::kOpen;
}

bool HasLinesToMove(const PaymentLists& lists, PaymentList from, platform::Dialogs& dialogs) {
  if (!lists[from].empty()) return true;
  dialogs.inform(kWizardCaption,
                 from == PaymentList::kOpen ? "There are no records to move to the right (post) box."
                                            : "There are no records to move to the left box.",
                 platform::Icon::kInformation);
  return false;
}

}  // namespace

bool MoveLines(PaymentLists& lists, PaymentList from, std::vector<std::size_t> selected,
               platform::Dialogs& dialogs) {
  if (!HasLinesToMove(lists, from, dialogs)) return false;
  std::vector<PaymentLine>& source = lists[from];
  std::vector<PaymentLine>& target = lists[OtherList(from)];
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::erase_if(selected, [&](std::size_t index) { return index >= source.size(); });
  for (std::size_t index : selected) target.push_back(source[index]);
  for (auto index = selected.rbegin(); index != selected.rend(); ++index) {
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(*index));
  }
  return true;
}

bool MoveAllLines(PaymentLists& lists, PaymentList from, platform::Dialogs& dialogs) {
  if (!HasLinesToMove(lists, from, dialogs)) return false;
  std::vector<PaymentLine>& source = lists[from];
  std::vector<PaymentLine>& target = lists[OtherList(from)];
  target.insert(target.end(), source.begin(), source.end());
  source.clear();
  return true;
}

// --- Amounts ---------------------------------------------------------------------------------

model::Money PostedSum(const PaymentLists& lists) {
  model::Money sum;
  for (const PaymentLine& line : lists.posted) sum += line.amount;
  return sum;
}

std::optional<model::Money> PlainAmount(std::string_view text) { return ReadTypedAmount(text, false); }

bool MayPost(const PaymentLists& lists, std::string_view paidText) {
  const std::optional<model::Money> paid = PlainAmount(paidText);
  return !lists.posted.empty() && paid && PlainText(*paid) == PlainText(PostedSum(lists));
}

PaidAmountTyped TypePaidAmount(PaymentLists& lists, std::string_view text, model::Money customerBalance,
                               platform::Dialogs& dialogs) {
  PaidAmountTyped typed;
  if (model::TrimBlanks(text).empty()) return typed;
  if (text.find('-') != std::string_view::npos) {
    Refuse(dialogs, "Paid Amount",
           "You should not enter a negative number in the payment box. Create a credit invoice if you are trying "
           "to give the customer credit.");
    return typed;
  }
  typed.amount = PlainAmount(text);
  if (!typed.amount) {
    Refuse(dialogs, "Invalid Payment Amount", "The payment amount must be a numeric value.");
    return typed;
  }
  if (PlainText(*typed.amount) == PlainText(customerBalance) && !lists.open.empty()) {
    MoveAllLines(lists, PaymentList::kOpen, dialogs);
    typed.paysAll = true;
  }
  return typed;
}

// --- Partial payments and deposits -------------------------------------------------------

bool PartialPaymentAllowed(const PaymentLine& line) { return !line.IsNewDeposit() && line.amount > model::Money(); }

std::string PartialPaymentLabel(const PaymentLine& line) {
  return "\tInvoice: " + line.number + "\t   Date: " + line.shortDate;
}

std::string DepositLabel(std::string_view paymentDate) {
  return "Invoice: " + std::string(kNewDepositNumber) + "     Date: " + std::string(paymentDate);
}

std::optional<model::Money> CheckPartAmount(std::string_view text, std::optional<model::Money> due,
                                            platform::Dialogs& dialogs) {
  const std::optional<model::Money> amount = ReadTypedAmount(text, true);
  if (!amount) {
    Refuse(dialogs, "Invalid Payment Amount", "The payment amount must be a numeric value.");
    return std::nullopt;
  }
  if (*amount <= model::Money()) {
    Refuse(dialogs, "Payment Amount", "The payment amount must be greater than zero.");
    return std::nullopt;
  }
  if (due && *amount >= *due) {
    Refuse(dialogs, "Partial Payment Amount", "The partial payment amount must be less than amount due.");
    return std::nullopt;
  }
  return amount;
}

void TakePartialPayment(PaymentLists& lists, std::size_t openIndex, model::Money amount) {
  if (openIndex >= lists.open.size()) return;
  PaymentLine& open = lists.open[openIndex];
  PaymentLine part = open;
  part.amount = amount;
  part.partial = true;
  open.amount -= amount;
  lists.posted.push_back(std::move(part));
}

void AddDepositLine(PaymentLists& lists, model::Money amount, std::string_view paymentDate, model::DateOrder order) {
  PaymentLine deposit;
  deposit.number = kNewDepositNumber;
  const std::optional<model::Date> date = model::ParseDisplayDate(paymentDate, order);
  deposit.shortDate = date ? ShortDate(*date, order) : std::string(kShortDateWidth, ' ');
  deposit.amount = amount;
  lists.posted.push_back(std::move(deposit));
}

// --- Posting ---------------------------------------------------------------------------------

namespace {

// The date, customer, company and statement note of a written payment record.
bool Stamp(model::TransactionRecord& record, const PaymentStamp& stamp) {
  record.TransDate = stamp.dateText;
  record.CustNo.SetRaw(stamp.customer.CustNo.raw());
  record.ShortName.SetRaw(stamp.customer.ShortName.raw());
  record.CompanyNo.SetRaw(stamp.company.CompanyNo.raw());
  record.StatementNote = stamp.notes;
  return model::SplitTransactionDate(record, stamp.order);
}

void MarkPaid(model::TransactionRecord& record, const PaymentStamp& stamp) {
  record.PaidFlag = "P";
  record.PaidSortDate = stamp.sortable;
  record.BalanceDue = kZeroAmount;
}

std::optional<model::TransactionRecord> DepositRecord(const PaymentStamp& stamp, std::string_view number,
                                                      model::Money amount) {
  model::TransactionRecord deposit{};
  deposit.InvoiceNo = number;
  deposit.TransType = "D";
  deposit.BodyStyle = "D";
  deposit.KeyCode = "Deposit";
  deposit.NetAmount = kZeroAmount;
  deposit.TaxAmount = kZeroAmount;
  deposit.TotalAmount = kZeroAmount;
  deposit.PaidSortDate = stamp.sortable;
  if (!model::StoreMoney(deposit.PaidAmount, amount) || !model::StoreMoney(deposit.BalanceDue, -amount) ||
      !Stamp(deposit, stamp)) {
    return std::nullopt;
  }
  return deposit;
}

std::optional<model::TransactionRecord> PartialPaymentRecord(const PaymentStamp& stamp,
                                                             const model::TransactionRecord& invoice,
                                                             model::Money amount) {
  model::TransactionRecord payment{};
  payment.InvoiceNo.SetRaw(invoice.InvoiceNo.raw());
  payment.TransType = "X";
  payment.BodyStyle = "X";
  payment.KeyCode = "Partial";
  payment.NetAmount = kZeroAmount;
  payment.TaxAmount = kZeroAmount;
  payment.TotalAmount = kZeroAmount;
  MarkPaid(payment, stamp);
  if (!model::StoreMoney(payment.PaidAmount, amount) || !Stamp(payment, stamp)) return std::nullopt;
  return payment;
}

// The payment that settles the rest of a record that already had payments: a copy of
// it, X for an invoice and T for a deposit, carrying only the amount paid now.
std::optional<model::TransactionRecord> PaymentCopy(const PaymentStamp& stamp, const model::TransactionRecord& settled,
                                                    model::Money amount) {
  model::TransactionRecord payment = settled;
  payment.TransType = TypeOf(settled) == TransactionType::kDeposit ? "T" : "X";
  payment.TotalAmount = kZeroAmount;
  payment.TaxAmount = kZeroAmount;
  MarkPaid(payment, stamp);
  if (!model::StoreMoney(payment.PaidAmount, amount) || !Stamp(payment, stamp)) return std::nullopt;
  return payment;
}

std::string Describe(std::string_view kind, std::string_view number, model::Money amount) {
  return std::string(kind) + " " + std::string(number) + " (" + ShownAmount(amount) + ")";
}

std::string KindOf(const model::TransactionRecord& record) {
  return TypeOf(record) == TransactionType::kDeposit ? "deposit" : "invoice";
}

// Plans a posting: every check and every record as it will be written, before the
// first write. False after telling the user why nothing will be posted.
class Planner {
 public:
  Planner(const files::Services& services, files::KeyedFile& transactions, PaymentPlan& plan)
      : services_(services), transactions_(transactions), plan_(plan) {}

  bool PlanLine(const PaymentLine& line) {
    if (line.IsNewDeposit()) return PlanDeposit(line);
    std::optional<model::TransactionRecord>& working = Working(*line.source);
    if (!working) {
      const std::string kind = KindOf(line.source->record);
      return Refuse(model::ToUpperAscii(kind.substr(0, 1)) + kind.substr(1) + " " + line.number +
                    " has changed or is no longer on file since it was listed. Nothing was posted. Choose the "
                    "customer again to list what is open now.");
    }
    const std::optional<model::Money> balance = model::ReadMoney(working->BalanceDue);
    const bool settlesTheRest = balance && !line.partial && line.amount == *balance;
    const bool planned = settlesTheRest ? PlanFullPayment(line, *working) : PlanPartialPayment(line, *working);
    return planned || Refuse("The amounts of " + KindOf(*working) + " " + line.number +
                             " cannot be posted as listed. Nothing was posted.");
  }

 private:
  bool Refuse(const std::string& text) {
    services_.dialogs.inform(kWizardCaption, text, platform::Icon::kWarning);
    return false;
  }

  // The record of a line as the posting has it so far: read afresh the first time and
  // required to be as it was listed; nullopt when it is gone or changed.
  std::optional<model::TransactionRecord>& Working(const files::Row<model::TransactionRecord>& listed) {
    auto found = working_.find(listed.number);
    if (found == working_.end()) {
      found = working_.emplace(listed.number, ReadAsListed(transactions_, listed)).first;
    }
    return found->second;
  }

  // "DP" + the count of records + 1, or the next number up that no record has and no
  // deposit of this posting took, so that two deposits never share a number.
  std::string NextDepositNumber() {
    if (nextDeposit_ == 0) nextDeposit_ = transactions_.UsedRecords() + 1;
    for (;; ++nextDeposit_) {
      const std::string number = std::string(kDepositPrefix) + std::to_string(nextDeposit_);
      if (!FindInvoice(transactions_, number)) {
        ++nextDeposit_;
        return number;
      }
    }
  }

  bool PlanDeposit(const PaymentLine& line) {
    const std::string number = NextDepositNumber();
    const std::optional<model::TransactionRecord> deposit = DepositRecord(plan_.stamp, number, line.amount);
    if (!deposit || line.amount <= model::Money()) {
      return Refuse("The deposit of " + ShownAmount(line.amount) + " cannot be posted. Nothing was posted.");
    }
    plan_.lines.push_back({Describe("deposit", number, line.amount), line.amount, deposit, std::nullopt,
                           "Adding deposit failed."});
    return true;
  }

  // The line pays all that is still due on the record.
  bool PlanFullPayment(const PaymentLine& line, model::TransactionRecord& working) {
    const PaymentStamp& stamp = plan_.stamp;
    RecordChange change{line.source->number, working, working};
    LineWrites writes{Describe(KindOf(working), line.number, line.amount), line.amount, std::nullopt, std::nullopt,
                      "Adding reg pmt failed."};
    const TransactionType type = TypeOf(working);
    const bool hadPayments = HasPayment(working) || type == TransactionType::kPartlyPaid ||
                             type == TransactionType::kDeposit;
    if (!hadPayments) {
      // No payment record: the invoice itself keeps what was paid, and the note when
      // one was typed (an empty one would only wipe the invoice's own).
      MarkPaid(change.after, stamp);
      if (!stamp.notes.empty()) change.after.StatementNote = stamp.notes;
      if (!model::StoreMoney(change.after.PaidAmount, line.amount)) return false;
    } else {
      model::TransactionRecord settled = working;
      MarkPaid(settled, stamp);
      writes.added = PaymentCopy(stamp, settled, line.amount);
      if (!writes.added) return false;
      MarkPaid(change.after, stamp);
      if (type != TransactionType::kDeposit) change.after.TransType = "Z";
    }
    working = change.after;
    writes.change = change;
    plan_.lines.push_back(std::move(writes));
    return true;
  }

  // The line pays part of what is due on an invoice: the rest stays due, and the
  // invoice becomes one with partial payments (Z).
  bool PlanPartialPayment(const PaymentLine& line, model::TransactionRecord& working) {
    const TransactionType type = TypeOf(working);
    const std::optional<model::Money> balance = model::ReadMoney(working.BalanceDue);
    const bool takesPart = type == TransactionType::kInvoice || type == TransactionType::kGenerated ||
                           type == TransactionType::kPartlyPaid;
    if (!takesPart || !balance || line.amount <= model::Money() || line.amount > *balance) return false;
    RecordChange change{line.source->number, working, working};
    if (!model::StoreMoney(change.after.BalanceDue, *balance - line.amount)) return false;
    if (*balance == line.amount) {
      change.after.PaidFlag = "P";
      change.after.PaidSortDate = plan_.stamp.sortable;
    }
    change.after.TransType = "Z";
    LineWrites writes{Describe("partial payment on invoice", line.number, line.amount), line.amount,
                      PartialPaymentRecord(plan_.stamp, working, line.amount), change, "Adding partial pmt failed."};
    if (!writes.added) return false;
    working = change.after;
    plan_.lines.push_back(std::move(writes));
    return true;
  }

  const files::Services& services_;
  files::KeyedFile& transactions_;
  PaymentPlan& plan_;
  std::map<files::RecordNumber, std::optional<model::TransactionRecord>> working_;
  std::int32_t nextDeposit_ = 0;
};

// The payment record first, then the record it settles; when that cannot be changed
// the payment record is taken back, so a failed line leaves nothing behind.
bool WriteLine(files::KeyedFile& transactions, const LineWrites& line, bool& leftBehind) {
  files::RecordNumber added = 0;
  if (line.added && !transactions.Add(*line.added, added)) return false;
  if (line.change && !transactions.Update(line.change->slot, line.change->after, &line.change->before)) {
    if (line.added && !transactions.Delete(added, *line.added)) leftBehind = true;
    return false;
  }
  return true;
}

struct Written {
  std::vector<std::string> posted, notPosted;
  model::Money amount;
  bool paymentRecordLeftBehind = false;
  bool customerStored = true;
  bool companyStored = true;

  bool Complete() const {
    return notPosted.empty() && !paymentRecordLeftBehind && customerStored && companyStored;
  }
};

std::string JoinedOrNone(const std::vector<std::string>& items) {
  if (items.empty()) return "nothing";
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + item;
  return joined;
}

// A posting that failed after it began writing says what is on file now, so the user
// can post the rest again rather than guess.
void ReportPostedInPart(const files::Services& services, const Written& written) {
  const std::string amount = ShownAmount(written.amount);
  std::string text = "The payment was not posted in full.\nPosted: " + JoinedOrNone(written.posted) +
                     ".\nNot posted: " + JoinedOrNone(written.notPosted) + ".";
  if (written.paymentRecordLeftBehind) {
    text += "\nA payment record of an item not posted could not be taken back; delete it in the Invoice Manager.";
  }
  if (!written.posted.empty()) {
    text += written.customerStored ? "\nThe customer's balance was lowered by " + amount + "."
                                   : "\nThe customer's balance could not be lowered by " + amount + ".";
    text += written.companyStored ? "\nThe A/R total was lowered by " + amount + "."
                                  : "\nThe A/R total could not be lowered by " + amount + ".";
  }
  services.dialogs.inform(kWizardCaption, text, platform::Icon::kError);
}

std::optional<PaymentStamp> StampOf(const files::Services& services, const Payment& payment) {
  const model::DateOrder order = services.session.DateOrder();
  const std::optional<model::Date> date = model::ParseDisplayDate(payment.date, order);
  if (!date) return std::nullopt;
  return PaymentStamp{model::FormatDisplayDate(*date, order), model::SortableDate(*date),
                      std::string(model::FirstCharacters(payment.notes, kPaymentNoteLength)), order, {},
                      services.session.CurrentCompany};
}

// The customer and the company can take the payment; checked before anything is
// written, as the amounts are not known to fit their fields until then.
bool TotalsTakePayment(const model::CustomerRecord& customer, const model::CompanyRecord& company,
                       model::Money paid) {
  model::CustomerRecord customerAfter = customer;
  model::CompanyRecord companyAfter = company;
  return books::PostPaymentToCustomer(customerAfter, paid, books::AgingTotals{}) &&
         books::PostToCompany(companyAfter, -paid);
}

void PostToCustomerAndCompany(const files::Services& services, files::KeyedFile& transactions,
                              const PaymentStamp& stamp, Written& written) {
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::RecordNumber slot = 0;
  model::CustomerRecord customer{};
  const std::optional<books::AgingTotals> stillOpen = books::AgeOfCustomer(
      transactions, stamp.customer.CustNo.str(), model::TodayOf(services.clock), stamp.order);
  written.customerStored = stillOpen && customers.Open() &&
                           shell::FindCustomerByNumber(customers, stamp.customer.CustNo.str(), slot, customer) &&
                           books::PostPaymentToCustomer(customer, written.amount, *stillOpen);
  if (written.customerStored) {
    customer.LastPaymentDate = stamp.dateText;
    written.customerStored = customers.Update(slot, customer);
  }
  bool posted = true;
  written.companyStored = books::ChangeCurrentCompany(services, [&](model::CompanyRecord& company) {
    posted = books::PostToCompany(company, -written.amount);
  }) && posted;
}

}  // namespace

std::optional<PaymentPlan> PlanPayment(const files::Services& services, files::KeyedFile& transactions,
                                       const Payment& payment, bool& badDate) {
  std::optional<PaymentStamp> stamp = StampOf(services, payment);
  badDate = !stamp;
  if (!stamp) {
    services.dialogs.inform("Payment Date",
                            "You have an invalid payment date. You can clear the date and then select the calendar "
                            "button.",
                            platform::Icon::kWarning);
    return std::nullopt;
  }
  PaymentLists lists;
  lists.posted = payment.lines;
  if (!MayPost(lists, payment.paid)) {
    services.dialogs.inform(kWizardCaption, "The paid amount must match the posted amount. Nothing was posted.",
                            platform::Icon::kWarning);
    return std::nullopt;
  }
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::RecordNumber slot = 0;
  if (!customers.Open() || !shell::FindCustomerByNumber(customers, payment.customerNumber, slot, stamp->customer)) {
    services.dialogs.inform(kWizardCaption,
                            "Customer " + payment.customerNumber + " is no longer on file. Nothing was posted.",
                            platform::Icon::kWarning);
    return std::nullopt;
  }
  if (!TotalsTakePayment(stamp->customer, services.session.CurrentCompany, PostedSum(lists))) {
    services.dialogs.inform(kWizardCaption,
                            "The customer's balance or the A/R total cannot take this payment. Nothing was posted.",
                            platform::Icon::kWarning);
    return std::nullopt;
  }
  PaymentPlan plan{*stamp, {}};
  Planner planner(services, transactions, plan);
  for (const PaymentLine& line : payment.lines) {
    if (!planner.PlanLine(line)) return std::nullopt;
  }
  return plan;
}

// Written in this order: for each line in list order the payment record it adds
// (deposit, X or T) and then the invoice or deposit it settles; then the customer;
// then the company. A line whose second write fails takes its payment record back and
// the rest go on; the customer and the company then go down by what was posted, and
// the user is told what was and was not. A crash between a line's two writes leaves a
// payment record beside an invoice still showing that amount due: the balances still
// agree with the open items, and the Invoice Manager shows the stray record to delete.
// A crash after some lines leaves them posted with the customer's balance and the A/R
// total still holding their amount, and one between the customer and the company the
// A/R total alone; the aging run rebuilds both from the open items.
PostOutcome WritePayment(const files::Services& services, files::KeyedFile& transactions, const PaymentPlan& plan) {
  Written written;
  for (const LineWrites& line : plan.lines) {
    if (WriteLine(transactions, line, written.paymentRecordLeftBehind)) {
      written.posted.push_back(line.what);
      written.amount += line.amount;
    } else {
      services.dialogs.inform(kWizardCaption, line.failure, platform::Icon::kError);
      written.notPosted.push_back(line.what);
    }
  }
  if (!written.posted.empty()) PostToCustomerAndCompany(services, transactions, plan.stamp, written);
  PostOutcome outcome;
  outcome.posted = written.amount;
  if (written.Complete()) {
    outcome.result = PostResult::kPosted;
    return outcome;
  }
  ReportPostedInPart(services, written);
  outcome.result = written.posted.empty() ? PostResult::kNotPosted : PostResult::kPostedInPart;
  return outcome;
}

PostOutcome PostPayment(const files::Services& services, files::KeyedFile& transactions, const Payment& payment) {
  PostOutcome outcome;
  const std::optional<PaymentPlan> plan = PlanPayment(services, transactions, payment, outcome.badDate);
  return plan ? WritePayment(services, transactions, *plan) : outcome;
}

}  // namespace invoicing
