#include "reports/interest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "books/invoice_records.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/testing/books_fixture.h"
#include "platform/testing/recording_canvas.h"

namespace reports {
namespace {

using invoicing::testing::M;
using Texts = std::vector<std::string>;
using Grid = std::vector<std::vector<std::string>>;

const std::string kNoFlatRate = "No flat rate is specified.";
const std::string kTwoFifty = "1         Interest Charges                2.50      N2.50      ";

ChargeRule Percent(std::string_view percent, std::string_view minimum) {
  return {model::ParseDecimal(percent).value(), M(minimum), std::nullopt};
}

TEST(InterestChargeTest, PercentageIsChargedWhenTheComputedInterestIsNotBelowTheMinimum) {
  const std::tuple<std::string_view, std::string_view, std::string_view, std::optional<std::string_view>> cases[] = {
      {"7.00", "1.50", ".10", "0.11"},        // 0.105: at or above .10, rounded half up
      {"6.00", "1.50", ".10", std::nullopt},  // 0.09
      {"5.00", "2.00", ".10", "0.10"},        // exactly the minimum
      {"6.64", "1.50", ".10", std::nullopt},  // 0.0996 would round to .10, but is below it
      {"1,000.00", "1.50", "1.00", "15.00"},
      {"0.33", "1.50", "0.00", std::nullopt},  // 0.00495 rounds to nothing
      {"0.00", "1.50", "0.00", std::nullopt},
      {"-250.00", "1.50", "0.00", std::nullopt},
  };
  for (const auto& [overdue, percent, minimum, charge] : cases) {
    const std::optional<model::Money> expected = charge ? std::optional(M(*charge)) : std::nullopt;
    EXPECT_EQ(InterestCharge(M(overdue), Percent(percent, minimum)), expected) << overdue << " at " << percent;
  }
}

TEST(InterestChargeTest, FlatFeeGoesToEveryPositiveOverdueAmountAndNeverToZeroOrCredit) {
  const ChargeRule flat{model::Decimal{}, model::Money(), M("15.00")};
  for (std::string_view overdue : {"0.01", "6.00", "99999.99"}) {
    EXPECT_EQ(InterestCharge(M(overdue), flat), M("15.00")) << overdue;
  }
  for (std::string_view overdue : {"0.00", "-0.01", "-400.00"}) {
    EXPECT_EQ(InterestCharge(M(overdue), flat), std::nullopt) << overdue;
  }
}

TEST(InterestOptionsTest, OverdueAmountAddsTheBucketsPastTheChosenAge) {
  model::CustomerRecord customer = files::testing::ClearCustomer("10", "Customer 10");
  customer.AgeCurrent = "1000.00";
  customer.Age31to60 = "1.00";
  customer.Age61to90 = "20.00";
  customer.AgeOver90 = "300.00";
  EXPECT_EQ(OverdueAmount(customer, OverdueDays::k30), M("321.00"));
  EXPECT_EQ(OverdueAmount(customer, OverdueDays::k60), M("320.00"));
  EXPECT_EQ(OverdueAmount(customer, OverdueDays::k90), M("300.00"));
  customer.Age31to60 = "n/a";
  EXPECT_EQ(OverdueAmount(customer, OverdueDays::k90), std::nullopt);
}

TEST(InterestOptionsTest, FlatRateBoxRefusesMinusAndWhatIsNoAmount) {
  platform::testing::ScriptedDialogs dialogs;
  for (std::string_view accepted : {"", " ", "12.50", "7", ".5"}) EXPECT_TRUE(CheckFlatRate(accepted, dialogs));
  EXPECT_TRUE(dialogs.Log().empty());
  EXPECT_FALSE(CheckFlatRate("-5", dialogs));
  EXPECT_FALSE(CheckFlatRate("5x", dialogs));
  EXPECT_FALSE(CheckFlatRate("1.2.3", dialogs));
  ASSERT_EQ(dialogs.Log().size(), 3u);
  EXPECT_EQ(dialogs.Log()[0].caption + "|" + dialogs.Log()[0].text,
            "Flat Rate Amount|You should not enter a negative number in the flat rate box.");
  EXPECT_EQ(dialogs.Log()[1].caption + "|" + dialogs.Log()[1].text,
            "Invalid Flat Rate Amount|The flat rate must be a numeric value.");
  EXPECT_EQ(dialogs.Log()[0].icon, platform::Icon::kWarning);
}

TEST(InterestOptionsTest, SettingsAreReadWithTheirDefaultsAndKeptForTheNextRun) {
  model::CompanyRecord company = files::testing::NamedCompany("Harbor Supply");
  company.InterestSettings.MonthlyRate = "1";
  company.InterestSettings.MinimumCharge = "";
  company.InterestSettings.DaysChoice = "6";
  company.InterestSettings.Terms = "Due Upon Receipt";
  company.InterestSettings.MarkPrinted = true;
  company.LastInterestDate = "11/30/2026";
  InterestOptions options = OpeningOptions(company, "12/08/2026");
  EXPECT_EQ(options.percentage + "|" + options.minimum + "|" + options.terms + "|" + options.invoiceDate,
            "1.50|.10|Due Upon Receipt|12/08/2026");
  EXPECT_EQ(options.days, OverdueDays::k60);
  EXPECT_TRUE(options.markPrinted);
  EXPECT_EQ(options.comments + "|" + options.statementNote, "Interest Charges|Interest Charges");
  EXPECT_EQ(LastRunText(company), "Last Interest Invoices: 11/30/2026");

  options = {OverdueDays::k90, "2.125", "1.00", false, "", "12/09/2026", "", "", "Net 10", false};
  StoreInterestSettings(company, options);
  const model::InterestSettingsBlock& kept = company.InterestSettings;
  EXPECT_EQ(kept.DaysChoice.str() + "|" + kept.MonthlyRate.str() + "|" + kept.MinimumCharge.str() + "|" +
                kept.Terms.str() + "|" + company.LastInterestDate.str(),
            "9|2.125|1.00|Net 10|12/09/2026");
  EXPECT_FALSE(kept.MarkPrinted);
  EXPECT_EQ(OpeningOptions(company, "").days, OverdueDays::k90);
}

// Customer 10 owes 7.00 and customer 20 owes 6.00, both 45 days old; the company's next
// invoice number is 1003.
class InterestTest : public invoicing::testing::BooksFixture {
 protected:
  void SetUp() override {
    BooksFixture::SetUp();
    Add(Form("1001", 45, "7.00", "0.00", "10"));
    Add(Form("1002", 45, "6.00", "0.00", "20"));
    services_.showStatus = [this](std::string_view text) { status_ = text; };
    ASSERT_EQ(session_.CurrentCompany.NextInvoiceNo.str(), "1003");
  }

