#include "invoicing/payments.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "invoicing/invoice_manager.h"
#include "invoicing/testing/books_fixture.h"
#include "model/keys.h"

namespace invoicing {
namespace {

using model::Money;
using platform::Answer;
using testing::M;
using Texts = std::vector<std::string>;

// --- Lines and typed amounts -------------------------------------------------------

TEST(PaymentLineTest, ColumnsFollowTheFixedLayout) {
  const struct {
    const char* name;
    PaymentLine line;
    const char* text;
  } cases[] = {
      {"invoice", {"1043", "12/08/26", M("1234.5"), false, {}}, "1043      12/08/26     1,234.50 "},
      {"partial", {"97071043", "08/12/26", M("30"), true, {}}, "97071043  08/12/26        30.00P"},
      {"deposit on file", {"DP12", "12/01/26", M("-50"), false, {}}, "DP12      12/01/26       -50.00 "},
      {"new deposit", {"DEPOSIT", "12/08/26", M("999999.99"), false, {}}, "DEPOSIT   12/08/26   999,999.99 "},
  };
  for (const auto& c : cases) EXPECT_EQ(PaymentLineText(c.line), c.text) << c.name;
  EXPECT_EQ(PaymentListHeading(), "Invoice#  Date           Amount");

  EXPECT_EQ(ShortDate({2026, 12, 8}, model::DateOrder::kMonthFirst), "12/08/26");
  EXPECT_EQ(ShortDate({2005, 3, 1}, model::DateOrder::kDayFirst), "01/03/05");
}

TEST(PaidAmountTest, TypedTextIsCheckedWithItsMessagesInOrder) {
  const struct {
    const char* typed;
    std::optional<Money> amount;
    const char* caption;  // empty: no message
    const char* text;
  } cases[] = {
      {"12.50", M("12.50"), "", ""},
      {" 7 ", M("7"), "", ""},
      {"", std::nullopt, "", ""},
      {"12,50", std::nullopt, "Invalid Payment Amount", "The payment amount must be a numeric value."},
      {"abc", std::nullopt, "Invalid Payment Amount", "The payment amount must be a numeric value."},
      {"1.2.3", std::nullopt, "Invalid Payment Amount", "The payment amount must be a numeric value."},
      {"-5", std::nullopt, "Paid Amount",
       "You should not enter a negative number in the payment box. Create a credit invoice if you are trying to give "
       "the customer credit."},
      {"5-", std::nullopt, "Paid Amount",
       "You should not enter a negative number in the payment box. Create a credit invoice if you are trying to give "
       "the customer credit."},
  };
  for (const auto& c : cases) {
    platform::testing::ScriptedDialogs dialogs;
    PaymentLists lists;
    const PaidAmountTyped typed = TypePaidAmount(lists, c.typed, M("99"), dialogs);
    EXPECT_EQ(typed.amount, c.amount) << c.typed;
    const std::string shown = dialogs.Log().empty() ? "" : dialogs.Log()[0].caption + "|" + dialogs.Log()[0].text;
    EXPECT_EQ(shown, std::string(c.caption).empty() ? "" : std::string(c.caption) + "|" + c.text) << c.typed;
  }
}

TEST(PaidAmountTest, TheWholeBalanceTakesEveryOpenLine) {
  platform::testing::ScriptedDialogs dialogs;
  PaymentLists lists;
  lists.open = {{"1001", "", M("60"), false, {}}, {"1002", "", M("40"), false, {}}};
  EXPECT_FALSE(TypePaidAmount(lists, "99.99", M("100"), dialogs).paysAll);
  EXPECT_EQ(lists.posted.size(), 0u);
  EXPECT_TRUE(TypePaidAmount(lists, "100", M("100"), dialogs).paysAll);
  EXPECT_EQ(lists.open.size(), 0u);
  EXPECT_EQ(lists.posted.size(), 2u);
  EXPECT_TRUE(MayPost(lists, "100"));
  EXPECT_TRUE(dialogs.Log().empty());
}

TEST(PaidAmountTest, PostNeedsPostedLinesThatAddUpToThePaidAmount) {
  PaymentLists lists;
  EXPECT_FALSE(MayPost(lists, "0.00"));
  lists.posted = {{"DP3", "", M("-50"), false, {}}, {"1001", "", M("50"), false, {}}};
  EXPECT_TRUE(MayPost(lists, "0.00"));
  EXPECT_TRUE(MayPost(lists, "0"));
  EXPECT_FALSE(MayPost(lists, ""));
  EXPECT_FALSE(MayPost(lists, "0.01"));
  lists.posted.pop_back();
  EXPECT_FALSE(MayPost(lists, "50.00"));
}

TEST(PartAmountTest, MustBeANumberAboveZeroAndBelowWhatIsDue) {
  const struct {
    const char* typed;
    std::optional<Money> due;  // none: a deposit
    const char* message;       // empty: accepted
  } cases[] = {
      {"99.99", M("100"), ""},
      {"100.00", M("100"), "Partial Payment Amount|The partial payment amount must be less than amount due."},
      {"0.00", M("100"), "Payment Amount|The payment amount must be greater than zero."},
      {"-5", M("100"), "Payment Amount|The payment amount must be greater than zero."},
      {"1,000", M("5000"), "Invalid Payment Amount|The payment amount must be a numeric value."},
      {"25000", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    platform::testing::ScriptedDialogs dialogs;
    const std::optional<Money> amount = CheckPartAmount(c.typed, c.due, dialogs);
    EXPECT_EQ(amount.has_value(), std::string(c.message).empty()) << c.typed;
    const std::string shown = dialogs.Log().empty() ? "" : dialogs.Log()[0].caption + "|" + dialogs.Log()[0].text;
    EXPECT_EQ(shown, c.message) << c.typed;
  }
}

TEST(MoveLinesTest, SelectedLinesMoveInListOrderAndAnEmptyListIsTold) {
  platform::testing::ScriptedDialogs dialogs;
  PaymentLists lists;
  lists.open = {{"1", "", {}, false, {}}, {"2", "", {}, false, {}}, {"3", "", {}, false, {}}};
  EXPECT_TRUE(MoveLines(lists, PaymentList::kOpen, {2, 0}, dialogs));
  ASSERT_EQ(lists.posted.size(), 2u);
  EXPECT_EQ(lists.posted[0].number + lists.posted[1].number + "|" + lists.open[0].number, "13|2");
  EXPECT_TRUE(MoveAllLines(lists, PaymentList::kPosted, dialogs));
  EXPECT_FALSE(MoveLines(lists, PaymentList::kPosted, {0}, dialogs));
  EXPECT_TRUE(MoveAllLines(lists, PaymentList::kOpen, dialogs));
  EXPECT_FALSE(MoveAllLines(lists, PaymentList::kOpen, dialogs));
  EXPECT_EQ(dialogs.Texts(), (Texts{"There are no records to move to the left box.",
                                    "There are no records to move to the right (post) box."}));
  EXPECT_EQ(dialogs.Log()[0].caption, "Payment Wizard");
}

// --- Posting on a company folder ------------------------------------------------------

class PaymentsTest : public testing::BooksFixture {
 protected:
  void AddInvoice(std::string_view number, int daysAgo, std::string_view total, std::string_view paid = "0.00",
                  std::string_view customer = "10") {
    ASSERT_TRUE(Add(Form(number, daysAgo, total, paid, customer)).added);
  }

  // The open list, with the note that follows it, as choosing the customer shows them.
  PaymentLists OpenItems(std::string_view customer = "10") {
    const model::CustomerRecord chosen = WithCustomer(customer);
    PaymentLists lists = ListsForCustomer(transactions_, chosen, session_.DateOrder(), dialogs_);
    NoteWhenNothingIsDue(chosen, dialogs_);
    return lists;
  }
  static PaymentLine Line(const PaymentLists& lists, std::string_view number) {
    for (const PaymentLine& line : lists.open)
      if (line.number == number) return line;
    ADD_FAILURE() << "no open line " << number;
    return {};
  }
  static std::vector<std::string> OpenTexts(const PaymentLists& lists) {
    std::vector<std::string> texts;
    for (const PaymentLine& line : lists.open) texts.push_back(PaymentLineText(line));
    return texts;
  }

  PostOutcome Post(std::string_view paid, std::vector<PaymentLine> lines, int daysAgo = 0,
                   std::string_view notes = "Cheque 10234") {
    return PostPayment(services_, transactions_,
                       {"10", DateAgo(daysAgo), std::string(paid), std::string(notes), std::move(lines)});
  }
  PaymentLine NewDeposit(std::string_view amount) {
    PaymentLists lists;
    AddDepositLine(lists, M(amount), DateAgo(0), session_.DateOrder());
    return lists.posted[0];
  }

  // Every record filed under the number, in slot order.
  std::vector<model::TransactionRecord> Numbered(std::string_view number) {
    std::vector<model::TransactionRecord> records;
    files::Table<model::TransactionRecord>(transactions_).ForEachRecord([&](const auto& row) {
      if (row.record.InvoiceNo.str() == number) records.push_back(row.record);
      return true;
    });
    return records;
  }
  // Type, body style, key code, date, sort date, net, tax, total, paid, balance, paid
  // flag, date paid, statement note, customer, short name, company.
  static std::string Fields(const model::TransactionRecord& r) {
    std::string text;
    for (const std::string& field :
         {r.TransType.str(), r.BodyStyle.str(), r.KeyCode.str(), r.TransDate.str(), r.SortDate.str(),
          r.NetAmount.str(), r.TaxAmount.str(), r.TotalAmount.str(), r.PaidAmount.str(), r.BalanceDue.str(),
          r.PaidFlag.str(), r.PaidSortDate.str(), r.StatementNote.str(), r.CustNo.str(), r.ShortName.str(),
          r.CompanyNo.str()}) {
      text += (text.empty() ? "" : "|") + field;
    }
    return text;
  }
  // Lists invoices 1001 and 1002, lets `meanwhile` act on 1002, and posts both.
  void ExpectRefusedWhenTheSecondInvoiceMeanwhile(
      const std::function<void(const files::Row<model::TransactionRecord>&)>& meanwhile) {
    AddInvoice("1001", 5, "100.00");
    AddInvoice("1002", 5, "40.00");
    const PaymentLists lists = OpenItems();
    meanwhile(*FindInvoice(transactions_, "1002"));
    const std::int32_t records = transactions_.UsedRecords();
    const std::string books = Aging("10") + "|" + Listed().TotalAR.str();

    const PostOutcome outcome = Post("140.00", {Line(lists, "1001"), Line(lists, "1002")});

    EXPECT_EQ(outcome.result, PostResult::kNotPosted);
    EXPECT_EQ(dialogs_.Log().back().caption, "Payment Wizard");
    EXPECT_EQ(dialogs_.Log().back().text,
              "Invoice 1002 has changed or is no longer on file since it was listed. Nothing was posted. Choose the "
              "customer again to list what is open now.");
    EXPECT_EQ(transactions_.UsedRecords(), records);
    EXPECT_EQ(Numbered("1001").at(0).PaidFlag.str(), "");
    EXPECT_EQ(Aging("10") + "|" + Listed().TotalAR.str(), books);
  }

  static std::size_t IndexOf(const PaymentLists& lists, std::string_view number) {
    for (std::size_t i = 0; i < lists.open.size(); ++i)
      if (lists.open[i].number == number) return i;
    ADD_FAILURE() << "no open line " << number;
    return 0;
  }

  std::vector<std::string> FieldsOf(std::string_view number) {
    std::vector<std::string> fields;
    for (const auto& record : Numbered(number)) fields.push_back(Fields(record));
    return fields;
  }
};

TEST_F(PaymentsTest, OpenListHoldsWhatIsUnpaidButNoRepeatMaster) {
  AddInvoice("1001", 45, "100.00");
  AddInvoice("1002", 10, "40.00", "40.00");  // paid at entry
  AddInvoice("1003", 5, "25.00");
  const auto master = FindInvoice(transactions_, "1003").value();
  model::TransactionRecord repeat = master.record;
  repeat.TransType = "R";
  ASSERT_TRUE(transactions_.Update(master.number, repeat));

  EXPECT_EQ(OpenTexts(OpenItems()), Texts{"1001      10/24/26       100.00 "});
  EXPECT_TRUE(dialogs_.Log().empty());

  EXPECT_TRUE(OpenItems("20").open.empty());
  EXPECT_EQ(dialogs_.Log().back().caption, "Please Note");
  EXPECT_EQ(dialogs_.Log().back().text,
            "This customer does not have a balance due. You can only record deposits on account or clear offsetting "
            "invoices and credits.");
}

TEST_F(PaymentsTest, FullPaymentMarksTheInvoicePaidAndLowersTheBooks) {
  AddInvoice("1001", 45, "100.00");
  AddInvoice("1002", 10, "40.00");
  const PaymentLists lists = OpenItems();

  const PostOutcome outcome = Post("100.00", {Line(lists, "1001")});

  EXPECT_EQ(outcome.result, PostResult::kPosted);
  EXPECT_EQ(FieldsOf("1001"), Texts{"I|P|None|10/24/2026|2026/10/24|100.00|0.00|100.00|100.00|0.00|P|2026/12/08|"
                                    "Cheque 10234|10|Short 10|1"});
  EXPECT_EQ(Aging("10"), "40.00 = 40.00 0.00 0.00 0.00");
  EXPECT_EQ(WithCustomer("10").LastPaymentDate.str(), "12/08/2026");
  EXPECT_EQ(transactions_.UsedRecords(), 2);
  ExpectBooksBalance("40.00");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(PaymentsTest, PaymentWithoutANoteKeepsTheInvoicesOwnStatementNote) {
  AddInvoice("1001", 5, "100.00");
  Post("100.00", {Line(OpenItems(), "1001")}, 0, "");
  EXPECT_EQ(Numbered("1001").at(0).StatementNote.str(), "Thank you");
}

TEST_F(PaymentsTest, TwoPartialPaymentsThenTheRestPayTheInvoiceThroughPaymentRecords) {
  AddInvoice("1001", 45, "100.00");
  const std::string invoiceOpen = "|P|None|10/24/2026|2026/10/24|100.00|0.00|100.00|0.00|";
  const std::string x = "X|X|Partial|";
  const std::string payment = "|0.00|0.00|0.00|";
  const std::string by10 = "|P|";
  const std::string tail = "|Cheque 10234|10|Short 10|1";

  for (auto [amount, daysAgo] : {std::pair{"30.00", 20}, std::pair{"10.00", 10}}) {
    PaymentLists lists = OpenItems();
    TakePartialPayment(lists, 0, M(amount));
    ASSERT_EQ(Post(amount, lists.posted, daysAgo).result, PostResult::kPosted);
  }
  EXPECT_EQ(FieldsOf("1001"),
            (Texts{"Z" + invoiceOpen + "60.00|||Thank you|10|Short 10|1",
                   x + "11/18/2026|2026/11/18" + payment + "30.00|0.00" + by10 + "2026/11/18" + tail,
                   x + "11/28/2026|2026/11/28" + payment + "10.00|0.00" + by10 + "2026/11/28" + tail}));
  const PaymentLists rest = OpenItems();
  EXPECT_EQ(OpenTexts(rest), Texts{"1001      10/24/26        60.00P"});
  EXPECT_EQ(Aging("10"), "60.00 = 0.00 60.00 0.00 0.00");
  ExpectBooksBalance("60.00");

  ASSERT_EQ(Post("60.00", rest.open).result, PostResult::kPosted);
  const Texts fields = FieldsOf("1001");
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[0], "Z" + invoiceOpen + "0.00|P|2026/12/08|Thank you|10|Short 10|1");
  EXPECT_EQ(fields[3], x + "12/08/2026|2026/12/08" + payment + "60.00|0.00" + by10 + "2026/12/08" + tail);
  EXPECT_TRUE(OpenItems().open.empty());
  EXPECT_EQ(Aging("10"), "0.00 = 0.00 0.00 0.00 0.00");
  ExpectBooksBalance("0.00");
}

TEST_F(PaymentsTest, PartsOfOneInvoiceInEitherOrderPayExactlyItsBalance) {
  AddInvoice("1001", 5, "100.00");
  PaymentLists lists = OpenItems();
  TakePartialPayment(lists, 0, M("30"));
  MoveLines(lists, PaymentList::kOpen, {0}, dialogs_);
  std::swap(lists.posted[0], lists.posted[1]);  // the rest first, as moving the part back and forth leaves it

  ASSERT_EQ(Post("100.00", lists.posted).result, PostResult::kPosted);
  const std::vector<model::TransactionRecord> records = Numbered("1001");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].TransType.str() + records[0].PaidFlag.str() + records[0].BalanceDue.str(), "ZP0.00");
  EXPECT_EQ(records[1].PaidAmount.str() + "|" + records[2].PaidAmount.str(), "70.00|30.00");
  ExpectBooksBalance("0.00");
}

TEST_F(PaymentsTest, DepositThenItsOffsetAgainstAnInvoiceOfTheSameAmount) {
  AddInvoice("1001", 45, "80.00", "30.00");  // 30.00 paid at entry: 50.00 open
  ASSERT_EQ(Post("50.00", {NewDeposit("50")}).result, PostResult::kPosted);
  EXPECT_EQ(FieldsOf("DP2"), Texts{"D|D|Deposit|12/08/2026|2026/12/08|0.00|0.00|0.00|50.00|-50.00||2026/12/08|"
                                   "Cheque 10234|10|Short 10|1"});
  EXPECT_EQ(Aging("10"), "0.00 = -50.00 50.00 0.00 0.00");
  ExpectBooksBalance("0.00");

  PaymentLists lists = OpenItems();
  EXPECT_EQ(OpenTexts(lists), (Texts{"1001      10/24/26        50.00 ", "DP2       12/08/26       -50.00 "}));
  MoveAllLines(lists, PaymentList::kOpen, dialogs_);
  ASSERT_TRUE(MayPost(lists, "0.00"));
  ASSERT_EQ(Post("0.00", lists.posted, 0, "Offset").result, PostResult::kPosted);

  EXPECT_EQ(FieldsOf("DP2"),
            (Texts{"D|D|Deposit|12/08/2026|2026/12/08|0.00|0.00|0.00|50.00|0.00|P|2026/12/08|Cheque 10234|10|Short 10|1",
                   "T|D|Deposit|12/08/2026|2026/12/08|0.00|0.00|0.00|-50.00|0.00|P|2026/12/08|Offset|10|Short 10|1"}));
  EXPECT_EQ(FieldsOf("1001"),
            (Texts{"Z|P|None|10/24/2026|2026/10/24|80.00|0.00|80.00|30.00|0.00|P|2026/12/08|Thank you|10|Short 10|1",
                   "X|P|None|12/08/2026|2026/12/08|80.00|0.00|0.00|50.00|0.00|P|2026/12/08|Offset|10|Short 10|1"}));
  EXPECT_EQ(Aging("10"), "0.00 = 0.00 0.00 0.00 0.00");
  ExpectBooksBalance("0.00");
  // Listing a customer whose deposit covers what it owes says so.
  EXPECT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log().back().caption, "Please Note");
}

