#include "invoicing/invoice_print.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/test_support.h"
#include "books/invoice_records.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "invoicing/invoice_view.h"
#include "model/keys.h"
#include "platform/testing/recording_canvas.h"
#include "platform/testing/scripted_dialogs.h"

namespace invoicing {
namespace {

using platform::Answer;
using platform::testing::RecordingCanvas;
using Texts = std::vector<std::string>;

model::Money M(std::string_view text) { return model::ParseMoney(text).value(); }

TEST(QuantityTextTest, ThousandsAndTheDecimalsTyped) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"1234", "1,234"},   {"1.5", "1.5"},         {"2.50", "2.50"},  {"1234.125", "1,234.125"},
      {"0.12345", "0.1235"}, {"-3", "-3"},         {"", ""},          {"  ", ""},
      {"1e5", "1e5"},       {"1000000", "1,000,000"},
  };
  for (const auto& [stored, printed] : cases) EXPECT_EQ(QuantityText(stored), printed) << stored;
}

class InvoicePrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    model::CompanyRecord& company = session_.CurrentCompany;
    company = files::testing::NamedCompany("Harbor Supply");
    company.CompanyNo = "1";
    company.TotalAR = "0.00";
    files::testing::WriteCompanyFolder(company, company);
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Create() && customers.Open());
    model::CustomerRecord customer{};
    customer.CustNo = "10";
    customer.CustName = "Dockside Marine";
    customer.ShipAddr1 = "Dock 4";
    customer.Balance = "1277.00";
    customer.AgeCurrent = "1277.00";
    files::RecordNumber added = 0;
    ASSERT_TRUE(customers.Add(customer, added));
    for (files::KeyedFile* file : {&transactions_, &details_, &memos_}) ASSERT_TRUE(file->Create() && file->Open());
  }

  files::RecordNumber Add(std::string_view number, std::string_view total, std::string_view tax = "0.00",
                          std::string_view memo = {}) {
    InvoiceForm form;
    form.number = number;
    form.date = "12/01/2026";
    form.notes = "PO 5521";
    form.terms = "Net 30 Days";
    model::CustomerRecord customer{};
    customer.CustNo = "10";
    form.customer = customer;
    form.total = total;
    form.tax = tax;
    form.net = model::FormatMoney(M(total) - M(tax), "0.00");
    if (memo.empty()) {
      form.Line(1) = GridLine{"BW-1", "1.5", "Blue widget", "12.50", "Y", "18.75"};
      form.Line(2) = GridLine{"RW-7", "1234", "Red widget", "1.00", "N", "1,234.00"};
    } else {
      form.kind = InvoiceKind::kMemo;
      form.memo = memo;
    }
    const AddOutcome outcome = AddInvoice(services_, files_, form, labelQueue_);
    EXPECT_TRUE(outcome.added);
    return outcome.number;
  }
  model::TransactionRecord Stored(files::RecordNumber number) {
    return files::Table<model::TransactionRecord>(transactions_).Read(number).value();
  }
  void Rewrite(files::RecordNumber number, const std::function<void(model::TransactionRecord&)>& change) {
    model::TransactionRecord header = Stored(number);
    change(header);
    ASSERT_TRUE(transactions_.Update(number, header));
  }
  // A payment record as the payment wizard files it under the invoice's number, the
  // invoice turned to type Z.
  files::RecordNumber AddPayment(files::RecordNumber invoice, std::string_view paid, std::string_view bodyStyle) {
    Rewrite(invoice, [](model::TransactionRecord& header) { header.TransType = "Z"; });
    model::TransactionRecord payment = Stored(invoice);
    payment.TransType = "X";
    payment.BodyStyle = bodyStyle;
    payment.TransDate = "12/20/2026";
    payment.TotalAmount = payment.TaxAmount = payment.BalanceDue = "0.00";
    payment.PaidAmount = paid;
    files::RecordNumber added = 0;
    EXPECT_TRUE(transactions_.Add(payment, added));
    return added;
  }
  std::optional<PrintRecord> Gather(std::string_view number) {
    return GatherInvoice(services_, files_, number, "View Invoice");
  }
  std::string PrintedFlags() {
    std::string flags;
    files::Table<model::TransactionRecord>(transactions_).ForEachRecord([&](const auto& row) {
      flags += row.record.TransType.str() + (model::IsYes(row.record.PrintedFlag) ? "Y " : "- ");
      return true;
    });
    return flags;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::testing::RecordingProgress progress_;
  platform::FixedClock clock_{{2026, 12, 8, 9, 0, 0}};
  model::CompanySession session_;
  files::Services services_{engine_, dialogs_, progress_, clock_, session_};
  files::KeyedFile transactions_{engine_, dialogs_, progress_,
                                 files::DescribeFile(files::CompanyFile::kTransactions, "1")};
  files::KeyedFile details_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kDetails, "1")};
  files::KeyedFile memos_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kMemos, "1")};
  InvoiceFiles files_{transactions_, details_, memos_};
  documents::LabelQueue labelQueue_;
  RecordingCanvas canvas_;
};

