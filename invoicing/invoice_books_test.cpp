#include "invoicing/invoice_books.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

#include "books/invoice_records.h"
#include "books/posting.h"
#include "engine/test_support.h"
#include "files/table.h"
#include "invoicing/testing/books_fixture.h"
#include "model/field_values.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/customers.h"

namespace invoicing {
namespace {

const std::string kBalanceNote =
    " Note the invoice number: the balance differs from the customer's invoices by its amount.";
const std::string kTotalNote = " Note the invoice number: the total differs from the customer balances by its amount.";

using model::Money;
using platform::Answer;
using Texts = std::vector<std::string>;

using testing::kToday;
using testing::M;

const GridLine kBlueWidgets{"BW-1", "2", "Blue widget", "12.50", "Y", "25.00"};
const GridLine kRedWidgets{"RW-7", "1,000", "Red widget, boxed", "1.25", "N", "1,250.00"};
const GridLine kDeliveryNote{"", " ", "Delivered Tuesday", "", " ", "0.00"};
const std::string kBlueWidgetsText = "2         Blue widget                     12.50     Y25.00     ";
const std::string kRedWidgetsText = "1000      Red widget, boxed               1.25      N1250.00   ";
const std::string kDeliveryNoteText = "          Delivered Tuesday                          0.00      ";

class InvoiceBooksTest : public testing::BooksFixture {
 protected:
  InvoiceForm MemoForm(std::string_view number, std::string_view memo) {
    InvoiceForm form = Form(number, 0, "300.00", "0.00");
    form.kind = InvoiceKind::kMemo;
    form.memo = memo;
    form.memoDescription = "Consulting";
    form.memoQuantity = "3";
    return form;
  }
  // 1,275.00 net + 2.00 tax over three lines.
  InvoiceForm WidgetForm(std::string_view number, int daysAgo, std::string_view paid) {
    InvoiceForm form = Form(number, daysAgo, "1,275.00", paid);
    form.tax = "2.00";
    form.total = "1,277.00";
    form.Line(1) = kBlueWidgets;
    form.Line(2) = kRedWidgets;
    form.Line(4) = kDeliveryNote;
    return form;
  }

  EditOutcome Edit(files::RecordNumber number, const std::function<void(InvoiceForm&)>& change) {
    const model::TransactionRecord snapshot = Stored(number);
    EditForm edit = FormOfInvoice(services_, files_, snapshot);
    change(edit.form);
    return EditInvoice(services_, files_, number, snapshot, edit);
  }
  DeleteOutcome Delete(files::RecordNumber number) {
    dialogs_.Answer(Answer::kYes);
    return DeleteInvoice(services_, files_, number, Stored(number));
  }

  static model::TransactionRecord Numbered(std::string_view invoiceNo) {
    model::TransactionRecord probe{};
    probe.InvoiceNo = invoiceNo;
    return probe;
  }
  std::vector<model::DetailRecord> Lines(std::string_view invoiceNo) {
    std::vector<model::DetailRecord> lines;
    for (const auto& row : books::LinesOfInvoice(details_, Numbered(invoiceNo))) lines.push_back(row.record);
    return lines;
  }
  Texts LineTexts(std::string_view invoiceNo) {
    Texts texts;
    for (const auto& line : Lines(invoiceNo)) texts.push_back(line.LineText.str());
    return texts;
  }
  std::optional<model::MemoRecord> Memo(std::string_view invoiceNo) {
    const auto found = books::MemoOfInvoice(memos_, Numbered(invoiceNo));
    return found ? std::optional(found->record) : std::nullopt;
  }