TEST_F(PaymentsTest, DepositNumbersNeverRepeatOneOnFile) {
  AddInvoice("1001", 5, "100.00");
  AddInvoice("1002", 5, "40.00");
  ASSERT_EQ(Post("10.00", {NewDeposit("10")}).result, PostResult::kPosted);
  EXPECT_EQ(Numbered("DP3").size(), 1u);
  // One record fewer: the count alone would name the next deposit DP3 again.
  dialogs_.Answer(Answer::kYes);
  ASSERT_TRUE(DeleteInvoice(services_, files_, FindInvoice(transactions_, "1002")->number,
                            FindInvoice(transactions_, "1002")->record)
                  .deleted);

  ASSERT_EQ(Post("30.00", {NewDeposit("10"), NewDeposit("20")}).result, PostResult::kPosted);
  EXPECT_EQ(Numbered("DP3").size(), 1u);
  EXPECT_EQ(Numbered("DP4").at(0).PaidAmount.str() + "|" + Numbered("DP5").at(0).PaidAmount.str(), "10.00|20.00");
  ExpectBooksBalance("60.00");
}

TEST_F(PaymentsTest, InvoiceDeletedSinceListedStopsThePostingBeforeAnyWrite) {
  ExpectRefusedWhenTheSecondInvoiceMeanwhile([this](const files::Row<model::TransactionRecord>& row) {
    dialogs_.Answer(Answer::kYes);
    ASSERT_TRUE(DeleteInvoice(services_, files_, row.number, row.record).deleted);
  });
}