  InterestOptions Options() {
    InterestOptions options = OpeningOptions(session_.CurrentCompany, "12/08/2026");
    options.percentage = "1.50";
    options.minimum = ".10";
    options.terms = "Due Upon Receipt";
    return options;
  }
  InterestOptions Flat(std::string_view fee) {
    InterestOptions options = Options();
    options.flatFee = true;
    options.flatRate = fee;
    return options;
  }

  InterestScan Scan(const InterestOptions& options) {
    std::optional<InterestScan> scan = ScanForInterest(services_, options);
    EXPECT_TRUE(scan);
    return scan.value_or(InterestScan{});
  }
  std::optional<int> Generate(InterestScan& scan, const InterestOptions& options) {
    return GenerateInterestInvoices(services_, {transactions_, details_}, scan, options);
  }
  // The scan and the generation of `created` invoices from it.
  InterestScan Billed(const InterestOptions& options, int created) {
    InterestScan scan = Scan(options);
    EXPECT_EQ(Generate(scan, options), created);
    return scan;
  }
  // The numbers the rows were billed under, "|" between.
  static std::string InvoiceNumbers(const InterestScan& scan) {
    std::string numbers;
    for (std::size_t i = 0; i < scan.rows.size(); ++i) numbers += (i == 0 ? "" : "|") + scan.rows[i].invoiceNo;
    return numbers;
  }
  void SetNextInvoiceNo(std::string_view number) {
    session_.CurrentCompany.NextInvoiceNo = number;
    WriteCompany();
  }

  std::optional<model::TransactionRecord> Invoice(std::string_view number) {
    const auto found = invoicing::FindInvoice(transactions_, number);
    return found ? std::optional(found->record) : std::nullopt;
  }
  Texts LineTexts(std::string_view number) {
    model::TransactionRecord header{};
    header.InvoiceNo = number;
    Texts texts;
    for (const auto& line : books::LinesOfInvoice(details_, header)) texts.push_back(line.record.LineText.str());
    return texts;
  }
  std::string Numbers() {
    const model::CompanyRecord listed = Listed();
    return listed.LastSavedInvoiceNo.str() + "|" + listed.NextInvoiceNo.str();
  }

