#include "invoicing/repeat_billing.h"

#include <algorithm>

#include "books/aging.h"
#include "books/invoice_records.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/text.h"

namespace invoicing {
namespace {

constexpr std::string_view kIntervalCaption = "Number of Days/Months";
constexpr std::string_view kDateCaption = "Start Date";
constexpr std::string_view kIntervalMissing =
    "You must enter the number of days/months in order to generate invoices.";
constexpr std::string_view kIntervalNoNumber = "You must enter a valid NUMBER of days/months.";
constexpr std::string_view kInvalidDate = "You must enter a valid date.";
constexpr std::string_view kSearchCaption = "Repeat Billings";
constexpr std::string_view kRunCaption = "Repeat Billing Wizard";

// A display date is typed in full: two-digit month and day, four-digit year.
constexpr std::size_t kFullDateLength = 10;

// The list line's columns, each followed by one blank but the last.
constexpr std::size_t kNumberWidth = 9;
constexpr std::size_t kShortNameWidth = 10;
constexpr std::size_t kTotalWidth = 12;
constexpr std::size_t kDueWidth = 10;
constexpr std::size_t kCustomerWidth = 9;
constexpr std::size_t kCountWidth = 5;
constexpr std::size_t kTotalEnd = kNumberWidth + 1 + kShortNameWidth + 1 + kTotalWidth;
constexpr std::size_t kDueStart = kTotalEnd + 1;
constexpr std::size_t kCustomerStart = kDueStart + kDueWidth + 1;
constexpr std::size_t kLineWidth = kCustomerStart + kCustomerWidth + 1 + kCountWidth;
static_assert(kLineWidth == 9 + 1 + 10 + 1 + 12 + 1 + 10 + 1 + 9 + 1 + 5);

constexpr std::size_t kInvoiceNoCapacity = decltype(model::TransactionRecord::InvoiceNo)::kCapacity;

std::string Left(std::string_view text, std::size_t width) {
  return model::PadRight(model::FirstCharacters(text, width), width);
}

// A blank count is a master that has created nothing yet.
std::optional<int> CountOf(const model::TransactionRecord& master) {
  if (model::TrimBlanks(master.RepeatCount.raw()).empty()) return 0;
  return model::ParseWholeNumber(master.RepeatCount.raw());
}

std::string NumberOf(const model::TransactionRecord& header) {
  return std::string(model::TrimBlanks(header.InvoiceNo.str()));
}

// A date as typed into a masked field: the whole date, and one that exists.
std::optional<model::Date> FullDate(std::string_view typed, model::DateOrder order) {
  const std::string_view text = model::TrimBlanks(typed);
  if (text.size() < kFullDateLength) return std::nullopt;
  return model::ParseDisplayDate(text, order);
}

bool RefuseEntry(platform::Dialogs& dialogs, std::string_view caption, std::string_view text) {
  dialogs.inform(caption, text, platform::Icon::kWarning);
  return false;
}

// --- Create ------------------------------------------------------------------------

void Report(const files::Services& services, const std::string& text) {
  services.dialogs.inform(kRunCaption, text, platform::Icon::kError);
}

// The memo of a memo master under the new invoice's number.
void CopyMemo(const files::Services& services, files::KeyedFile& memos, const model::TransactionRecord& master,
              const model::TransactionRecord& generated) {
  std::optional<files::Row<model::MemoRecord>> memo = books::MemoOfInvoice(memos, master);
  if (!memo) {
    Report(services, "Memo data not added");
    return;
  }
  memo->record.InvoiceNo.SetRaw(generated.InvoiceNo.raw());
  files::RecordNumber added = 0;
  if (!memos.Add(memo->record, added)) Report(services, "Adding memo record failed");
}

// The master's lines under the new invoice's number and date, marked as generated.
void CopyLines(const files::Services& services, files::KeyedFile& details, const model::TransactionRecord& master,
               const model::TransactionRecord& generated) {
  for (files::Row<model::DetailRecord>& line : books::LinesOfInvoice(details, master)) {
    line.record.SortDate.SetRaw(generated.SortDate.raw());
    line.record.InvoiceNo.SetRaw(generated.InvoiceNo.raw());
    line.record.BodyStyle = "G";
    files::RecordNumber added = 0;
    if (!details.Add(line.record, added)) Report(services, "Repeat detail add record failed");
  }
}

// One master's invoice, from the check that the master is still as listed to the
// customer's posting.
class MasterRun {
 public:
  MasterRun(const files::Services& services, InvoiceFiles& files, const RepeatRun& run, RepeatOutcome& outcome)
      : services_(services), files_(files), run_(run), outcome_(outcome) {}

