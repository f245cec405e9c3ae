#include "invoicing/invoice_entry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "model/whole_file.h"
#include "platform/testing/scripted_dialogs.h"
#include "platform/testing/temp_folder.h"

namespace invoicing {
namespace {

using model::Money;
using platform::Answer;
using platform::Icon;
using platform::testing::LoggedMessage;
using platform::testing::ScriptedDialogs;

model::CompanyRecord Company() {
  model::CompanyRecord company{};
  company.DefaultQuantity = " 1 ";
  company.TaxRate = "8.125";
  company.CalcTaxes = true;
  company.DateOrder = "M";
  company.NextInvoiceNo = "1043";
  company.PrefixInvoiceNo = "N";
  return company;
}

model::CustomerRecord Customer() {
  model::CustomerRecord customer{};
  customer.CustNo = "C100";
  customer.CustName = "Harbor Supply";
  customer.ShortName = "HARBOR";
  customer.Balance = "100.00";
  customer.CreditLimit = "";
  customer.TaxExempt = "N";
  customer.CreditHold = "N";
  return customer;
}

GridLine Line(std::string quantity, std::string price, std::string taxable = "N", std::string description = "Item") {
  GridLine line{"", std::move(quantity), std::move(description), std::move(price), std::move(taxable), ""};
  ExtendLine(line);
  return line;
}

// A line-item invoice every check accepts, with terms on the list.
InvoiceForm ValidForm() {
  InvoiceForm form;
  form.lines.fill(BlankLine(Company()));
  form.number = "1043";
  form.date = "12/08/2026";
  form.terms = "Net 30 Days";
  form.customer = Customer();
  form.Line(1) = Line("2", "10.00", "Y");
  form.calcTax = true;
  ComputeTotals(form, Company());
  return form;
}

// --- Reading typed numbers ---------------------------------------------------------

TEST(ReadNumber, ReadsTypedTextExactlyOrRefusesIt) {
  const struct {
    const char* typed;
    std::optional<std::int64_t> cents;
  } cases[] = {
      {"", 0},           {"  12.50 ", 1250},   {"1,234.5", 123450}, {"1,2,3", 12300},  {"-0", 0},
      {"\t7\r\n", 700},  {"-3.25", -325},      {".5", 50},          {"1e5", std::nullopt},
      {"12\n34", std::nullopt}, {"1 000", std::nullopt}, {"abc", std::nullopt}, {"-", std::nullopt},
      {"0x10", std::nullopt}, {"123456789012345.123456789", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::optional<Money> amount = ReadAmount(c.typed);
    ASSERT_EQ(amount.has_value(), c.cents.has_value());
    if (amount) {
      EXPECT_EQ(amount->Cents(), *c.cents);
    }
  }
}

TEST(LineExtension, MultipliesExactlyAndRoundsHalfAwayFromZero) {
  const struct {
    const char* quantity;
    const char* price;
    const char* shown;
  } cases[] = {
      {"3", "2.675", "8.03"},          // 8.025 exactly, not the 8.04 of a price rounded first
      {"1.5", "0.333", "0.50"},        // 0.4995
      {"-2", "1.005", "-2.01"},
      {"1,000", "12.5", "12,500.00"},
      {"", "99.99", "0.00"},           // an empty quantity counts 0
      {" ", "", "0.00"},               // a comment line
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.quantity) + " x " + c.price);
    EXPECT_EQ(Line(c.quantity, c.price).extension, c.shown);
  }
  GridLine unreadable = Line("2", "5.00");
  unreadable.quantity = "two";
  ExtendLine(unreadable);
  EXPECT_EQ(unreadable.extension, "10.00");
}

TEST(Lines, BlankCommentAndProductLines) {
  EXPECT_EQ(BlankLine(Company()), (GridLine{"", "1", "", "0.00", "N", "0.00"}));
  EXPECT_EQ(CommentLine(), (GridLine{"", " ", "", "", " ", "0.00"}));

  model::ProductRecord product{};
  product.ProductCode = "A1";
  product.ProdDesc = "  Anchor chain  ";
  product.UnitPrice = "1250.00";
  product.Taxable = true;
  GridLine line = BlankLine(Company());
  line.quantity = "2";
  FillFromProduct(line, product);
  EXPECT_EQ(line, (GridLine{"A1", "2", "Anchor chain", "1250.00", "Y", "2,500.00"}));
  FillFromProduct(line, product, "3");
  EXPECT_EQ(line.extension, "3,750.00");
  EXPECT_EQ(TypedProductCode("  abc-123456789 "), "ABC-123456");
}

TEST(Lines, EraseAllInMemoModeAlsoClearsTheMemoAndAmounts) {
  InvoiceForm form = ValidForm();
  form.kind = InvoiceKind::kMemo;
  form.memo = "Retainer";
  form.net = "500.00";
  EraseAllLines(form, Company());
  EXPECT_EQ(form.Line(1), BlankLine(Company()));
  EXPECT_EQ(form.memo, "");
  EXPECT_EQ(form.net, "0.00");
  EXPECT_EQ(form.balanceDue, "0.00");
}

// --- Totals ------------------------------------------------------------------------

TEST(Totals, TaxIsReRoundedAfterEveryTaxableRow) {
  InvoiceForm form = ValidForm();
  form.Line(1) = Line("1", "1.00", "Y");
  EXPECT_EQ(ComputeTotals(form, Company()).tax, Money::FromCents(8));  // 0.08125
  form.Line(2) = Line("1", "1.00", "Y");
  EXPECT_EQ(ComputeTotals(form, Company()).tax, Money::FromCents(16));  // 0.08 + 0.08125
  form.Line(3) = Line("5", "1.00", "N");
  form.Line(4) = Line("", "7.00", "Y");  // empty quantity: 0
  form.Line(5) = Line("1", "1.00", "y");  // only an exact "Y" is taxed
  const Totals totals = ComputeTotals(form, Company());
  EXPECT_EQ(totals.net, Money::FromCents(800));
  EXPECT_EQ(totals.tax, Money::FromCents(16));
  EXPECT_EQ(form.net, "8.00");
  EXPECT_EQ(form.tax, "0.16");
  EXPECT_EQ(form.total, "8.16");

  form.calcTax = false;
  EXPECT_EQ(ComputeTotals(form, Company()).tax, Money());
}

TEST(Totals, BalanceBelowZeroIsNegativeAndEmptyPaidBecomesZero) {
  InvoiceForm form = ValidForm();
  form.Line(1) = Line("1,000", "1.50");
  form.paid = "";
  EXPECT_FALSE(ComputeTotals(form, Company()).balanceNegative());
  EXPECT_EQ(form.paid, "0.00");
  EXPECT_EQ(form.balanceDue, "1,500.00");
  form.paid = "1,600";
  EXPECT_TRUE(ComputeTotals(form, Company()).balanceNegative());
  EXPECT_EQ(form.balanceDue, "-100.00");
}

TEST(Totals, MemoModeTakesTypedAmountsAndOnlyShowsTheTax) {
  InvoiceForm form;
  form.kind = InvoiceKind::kMemo;
  form.net = "1,000";
  form.tax = "";
  form.paid = "1200";
  const Totals totals = ComputeTotals(form, Company());
  EXPECT_EQ(form.tax, "0.00");
  EXPECT_EQ(form.total, "1,000.00");
  EXPECT_TRUE(totals.balanceNegative());
  EXPECT_EQ(form.balanceDue, "-200.00");
  EXPECT_EQ(MemoTaxLabel(form, Company()), "Tax on 1,000.00 is 81.25.");
  model::CompanyRecord untaxed = Company();
  untaxed.CalcTaxes = false;
  EXPECT_EQ(MemoTaxLabel(form, untaxed), "");
  EXPECT_EQ(TaxBoxCaption(Company()), "Calc. Tax at 8.125%");
}

TEST(TaxBox, ExemptCustomerInEditModeUnchecksAndLocksIt) {
  InvoiceForm form = ValidForm();
  form.mode = EntryMode::kEdit;
  EXPECT_EQ(PrepareTaxBox(form, Company()).caption, "Calc. Tax at 8.125%");
  EXPECT_TRUE(form.calcTax);
  form.customer->TaxExempt = "Y";
  const TaxBox box = PrepareTaxBox(form, Company());
  EXPECT_FALSE(box.enabled);
  EXPECT_EQ(box.caption, "Tax Exempt");
  EXPECT_FALSE(form.calcTax);
}

// --- Customer ------------------------------------------------------------------------

TEST(ChooseCustomer, WarnsOverLimitThenCreditHoldAndTakesTheTerms) {
  model::CustomerRecord customer = Customer();
  customer.CreditLimit = "50.00";
  customer.CreditHold = "Y";
  customer.TaxExempt = "Y";
  customer.Terms = "Net 10";
  InvoiceForm form;
  form.calcTax = true;
  TaxBox box;
  ScriptedDialogs dialogs;
  ChooseCustomer(form, customer, Company(), dialogs, box);
  ASSERT_EQ(dialogs.Log().size(), 2u);
  EXPECT_EQ(dialogs.Log()[0].caption, "Warning");
  EXPECT_EQ(dialogs.Log()[0].text, "This customer is over their credit limit.");
  EXPECT_EQ(dialogs.Log()[0].icon, Icon::kWarning);
  EXPECT_EQ(dialogs.Log()[1].text, "This customer is placed on inactive/credit hold status.");
  EXPECT_EQ(form.terms, "Net 10");
  EXPECT_FALSE(form.calcTax);
  EXPECT_FALSE(box.enabled);
  EXPECT_EQ(box.caption, "Tax Exempt");
  EXPECT_EQ(form.customer->CustNo, "C100");

  // No limit set: no warning whatever the balance; blank terms keep the typed ones.
  customer = Customer();
  customer.Balance = "-5.00";
  form.terms = "COD";
  ScriptedDialogs quiet;
  ChooseCustomer(form, customer, Company(), quiet, box);
  EXPECT_TRUE(quiet.Log().empty());
  EXPECT_EQ(form.terms, "COD");
  EXPECT_TRUE(box.enabled);
  EXPECT_TRUE(form.calcTax);
  const CustomerLabels labels = LabelsOf(customer);
  EXPECT_EQ(labels.creditLimit, "0.00");
  EXPECT_EQ(labels.balance, "-5.00");
  EXPECT_TRUE(labels.balanceNegative);
}

// --- The checks on OK ------------------------------------------------------------------

class CheckInvoiceTest : public ::testing::Test {
 protected:
  EntryCheck Check(const InvoiceForm& form) {
    return CheckInvoice(form, {company_, dialogs_, [this](std::string_view number) { return onFile_ == number; },
                               terms_, [this](const std::vector<std::string>& terms) {
                                 saved_ = terms;
                                 return saveOutcome_;
                               }});
  }