  std::string status_;
};

TEST_F(InterestTest, ScanListsSevenDollarsOverdueButNotSixAtOneAndAHalfPercent) {
  const InterestScan scan = Scan(Options());
  EXPECT_EQ(InterestGrid(scan), (Grid{{"Customer Name", "Customer#", "Over 30 Days", "Interest Chg."},
                                      {"Customer 10", "10", "7.00", "0.11"},
                                      {"Totals:", "", "7.00", "0.11"}}));
  EXPECT_EQ(ScanStatus(scan), "1 found. Complete data below then select generate button...");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(InterestTest, ScanWithNobodyOverdueTellsSo) {
  InterestOptions options = Options();
  options.days = OverdueDays::k60;
  const InterestScan scan = Scan(options);
  EXPECT_TRUE(scan.rows.empty());
  EXPECT_EQ(InterestGrid(scan).front()[2], "Over 60 Days");
  EXPECT_EQ(ScanStatus(scan), "No records found.");
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption + "|" + dialogs_.Log()[0].text, "Interest Wizard|No records were found.");
}

TEST_F(InterestTest, FlatFeeScanChargesEveryoneOverdueOrStopsWithoutAFee) {
  const InterestScan scan = Scan(Flat("2.50"));
  EXPECT_EQ(InterestGrid(scan), (Grid{{"Customer Name", "Customer#", "Over 30 Days", "Interest Chg."},
                                      {"Customer 10", "10", "7.00", "2.50"},
                                      {"Customer 20", "20", "6.00", "2.50"},
                                      {"Totals:", "", "13.00", "5.00"}}));

  for (std::string_view fee : {"", "0.00"}) {
    EXPECT_EQ(ScanForInterest(services_, Flat(fee)), std::nullopt) << fee;
  }
  EXPECT_EQ(ScanForInterest(services_, Flat("-1")), std::nullopt);
  EXPECT_EQ(dialogs_.Texts(), (Texts{kNoFlatRate, kNoFlatRate,
                                     "You should not enter a negative number in the flat rate box."}));
  EXPECT_EQ(dialogs_.Log()[0].caption, "Flat Rate Fee");
}

TEST_F(InterestTest, GenerationFilesAndChargesOneInvoicePerRowAndKeepsTheSettings) {
  InterestOptions options = Flat("2.50");
  options.markPrinted = true;
  options.comments = "Late fee, November";
  options.statementNote = "Late fee";
  const InterestScan scan = Billed(options, 2);

  EXPECT_EQ(InterestGrid(scan)[1], (Texts{"Customer 10", "10", "7.00", "2.50", "1003"}));
  EXPECT_EQ(InterestGrid(scan)[2], (Texts{"Customer 20", "20", "6.00", "2.50", "1004"}));
  const model::TransactionRecord h = Invoice("1003").value();
  EXPECT_EQ(h.TransType.str() + "|" + h.PrintedFlag.str() + "|" + h.TransDate.str() + "|" + h.SortDate.str() + "|" +
                h.DateMonth.str() + "|" + h.DateDay.str() + "|" + h.DateYear.str(),
            "I|Y|12/08/2026|2026/12/08|12|08|2026");
  EXPECT_EQ(h.InvNotes.str() + "|" + h.Terms.str() + "|" + h.StatementNote.str() + "|" + h.CustNo.str() + "|" +
                h.ShortName.str() + "|" + h.KeyCode.str() + "|" + h.CompanyNo.str() + "|" + h.BodyStyle.str(),
            "Late fee, November|Due Upon Receipt|Late fee|10|Short 10|Interest|1|P");
  EXPECT_EQ(h.NetAmount.str() + "|" + h.TaxAmount.str() + "|" + h.TotalAmount.str() + "|" + h.PaidAmount.str() +
                "|" + h.BalanceDue.str(),
            "2.50|0.00|2.50|0.00|2.50");
  EXPECT_EQ(LineTexts("1003"), Texts{kTwoFifty});
  const model::DetailRecord line = books::LinesOfInvoice(details_, h).front().record;
  EXPECT_EQ(line.ProductCode.str() + "|" + line.BodyStyle.str() + "|" + line.CustNo.str() + "|" +
                line.ShortName.str() + "|" + line.SortDate.str(),
            "Interest|P|10|Short 10|2026/12/08");

  EXPECT_EQ(Aging("10"), "9.50 = 2.50 7.00 0.00 0.00");
  EXPECT_EQ(WithCustomer("20").LastInvoiceNo.str(), "1004");
  EXPECT_EQ(Numbers(), "1004|1005");
  const model::CompanyRecord listed = Listed();
  EXPECT_EQ(listed.LastInterestDate.str() + "|" + listed.InterestSettings.DaysChoice.str() + "|" +
                listed.InterestSettings.Terms.str(),
            "12/08/2026|3|Due Upon Receipt");
  EXPECT_TRUE(listed.InterestSettings.MarkPrinted);
  ExpectBooksBalance("18.00");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(InterestTest, BackdatedInvoiceIsAgedByItsDate) {
  InterestOptions options = Flat("1.00");
  options.invoiceDate = DateAgo(40);
  Billed(options, 2);
  EXPECT_EQ(Aging("10"), "8.00 = 0.00 8.00 0.00 0.00");
  EXPECT_TRUE(Invoice("1003")->PrintedFlag.str().empty());
  ExpectBooksBalance("15.00");
}

TEST_F(InterestTest, PrefixedNumbersTakeTheInvoiceMonthAndTheCounterRunsOn) {
  session_.CurrentCompany.PrefixInvoiceNo = "Y";
  WriteCompany();
  InterestOptions options = Flat("1.00");
  options.invoiceDate = "01/15/2027";
  Billed(options, 2);
  EXPECT_TRUE(Invoice("27011003"));
  EXPECT_TRUE(Invoice("27011004"));
  EXPECT_EQ(Numbers(), "27011004|1005");
  ExpectBooksBalance("15.00");
}

TEST_F(InterestTest, NumberAlreadyOnFileIsPassedOver) {
  Add(Form("1004", 0, "10.00", "0.00", "20"));
  SetNextInvoiceNo("1003");
  const InterestScan scan = Billed(Flat("1.00"), 2);

  EXPECT_EQ(InvoiceNumbers(scan), "1003|1005");
  int filedAs1004 = 0;
  files::Table<model::TransactionRecord>(transactions_).ForEachRecord([&](const auto& row) {
    filedAs1004 += row.record.InvoiceNo.str() == "1004";
    return true;
  });
  EXPECT_EQ(filedAs1004, 1);
  EXPECT_EQ(Numbers(), "1005|1006");
  ExpectBooksBalance("25.00");
}

TEST_F(InterestTest, RunStopsWhenNoNumberIsLeftAndChargesOnlyWhatWasFiled) {
  // 999999999 is never given: its successor would not fit the field.
  Add(Form("999999998", 0, "1.00", "0.00", "20"));
  SetNextInvoiceNo("999999997");
  const InterestScan scan = Billed(Flat("1.00"), 1);
  EXPECT_EQ(InvoiceNumbers(scan), "999999997|");
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].text,
            "No free invoice number follows the next invoice number 999999998. Correct it in the company options; "
            "the remaining customers were not charged.");
  ExpectBooksBalance("15.00");
}

TEST_F(InterestTest, InvoiceThatCannotBeFiledIsToldAndNotCharged) {
  InterestOptions options = Flat("1.00");
  InterestScan scan = Scan(options);
  details_.Close();  // every line is refused: each invoice is taken back
  EXPECT_EQ(Generate(scan, options), 0);
  EXPECT_EQ(dialogs_.Texts(), (Texts{"TDtl add failed.", "TDtl add failed."}));
  EXPECT_FALSE(Invoice("1003"));
  EXPECT_EQ(InvoiceNumbers(scan), "|");
  EXPECT_EQ(Numbers(), "1002|1003");
  ExpectBooksBalance("13.00");

  ASSERT_TRUE(details_.Open());
  transactions_.Close();  // no invoice can be filed at all
  EXPECT_EQ(Generate(scan, options), 0);
  EXPECT_EQ(dialogs_.Texts().back(), "Add Late Fee Failed.");
  EXPECT_EQ(dialogs_.Log().back().caption, "Interest Wizard");
  ASSERT_TRUE(transactions_.Open());
  ExpectBooksBalance("13.00");
}

TEST_F(InterestTest, InvalidInvoiceDateWritesNothing) {
  InterestOptions options = Flat("1.00");
  options.invoiceDate = "13/45/2026";
  InterestScan scan = Scan(options);
  EXPECT_EQ(Generate(scan, options), std::nullopt);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption + "|" + dialogs_.Log()[0].text,
            "Invoice Date|You have an invalid invoice date. You can clear the date and then select the calendar "
            "button.");
  EXPECT_FALSE(scan.generated);
  EXPECT_EQ(Numbers(), "1002|1003");
  EXPECT_TRUE(Listed().LastInterestDate.str().find('/') == std::string::npos);
}