  // Written in this order: the new invoice with its keys, the master moved on, the
  // memo, the lines, the customer. The master moves on only once its invoice is on
  // file, and the invoice is taken back when the master cannot be rewritten, so a
  // master never skips an invoice and never yields the same one twice. A crash after
  // the invoice and before the master leaves the invoice unposted and its master not
  // moved on: the next run refuses to repeat its number, and the books-integrity check
  // rebuilds the balances from the open amounts. A crash after the master leaves the
  // memo, lines or customer short as for an added invoice.
  void Generate(const DueMaster& due) {
    const std::string number = NumberOf(due.master.record);
    const std::optional<model::TransactionRecord> master = ReadAsListed(files_.transactions, due.master);
    if (!master) {
      Report(services_, "Master " + number +
                            " has changed or is no longer on file since it was listed. No invoice was created "
                            "from it.");
      return;
    }
    if (const std::optional<std::string> refusal = GenerationRefusal(*master)) {
      Report(services_, *refusal);
      return;
    }
    const model::TransactionRecord advanced = AdvancedMaster(*master);
    const std::optional<model::TransactionRecord> generated =
        GeneratedInvoice(advanced, run_, services_.session.DateOrder());
    if (!generated || !AddHeader(number, *generated) || !MoveOn(due.master.number, *master, advanced, *generated)) {
      return;
    }
    if (model::HoldsLetter(master->BodyStyle, 'M')) CopyMemo(services_, files_.memos, *master, *generated);
    CopyLines(services_, files_.details, *master, *generated);
    PostNewInvoice(services_, *generated, kRunCaption);
    Count(*master, *generated);
  }

 private:
  bool AddHeader(const std::string& master, const model::TransactionRecord& generated) {
    const std::string number = NumberOf(generated);
    if (InvoiceNumberOnFile(files_.transactions, number)) {
      Report(services_, "Adding repeat header failed for master " + master + ": invoice " + number +
                            " is already on file. The master was not moved on.");
      return false;
    }
    if (!files_.transactions.Add(generated, added_)) {
      Report(services_, "Adding repeat header failed for master " + master + ". The master was not moved on.");
      return false;
    }
    return true;
  }

  bool MoveOn(files::RecordNumber slot, const model::TransactionRecord& master,
              const model::TransactionRecord& advanced, const model::TransactionRecord& generated) {
    if (files_.transactions.Update(slot, advanced, &master)) return true;
    const bool takenBack = files_.transactions.Delete(added_, generated);
    Report(services_, "Master " + NumberOf(master) + " could not be moved on to its next due date, so invoice " +
                          NumberOf(generated) + (takenBack ? " was taken back." : " could not be taken back either."));
    return false;
  }

  void Count(const model::TransactionRecord& master, const model::TransactionRecord& generated) {
    ++outcome_.generated;
    ++(model::HoldsLetter(master.RepeatCycle, 'M') ? outcome_.monthly : outcome_.daily);
    outcome_.total += OpenAmount(generated).value_or(model::Money());
  }