  model::CompanyRecord company_ = Company();
  ScriptedDialogs dialogs_;
  std::string onFile_ = "1042";
  std::vector<std::string> terms_ = {"Net 30 Days", "COD"};
  std::optional<std::vector<std::string>> saved_;
  model::FileOutcome saveOutcome_;
};

struct Refusal {
  const char* name;
  std::function<void(InvoiceForm&)> change;
  const char* caption;
  const char* text;
  Icon icon;
  EntryField focus;
  int row = 0;
  GridColumn column = GridColumn::kProduct;
};

// Each row breaks one rule of a valid invoice, so every check before it passes.
const Refusal kRefusals[] = {
    {"1 no number", [](InvoiceForm& f) { f.number = "  "; }, "Invoice Number", "You need an invoice number.",
     Icon::kWarning, EntryField::kNumber},
    {"1 blanks inside", [](InvoiceForm& f) { f.number = "10 43"; }, "Invoice Number",
     "An invoice number may not contain blanks.", Icon::kWarning, EntryField::kNumber},
    {"1 too long", [](InvoiceForm& f) { f.number = "9707100000"; }, "Invoice Number",
     "An invoice number may not be longer than 9 characters.", Icon::kWarning, EntryField::kNumber},
    {"2 no customer", [](InvoiceForm& f) { f.customer.reset(); }, "Customer Required",
     "You need to select a customer.", Icon::kInformation, EntryField::kCustomerButton},
    {"3 february 30", [](InvoiceForm& f) { f.date = "02/30/2026"; }, "Invoice Date",
     "You have an invalid invoice date. You can clear the date and then select the calendar button.",
     Icon::kWarning, EntryField::kDate},
    {"3 month 13", [](InvoiceForm& f) { f.date = "13/01/2026"; }, "Invoice Date",
     "You have an invalid invoice date. You can clear the date and then select the calendar button.",
     Icon::kWarning, EntryField::kDate},
    {"3 not the masked form", [](InvoiceForm& f) { f.date = "1/5/2026"; }, "Invoice Date",
     "You have an invalid invoice date. You can clear the date and then select the calendar button.",
     Icon::kWarning, EntryField::kDate},
    {"4 lower-case g", [](InvoiceForm& f) { f.number = "g1043"; }, "Invoice Number",
     "Please do not use the letter \"G\" in your invoice numbers. This is reserved for repeat billings. You must "
     "change this invoice number.",
     Icon::kWarning, EntryField::kNumber},
    {"5 quantity", [](InvoiceForm& f) { f.Line(3) = Line("1e5", "1.00"); }, "VT Quillary PRO",
     "Line 3 has an invalid QUANTITY value.", Icon::kNone, EntryField::kGridCell, 3, GridColumn::kQuantity},
    {"5 pasted lines", [](InvoiceForm& f) { f.Line(4).unitPrice = "12\n13"; }, "VT Quillary PRO",
     "Line 4 has an invalid UNIT PRICE value.", Icon::kNone, EntryField::kGridCell, 4, GridColumn::kUnitPrice},
    {"5 extension too wide", [](InvoiceForm& f) { f.Line(3) = Line("10000", "9999.99"); }, "VT Quillary PRO",
     "Line 3 has an EXTENSION too large to store.", Icon::kNone, EntryField::kGridCell, 3, GridColumn::kExtension},
    {"5 quantity too wide", [](InvoiceForm& f) { f.Line(2) = Line("12345678901", "0"); }, "VT Quillary PRO",
     "Line 2 has a QUANTITY too large to store.", Icon::kNone, EntryField::kGridCell, 2, GridColumn::kQuantity},
    {"6 no description", [](InvoiceForm& f) { f.Line(1).description = "   "; }, "Description Required",
     "You do not have a description on any of your line items. At least one description field is required or you "
     "have nothing to invoice.",
     Icon::kWarning, EntryField::kGridCell, 1, GridColumn::kDescription},
    {"7 duplicate", [](InvoiceForm& f) { f.number = " 1042 "; }, "Duplicate Invoice: 1042",
     "This invoice number currently exists. Please enter another one.", Icon::kInformation, EntryField::kNumber},
    {"8 net", [](InvoiceForm& f) { f.net = "12..5"; }, "VT Quillary PRO", "The NET amount has an invalid value.",
     Icon::kNone, EntryField::kNet},
    {"8 tax", [](InvoiceForm& f) { f.tax = "1e2"; }, "VT Quillary PRO", "The TAX amount has an invalid value.",
     Icon::kNone, EntryField::kTax},
    {"8 paid", [](InvoiceForm& f) { f.paid = "ten"; }, "VT Quillary PRO", "The PAID amount has an invalid value.",
     Icon::kNone, EntryField::kPaid},
    {"8 total too wide", [](InvoiceForm& f) { f.net = "9999999.99"; f.tax = "1.00"; }, "VT Quillary PRO",
     "The TOTAL amount is too large to store.", Icon::kNone, EntryField::kNet},
    {"8 paid too wide", [](InvoiceForm& f) { f.paid = "-1234567.50"; }, "VT Quillary PRO",
     "The PAID amount is too large to store.", Icon::kNone, EntryField::kPaid},
    {"10 paid a cent over", [](InvoiceForm& f) { f.paid = "21.64"; }, "Payment Amount",
     "The paid amount cannot exceed the invoice total amount.", Icon::kWarning, EntryField::kPaid},
};

TEST_F(CheckInvoiceTest, EachCheckStopsWithItsMessageAndFocus) {
  for (const Refusal& refusal : kRefusals) {
    SCOPED_TRACE(refusal.name);
    InvoiceForm form = ValidForm();
    refusal.change(form);
    ScriptedDialogs fresh;
    std::swap(dialogs_, fresh);
    const EntryCheck check = Check(form);
    EXPECT_FALSE(check.ok);
    ASSERT_EQ(dialogs_.Log().size(), 1u);
    const LoggedMessage& shown = dialogs_.Log()[0];
    EXPECT_EQ(shown.caption, refusal.caption);
    EXPECT_EQ(shown.text, refusal.text);
    EXPECT_EQ(shown.icon, refusal.icon);
    EXPECT_EQ(check.focus, refusal.focus);
    if (refusal.focus == EntryField::kGridCell) {
      EXPECT_EQ(check.row, refusal.row);
      EXPECT_EQ(check.column, refusal.column);
    }
  }
}

TEST_F(CheckInvoiceTest, AValidInvoicePassesWithoutAWord) {
  EXPECT_TRUE(Check(ValidForm()).ok);
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_FALSE(saved_);
}

TEST_F(CheckInvoiceTest, PaidEqualToTheTotalPasses) {
  InvoiceForm form = ValidForm();
  ASSERT_EQ(form.total, "21.63");  // 20.00 and 8.125 % of it, 1.625, rounded up
  form.paid = "21.63";
  EXPECT_TRUE(Check(form).ok);
}

TEST_F(CheckInvoiceTest, ANoChargeInvoiceNeedsYes) {
  InvoiceForm form = ValidForm();
  form.Line(1) = Line("1", "0.00");
  ComputeTotals(form, company_);
  dialogs_.Answer(Answer::kNo);
  const EntryCheck refused = Check(form);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.focus, EntryField::kNone);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Please Confirm");
  EXPECT_EQ(dialogs_.Log()[0].text, "Is this a no-charge invoice?");
  dialogs_.Answer(Answer::kYes);
  EXPECT_TRUE(Check(form).ok);
}

