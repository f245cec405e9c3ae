// The bookkeeping of invoices and payments leaves books the integrity check finds
// consistent: the marks and figures each write order leaves are the ones the check
// expects, so a finding on real books points at a real fault.
#include <gtest/gtest.h>

#include "books/integrity.h"
#include "invoicing/payments.h"
#include "invoicing/repeat_billing.h"
#include "invoicing/testing/books_fixture.h"

namespace invoicing {
namespace {

class PostedBooksIntegrityTest : public testing::BooksFixture {
 protected:
  void AddInvoice(InvoiceForm form) { ASSERT_TRUE(Add(form).added); }

  InvoiceForm MemoForm(std::string_view number, int daysAgo, std::string_view net) {
    InvoiceForm form = Form(number, daysAgo, net, "0.00");
    form.kind = InvoiceKind::kMemo;
    form.memo = "Survey of the north moorings";
    form.memoDescription = "Survey";
    return form;
  }

  void Pay(std::string_view paid, std::vector<PaymentLine> lines) {
    ASSERT_EQ(PostPayment(services_, transactions_, {"10", DateAgo(0), std::string(paid), "Cheque 88", lines}).result,
              PostResult::kPosted);
  }

  PaymentLists OpenItems() { return ListsForCustomer(transactions_, WithCustomer("10"), session_.DateOrder(), dialogs_); }

  // The check opens the files itself, and a file set is open once at a time.
  books::BooksCheck Check() {
    for (files::KeyedFile* file : {&transactions_, &details_, &memos_}) file->Close();
    books::BooksCheck check = books::CheckBooks(services_);
    for (files::KeyedFile* file : {&transactions_, &details_, &memos_}) EXPECT_TRUE(file->Open());
    return check;
  }
};

std::string SentencesOf(const books::BooksCheck& check) {
  std::string sentences;
  for (const books::Finding& finding : check.findings) sentences += finding.sentence + "\n";
  return sentences;
}

TEST_F(PostedBooksIntegrityTest, InvoicesPartialPaymentsDepositsAndOffsetsCheckClean) {
  AddInvoice(Form("1001", 45, "100.00", "0.00"));
  AddInvoice(Form("1002", 10, "80.00", "30.00"));
  AddInvoice(Form("1003", 5, "20.00", "20.00"));
  AddInvoice(MemoForm("1004", 100, "60.00"));
  AddInvoice(Form("1005", 3, "15.00", "0.00", "20"));

  PaymentLists lists = OpenItems();
  TakePartialPayment(lists, 0, testing::M("30.00"));
  Pay("30.00", lists.posted);
  PaymentLists deposit;
  AddDepositLine(deposit, testing::M("50.00"), DateAgo(0), session_.DateOrder());
  Pay("50.00", deposit.posted);
  lists = OpenItems();
  MoveAllLines(lists, PaymentList::kOpen, dialogs_);
  Pay("130.00", lists.posted);

  const books::BooksCheck check = Check();
  EXPECT_TRUE(check.readAll);
  EXPECT_EQ(SentencesOf(check), "");
  ExpectBooksBalance("15.00");
}

TEST_F(PostedBooksIntegrityTest, DeletedInvoiceLeavesNothingBehind) {
  const AddOutcome memoInvoice = Add(MemoForm("1001", 20, "60.00"));
  ASSERT_TRUE(memoInvoice.added);
  AddInvoice(Form("1002", 20, "40.00", "0.00"));
  dialogs_.Answer(platform::Answer::kYes);
  ASSERT_TRUE(DeleteInvoice(services_, files_, memoInvoice.number, Stored(memoInvoice.number)).deleted);
  EXPECT_EQ(SentencesOf(Check()), "");
  ExpectBooksBalance("40.00");
}

TEST_F(PostedBooksIntegrityTest, RepeatMasterAndTheInvoiceItGeneratesCheckClean) {
  const AddOutcome master = Add(MemoForm("1050", 0, "300.00"));
  ASSERT_TRUE(master.added);
  ASSERT_TRUE(StoreRepeatMaster(services_, files_, master.number, master.header, {14, false, {2026, 12, 1}}));
  const RepeatSearch search = SearchRepeatBillings(services_, transactions_, "12/08/2026");
  ASSERT_EQ(CreateRepeatInvoices(services_, files_, search.due, {"12/08/2026", "Window cleaning"}).generated, 1);
  EXPECT_EQ(SentencesOf(Check()), "");
  ExpectBooksBalance("300.00");
}

}  // namespace
}  // namespace invoicing