TEST_F(InvoicePrintTest, LinesPrintWithTheirTypedDecimalsAndThousands) {
  Add("1043", "1,252.75");
  const PrintRecord record = Gather("1043").value();
  ASSERT_EQ(record.lines.size(), 2u);
  EXPECT_EQ(PrintedLineText(record.lines[0]),
            "BW-1              1.5 Blue widget                            12.50 Y        18.75");
  EXPECT_EQ(PrintedLineText(record.lines[1]),
            "RW-7            1,234 Red widget                              1.00 N      1234.00");

  PrintInvoice(services_, files_, "1043", canvas_);
  for (const char* cell : {"1.5", "1,234", "Red widget", "1234.00", "1,252.75"}) {
    EXPECT_NE(canvas_.Find(cell), nullptr) << cell;
  }
}

TEST_F(InvoicePrintTest, InvoiceWithPartialPaymentsPrintsItsTotalAndEveryPayment) {
  const files::RecordNumber invoice = Add("1043", "1,277.00", "2.00");
  AddPayment(invoice, "300.00", "X");
  // A later payment is filed as a copy of the invoice, its net amount kept.
  AddPayment(invoice, "200.00", "P");

  const PrintRecord record = Gather("1043").value();
  EXPECT_EQ(record.total, M("1277.00"));
  EXPECT_EQ(record.tax, M("2.00"));
  EXPECT_EQ(record.Net(), M("1275.00"));
  EXPECT_EQ(record.paid, M("500.00"));
  EXPECT_EQ(record.Balance(), M("777.00"));
  EXPECT_EQ(record.type, TransactionType::kPartlyPaid);
  EXPECT_EQ(record.date, "12/01/2026");  // the invoice's date, not the last payment's
  EXPECT_EQ(record.lines.size(), 2u);

  const InvoiceViewContent view = ViewOfInvoice(record);
  EXPECT_EQ(view.caption, "View Invoice# 1043");
  EXPECT_EQ(view.deliverTo, (Texts{"Deliver To:", "Dock 4"}));
  EXPECT_EQ(view.lines.at(1).quantity + "|" + view.lines.at(1).extension, "1,234|1,234.00");
  std::string amounts;
  for (const ViewAmount& amount : view.amounts) amounts += amount.label + amount.value + "|";
  EXPECT_EQ(amounts, "Total:1,275.00|Tax: 2.00|Grand Total:1,277.00|Paid Amount: 500.00|Balance Due:777.00|");
}

TEST_F(InvoicePrintTest, MemoInvoiceStaysAMemoAfterAPaymentIsFiledBehindIt) {
  const files::RecordNumber invoice = Add("1043", "300.00", "0.00", "Consulting, November\nTwo site visits");
  AddPayment(invoice, "100.00", "X");
  const PrintRecord record = Gather("1043").value();
  EXPECT_TRUE(record.memo);
  EXPECT_EQ(record.memoLines[0], "Consulting, November");
  EXPECT_EQ(record.memoLines[1], "Two site visits");
  EXPECT_TRUE(record.lines.empty());
}

TEST_F(InvoicePrintTest, MissingMemoIsToldAndTheInvoiceStillPrints) {
  const files::RecordNumber invoice = Add("1043", "300.00", "0.00", "Consulting");
  const auto memo = books::MemoOfInvoice(memos_, Stored(invoice));
  ASSERT_TRUE(memo && memos_.Delete(memo->number, memo->record));

  const PrintOutcome printed = PrintInvoice(services_, files_, "1043", canvas_);
  EXPECT_TRUE(printed.printed);
  EXPECT_EQ(dialogs_.Texts(), Texts{"Error reading memo data."});
  EXPECT_EQ(dialogs_.Log().front().caption, "Print Invoice");
}

TEST_F(InvoicePrintTest, PrintingSendsEveryCopyAndMarksTheInvoiceRecordsPrinted) {
  const files::RecordNumber invoice = Add("1043", "1,277.00");
  AddPayment(invoice, "300.00", "X");
  // Storing an invoice reads the company anew, so its options are set afterwards.
  model::CompanyRecord& company = session_.CurrentCompany;
  company.PrintPackingSlip = company.PrintFileCopy = true;
  company.InvoiceCopies = "2";

  const PrintOutcome printed = PrintInvoice(services_, files_, "1043", canvas_);
  EXPECT_TRUE(printed.printed);
  EXPECT_EQ(printed.status, "Invoice 1043 sent to printer.");
  EXPECT_EQ(canvas_.documents,
            (Texts{"Invoice - 1043", "Packing Slip - 1043", "File Copy - 1043", "File Copy - 1043"}));
  EXPECT_EQ(PrintedFlags(), "ZY X- ");
  EXPECT_TRUE(labelQueue_.Empty());  // only batch printing queues labels
}