TEST_F(CheckInvoiceTest, OverTheCreditLimitAsksFirst) {
  InvoiceForm form = ValidForm();
  form.customer->CreditLimit = "120.00";  // balance 100.00 + 21.63
  dialogs_.Answer(Answer::kNo);
  EXPECT_FALSE(Check(form).ok);
  EXPECT_EQ(dialogs_.Log()[0].text,
            "This invoice will cause this customer to be over their credit limit.  Do you want to proceed anyway?");
  dialogs_.Answer(Answer::kYes);
  EXPECT_TRUE(Check(form).ok);
}

TEST_F(CheckInvoiceTest, TheLetterGIsKeptForGeneratedInvoicesBeingEdited) {
  InvoiceForm form = ValidForm();
  form.mode = EntryMode::kEdit;
  form.number = "G1001";
  form.storedNumber = "G1001";
  onFile_ = "G1001";  // its own number is no duplicate
  EXPECT_TRUE(Check(form).ok);
  form.number = "1001";
  form.storedNumber = "1001";
  onFile_ = "1001";
  EXPECT_TRUE(Check(form).ok);
  form.number = "1001G";
  EXPECT_FALSE(Check(form).ok);
}

TEST_F(CheckInvoiceTest, AMemoInvoiceNeedsNoLinesAndTakesALongMemo) {
  InvoiceForm form = ValidForm();
  form.kind = InvoiceKind::kMemo;
  form.lines.fill(GridLine{"", "x", "", "y", "", ""});  // lines are not looked at
  form.memo = std::string(2000, 'm');
  form.net = "250.00";
  form.tax = "";
  EXPECT_TRUE(Check(form).ok);
  EXPECT_FALSE(SavedMemoText(form).empty());
}