  bool MakeRepeatMaster(files::RecordNumber number, RepeatSchedule schedule = {1, true, {2027, 1, 31}}) {
    return StoreRepeatMaster(services_, files_, number, Stored(number), schedule);
  }
};

// --- Repeat master ------------------------------------------------------------------------

TEST_F(InvoiceBooksTest, InvoiceMadeARepeatMasterLeavesTheReceivablesOnce) {
  const AddOutcome added = Add(WidgetForm("1043", 40, "0.00"));
  Add(Form("1044", 0, "50.00", "0.00"));
  ExpectBooksBalance("1327.00");

  ASSERT_TRUE(MakeRepeatMaster(added.number, {14, false, {2027, 1, 5}}));
  model::TransactionRecord m = Stored(added.number);
  EXPECT_EQ(m.TransType.str() + "|" + m.RepeatInterval.str() + "|" + m.RepeatCycle.str() + "|" +
                m.RepeatCount.str() + "|" + m.NextDueDate.str() + "|" + m.BalanceDue.str() + "|" + m.TotalAmount.str(),
            "R|14|D|0|01/05/2027|0.00|1277.00");
  EXPECT_EQ(Aging("10"), "50.00 = 50.00 0.00 0.00 0.00");
  ExpectBooksBalance("50.00");
  // Its lines are a template now, which the sales report leaves out.
  ASSERT_EQ(Lines("1043").size(), 3u);
  for (const auto& line : Lines("1043")) EXPECT_EQ(line.BodyStyle.str(), "R");

  // Changing the schedule of a master that has made invoices keeps its count and
  // takes nothing off the books a second time.
  m.RepeatCount = "3";
  ASSERT_TRUE(transactions_.Update(added.number, m));
  session_.CurrentCompany.DateOrder = "D";
  ASSERT_TRUE(MakeRepeatMaster(added.number, {2, true, {2027, 2, 28}}));
  m = Stored(added.number);
  EXPECT_EQ(m.RepeatInterval.str() + "|" + m.RepeatCycle.str() + "|" + m.RepeatCount.str() + "|" + m.NextDueDate.str(),
            "2|M|3|02/28/2027");
  ExpectBooksBalance("50.00");
  EXPECT_TRUE(dialogs_.Log().empty());
}

// --- Add ---------------------------------------------------------------------------------

TEST_F(InvoiceBooksTest, AddedInvoiceIsFiledWithItsLinesAndPostedToTheBooks) {
  const AddOutcome added = Add(WidgetForm("1043", 0, "77.00"));

  EXPECT_EQ(added.status, "Added invoice 1043 containing 3 line item(s).");
  const model::TransactionRecord h = Stored(added.number);
  EXPECT_EQ(std::memcmp(&h, &added.header, sizeof h), 0);
  EXPECT_EQ(h.InvoiceNo.str() + "|" + h.TransType.str() + "|" + h.TransDate.str() + "|" + h.DateMonth.str() + "|" +
                h.DateDay.str() + "|" + h.DateYear.str() + "|" + h.SortDate.str(),
            "1043|I|12/08/2026|12|08|2026|2026/12/08");
  EXPECT_EQ(h.InvNotes.str() + "|" + h.Terms.str() + "|" + h.StatementNote.str() + "|" + h.CustNo.str() + "|" +
                h.ShortName.str() + "|" + h.KeyCode.str() + "|" + h.CompanyNo.str() + "|" + h.BodyStyle.str(),
            "PO 5521|Net 30 Days|Thank you|10|Short 10|None|1|P");
  EXPECT_EQ(h.NetAmount.str() + "|" + h.TaxAmount.str() + "|" + h.TotalAmount.str() + "|" + h.PaidAmount.str() +
                "|" + h.BalanceDue.str() + "|" + h.PaidFlag.str() + "|" + h.PaidSortDate.str(),
            "1275.00|2.00|1277.00|77.00|1200.00||");
  EXPECT_EQ(LineTexts("1043"), (Texts{kBlueWidgetsText, kRedWidgetsText, kDeliveryNoteText}));
  const model::DetailRecord d = Lines("1043").front();
  EXPECT_EQ(d.ProductCode.str() + "|" + d.BodyStyle.str() + "|" + d.SortDate.str() + "|" + d.CustNo.str() + "|" +
                d.ShortName.str() + "|" + d.CompanyNo.str(),
            "BW-1|P|2026/12/08|10|Short 10|1");

  EXPECT_EQ(Aging("10"), "1200.00 = 1200.00 0.00 0.00 0.00");
  EXPECT_EQ(WithCustomer("10").LastInvoiceNo.str() + "|" + WithCustomer("10").LastPaymentDate.str(),
            "1043|12/08/2026");
  EXPECT_EQ(Listed().NextInvoiceNo.str() + "|" + Listed().LastSavedInvoiceNo.str(), "1044|1043");
  ExpectBooksBalance("1200.00");
  EXPECT_TRUE(labelQueue_.Empty());
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(InvoiceBooksTest, PrefixedNumberCountsOnFromItsLastFiveCharactersAndQueuesTheCustomer) {
  session_.CurrentCompany.PrefixInvoiceNo = "Y";
  session_.CurrentCompany.CopyToLabelQueue = "Y";
  WriteCompany();
  Add(Form("97071043", 0, "10.00", "0.00"));

  EXPECT_EQ(Listed().NextInvoiceNo.str() + "|" + Listed().LastSavedInvoiceNo.str(), "1044|97071043");
  ASSERT_EQ(labelQueue_.Entries().size(), 1u);
  EXPECT_EQ(labelQueue_.Entries()[0].caption, "10");
}

TEST(NextInvoiceNumberTest, NumberAfterTheOneStored) {
  const std::tuple<std::string_view, bool, std::optional<std::string>> cases[] = {
      {"1043", false, "1044"},         {" 99 ", false, "100"},     {"97071043", true, "1044"},
      {"970799999", true, "100000"},   {"9707", true, std::nullopt}, {"A12", false, std::nullopt},
      {"999999999", false, std::nullopt},  // ten digits do not fit the field
  };
  for (const auto& [stored, prefixed, next] : cases) {
    EXPECT_EQ(books::NextInvoiceNumberAfter(stored, prefixed), next) << stored;
  }
}

TEST_F(InvoiceBooksTest, InvoiceAgesByItsDate) {
  // Each age its own power of two, so every bucket's sum tells which invoices it holds.
  const std::pair<int, std::string_view> cases[] = {{30, "1.00"},  {31, "2.00"},  {60, "4.00"},
                                                   {61, "8.00"},  {90, "16.00"}, {91, "32.00"}};
  int number = 2000;
  for (const auto& [daysAgo, net] : cases) Add(Form(std::to_string(number++), daysAgo, net, "0.00"));

  EXPECT_EQ(Aging("10"), "63.00 = 1.00 6.00 24.00 32.00");
  ExpectBooksBalance("63.00");
}

TEST_F(InvoiceBooksTest, MemoInvoiceKeepsOneLineAndTheFirstTwentyFiveMemoLines) {
  std::string memo = std::string(80, 'x');
  for (int i = 2; i <= 27; ++i) memo += "\nVisit " + std::to_string(i);
  const AddOutcome added = Add(MemoForm("1043", memo));

  EXPECT_EQ(added.status, "Added invoice 1043 containing 1 line item(s).");
  EXPECT_EQ(LineTexts("1043"), Texts{"3         Consulting                      300.00    M300.00    "});
  EXPECT_EQ(Lines("1043").front().ProductCode.str() + "|" + Lines("1043").front().BodyStyle.str(), "Memo|M");
  const model::MemoRecord stored = Memo("1043").value();
  EXPECT_EQ(stored.MemoLine[0].str(), std::string(74, 'x'));
  EXPECT_EQ(stored.MemoLine[24].str(), "Visit 25");
  ExpectBooksBalance("300.00");
}

TEST_F(InvoiceBooksTest, InvoicePaidInFullIsStoredPaidAndCanNeitherBeEditedNorDeleted) {
  const AddOutcome added = Add(WidgetForm("1043", 3, "1,277.00"));
  const model::TransactionRecord header = Stored(added.number);
  EXPECT_EQ(header.BalanceDue.str() + "|" + header.PaidFlag.str() + "|" + header.PaidSortDate.str(),
            "0.00|P|2026/12/05");
  EXPECT_EQ(WithCustomer("10").LastPaymentDate.str(), "12/05/2026");
  ExpectBooksBalance("0.00");

  EXPECT_FALSE(MayEditInvoice(services_, header));
  EXPECT_FALSE(DeleteInvoice(services_, files_, added.number, header).deleted);
  EXPECT_EQ(dialogs_.Texts(), (Texts{"This record has been paid. You may not edit this record. You can use the "
                                     "Invoice-View menu option to look at this invoice.",
                                     "This record has been paid and may not be deleted. It will be deleted when you "
                                     "remove paid records."}));
  EXPECT_EQ(LineTexts("1043").size(), 3u);
}

// --- Edit --------------------------------------------------------------------------------

TEST_F(InvoiceBooksTest, EditedLinesAreRewrittenDeletedAndAddedInGridOrder) {
  const AddOutcome added = Add(WidgetForm("1043", 0, "0.00"));
  const EditOutcome edited = Edit(added.number, [](InvoiceForm& form) {
    EXPECT_EQ(form.date + "|" + form.net + "|" + form.total + "|" + form.customer->CustName.str(),
              "12/08/2026|1,275.00|1,277.00|Customer 10");
    EXPECT_EQ(form.Line(2), (GridLine{"RW-7", "1000", "Red widget, boxed", "1.25", "N", "1,250.00"}));
    EXPECT_EQ(form.Line(3), (GridLine{"", "", "Delivered Tuesday", "", " ", "0.00"}));
    form.Line(1).quantity = "4";
    form.Line(1).extension = "50.00";
    form.Line(2) = GridLine{};
    form.Line(5) = GridLine{"GW-2", "1", "Green widget", "5.00", "Y", "5.00"};
    form.total = "57.00";
  });

  EXPECT_EQ(edited.status, "Editing invoice 1043 completed.");
  EXPECT_EQ(LineTexts("1043"), (Texts{"4         Blue widget                     12.50     Y50.00     ",
                                      kDeliveryNoteText,
                                      "1         Green widget                    5.00      Y5.00      "}));
  ExpectBooksBalance("57.00");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(InvoiceBooksTest, LinesKeepTheGridOrderInSlotsFreedBefore) {
  Delete(Add(WidgetForm("1043", 0, "0.00")).number);
  Add(WidgetForm("1044", 0, "0.00"));
  EXPECT_EQ(LineTexts("1044"), (Texts{kBlueWidgetsText, kRedWidgetsText, kDeliveryNoteText}));
  ExpectBooksBalance("1277.00");
}

TEST_F(InvoiceBooksTest, EditMovesTheOpenAmountToTheNewDatesBucket) {
  const AddOutcome added = Add(WidgetForm("1043", 0, "0.00"));
  Add(Form("1044", 2, "100.00", "10.00"));  // the customer's last payment, two days ago
  Edit(added.number, [&](InvoiceForm& form) {
    form.date = DateAgo(45);
    form.paid = "277.00";
  });

  const model::TransactionRecord header = Stored(added.number);
  EXPECT_EQ(header.SortDate.str() + "|" + Lines("1043").front().SortDate.str(), "2026/10/24|2026/10/24");
  EXPECT_EQ(header.BalanceDue.str() + "|" + header.PaidFlag.str() + "|" + header.PaidSortDate.str(), "1000.00| | ");
  EXPECT_EQ(Aging("10"), "1090.00 = 90.00 1000.00 0.00 0.00");
  EXPECT_EQ(WithCustomer("10").LastPaymentDate.str(), "12/06/2026");  // the later payment stays
  ExpectBooksBalance("1090.00");

  Edit(added.number, [&](InvoiceForm& form) { form.paid = "1,277.00"; });
  EXPECT_EQ(Stored(added.number).PaidFlag.str() + "|" + Stored(added.number).PaidSortDate.str(), "P|2026/10/24");
  ExpectBooksBalance("90.00");
}

TEST_F(InvoiceBooksTest, MemoInvoiceEditedRenumberedAndDeletedCarriesItsLineAndMemo) {
  const AddOutcome added = Add(MemoForm("1043", "First visit\nSecond visit"));
  Edit(added.number, [](InvoiceForm& form) {
    EXPECT_EQ(form.kind, InvoiceKind::kMemo);
    EXPECT_EQ(form.memo + "|" + form.memoDescription + "|" + form.memoQuantity,
              "First visit\nSecond visit|Consulting|3");
    form.number = "1050";
    form.memo = "Only visit";
    form.memoQuantity = "";
    form.net = "450.00";
    form.total = "450.00";
  });

  EXPECT_TRUE(Lines("1043").empty());
  EXPECT_FALSE(Memo("1043"));
  EXPECT_EQ(LineTexts("1050"), Texts{"1         Consulting                      450.00    M450.00    "});
  EXPECT_EQ(Memo("1050").value().MemoLine[0].str() + "|" + Memo("1050").value().MemoLine[1].str(), "Only visit|");
  ExpectBooksBalance("450.00");

  EXPECT_EQ(Delete(added.number).status, "Deleted memo invoice 1050.");
  EXPECT_FALSE(Memo("1050"));
  EXPECT_TRUE(Lines("1050").empty());
  ExpectBooksBalance("0.00");
}

TEST_F(InvoiceBooksTest, MissingMemoIsToldWhenTheFormIsFilled) {
  const AddOutcome added = Add(MemoForm("1043", "Visit"));
  const auto memo = books::MemoOfInvoice(memos_, Numbered("1043")).value();
  ASSERT_TRUE(memos_.Delete(memo.number, memo.record));
  FormOfInvoice(services_, files_, Stored(added.number));
  EXPECT_EQ(dialogs_.Texts(), Texts{"Error reading memo data."});
}

TEST_F(InvoiceBooksTest, RecordChangedInTheMeantimeIsNotOverwritten) {
  const AddOutcome added = Add(WidgetForm("1043", 0, "0.00"));
  const model::TransactionRecord snapshot = Stored(added.number);
  EditForm edit = FormOfInvoice(services_, files_, snapshot);
  model::TransactionRecord elsewhere = snapshot;
  elsewhere.KeyCode = "RUSH";
  ASSERT_TRUE(transactions_.Update(added.number, elsewhere));
  edit.form.paid = "100.00";
  edit.form.Line(1) = GridLine{};

  EXPECT_FALSE(EditInvoice(services_, files_, added.number, snapshot, edit).stored);
  EXPECT_EQ(dialogs_.Texts(), (Texts{"The record has changed in the meantime.", "Modify operation failed"}));
  EXPECT_EQ(Stored(added.number).KeyCode.str(), "RUSH");
  EXPECT_EQ(LineTexts("1043").size(), 3u);
  ExpectBooksBalance("1277.00");
}

// --- Delete and repeat masters -----------------------------------------------------------

TEST_F(InvoiceBooksTest, DeletingAPartlyPaidInvoiceTakesOffOnlyWhatWasOpen) {
  const AddOutcome partlyPaid = Add(WidgetForm("1043", 45, "277.00"));
  Add(Form("1044", 0, "50.00", "0.00"));
  const DeleteOutcome deleted = Delete(partlyPaid.number);

  EXPECT_EQ(deleted.status, "Deleted invoice 1043 containing 3 line item(s).");
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].caption + ": " + dialogs_.Log()[0].text,
            "Please Note: This record has payment activity. If you delete this record the payment data will also be "
            "removed.");
  EXPECT_EQ(dialogs_.Log()[1].caption, "Delete Invoice#: 1043");
  EXPECT_EQ(dialogs_.Log()[1].defaultAnswer, Answer::kNo);
  EXPECT_TRUE(Lines("1043").empty());
  EXPECT_EQ(Aging("10"), "50.00 = 50.00 0.00 0.00 0.00");
  ExpectBooksBalance("50.00");
}

TEST_F(InvoiceBooksTest, RepeatMasterIsEditedAndDeletedWithoutTouchingTheTotals) {
  const AddOutcome added = Add(WidgetForm("1043", 0, "0.00"));
  Add(Form("1044", 0, "50.00", "0.00"));
  ASSERT_TRUE(MakeRepeatMaster(added.number));
  ExpectBooksBalance("50.00");

  Edit(added.number, [](InvoiceForm& form) {
    form.total = "1,302.00";
    form.paid = "2.00";
  });
  const model::TransactionRecord master = Stored(added.number);
  EXPECT_EQ(master.TransType.str() + "|" + master.TotalAmount.str() + "|" + master.BalanceDue.str() + "|" +
                master.PaidAmount.str() + "|" + master.PaidFlag.str() + "|" + master.PaidSortDate.str(),
            "R|1302.00|0.00|0.00| | ");
  for (const auto& line : Lines("1043")) EXPECT_EQ(line.BodyStyle.str(), "R");
  ExpectBooksBalance("50.00");

  EXPECT_TRUE(Delete(added.number).deleted);
  EXPECT_EQ(dialogs_.Texts(), (Texts{"This is a repeat billing master record. If you delete this master record, no "
                                     "further invoices will be generated.",
                                     "Are you sure you want to delete this record?"}));
  ExpectBooksBalance("50.00");
}

// --- Checks before edit and delete, in their order -----------------------------------------

struct CheckCase {
  const char* name;
  std::function<void(model::TransactionRecord&, model::CompanyRecord&)> make;
  std::vector<Answer> answers;
  bool allowed;
  std::vector<std::string> shown;  // caption: text
};

class InvoiceChecksTest : public InvoiceBooksTest {
 protected:
  void Check(const std::vector<CheckCase>& cases,
             const std::function<bool(const files::Services&, const model::TransactionRecord&)>& run) {
    const model::CompanyRecord company = session_.CurrentCompany;
    for (const CheckCase& c : cases) {
      SCOPED_TRACE(c.name);
      platform::testing::ScriptedDialogs dialogs;
      for (Answer answer : c.answers) dialogs.Answer(answer);
      model::TransactionRecord header{};
      header.InvoiceNo = "1043";
      header.TransType = "I";
      header.TotalAmount = header.BalanceDue = "10.00";
      session_.CurrentCompany = company;
      c.make(header, session_.CurrentCompany);
      EXPECT_EQ(run({engine_, dialogs, progress_, clock_, session_}, header), c.allowed);
      std::vector<std::string> shown;
      for (const auto& message : dialogs.Log()) shown.push_back(message.caption + ": " + message.text);
      EXPECT_EQ(shown, c.shown);
      EXPECT_TRUE(dialogs.AllAnswersUsed());
    }
  }
};

void PayInFull(model::TransactionRecord& header) {
  header.PaidAmount = "10.00";
  header.PaidFlag = "P";
}

const std::string kPaidNoEdit =
    "Paid Item: This record has been paid. You may not edit this record. You can use the Invoice-View menu option to "
    "look at this invoice.";
const std::string kMasterEditNote =
    "Please Note: This is a repeat billing master record.  Changes to this record will be reflected in future "
    "generated invoices.";
const std::string kPrintedQuestion =
    "Printed Invoice: This invoice has been printed. Are you sure you want to edit this record?";
const std::string kPartialNoEdit =
    "Partial Payments: This record is part of a partial-payment record and may not be edited.";

TEST_F(InvoiceChecksTest, BeforeAnEdit) {
  const std::vector<CheckCase> cases = {
      {"open invoice", [](auto&, auto&) {}, {}, true, {}},
      {"audit trail first",
       [](auto& header, auto& company) {
         company.AuditTrail = "Y";
         header.TransType = "X";
       }, {}, false,
       {"Audit Trail: The audit trail feature is turned on. Unable to modify record."}},
      {"partial payment", [](auto& header, auto&) { header.TransType = "X"; }, {}, false, {kPartialNoEdit}},
      {"partly paid invoice", [](auto& header, auto&) { header.TransType = "z"; }, {}, false, {kPartialNoEdit}},
      {"master noted, then paid",
       [](auto& header, auto&) {
         header.TransType = "R";
         PayInFull(header);
       }, {}, false,
       {kMasterEditNote, kPaidNoEdit}},
      {"deposit", [](auto& header, auto&) { header.TransType = "D"; }, {}, false,
       {"Deposit on Account: This record is a deposit. You may not edit this record, however, you can delete it."}},
      {"deposit taken", [](auto& header, auto&) { header.TransType = "T"; }, {}, false,
       {"Deposit Taken: This record is a deposit which has been previously offset (taken). Unable to edit this "
        "record."}},
      {"printed, No", [](auto& header, auto&) { header.PrintedFlag = "Y"; }, {Answer::kNo}, false,
       {kPrintedQuestion}},
      {"printed master, Yes", [](auto& header, auto&) {
         header.TransType = "R";
         header.PrintedFlag = "Y";
       },
       {Answer::kYes}, true, {kMasterEditNote, kPrintedQuestion}},
  };
  Check(cases, [](const files::Services& services, const auto& header) { return MayEditInvoice(services, header); });
}

TEST_F(InvoiceChecksTest, BeforeADelete) {
  const std::string lastQuestion = "Delete Invoice#: 1043: Are you sure you want to delete this record?";
  const std::string depositQuestion =
      "Please Confirm: You are about to delete a payment you posted as a Deposit on Account. Are you sure?";
  const std::vector<CheckCase> cases = {
      {"audit trail first", [](auto& header, auto& company) {
         company.AuditTrail = "Y";
         PayInFull(header);
       }, {},
       false, {"Audit Trail: The audit trail feature is turned on. Unable to delete record."}},
      {"partial payment before paid", [](auto& header, auto&) {
         header.TransType = "Z";
         PayInFull(header);
       }, {},
       false,
       {"Partial Payment Item: This record is associated with a partial payment (type X or Z). Unable to delete "
        "this item."}},
      {"paid", [](auto& header, auto&) { PayInFull(header); }, {}, false,
       {"Paid Item: This record has been paid and may not be deleted. It will be deleted when you remove paid "
        "records."}},
      {"payment and master noted, then asked",
       [](auto& header, auto&) {
         header.TransType = "R";
         header.PaidAmount = "4.00";
       }, {Answer::kNo}, false,
       {"Please Note: This record has payment activity. If you delete this record the payment data will also be "
        "removed.",
        "Please Note: This is a repeat billing master record. If you delete this master record, no further invoices "
        "will be generated.",
        lastQuestion}},
      {"deposit, No", [](auto& header, auto&) { header.TransType = header.BodyStyle = "D"; }, {Answer::kNo}, false,
       {depositQuestion}},
      {"deposit, Yes then No", [](auto& header, auto&) { header.TransType = header.BodyStyle = "D"; },
       {Answer::kYes, Answer::kNo}, false, {depositQuestion, lastQuestion}},
  };
  Check(cases, [&](const files::Services& services, const auto& header) {
    return DeleteInvoice(services, files_, 1, header).deleted;
  });
}

// --- What a step after the header cannot store is told, never cut or left silent -----------

TEST_F(InvoiceBooksTest, CustomerNotPostedAfterTheHeaderIsTold) {
  const std::pair<const char*, std::function<void(InvoiceForm&)>> cases[] = {
      {"customer not on file", [](InvoiceForm& form) { form.customer->CustNo = "99"; }},
      {"balance would outgrow its field",
       [this](InvoiceForm&) {
         WithCustomer("20", [](files::KeyedFile& customers, files::RecordNumber slot, model::CustomerRecord& c) {
           c.Balance = "999999999.99";
           ASSERT_TRUE(customers.Update(slot, c));
         });
       }},
  };
  int number = 1043;
  for (const auto& [name, prepare] : cases) {
    SCOPED_TRACE(name);
    platform::testing::ScriptedDialogs dialogs;
    InvoiceForm form = Form(std::to_string(number), 0, "1.00", "0.00", "20");
    prepare(form);
    const AddOutcome added = AddInvoice({engine_, dialogs, progress_, clock_, session_}, files_, form, labelQueue_);

    EXPECT_TRUE(files::Table<model::TransactionRecord>(transactions_).Read(added.number));
    EXPECT_EQ(dialogs.Texts(), Texts{"Invoice " + std::to_string(number++) +
                                     " was added, but the customer balance was not updated." + kBalanceNote});
    EXPECT_EQ(dialogs.Log()[0].caption, "Add Invoice");
  }
  EXPECT_EQ(WithCustomer("20").Balance.str(), "999999999.99");

  // The same for a change and a deletion of the invoice whose customer is not on file.
  Edit(1, [](InvoiceForm& form) { form.total = "4.00"; });
  Delete(1);
  EXPECT_EQ(dialogs_.Texts(), (Texts{"Invoice 1043 was changed, but the customer balance was not updated." + kBalanceNote,
                                     "Are you sure you want to delete this record?",
                                     "Invoice 1043 was deleted, but the customer balance was not updated." + kBalanceNote}));
  EXPECT_EQ(dialogs_.Log()[0].caption + "|" + dialogs_.Log()[2].caption, "Edit Invoice|Delete Invoice");
}

TEST_F(InvoiceBooksTest, CompanyTotalThatWouldOverflowIsToldAndLeftWhole) {
  session_.CurrentCompany.TotalAR = "9999999.99";
  WriteCompany();
  EXPECT_TRUE(Add(Form("1043", 0, "1.00", "0.00")).added);
  EXPECT_EQ(dialogs_.Texts(), Texts{"Invoice 1043 was added, but the accounts receivable total was not updated." + kTotalNote});
  EXPECT_EQ(Listed().TotalAR.str() + "|" + Listed().NextInvoiceNo.str(), "9999999.99|1044");
}

TEST_F(InvoiceBooksTest, WhatDoesNotFitIsRefusedNotCut) {
  InvoiceForm form = Form("1043", 0, "25.00", "0.00");
  form.Line(1) = kBlueWidgets;
  form.Line(2) = GridLine{"BIG", "1", "Crane", "12,345,678.90", "N", "12,345,678.90"};
  EXPECT_EQ(Add(form).lineCount, 1);
  EXPECT_EQ(dialogs_.Texts(), Texts{"detail add failed."});
  EXPECT_EQ(LineTexts("1043"), Texts{kBlueWidgetsText});

  form.number = "1044";
  form.total = "12,345,678.90";  // wider than the header's amounts
  EXPECT_FALSE(Add(form).added);
  EXPECT_EQ(dialogs_.Texts().back(), "Add operation failed");
  EXPECT_TRUE(Lines("1044").empty());
  EXPECT_EQ(Listed().NextInvoiceNo.str(), "1044");
}

}  // namespace
}  // namespace invoicing