TEST_F(InvoicePrintTest, InvoiceThatCouldNotBePrintedStaysUnprinted) {
  Add("1043", "10.00");
  canvas_.refuseToStart = true;
  const PrintOutcome printed = PrintInvoice(services_, files_, "1043", canvas_);
  EXPECT_FALSE(printed.printed);
  EXPECT_EQ(printed.status, "");
  EXPECT_EQ(PrintedFlags(), "I- ");
}

TEST_F(InvoicePrintTest, BatchPrintsEachUnprintedInvoiceOnceAndQueuesItsCustomer) {
  BatchPrintInvoices(services_, files_, canvas_, labelQueue_);
  EXPECT_EQ(dialogs_.Texts(), Texts{"There are no invoices to print."});

  Add("1043", "10.00");
  const files::RecordNumber partlyPaid = Add("1044", "20.00");
  AddPayment(partlyPaid, "5.00", "X");
  const files::RecordNumber printedBefore = Add("1045", "30.00");
  Rewrite(printedBefore, [](model::TransactionRecord& header) { header.PrintedFlag = "Y"; });
  session_.CurrentCompany.BatchToLabelQueue = "Y";

  dialogs_.Answer(Answer::kNo);
  EXPECT_EQ(BatchPrintInvoices(services_, files_, canvas_, labelQueue_).printed, 0);
  EXPECT_TRUE(canvas_.documents.empty());

  dialogs_.Answer(Answer::kYes);
  const BatchOutcome batch = BatchPrintInvoices(services_, files_, canvas_, labelQueue_);
  EXPECT_EQ(dialogs_.Log()[2].caption, "Batch Print - Invoices");
  EXPECT_EQ(dialogs_.Log()[2].text, "There are 2 invoice(s) to print.\nDo you want to continue?");
  EXPECT_EQ(canvas_.documents, (Texts{"Invoice - 1043", "Invoice - 1044"}));
  EXPECT_EQ(batch.status, "Batch Print complete. 2 invoices sent to spooler.");
  EXPECT_EQ(dialogs_.Texts().back(), batch.status);
  EXPECT_EQ(PrintedFlags(), "IY ZY X- IY ");
  EXPECT_EQ(labelQueue_.Entries().size(), 2u);
  ASSERT_EQ(progress_.shown.size(), 2u);
  EXPECT_EQ(progress_.shown.back().lines, (Texts{"Invoice 1044", "2 of 2"}));
}

TEST_F(InvoicePrintTest, BatchStopsWhenAJobCannotBePrinted) {
  Add("1043", "10.00");
  Add("1044", "20.00");
  canvas_.refuseToStart = true;
  dialogs_.Answer(Answer::kYes);
  const BatchOutcome batch = BatchPrintInvoices(services_, files_, canvas_, labelQueue_);
  EXPECT_EQ(batch.printed, 0);
  EXPECT_EQ(batch.status, "");
  EXPECT_EQ(dialogs_.Texts().back(), "Batch Print stopped: an invoice could not be printed. 0 invoices sent to spooler.");
  EXPECT_EQ(PrintedFlags(), "I- I- ");
}

TEST_F(InvoicePrintTest, ViewNamesRepeatGeneratedAndDepositRecords) {
  const files::RecordNumber master = Add("1043", "10.00");
  Rewrite(master, [](model::TransactionRecord& header) { header.TransType = "R"; });
  const files::RecordNumber generated = Add("1044", "10.00");
  Rewrite(generated, [](model::TransactionRecord& header) { header.TransType = "G"; });
  EXPECT_EQ(ViewOfInvoice(Gather("1043").value()).banner, "** REPEAT BILLING MASTER SETUP **");
  EXPECT_EQ(ViewOfInvoice(Gather("1044").value()).banner, "** GENERATED BILLING **");

  // A deposit of 50.00, then taken against an invoice.
  model::TransactionRecord deposit = Stored(master);
  deposit.InvoiceNo = "DP7";
  deposit.TransType = deposit.BodyStyle = "D";
  deposit.TotalAmount = deposit.TaxAmount = "0.00";
  deposit.PaidAmount = "50.00";
  files::RecordNumber added = 0;
  ASSERT_TRUE(transactions_.Add(deposit, added));
  InvoiceViewContent view = ViewOfInvoice(Gather("DP7").value());
  EXPECT_EQ(view.description, "Deposit on Account");
  EXPECT_EQ(view.banner, "DEPOSIT ON ACCOUNT OF 50.00. (A zero amount indicates deposit has been offset).");
  EXPECT_TRUE(view.lines.empty());

  deposit.TransType = "T";
  deposit.PaidAmount = "-50.00";
  ASSERT_TRUE(transactions_.Add(deposit, added));
  view = ViewOfInvoice(Gather("DP7").value());
  EXPECT_EQ(view.description, "Deposit on Account - Offset against invoices.");
  EXPECT_EQ(view.banner, "DEPOSIT ON ACCOUNT OF 0.00. (A zero amount indicates deposit has been offset).");
}

}  // namespace
}  // namespace invoicing