TEST_F(CheckInvoiceTest, KnownTermsPassWhateverTheirCase) {
  InvoiceForm form = ValidForm();
  form.terms = "net 30 days";
  EXPECT_TRUE(Check(form).ok);
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(CheckInvoiceTest, ANewTermIsAddedOnYesPassedOnNoAndEditedOnCancel) {
  InvoiceForm form = ValidForm();
  form.terms = "Net 15";
  dialogs_.Answer(Answer::kCancel).Answer(Answer::kNo).Answer(Answer::kYes);

  EXPECT_EQ(Check(form).focus, EntryField::kTerms);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Terms: Net 15");
  EXPECT_EQ(dialogs_.Log()[0].text, "This is a new payment term. Would you like to add terms to the terms file?");
  EXPECT_EQ(dialogs_.Log()[0].buttons, platform::Buttons::kYesNoCancel);

  EXPECT_TRUE(Check(form).ok);
  EXPECT_FALSE(saved_);

  EXPECT_TRUE(Check(form).ok);
  const std::vector<std::string> extended = {"Net 30 Days", "COD", "Net 15"};
  EXPECT_EQ(saved_, extended);
  EXPECT_EQ(terms_, extended);
}

TEST_F(CheckInvoiceTest, ATermsFileThatCannotBeWrittenIsReported) {
  InvoiceForm form = ValidForm();
  form.terms = "Net 15";
  saveOutcome_ = model::FileOutcome::Failure("Could not write \"QYTERMS.DAT\": Read-only file system.");
  dialogs_.Answer(Answer::kYes);
  const EntryCheck check = Check(form);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.focus, EntryField::kTerms);
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[1].text, "Could not write \"QYTERMS.DAT\": Read-only file system.");
  EXPECT_EQ(dialogs_.Log()[1].icon, Icon::kError);
  EXPECT_EQ(terms_.size(), 2u);  // a later Yes asks again
}