  const files::Services& services_;
  InvoiceFiles& files_;
  const RepeatRun& run_;
  RepeatOutcome& outcome_;
  files::RecordNumber added_ = 0;
};

// The company's part of a run, in one rewrite after all its invoices: the A/R total
// and the date of the invoices. A crash before it leaves the total short of the
// customer balances by the run's invoices; the next aging run rewrites the total from
// the balances.
void CloseRun(const files::Services& services, const RepeatRun& run, const RepeatOutcome& outcome) {
  const bool posted = PostToCurrentCompany(services, outcome.total, [&](model::CompanyRecord& company) {
    company.LastRepeatDate = run.invoiceDate;
  });
  if (!posted) {
    Report(services, "The accounts receivable total was not updated by the " +
                         model::FormatMoney(outcome.total, ",0.00") +
                         " of the invoices generated. Note the amount: the total differs from the customer "
                         "balances by it.");
  }
}

}  // namespace

// --- The schedule ------------------------------------------------------------------

std::optional<RepeatSchedule> ScheduleOf(const model::TransactionRecord& master) {
  const std::optional<int> interval = model::ParseWholeNumber(master.RepeatInterval.raw());
  const std::optional<model::Date> due = NextDueDateOf(master);
  if (!interval || *interval < 1 || !due) return std::nullopt;
  return RepeatSchedule{*interval, model::HoldsLetter(master.RepeatCycle, 'M'), *due};
}

model::Date FollowingDueDate(const RepeatSchedule& schedule) {
  return schedule.months ? model::AddMonths(schedule.nextDue, schedule.interval)
                         : model::AddDays(schedule.nextDue, schedule.interval);
}

// --- Set-up --------------------------------------------------------------------------

RepeatSetupState RepeatSetupStateOf(const model::TransactionRecord& header, const model::Date& today,
                                    model::DateOrder order) {
  RepeatSetupState state;
  if (TypeOf(header) != TransactionType::kRepeatMaster) {
    state.interval = "1";
    const model::Date invoiceDate = books::DocumentDate(header, order).value_or(today);
    state.nextDate = model::FormatDisplayDate(model::AddMonths(invoiceDate, 1), order);
    return state;
  }
  state.generate = true;
  state.generateEnabled = false;
  state.interval = model::TrimBlanks(header.RepeatInterval.str());
  state.months = model::HoldsLetter(header.RepeatCycle, 'M');
  const std::optional<model::Date> due = NextDueDateOf(header);
  state.nextDate = due ? model::FormatDisplayDate(*due, order) : header.NextDueDate.str();
  if (CountOf(header).value_or(0) >= 1) {
    state.generatePanelShown = false;
    state.generatedText = "Invoices Generated to Date: " + std::string(model::TrimBlanks(header.RepeatCount.str()));
  }
  return state;
}

std::optional<RepeatSchedule> CheckRepeatSetup(const RepeatSetupEntry& entry, model::DateOrder order,
                                               platform::Dialogs& dialogs, RepeatSetupField& focus) {
  focus = RepeatSetupField::kInterval;
  if (model::TrimBlanks(entry.interval).empty()) {
    RefuseEntry(dialogs, kIntervalCaption, kIntervalMissing);
    return std::nullopt;
  }
  const std::optional<int> interval = model::ParseWholeNumber(entry.interval);
  if (!interval) {
    RefuseEntry(dialogs, kIntervalCaption, kIntervalNoNumber);
    return std::nullopt;
  }
  if (entry.generate && *interval < 1) {
    RefuseEntry(dialogs, kIntervalCaption, kIntervalMissing);
    return std::nullopt;
  }
  focus = RepeatSetupField::kNextDate;
  const std::optional<model::Date> next = FullDate(entry.nextDate, order);
  if (!next) {
    RefuseEntry(dialogs, kDateCaption, kInvalidDate);
    return std::nullopt;
  }
  return RepeatSchedule{*interval, entry.months, *next};
}

// --- Search --------------------------------------------------------------------------

std::vector<DueMaster> FindDueMasters(files::KeyedFile& transactions, const model::Date& through,
                                      model::DateOrder order) {
  std::vector<DueMaster> due;
  ForEachRepeatMaster(files::Table<model::TransactionRecord>(transactions), [&](const auto& row) {
    const std::optional<model::Date> next = NextDueDateOf(row.record);
    if (next && *next <= through) due.push_back({row, model::FormatDisplayDate(*next, order)});
    return true;
  });
  return due;
}

std::string DueMasterLine(const DueMaster& due) {
  const model::TransactionRecord& master = due.master.record;
  return Left(master.InvoiceNo.str(), kNumberWidth) + ' ' + Left(master.ShortName.str(), kShortNameWidth) + ' ' +
         model::PadLeft(model::AmountText(master.TotalAmount), kTotalWidth) + ' ' + Left(due.dueShown, kDueWidth) +
         ' ' + Left(master.CustNo.str(), kCustomerWidth) + ' ' +
         model::PadLeft(model::TrimBlanks(master.RepeatCount.str()), kCountWidth);
}

std::string DueListHeading() {
  struct Heading {
    std::string_view text;
    std::size_t columnStart;
    std::size_t columnWidth;
    bool right;
  };
  constexpr Heading kHeadings[] = {{"Master#", 0, kNumberWidth, false},
                                   {"Short Name", kNumberWidth + 1, kShortNameWidth, false},
                                   {"Invoice Total", kTotalEnd - kTotalWidth, kTotalWidth, true},
                                   {"Next Due", kDueStart, kDueWidth, false},
                                   {"Customer#", kCustomerStart, kCustomerWidth, false},
                                   {"Created", kLineWidth - kCountWidth, kCountWidth, true}};
  // A heading wider than its column keeps a blank before it rather than its alignment.
  std::string heading;
  for (const Heading& h : kHeadings) {
    const std::size_t aligned =
        h.right && h.text.size() < h.columnStart + h.columnWidth ? h.columnStart + h.columnWidth - h.text.size()
                                                                 : h.columnStart;
    const std::size_t start = heading.empty() ? aligned : std::max(aligned, heading.size() + 1);
    heading.append(start - heading.size(), ' ').append(h.text);
  }
  return heading;
}

model::Money DueTotal(const std::vector<DueMaster>& due) {
  model::Money total;
  for (const DueMaster& listed : due) {
    total += model::ReadMoney(listed.master.record.TotalAmount).value_or(model::Money());
  }
  return total;
}

std::string SelectionText(std::size_t count, model::Money total) {
  return "There are " + std::to_string(count) + " invoices selected totaling " + model::FormatMoney(total, ",0.00") +
         ".";
}

RepeatSearch SearchRepeatBillings(const files::Services& services, files::KeyedFile& transactions,
                                  std::string_view throughText) {
  RepeatSearch search;
  const model::DateOrder order = services.session.DateOrder();
  const std::optional<model::Date> through = FullDate(throughText, order);
  if (!through) {
    RefuseEntry(services.dialogs, kSearchCaption, kInvalidDate);
    return search;
  }
  search.searched = true;
  search.due = FindDueMasters(transactions, *through, order);
  search.status = SelectionText(search.due.size(), DueTotal(search.due));
  return search;
}

void TellWhenNothingDue(const RepeatSearch& search, platform::Dialogs& dialogs) {
  if (!search.searched || !search.due.empty()) return;
  dialogs.inform(kSearchCaption, "There are no repeat billings due through the date you selected.",
                 platform::Icon::kInformation);
}

// --- Create ------------------------------------------------------------------------

std::optional<std::string> GenerationRefusal(const model::TransactionRecord& master) {
  const std::string number = NumberOf(master);
  const std::optional<int> count = CountOf(master);
  if (!ScheduleOf(master) || !count || *count < 0) {
    return "No invoice was created from master " + number +
           ": its interval, next due date or count of invoices created does not read. Correct it in Repeat "
           "Billing Setup.";
  }
  if (*count >= kMostRepeatCount) {
    return "No invoice was created from master " + number + ": it has created " + std::to_string(*count) +
           " invoices, as many as its count can hold, and another would repeat an earlier invoice number. Set up a "
           "new master to go on billing.";
  }
  if (model::CharacterCount(GeneratedInvoiceNumber(AdvancedMaster(master))) > kInvoiceNoCapacity) {
    return "No invoice was created from master " + number + ": its number is too long to number another invoice. "
           "A repeat billing invoice number must be 5 or less characters.";
  }
  return std::nullopt;
}

std::string GeneratedInvoiceNumber(const model::TransactionRecord& advanced) {
  return NumberOf(advanced) + "G" + std::string(model::TrimBlanks(advanced.RepeatCount.str()));
}

model::TransactionRecord AdvancedMaster(const model::TransactionRecord& master) {
  model::TransactionRecord advanced = master;
  if (const std::optional<RepeatSchedule> schedule = ScheduleOf(master)) {
    advanced.NextDueDate = model::FormatDisplayDate(FollowingDueDate(*schedule), model::DateOrder::kMonthFirst);
  }
  advanced.RepeatCount = std::to_string(CountOf(master).value_or(0) + 1);
  return advanced;
}

std::optional<model::TransactionRecord> GeneratedInvoice(const model::TransactionRecord& advanced,
                                                         const RepeatRun& run, model::DateOrder order) {
  model::TransactionRecord generated = advanced;
  generated.InvoiceNo = GeneratedInvoiceNumber(advanced);
  generated.TransType = "G";
  generated.TransDate = run.invoiceDate;
  if (!model::SplitTransactionDate(generated, order)) return std::nullopt;
  generated.PrintedFlag = "N";
  generated.InvNotes = run.reference;
  generated.StatementNote = run.reference;
  generated.BalanceDue.SetRaw(advanced.TotalAmount.raw());
  generated.PaidFlag = "";
  return generated;
}

void TellRunComplete(const RepeatOutcome& outcome, platform::Dialogs& dialogs) {
  dialogs.inform("Operation Complete!",
                 std::to_string(outcome.generated) + " invoices were generated. " + std::to_string(outcome.monthly) +
                     " Monthly Setups and " + std::to_string(outcome.daily) + " Daily Setups.",
                 platform::Icon::kInformation);
}

RepeatOutcome CreateRepeatInvoices(const files::Services& services, InvoiceFiles& files,
                                   const std::vector<DueMaster>& due, const RepeatRun& run,
                                   const std::function<void(std::size_t done)>& step) {
  RepeatOutcome outcome;
  if (!FullDate(run.invoiceDate, services.session.DateOrder())) {
    RefuseEntry(services.dialogs, kRunCaption, kInvalidDate);
    return outcome;
  }
  outcome.ran = true;
  MasterRun master(services, files, run, outcome);
  for (std::size_t done = 0; done < due.size(); ++done) {
    master.Generate(due[done]);
    if (step) step(done + 1);
  }
  CloseRun(services, run, outcome);
  return outcome;
}

}  // namespace invoicing
