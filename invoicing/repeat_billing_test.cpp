#include "invoicing/repeat_billing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "books/invoice_records.h"
#include "engine/test_support.h"
#include "files/company_files.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/testing/books_fixture.h"
#include "platform/testing/scripted_dialogs.h"

namespace invoicing {
namespace {

using Texts = std::vector<std::string>;
using model::Date;
using model::DateOrder;
using testing::M;

const GridLine kBlueWidgets{"BW-1", "2", "Blue widget", "12.50", "Y", "25.00"};
const GridLine kServiceVisit{"SV", "1", "Monthly service visit", "1,250.00", "N", "1,250.00"};

model::TransactionRecord MasterRecord(std::string_view count, std::string_view cycle, std::string_view interval,
                                      std::string_view nextDue) {
  model::TransactionRecord master{};
  master.InvoiceNo = "1043";
  master.TransType = "R";
  master.RepeatCount = count;
  master.RepeatCycle = cycle;
  master.RepeatInterval = interval;
  master.NextDueDate = nextDue;
  return master;
}

// The next due dates a master stores over `runs` runs, starting from `nextDue`.
Texts DueDatesOver(int runs, std::string_view cycle, std::string_view interval, std::string_view nextDue) {
  model::TransactionRecord master = MasterRecord("0", cycle, interval, nextDue);
  Texts dates;
  for (int run = 0; run < runs; ++run) {
    master = AdvancedMaster(master);
    dates.push_back(master.NextDueDate.str());
  }
  return dates;
}

// --- The schedule ------------------------------------------------------------------

TEST(RepeatScheduleTest, MonthlyFromTheLastDayKeepsTheDayFebruaryLeft) {
  struct Case {
    const char* name;
    const char* interval;
    const char* from;
    Texts expected;
  };
  const Case cases[] = {
      {"normal February, then the 28th", "1", "01/31/2027", {"02/28/2027", "03/28/2027", "04/28/2027"}},
      {"leap February, then the 29th", "1", "01/31/2028", {"02/29/2028", "03/29/2028", "04/29/2028"}},
      {"century not leap", "1", "01/31/2100", {"02/28/2100"}},
      {"four hundred years leap", "1", "01/31/2000", {"02/29/2000"}},
      {"quarterly across the year end", "3", "11/30/2026", {"02/28/2027", "05/28/2027", "08/28/2027"}},
      {"quarterly from mid-month", "3", "12/15/2026", {"03/15/2027", "06/15/2027"}},
      {"yearly from a leap day", "12", "02/29/2028", {"02/28/2029"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DueDatesOver(static_cast<int>(c.expected.size()), "M", c.interval, c.from), c.expected) << c.name;
  }
}

TEST(RepeatScheduleTest, AnyCycleButMonthsCountsDays) {
  EXPECT_EQ(DueDatesOver(2, "D", "14", "12/25/2026"), (Texts{"01/08/2027", "01/22/2027"}));
  EXPECT_EQ(DueDatesOver(1, "X", "1", "02/28/2028"), Texts{"02/29/2028"});
  EXPECT_EQ(DueDatesOver(1, "", "30", "01/31/2027"), Texts{"03/02/2027"});
  EXPECT_EQ(DueDatesOver(1, "m", "1", "01/31/2027"), Texts{"02/28/2027"});
}

TEST(RepeatScheduleTest, ScheduleThatDoesNotReadIsNoSchedule) {
  EXPECT_FALSE(ScheduleOf(MasterRecord("0", "M", "0", "01/31/2027")));
  EXPECT_FALSE(ScheduleOf(MasterRecord("0", "M", "1x", "01/31/2027")));
  EXPECT_FALSE(ScheduleOf(MasterRecord("0", "M", "1", "31/01/2027")));
  EXPECT_FALSE(ScheduleOf(MasterRecord("0", "M", "1", "")));
  const std::optional<RepeatSchedule> schedule = ScheduleOf(MasterRecord("0", "D", " 7 ", "01/31/2027"));
  ASSERT_TRUE(schedule);
  EXPECT_EQ(schedule->interval, 7);
  EXPECT_FALSE(schedule->months);
  EXPECT_EQ(schedule->nextDue, (Date{2027, 1, 31}));
}

TEST(RepeatScheduleTest, AdvancingRaisesTheCountAndNumbersTheInvoice) {
  const model::TransactionRecord advanced = AdvancedMaster(MasterRecord("", "M", "1", "12/08/2026"));
  EXPECT_EQ(advanced.RepeatCount.str() + "|" + advanced.NextDueDate.str(), "1|01/08/2027");
  EXPECT_EQ(GeneratedInvoiceNumber(advanced), "1043G1");
  EXPECT_EQ(GeneratedInvoiceNumber(AdvancedMaster(MasterRecord("998", "M", "1", "12/08/2026"))), "1043G999");
}

// The count is 3 characters: a master at 999 would number its next invoice 1043G100
// once stored, the number of its hundredth.
TEST(RepeatScheduleTest, MasterThatCannotNumberAnotherInvoiceIsRefused) {
  EXPECT_FALSE(GenerationRefusal(MasterRecord("998", "M", "1", "12/08/2026")));
  const std::optional<std::string> full = GenerationRefusal(MasterRecord("999", "M", "1", "12/08/2026"));
  ASSERT_TRUE(full);
  EXPECT_EQ(*full, "No invoice was created from master 1043: it has created 999 invoices, as many as its count can "
                   "hold, and another would repeat an earlier invoice number. Set up a new master to go on billing.");

  model::TransactionRecord longNumber = MasterRecord("99", "M", "1", "12/08/2026");
  longNumber.InvoiceNo = "2026A";
  EXPECT_FALSE(GenerationRefusal(longNumber));  // 2026AG100 fits
  longNumber.InvoiceNo = "2026AB";              // renamed after set-up
  EXPECT_TRUE(GenerationRefusal(longNumber));
  EXPECT_TRUE(GenerationRefusal(MasterRecord("x", "M", "1", "12/08/2026")));
  EXPECT_TRUE(GenerationRefusal(MasterRecord("1", "M", "", "12/08/2026")));
}

// --- Set-up ------------------------------------------------------------------------

TEST(RepeatSetupTest, InvoiceStartsMonthlyAMonthAfterItsDateWithTheBoxClear) {
  model::TransactionRecord invoice{};
  invoice.TransType = "I";
  invoice.TransDate = "31/01/2028";
  const RepeatSetupState state = RepeatSetupStateOf(invoice, {2026, 12, 8}, DateOrder::kDayFirst);
  EXPECT_FALSE(state.generate);
  EXPECT_TRUE(state.generateEnabled);
  EXPECT_TRUE(state.generatePanelShown);
  EXPECT_EQ(state.interval + "|" + state.nextDate + "|" + state.generatedText, "1|29/02/2028|");
  EXPECT_TRUE(state.months);

  invoice.TransDate = "";  // no date of its own: a month from today
  EXPECT_EQ(RepeatSetupStateOf(invoice, {2026, 12, 8}, DateOrder::kMonthFirst).nextDate, "01/08/2027");
}

TEST(RepeatSetupTest, MasterShowsItsScheduleDayFirstAndHowManyItCreated) {
  const RepeatSetupState fresh = RepeatSetupStateOf(MasterRecord("0", "D", "14", "01/31/2027"), {2030, 1, 1},
                                                    DateOrder::kDayFirst);
  EXPECT_TRUE(fresh.generate);
  EXPECT_FALSE(fresh.generateEnabled);
  EXPECT_TRUE(fresh.generatePanelShown);
  EXPECT_FALSE(fresh.months);
  EXPECT_EQ(fresh.interval + "|" + fresh.nextDate + "|" + fresh.generatedText, "14|31/01/2027|");

  const RepeatSetupState used = RepeatSetupStateOf(MasterRecord("12", "M", "1", "01/31/2027"), {2030, 1, 1},
                                                   DateOrder::kMonthFirst);
  EXPECT_TRUE(used.months);
  EXPECT_FALSE(used.generatePanelShown);
  EXPECT_EQ(used.nextDate + "|" + used.generatedText, "01/31/2027|Invoices Generated to Date: 12");
}

TEST(RepeatSetupTest, OkChecksComeInOrderAndSayWhereToCorrect) {
  struct Case {
    const char* name;
    RepeatSetupEntry entry;
    const char* caption;
    const char* text;
    RepeatSetupField focus;
  };
  const char* kMissing = "You must enter the number of days/months in order to generate invoices.";
  const Case cases[] = {
      {"blank interval before a bad date", {true, "  ", true, "99/99/9999"}, "Number of Days/Months", kMissing,
       RepeatSetupField::kInterval},
      {"letters", {true, "1a", true, "01/31/2027"}, "Number of Days/Months",
       "You must enter a valid NUMBER of days/months.", RepeatSetupField::kInterval},
      {"decimal", {true, "1.5", true, "01/31/2027"}, "Number of Days/Months",
       "You must enter a valid NUMBER of days/months.", RepeatSetupField::kInterval},
      {"zero", {true, "0", true, "01/31/2027"}, "Number of Days/Months", kMissing, RepeatSetupField::kInterval},
      {"below zero", {true, "-2", true, "01/31/2027"}, "Number of Days/Months", kMissing,
       RepeatSetupField::kInterval},
      {"no such day", {true, "1", true, "31/02/2027"}, "Start Date", "You must enter a valid date.",
       RepeatSetupField::kNextDate},
      {"short date", {true, "1", true, "1/31/2027"}, "Start Date", "You must enter a valid date.",
       RepeatSetupField::kNextDate},
      {"empty mask", {true, "1", true, "  /  /    "}, "Start Date", "You must enter a valid date.",
       RepeatSetupField::kNextDate},
  };
  for (const Case& c : cases) {
    platform::testing::ScriptedDialogs dialogs;
    RepeatSetupField focus = RepeatSetupField::kInterval;
    EXPECT_FALSE(CheckRepeatSetup(c.entry, DateOrder::kDayFirst, dialogs, focus)) << c.name;
    ASSERT_EQ(dialogs.Log().size(), 1u) << c.name;
    EXPECT_EQ(dialogs.Log()[0].caption, c.caption) << c.name;
    EXPECT_EQ(dialogs.Log()[0].text, c.text) << c.name;
    EXPECT_EQ(focus, c.focus) << c.name;
  }
}

TEST(RepeatSetupTest, AcceptedEntryIsTheScheduleReadInTheCompanysOrder) {
  platform::testing::ScriptedDialogs dialogs;
  RepeatSetupField focus = RepeatSetupField::kInterval;
  const std::optional<RepeatSchedule> schedule =
      CheckRepeatSetup({true, " 3 ", false, "31/01/2027"}, DateOrder::kDayFirst, dialogs, focus);
  ASSERT_TRUE(schedule);
  EXPECT_EQ(schedule->interval, 3);
  EXPECT_FALSE(schedule->months);
  EXPECT_EQ(schedule->nextDue, (Date{2027, 1, 31}));
  EXPECT_TRUE(dialogs.Log().empty());
}

// --- Search and create on a company's files ----------------------------------------

class RepeatBillingTest : public testing::BooksFixture {
 protected:
  // An invoice of customer `customer` made a master on `schedule`; its slot.
  files::RecordNumber AddMaster(InvoiceForm form, const RepeatSchedule& schedule) {
    const AddOutcome added = Add(form);
    EXPECT_TRUE(added.added);
    EXPECT_TRUE(StoreRepeatMaster(services_, files_, added.number, added.header, schedule));
    return added.number;
  }
  files::RecordNumber AddMaster(std::string_view number, const RepeatSchedule& schedule,
                                std::string_view net = "100.00", std::string_view customer = "10") {
    return AddMaster(Form(number, 0, net, "0.00", customer), schedule);
  }
  // 1,275.00 over two lines, 2.00 tax.
  InvoiceForm LineItemForm(std::string_view number) {
    InvoiceForm form = Form(number, 0, "1,275.00", "0.00");
    form.tax = "2.00";
    form.total = "1,277.00";
    form.Line(1) = kBlueWidgets;
    form.Line(2) = kServiceVisit;
    return form;
  }
  InvoiceForm MemoForm(std::string_view number) {
    InvoiceForm form = Form(number, 0, "300.00", "0.00", "20");
    form.kind = InvoiceKind::kMemo;
    form.memo = "Window cleaning, all floors\nParking garage included";
    form.memoDescription = "Cleaning";
    return form;
  }

  RepeatSearch Search(std::string_view through) { return SearchRepeatBillings(services_, transactions_, through); }
  RepeatOutcome Create(const RepeatSearch& search, std::string_view date = "12/08/2026",
                       std::string_view reference = kDefaultRepeatReference) {
    return CreateRepeatInvoices(services_, files_, search.due, {std::string(date), std::string(reference)});
  }
  RepeatOutcome SearchAndCreate(std::string_view through) { return Create(Search(through), through); }

  model::TransactionRecord Invoice(std::string_view number) {
    const auto found = FindInvoice(transactions_, number);
    EXPECT_TRUE(found) << number;
    return found ? found->record : model::TransactionRecord{};
  }
  std::string Schedule(std::string_view number) {
    const model::TransactionRecord m = Invoice(number);
    return m.TransType.str() + "|" + m.NextDueDate.str() + "|" + m.RepeatCount.str();
  }
  std::vector<model::DetailRecord> LinesOf(std::string_view number) {
    std::vector<model::DetailRecord> lines;
    for (const auto& row : books::LinesOfInvoice(details_, Invoice(number))) lines.push_back(row.record);
    return lines;
  }
  Texts Numbers(const RepeatSearch& search) {
    Texts numbers;
    for (const DueMaster& due : search.due) numbers.push_back(due.master.record.InvoiceNo.str());
    return numbers;
  }
};

TEST_F(RepeatBillingTest, SearchListsMastersDueOnOrBeforeTheDateOnceEach) {
  AddMaster("1001", {1, true, {2026, 12, 7}}, "1,200.00");
  AddMaster("1002", {1, true, {2026, 12, 8}});  // due on the search date itself
  AddMaster("1003", {1, true, {2026, 12, 9}});
  AddMaster("1004", {1, true, {2026, 9, 8}}, "50.00", "20");  // three months behind
  Add(Form("1005", 0, "75.00", "0.00"));                      // an invoice, due or not

  const RepeatSearch search = Search("12/08/2026");
  EXPECT_TRUE(search.searched);
  EXPECT_EQ(Numbers(search), (Texts{"1001", "1002", "1004"}));
  EXPECT_EQ(DueMasterLine(search.due[0]), "1001      Short 10       1,200.00 12/07/2026 10            0");
  EXPECT_EQ(DueMasterLine(search.due[2]), "1004      Short 20          50.00 09/08/2026 20            0");
  EXPECT_EQ(DueListHeading(), "Master#   Short Name Invoice Total Next Due  Customer# Created");
  EXPECT_EQ(search.status, "There are 3 invoices selected totaling 1,350.00.");
  TellWhenNothingDue(search, dialogs_);
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(RepeatBillingTest, DayFirstCompanyComparesAndShowsDayFirstButStoresMonthFirst) {
  session_.CurrentCompany.DateOrder = "D";
  WriteCompany();
  AddMaster("1001", {1, true, {2026, 12, 8}});
  AddMaster("1002", {1, true, {2026, 12, 9}});

  // 08/12 is December 8: read month first it would be August 12 and list nothing.
  const RepeatSearch search = Search("08/12/2026");
  ASSERT_EQ(Numbers(search), Texts{"1001"});
  EXPECT_EQ(search.due[0].dueShown, "08/12/2026");
  Create(search, "08/12/2026");
  EXPECT_EQ(Schedule("1001"), "R|01/08/2027|1");
  const model::TransactionRecord g = Invoice("1001G1");
  EXPECT_EQ(g.TransDate.str() + "|" + g.DateMonth.str() + "|" + g.DateDay.str() + "|" + g.SortDate.str(),
            "08/12/2026|12|08|2026/12/08");
  EXPECT_EQ(Listed().LastRepeatDate.str(), "08/12/2026");
}

TEST_F(RepeatBillingTest, NothingDueIsToldAndADateThatDoesNotReadSearchesNothing) {
  AddMaster("1001", {1, true, {2026, 12, 9}});
  const RepeatSearch none = Search("12/08/2026");
  EXPECT_TRUE(none.due.empty());
  EXPECT_EQ(none.status, "There are 0 invoices selected totaling 0.00.");
  TellWhenNothingDue(none, dialogs_);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Repeat Billings");
  EXPECT_EQ(dialogs_.Log()[0].text, "There are no repeat billings due through the date you selected.");
  EXPECT_EQ(dialogs_.Log()[0].icon, platform::Icon::kInformation);

  const RepeatSearch bad = Search("12/  /2026");
  EXPECT_FALSE(bad.searched);
  EXPECT_EQ(dialogs_.Texts().back(), "You must enter a valid date.");
}

TEST_F(RepeatBillingTest, CreateFilesTheInvoiceWithItsLinesAndPostsItByAge) {
  const files::RecordNumber slot = AddMaster(LineItemForm("1043"), {1, true, {2026, 11, 30}});
  Add(Form("1044", 0, "50.00", "0.00", "20"));
  const model::TransactionRecord before = Stored(slot);
  ExpectBooksBalance("50.00");

  // Dated 40 days back: the new invoice ages into 31-60.
  const std::string reference = "December service contract, second site of three";
  const RepeatOutcome outcome = Create(Search("12/08/2026"), "10/29/2026", reference);

  EXPECT_EQ(outcome.generated, 1);
  EXPECT_EQ(outcome.total, M("1277.00"));
  const model::TransactionRecord g = Invoice("1043G1");
  EXPECT_EQ(g.InvoiceNo.str() + "|" + g.TransType.str() + "|" + g.CustNo.str() + "|" + g.ShortName.str() + "|" +
                g.CompanyNo.str() + "|" + g.KeyCode.str() + "|" + g.Terms.str() + "|" + g.BodyStyle.str(),
            "1043G1|G|10|Short 10|1|None|Net 30 Days|P");
  EXPECT_EQ(g.TransDate.str() + "|" + g.DateMonth.str() + "|" + g.DateDay.str() + "|" + g.DateYear.str() + "|" +
                g.SortDate.str() + "|" + g.PrintedFlag.str(),
            "10/29/2026|10|29|2026|2026/10/29|N");
  EXPECT_EQ(g.InvNotes.str(), reference);
  EXPECT_EQ(g.StatementNote.str(), reference.substr(0, 35));
  EXPECT_EQ(g.NetAmount.str() + "|" + g.TaxAmount.str() + "|" + g.TotalAmount.str() + "|" + g.PaidAmount.str() + "|" +
                g.BalanceDue.str() + "|" + g.PaidFlag.str(),
            "1275.00|2.00|1277.00|0.00|1277.00|");
  EXPECT_EQ(g.RepeatCycle.str() + "|" + g.NextDueDate.str() + "|" + g.RepeatInterval.str() + "|" +
                g.RepeatCount.str(),
            "M|12/30/2026|1|1");

  const std::vector<model::DetailRecord> master = LinesOf("1043");
  const std::vector<model::DetailRecord> copies = LinesOf("1043G1");
  ASSERT_EQ(copies.size(), 2u);
  for (std::size_t i = 0; i < copies.size(); ++i) {
    EXPECT_EQ(copies[i].LineText.str(), master[i].LineText.str());
    EXPECT_EQ(copies[i].ProductCode.str(), master[i].ProductCode.str());
    EXPECT_EQ(copies[i].BodyStyle.str() + "|" + copies[i].SortDate.str() + "|" + copies[i].InvoiceNo.str(),
              "G|2026/10/29|1043G1");
    EXPECT_EQ(master[i].BodyStyle.str() + "|" + master[i].InvoiceNo.str(), "R|1043");
  }

  model::TransactionRecord moved = before;
  moved.NextDueDate = "12/30/2026";
  moved.RepeatCount = "1";
  const model::TransactionRecord after = Stored(slot);
  EXPECT_EQ(std::memcmp(&after, &moved, sizeof after), 0) << "only the due date and count change";

  EXPECT_EQ(Aging("10"), "1277.00 = 0.00 1277.00 0.00 0.00");
  EXPECT_EQ(WithCustomer("10").LastInvoiceNo.str(), "1043G1");
  EXPECT_EQ(Listed().LastRepeatDate.str(), "10/29/2026");
  EXPECT_EQ(session_.CurrentCompany.LastRepeatDate.str(), "10/29/2026");
  ExpectBooksBalance("1327.00");
  EXPECT_TRUE(dialogs_.Log().empty());

  TellRunComplete(outcome, dialogs_);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Operation Complete!");
  EXPECT_EQ(dialogs_.Log()[0].text, "1 invoices were generated. 1 Monthly Setups and 0 Daily Setups.");
}

TEST_F(RepeatBillingTest, MemoMasterTakesItsMemoAlongAndDailyMastersAreCountedApart) {
  AddMaster(MemoForm("1050"), {14, false, {2026, 12, 1}});
  AddMaster("1051", {1, true, {2026, 12, 8}});

  const RepeatOutcome outcome = SearchAndCreate("12/08/2026");
  EXPECT_EQ(outcome.generated, 2);
  EXPECT_EQ(outcome.monthly, 1);
  EXPECT_EQ(outcome.daily, 1);
  EXPECT_EQ(Schedule("1050"), "R|12/15/2026|1");
  EXPECT_EQ(Schedule("1051"), "R|01/08/2027|1");

  const auto memo = books::MemoOfInvoice(memos_, Invoice("1050G1"));
  ASSERT_TRUE(memo);
  EXPECT_EQ(memo->record.MemoLine[0].str() + "|" + memo->record.MemoLine[1].str(),
            "Window cleaning, all floors|Parking garage included");
  EXPECT_EQ(Invoice("1050G1").BodyStyle.str(), "M");
  ASSERT_EQ(LinesOf("1050G1").size(), 1u);
  EXPECT_EQ(LinesOf("1050G1")[0].BodyStyle.str(), "G");
  EXPECT_TRUE(books::MemoOfInvoice(memos_, Invoice("1050")));

  EXPECT_EQ(Aging("20"), "300.00 = 300.00 0.00 0.00 0.00");
  ExpectBooksBalance("400.00");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(RepeatBillingTest, MasterSeveralIntervalsBehindYieldsOneInvoicePerRun) {
  AddMaster("1001", {1, true, {2026, 10, 31}});

  EXPECT_EQ(SearchAndCreate("12/08/2026").generated, 1);
  EXPECT_EQ(Schedule("1001"), "R|11/30/2026|1");
  EXPECT_EQ(SearchAndCreate("12/08/2026").generated, 1);
  EXPECT_EQ(Schedule("1001"), "R|12/30/2026|2");
  EXPECT_TRUE(Search("12/08/2026").due.empty());
  EXPECT_EQ(Invoice("1001G2").NextDueDate.str(), "12/30/2026");
  ExpectBooksBalance("200.00");
  EXPECT_EQ(Listed().LastRepeatDate.str(), "12/08/2026");
}

TEST_F(RepeatBillingTest, MasterAtTheLastCountIsRefusedAndLeftAsItWas) {
  const files::RecordNumber full = AddMaster("1001", {1, true, {2026, 12, 1}});
  AddMaster("1002", {1, true, {2026, 12, 1}});
  model::TransactionRecord master = Stored(full);
  master.RepeatCount = "999";
  ASSERT_TRUE(transactions_.Update(full, master));

  const RepeatOutcome outcome = SearchAndCreate("12/08/2026");
  EXPECT_EQ(outcome.generated, 1);
  EXPECT_EQ(dialogs_.Texts(),
            Texts{"No invoice was created from master 1001: it has created 999 invoices, as many as its count can "
                  "hold, and another would repeat an earlier invoice number. Set up a new master to go on billing."});
  const model::TransactionRecord after = Stored(full);
  EXPECT_EQ(std::memcmp(&master, &after, sizeof master), 0);
  EXPECT_FALSE(FindInvoice(transactions_, "1001G100"));
  EXPECT_EQ(Schedule("1002"), "R|01/01/2027|1");
  ExpectBooksBalance("100.00");
}

TEST_F(RepeatBillingTest, InvoiceThatCannotBeAddedLeavesItsMasterWhereItWas) {
  const files::RecordNumber slot = AddMaster("1001", {1, true, {2026, 12, 1}});
  AddMaster("1002", {1, true, {2026, 12, 1}});
  const model::TransactionRecord before = Stored(slot);
  // The slot of a removed record heads the free chain; its link is broken, so the next
  // record cannot be added.
  const RepeatSearch search = Search("12/08/2026");
  files::RecordNumber spare = 0;
  ASSERT_TRUE(transactions_.Add(Stored(slot), spare));
  ASSERT_TRUE(transactions_.Delete(spare, Stored(spare)));
  const std::string data = transactions_.description().name + ".DAT";
  transactions_.Close();
  std::vector<std::uint8_t> bytes = engine::testing::ReadBytes(data);
  const std::size_t link = static_cast<std::size_t>(spare) * sizeof(model::TransactionRecord);
  bytes.at(link) = 0x7F;
  engine::testing::WriteBytes(data, bytes);
  ASSERT_TRUE(transactions_.Open());

  const RepeatOutcome outcome = Create(search);
  EXPECT_EQ(outcome.generated, 0);
  EXPECT_EQ(dialogs_.Texts(),
            (Texts{"Adding repeat header failed for master 1001. The master was not moved on.",
                   "Adding repeat header failed for master 1002. The master was not moved on."}));
  const model::TransactionRecord after = Stored(slot);
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  EXPECT_EQ(Schedule("1002"), "R|12/01/2026|0");
  ExpectBooksBalance("0.00");
}

TEST_F(RepeatBillingTest, NumberAlreadyOnFileOrAMasterChangedSinceTheSearchIsNotRepeated) {
  AddMaster("1001", {1, true, {2026, 12, 1}});
  const files::RecordNumber changed = AddMaster("1002", {1, true, {2026, 12, 1}});
  const RepeatSearch search = Search("12/08/2026");
  Add(Form("1001G1", 0, "10.00", "0.00"));  // typed in by hand
  model::TransactionRecord edited = Stored(changed);
  edited.RepeatInterval = "2";
  ASSERT_TRUE(transactions_.Update(changed, edited));

  EXPECT_EQ(Create(search).generated, 0);
  EXPECT_EQ(dialogs_.Texts(),
            (Texts{"Adding repeat header failed for master 1001: invoice 1001G1 is already on file. The master was "
                   "not moved on.",
                   "Master 1002 has changed or is no longer on file since it was listed. No invoice was created from "
                   "it."}));
  EXPECT_EQ(Schedule("1001"), "R|12/01/2026|0");
  EXPECT_EQ(Schedule("1002"), "R|12/01/2026|0");
  ExpectBooksBalance("10.00");
  // Nothing was generated, yet the run is dated.
  EXPECT_EQ(Listed().LastRepeatDate.str(), "12/08/2026");
}

TEST_F(RepeatBillingTest, InvoiceDateThatDoesNotReadWritesNothing) {
  session_.CurrentCompany.LastRepeatDate = "11/01/2026";
  WriteCompany();
  AddMaster("1001", {1, true, {2026, 12, 1}});
  const RepeatSearch search = Search("12/08/2026");
  EXPECT_FALSE(Create(search, "12/32/2026").ran);
  EXPECT_EQ(dialogs_.Texts(), Texts{"You must enter a valid date."});
  EXPECT_EQ(Schedule("1001"), "R|12/01/2026|0");
  EXPECT_EQ(Listed().LastRepeatDate.str(), "11/01/2026");
  ExpectBooksBalance("0.00");
}

}  // namespace
}  // namespace invoicing