// --- Number and timer ----------------------------------------------------------------

TEST(NewInvoiceNumber, PrefixesYearAndMonthWhenTheCompanyAsks) {
  model::CompanyRecord company = Company();
  EXPECT_EQ(NewInvoiceNumber(company, {1997, 7, 4}), "1043");
  company.PrefixInvoiceNo = "Y";
  EXPECT_EQ(NewInvoiceNumber(company, {1997, 7, 4}), "97071043");
  EXPECT_EQ(NewInvoiceNumber(company, {2005, 12, 31}), "05121043");
}

TEST(WorkTimer, ElapsedAndHoursTexts) {
  EXPECT_EQ(ElapsedText(0), "00:00:00");
  EXPECT_EQ(ElapsedText(3 * 3600 + 7 * 60 + 9), "03:07:09");
  EXPECT_EQ(ElapsedText(-5), "00:00:00");
  EXPECT_EQ(HoursText(5400), "01.500");
  EXPECT_EQ(HoursText(1), "00.000");
  EXPECT_EQ(HoursText(2), "00.001");  // 0.00056 rounds up
  EXPECT_EQ(HoursText(45 * 3600), "45.000");
}

// --- Saved lines ------------------------------------------------------------------------

std::vector<std::string> FileLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
  return lines;
}