TEST_F(InterestTest, ClosingQuestionPrintsTheReportOnYes) {
  const InterestOptions options = Options();
  const InterestScan scan = Billed(options, 1);
  platform::testing::RecordingCanvas canvas;

  dialogs_.Answer(platform::Answer::kNo);
  OfferInterestReport(services_, scan, options, 1, canvas);
  EXPECT_TRUE(canvas.documents.empty());
  dialogs_.Answer(platform::Answer::kYes);
  OfferInterestReport(services_, scan, options, 1, canvas);

  EXPECT_EQ(dialogs_.Log()[0].caption + "|" + dialogs_.Log()[0].text,
            "Operation Complete|1 invoices were created. Would you like to send a report to the printer?");
  EXPECT_EQ(canvas.documents, Texts{"Interest Charges"});
  EXPECT_EQ(canvas.Texts(),
            (Texts{"Interest Charges Report", "Page 1", "Date: Tuesday, December 8, 2026, 09:00 AM",
                   "Created Invoices Dated: 12/08/2026 and charged 1.50 percent interest.", "Customer Name",
                   "Customer#", "Over 30 Days", "Interest Chg.", "Invoice#", "Customer 10", "10", "7.00", "0.11",
                   "1003", "Totals:", "7.00", "0.11", "Report Complete. 1 records printed."}));
  EXPECT_EQ(status_, "Interest Report sent to print queue.");
}