TEST_F(PaymentsTest, InvoiceChangedSinceListedStopsThePostingBeforeAnyWrite) {
  ExpectRefusedWhenTheSecondInvoiceMeanwhile([this](const files::Row<model::TransactionRecord>& row) {
    model::TransactionRecord changed = row.record;
    changed.KeyCode = "RUSH";
    ASSERT_TRUE(transactions_.Update(row.number, changed));
  });
}

TEST_F(PaymentsTest, FailureAfterTheFirstWriteIsToldWithWhatWasAndWasNotPosted) {
  AddInvoice("1001", 5, "100.00");
  AddInvoice("1002", 5, "40.00");
  PaymentLists lists = OpenItems();
  TakePartialPayment(lists, IndexOf(lists, "1002"), M("10"));
  const std::vector<PaymentLine> posted = {Line(lists, "1001"), lists.posted[0]};
  bool badDate = false;
  const std::optional<PaymentPlan> plan =
      PlanPayment(services_, transactions_, {"10", DateAgo(0), "110.00", "", posted}, badDate);
  ASSERT_TRUE(plan);
  // Between the checks and the writes the second invoice changes.
  const auto second = FindInvoice(transactions_, "1002").value();
  model::TransactionRecord changed = second.record;
  changed.InvNotes = "changed elsewhere";
  ASSERT_TRUE(transactions_.Update(second.number, changed));

  const PostOutcome outcome = WritePayment(services_, transactions_, *plan);

  EXPECT_EQ(outcome.result, PostResult::kPostedInPart);
  EXPECT_EQ(outcome.posted, M("100"));
  EXPECT_EQ(dialogs_.Texts(), (Texts{"The record has changed in the meantime.", "Adding partial pmt failed.",
                                     "The payment was not posted in full.\n"
                                     "Posted: invoice 1001 (100.00).\n"
                                     "Not posted: partial payment on invoice 1002 (10.00).\n"
                                     "The customer's balance was lowered by 100.00.\n"
                                     "The A/R total was lowered by 100.00."}));
  // The partial payment's record was taken back with its line.
  EXPECT_EQ(Numbered("1002").size(), 1u);
  EXPECT_EQ(Numbered("1001").at(0).PaidFlag.str(), "P");
  ExpectBooksBalance("40.00");
}

TEST_F(PaymentsTest, InvalidPaymentDateStopsBeforeAnything) {
  AddInvoice("1001", 5, "100.00");
  const PostOutcome outcome = PostPayment(services_, transactions_,
                                          {"10", "13/45/2026", "100.00", "", {Line(OpenItems(), "1001")}});
  EXPECT_TRUE(outcome.badDate);
  EXPECT_EQ(dialogs_.Log().back().caption, "Payment Date");
  EXPECT_EQ(dialogs_.Log().back().text,
            "You have an invalid payment date. You can clear the date and then select the calendar button.");
  ExpectBooksBalance("100.00");
}

}  // namespace
}  // namespace invoicing