// A saved grid row holds its fields at fixed columns (1-based): line number 1-2,
// code 4-13, quantity 15-24, description 26-57, price 59-68, flag 70, extension
// 72-83, each padded with blanks, and single blanks between them.
void ExpectColumns(const std::string& line, const std::array<std::string, 7>& fields) {
  ASSERT_EQ(line.size(), 83u);
  const std::pair<std::size_t, std::size_t> columns[] = {{1, 2},  {4, 10}, {15, 10}, {26, 32},
                                                         {59, 10}, {70, 1}, {72, 12}};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto [start, width] = columns[i];
    std::string expected = fields[i];
    expected.resize(width, ' ');
    EXPECT_EQ(line.substr(start - 1, width), expected) << "field " << i;
    if (start > 1) {
      EXPECT_EQ(line[start - 2], ' ');
    }
  }
}

TEST(SavedLines, WritesFixedColumnsAndReadsThemBack) {
  InvoiceForm form = ValidForm();
  form.Line(1) = {"A1", "2", "Anchor chain", "1250.00", "Y", "2,500.00"};
  form.Line(2) = {"B2", "1", "Grüne Boje", "3.50", "N", "3.50"};
  form.Line(3) = {"C3", "1", std::string(40, 'D'), "1.00", "YES", "1.00"};  // 40 > 32 shifts the rest
  form.notes = "PO 4471";
  form.statementNote = "Spring order";
  form.keyCode = "SALES1";
  const std::string text = SavedLinesText(form);
  const std::vector<std::string> lines = FileLines(text);
  ASSERT_EQ(lines.size(), 101u);
  ExpectColumns(lines[0], {"1 ", "A1", "2", "Anchor chain", "1250.00", "Y", "2,500.00"});
  ExpectColumns(lines[1], {"2 ", "B2", "1", "Gr\xFCne Boje", "3.50", "N", "3.50"});
  EXPECT_EQ(lines[2], "3  C3         1          " + std::string(40, 'D') + " 1.00       Y 1.00  ");  // cut to 85
  EXPECT_EQ(lines[99], std::string(83, ' '));  // row 100 does not exist
  EXPECT_EQ(lines[100], "PO 4471" + std::string(53, ' ') + "Spring order" + std::string(13, ' ') + "SALES1");

  InvoiceForm loaded;
  LoadSavedLinesText(text, loaded, Company());
  EXPECT_EQ(loaded.Line(1), form.Line(1));
  EXPECT_EQ(loaded.Line(2), form.Line(2));
  EXPECT_EQ(loaded.Line(3).description, std::string(32, 'D'));
  EXPECT_EQ(loaded.Line(4), (GridLine{"", "1", "", "0.00", "N", "0.00"}));
  EXPECT_EQ(loaded.notes, "PO 4471");
  EXPECT_EQ(loaded.statementNote, "Spring order");
  EXPECT_EQ(loaded.keyCode, "SALES1");
  EXPECT_EQ(loaded.net, "2,503.50");  // line 3 came back shifted: no extension at its column
}