TEST(InterestReportTest, ColumnsAreFixedAmountsRightAlignedAndPagesBreakAboveTheFoot) {
  InterestScan scan;
  for (int i = 0; i < 60; ++i) scan.rows.push_back({"Customer " + std::to_string(i), "C" + std::to_string(i),
                                                    M("1,234.00"), M("18.51"), {}});
  InterestOptions options;
  options.flatFee = true;
  options.flatRate = "18.51";
  options.invoiceDate = "12/08/2026";
  platform::testing::RecordingCanvas canvas;
  ASSERT_EQ(PrintInterestReport(scan, options, "now", canvas), 2);

  const int x = platform::testing::RecordingCanvas::kCharWidthPerPoint * 10;  // one character at 10 points
  const int gap = 2 * x;  // "Xx" between columns
  std::vector<platform::testing::DrawnText> pageTwo;
  for (const auto& text : canvas.texts) {
    EXPECT_LE(text.y + 100, canvas.PageHeight() - 200) << text.text;
    if (text.page == 2) pageTwo.push_back(text);
    if (text.text == "1,234.00") {
      EXPECT_EQ(text.x + 8 * x, (33 + 10 + 11) * x + 2 * gap);
    } else if (text.text == "18.51") {
      EXPECT_EQ(text.x + 5 * x, (33 + 10 + 11 + 10) * x + 3 * gap);
    } else if (text.text == "C7") {
      EXPECT_EQ(text.x, 33 * x + gap);
    }
  }
  EXPECT_EQ(canvas.texts[3].text, "Created Invoices Dated: 12/08/2026 and charged a flat rate of 18.51 as fee.");
  ASSERT_GE(pageTwo.size(), 4u);
  EXPECT_EQ(pageTwo[0].text + "|" + pageTwo[1].text, "Interest Charges Report|Page 2");
  EXPECT_EQ(pageTwo[3].text.substr(0, 23), "Created Invoices Dated:");
  EXPECT_EQ(pageTwo[4].text.substr(0, 9), "Customer ");
  const auto continued = std::find_if(canvas.texts.begin(), canvas.texts.end(),
                                      [](const auto& text) { return text.text == "Continued on page 2 ..."; });
  ASSERT_NE(continued, canvas.texts.end());
  EXPECT_EQ(continued->page, 1);
  EXPECT_EQ(canvas.Texts().back(), "Report Complete. 60 records printed.");
}

}  // namespace
}  // namespace reports