TEST(SavedLines, MemoFileKeepsTwentySixLinesAndRestoresTwentyFive) {
  InvoiceForm form;
  form.kind = InvoiceKind::kMemo;
  for (int line = 1; line <= 30; ++line) form.memo += (line > 1 ? "\n" : "") + ("  memo line " + std::to_string(line));
  form.memoDescription = "Retainer";
  form.memoQuantity = "1";
  form.net = "1,200.00";
  form.keyCode = "None";
  const std::vector<std::string> lines = FileLines(SavedMemoText(form));
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_EQ(lines[25], "  memo line 26");
  ExpectColumns(lines[27], {"1 ", "Memo", "1", "Retainer", "1200.00", "M", "1200.00"});

  InvoiceForm loaded;
  loaded.kind = InvoiceKind::kMemo;
  LoadSavedMemoText(SavedMemoText(form), loaded, Company());
  EXPECT_EQ(std::count(loaded.memo.begin(), loaded.memo.end(), '\n'), 24);
  EXPECT_EQ(loaded.memo.substr(0, 24), "memo line 1\nmemo line 2\n");
  EXPECT_EQ(loaded.memoDescription, "Retainer");
  EXPECT_EQ(loaded.memoQuantity, "1");
  EXPECT_EQ(loaded.keyCode, "None");
}

TEST(SavedLines, FilesInTheWorkingFolderWithTheirMessages) {
  platform::testing::ScopedWorkingFolder folder;
  ScriptedDialogs dialogs;
  InvoiceForm form = ValidForm();
  EXPECT_FALSE(LoadSavedLines(form, Company(), dialogs));
  form.kind = InvoiceKind::kMemo;
  EXPECT_FALSE(LoadSavedLines(form, Company(), dialogs));
  EXPECT_TRUE(ReplaceSavedLines(form, dialogs));
  EXPECT_TRUE(std::filesystem::exists("SAVEMEMO.SAV"));
  form.kind = InvoiceKind::kLineItem;
  EXPECT_TRUE(ReplaceSavedLines(form, dialogs));
  form.Line(1) = BlankLine(Company());
  EXPECT_TRUE(LoadSavedLines(form, Company(), dialogs));
  EXPECT_EQ(form.Line(1).unitPrice, "10.00");

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Load Saved Lines", "You have not created a saved lines file."},
      {"Load Saved Memo", "You have not created a saved memo file."},
      {"Saved Lines File", "The saved lines file has been replaced with the current invoice lines."},
      {"Saved Lines File", "The saved lines file has been replaced with the current invoice lines."},
  };
  ASSERT_EQ(dialogs.Log().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dialogs.Log()[i].caption, expected[i].first);
    EXPECT_EQ(dialogs.Log()[i].text, expected[i].second);
    EXPECT_EQ(dialogs.Log()[i].icon, Icon::kInformation);
  }
}

TEST(SavedLines, AFileThatCannotBeWrittenIsReported) {
  platform::testing::ScopedWorkingFolder folder;
  ScriptedDialogs dialogs;
  std::filesystem::create_directory("SAVELINE.SAV");  // a folder where the file should be
  EXPECT_FALSE(ReplaceSavedLines(ValidForm(), dialogs));
  ASSERT_EQ(dialogs.Log().size(), 1u);
  EXPECT_EQ(dialogs.Log()[0].caption, "Saved Lines File");
  EXPECT_EQ(dialogs.Log()[0].icon, Icon::kError);
  EXPECT_NE(dialogs.Log()[0].text.find("SAVELINE.SAV"), std::string::npos);
}

}  // namespace
}  // namespace invoicing
