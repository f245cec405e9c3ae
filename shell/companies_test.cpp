#include "shell/companies.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/testing/company_folder.h"
#include "model/keys.h"
#include "platform/testing/recording_canvas.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using engine::testing::FileNamesIn;
using model::CompanyRecord;
using platform::Answer;
using platform::testing::ScriptedDialogs;
using files::testing::NamedCompany;

CompanyRecord Numbered(std::string_view name, std::string_view number) {
  CompanyRecord company = NamedCompany(name);
  company.CompanyNo = number;
  return company;
}

bool SameBytes(const CompanyRecord& a, const CompanyRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// ---------------------------------------------------------------------------
// Control values

// Every option field holding a value no default would give.
CompanyRecord EveryOptionSet() {
  CompanyRecord c{};
  c.CompanyName = "Harbor Supply";
  c.CompanyNo = "7";
  c.CoAddr1 = "a1";
  c.CoAddr2 = "a2";
  c.CoAddr3 = "a3";
  c.CoAddr4 = "a4";
  c.CoAddr5 = "a5";
  c.CalcTaxes = true;
  c.TaxRate = "7.250";
  c.TaxHeading = "GST";
  c.NextInvoiceNo = "A100";
  c.DefaultQuantity = "2.00";
  c.DefaultTerms = "C.O.D.";
  c.PrintDuplicate = true;
  model::SetYes(c.PrefixInvoiceNo, true);
  c.DefaultPrintFlag = true;
  c.DefaultBodyStyle = "M";
  c.PrintPackingSlip = true;
  c.PrintFileCopy = true;
  c.InvoiceCopies = "3";
  model::SetYes(c.CopyToLabelQueue, true);
  model::SetYes(c.BatchToLabelQueue, true);
  c.DateOrder = "D";
  c.ShowAgingChart = true;
  c.MaxProductWindow = true;
  c.MaxInvoiceWindow = true;
  c.MaxCustomerWindow = true;
  c.ShowHints = true;
  c.NextCustNo = "C42";
  c.AutoCopyBilling = true;
  model::SetYes(c.AuditTrail, true);
  c.PrintVerticalLines = true;
  c.PrintHorizontalLines = true;
  c.LineWidth = "3";
  c.PrintShading = true;
  c.LetterheadStyle = true;
  c.BoxInvoices = true;
  c.BoxStatements = true;
  c.PrintProductCodes = true;
  c.MoveDownTotals = true;
  c.PrintCustomerAging = true;
  c.PrintSalesMessage = true;
  c.PrintLogo = true;
  c.LogoFile = "logo.bmp";
  c.BoxTop = "11";
  c.TopMargin = "12";
  c.LeftMargin = "13";
  c.MaxLines = "24";
  model::SetYes(c.OmitCompanyOnForms, true);
  c.AddressIndent = "150";
  c.SalesMsg1 = "s1";
  c.SalesMsg2 = "s2";
  c.SalesMsg3 = "s3";
  c.SalesMsg4 = "s4";
  c.UseBackground = true;
  c.BackgroundFile = "back.bmp";
  model::SetFont(c.ScreenFont, "Screen", 11, 0x112233, 1);
  model::SetFont(c.ManagerFont, "Mono", 9, 0x445566, 2);
  model::SetFont(c.EnvelopeFont, "Envelope", 14, 0x778899, 4);
  c.EnvLineSpacing = "120";
  c.EnvLeftMargin = "151";
  c.EnvTopMargin = "152";
  c.EnvSendLeft = "2401";
  c.EnvOrientation = "L";
  c.EnvAddress = "S";
  model::SetYes(c.PrintReturnAddress, true);
  c.InvoiceCaption = "BILL";
  c.StatementCaption = "ACCOUNT";
  c.PackingSlipCaption = "PACKING";
  c.FileCopyCaption = "REMIT";
  c.CodeHeading = "Item";
  c.QuantityHeading = "Qty";
  c.DescHeading = "What";
  c.PriceHeading = "Each";
  c.ExtensionHeading = "Total";
  c.MemoHeading = "Memo";
  c.DefaultStatementNote = "Note";
  for (int i = 0; i < 6; ++i) model::SetFont(c.FormFonts[i], "Form" + std::to_string(i), 8 + i, 0x10 + i, 0);
  return c;
}

TEST(CompanyOptionsTest, EveryOptionFieldIsReadAndStoredThroughItsControl) {
  const CompanyRecord original = EveryOptionSet();
  CompanyRecord stored{};
  StoreOptions(OptionsOf(original), stored);
  // The fields without a control are zero in both.
  EXPECT_TRUE(SameBytes(stored, original));

  CompanyRecord again = original;
  StoreOptions(OptionsOf(original), again);
  EXPECT_TRUE(SameBytes(again, original));
}

TEST(CompanyOptionsTest, ControlsShowTheirOwnFields) {
  CompanyRecord company = EveryOptionSet();
  company.PrintHorizontalLines = false;
  model::SetYes(company.CopyToLabelQueue, false);
  company.MaxInvoiceWindow = false;
  const CompanyOptions options = OptionsOf(company);
  EXPECT_EQ(options.CAdd1, "a1");
  EXPECT_EQ(options.ExtraAdd1, "a5");
  EXPECT_EQ(options.TaxName, "GST");
  EXPECT_EQ(options.CNxtCustNo, "C42");
  EXPECT_EQ(options.SM3, "s3");
  EXPECT_EQ((std::vector<std::string>{options.BigBxTop, options.TopFormMar, options.LeftFormMar, options.MaxLines}),
            (std::vector<std::string>{"11", "12", "13", "24"}));
  EXPECT_EQ((std::vector<std::string>{options.ELineSpace, options.LMarSet, options.TopMarSet, options.SendAddLeft}),
            (std::vector<std::string>{"120", "151", "152", "2401"}));
  EXPECT_EQ((std::vector<std::string>{options.Headers.PrCdhead, options.Headers.QuanHead, options.Headers.DescHead,
                                      options.Headers.Edit8, options.Headers.ExtHead}),
            (std::vector<std::string>{"Item", "Qty", "What", "Each", "Total"}));
  EXPECT_TRUE(options.HorLCB);  // "Vertical Lines"
  EXPECT_FALSE(options.VLineCB);
  EXPECT_FALSE(options.CpyToLQue);
  EXPECT_TRUE(options.BatchLabels);
  EXPECT_FALSE(options.CMaxInvWin);
  EXPECT_TRUE(options.CMaxCustWin);
}

TEST(CompanyOptionsTest, EmptyAndOutOfRangeValuesTakeTheirDefaults) {
  CompanyOptions options = OptionsOf(EveryOptionSet());
  CompanyRecord company{};
  options.TaxCRate = "  ";
  options.PushAddr = "";
  for (const std::string copies : {"", "0", "1", "6", "9", "x"}) {
    options.NumCpys = copies;
    StoreOptions(options, company);
    EXPECT_EQ(company.InvoiceCopies.str(), "1") << copies;
  }
  EXPECT_EQ(company.TaxRate.str(), "0.000");
  EXPECT_EQ(company.AddressIndent.str(), "0");
  for (const std::string copies : {"2", "5"}) {
    options.NumCpys = copies;
    StoreOptions(options, company);
    EXPECT_EQ(company.InvoiceCopies.str(), copies);
  }
}

TEST(CompanyOptionsTest, ChoicesAndFlagsAreStoredAsTheirLettersAndTextIsCut) {
  CompanyOptions options;
  options.CName = std::string(40, 'n');
  options.CoNumb = "123456";
  options.YYMMonInv = true;
  CompanyRecord company{};
  StoreOptions(options, company);
  EXPECT_EQ(company.CompanyName.str(), std::string(35, 'n'));
  EXPECT_EQ(company.CompanyNo.str(), "12345");
  EXPECT_EQ(company.DefaultBodyStyle.str(), "P");
  EXPECT_EQ(company.DateOrder.str(), "M");
  EXPECT_EQ(company.EnvOrientation.str(), "P");
  EXPECT_EQ(company.EnvAddress.str(), "B");
  EXPECT_EQ(company.PrefixInvoiceNo.str(), "Y");
  EXPECT_EQ(company.AuditTrail.str(), "N");

  company.DateOrder = "d";  // read as the date format reads it
  company.EnvOrientation = "x";
  EXPECT_TRUE(OptionsOf(company).DDMMYY);
  EXPECT_FALSE(OptionsOf(company).LandSCB);
}

TEST(CompanyOptionsTest, ControlsCarryTheirFieldsCapacitiesAndDigitRule) {
  std::set<std::string_view> names, digits;
  for (const auto& control : CompanyTextControls()) {
    names.insert(control.name);
    if (control.digitsOnly) digits.insert(control.name);
  }
  for (const auto& control : CompanyCheckControls()) names.insert(control.name);
  EXPECT_EQ(names.size(), CompanyTextControls().size() + CompanyCheckControls().size());
  EXPECT_EQ(digits, (std::set<std::string_view>{"NumCpys", "LineWidthVal", "BigBxTop", "TopFormMar", "LeftFormMar",
                                                "MaxLines"}));
  const auto capacity = [](const auto& controls, std::string_view name) {
    for (const auto& control : controls) {
      if (control.name == name) return control.capacity;
    }
    return -1;
  };
  EXPECT_EQ(capacity(CompanyTextControls(), "CName"), 35);
  EXPECT_EQ(capacity(CompanyTextControls(), "CoNumb"), 5);
  EXPECT_EQ(capacity(CompanyTextControls(), "TaxCRate"), 6);
  EXPECT_EQ(capacity(CompanyTextControls(), "SM4"), 78);
  EXPECT_EQ(capacity(CompanyTextControls(), "PushAddr"), 10);
  EXPECT_EQ(capacity(HeaderTextControls(), "InvCapData"), 25);
  EXPECT_EQ(capacity(HeaderTextControls(), "DescHead"), 32);
  EXPECT_EQ(capacity(HeaderTextControls(), "ExtHead"), 15);
  EXPECT_EQ(capacity(HeaderTextControls(), "StmntNote"), 80);
}

TEST(CompanyBrowserTest, RowsLineUpUnderTheHeader) {
  CompanyRecord company = Numbered("Harbor Supply", "12");
  company.TotalAR = "1234.5";
  const std::string header = CompanyBrowserHeader();
  const std::string row = CompanyBrowserRow(company);
  EXPECT_EQ(header.find("Number"), row.find("12"));
  EXPECT_EQ(header.size(), row.size());
  EXPECT_TRUE(row.ends_with(" 1,234.50"));
  EXPECT_TRUE(header.ends_with(" Balance"));
}

// ---------------------------------------------------------------------------
// The company list file

class CompanyListTest : public ::testing::Test {
 protected:
  CompanyListTest() { engine_.InitEngine(30); }

  void SetUp() override {
    ASSERT_TRUE(list_.Create());
    ASSERT_TRUE(list_.Open());
  }

  engine::RecordNumber Put(const CompanyRecord& company) {
    engine::RecordNumber number = 0;
    EXPECT_TRUE(list_.Add(company, number));
    return number;
  }
  CompanyRecord Stored(engine::RecordNumber number) {
    CompanyRecord company{};
    engine_.GetRecord(list_.Block(), number, engine::RecordBytes(company));
    return company;
  }
  int Companies() { return engine_.KeysInIndex(list_.Block(), model::company_key::kNumber); }
  static void Touch(const std::string& file) { engine::testing::WriteBytes(file, {'x'}); }
  static void TouchCompanyFiles(std::string_view number) {
    for (const std::string& file : files::CompanyDataFiles(number)) Touch(file);
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  files::KeyedFile list_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCompanyList)};
};

TEST_F(CompanyListTest, NewCompanyKeepsFormsAndEnvelopeButNotAddressesMessagesOrDates) {
  CompanyRecord current = EveryOptionSet();
  current.CompanyNo = "1";
  current.LastAgingDate = "12/01/2026";
  current.LastSavedInvoiceNo = "A99";
  current.TotalAR = "500.00";
  Put(current);

  CompanyEdit edit = BeginNewCompany(list_, current);
  CompanyOptions options = OptionsOf(edit.record);
  EXPECT_EQ(options.CoNumb, "2");
  options.CName = "Bay Traders";
  ASSERT_TRUE(SaveCompany(list_, dialogs_, options, edit));

  const CompanyRecord added = Stored(edit.number);
  EXPECT_TRUE(SameBytes(added, edit.record));
  EXPECT_EQ(added.CompanyName.str(), "Bay Traders");
  EXPECT_EQ(added.CompanyNo.str(), "2");
  EXPECT_TRUE(added.CoAddr1.empty());
  EXPECT_TRUE(added.SalesMsg1.empty());
  EXPECT_EQ(added.LastAgingDate.str(), " ");
  EXPECT_EQ(added.TotalAR.str(), "0.00");
  EXPECT_TRUE(added.LastSavedInvoiceNo.empty());
  EXPECT_EQ(added.MaxLines.str(), "24");
  EXPECT_EQ(added.InvoiceCaption.str(), "BILL");
  EXPECT_EQ(added.FormFonts[5].Name.str(), "Form5");
  EXPECT_EQ(added.EnvSendLeft.str(), "2401");
  EXPECT_EQ(added.EnvelopeFont.Name.str(), "Envelope");
  EXPECT_EQ(Companies(), 2);
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(CompanyListTest, AddingANumberInUseFailsAndAddsNothing) {
  const engine::RecordNumber first = Put(Numbered("Harbor Supply", "1"));
  CompanyEdit edit = BeginNewCompany(list_, Stored(first));
  CompanyOptions options = OptionsOf(edit.record);
  options.CName = "Bay Traders";
  options.CoNumb = " 1";
  EXPECT_FALSE(SaveCompany(list_, dialogs_, options, edit));
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"Add operation failed"}));
  EXPECT_EQ(Companies(), 1);
  EXPECT_EQ(engine_.KeysInIndex(list_.Block(), model::company_key::kName), 1);
  EXPECT_EQ(engine_.UsedRecords(list_.Block()), 1);
  EXPECT_EQ(Stored(first).CompanyName.str(), "Harbor Supply");
}

// Rates, invoice numbers and quantities that were no numbers used to be stored as
// typed, for the invoices to compute with later.
TEST_F(CompanyListTest, OptionThatIsNoNumberIsRefusedNamingItsFieldAndNothingIsWritten) {
  const engine::RecordNumber first = Put(Numbered("Harbor Supply", "1"));
  struct Case {
    std::string CompanyOptions::*value;
    const char* typed;
    const char* control;
    const char* caption;
    const char* text;
  };
  const Case cases[] = {
      {&CompanyOptions::TaxCRate, "abc-12", "TaxCRate", "Tax Rate",
       "The Tax Rate \"abc-12\" is not a percentage. Type it as a number such as 8.125."},
      {&CompanyOptions::TaxCRate, "-1", "TaxCRate", "Tax Rate",
       "The Tax Rate \"-1\" is not a percentage. Type it as a number such as 8.125."},
      {&CompanyOptions::NextIno, "1O0abc", "NextIno", "Next Invoice Number",
       "The Next Invoice Number \"1O0abc\" is not a whole number. Type digits only, such as 1001."},
      {&CompanyOptions::NextIno, "12.5", "NextIno", "Next Invoice Number",
       "The Next Invoice Number \"12.5\" is not a whole number. Type digits only, such as 1001."},
      {&CompanyOptions::DefInvQuan, "-5x", "DefInvQuan", "Default Invoice Quantity",
       "The Default Invoice Quantity \"-5x\" is not a quantity. Type it as a number such as 1.00."},
  };
  for (const Case& c : cases) {
    CompanyEdit edit = BeginEditCompany(first, Stored(first), dialogs_);
    CompanyOptions options = OptionsOf(edit.record);
    options.CName = "Changed";
    options.*c.value = c.typed;
    const SaveOutcome outcome = SaveCompany(list_, dialogs_, options, edit);
    EXPECT_FALSE(outcome.saved) << c.typed;
    EXPECT_EQ(outcome.refusedControl, c.control);
    EXPECT_EQ(dialogs_.Log().back().caption, c.caption);
    EXPECT_EQ(dialogs_.Log().back().text, c.text);
  }
  EXPECT_EQ(Stored(first).CompanyName.str(), "Harbor Supply");

  CompanyEdit edit = BeginEditCompany(first, Stored(first), dialogs_);
  CompanyOptions options = OptionsOf(edit.record);
  options.TaxCRate = "8.125";
  options.NextIno = " 1001 ";
  options.DefInvQuan = "";
  EXPECT_TRUE(SaveCompany(list_, dialogs_, options, edit));
  EXPECT_EQ(Stored(first).TaxRate.str(), "8.125");
}

TEST_F(CompanyListTest, NumberThatCouldNameOtherFilesIsRefusedBeforeAnythingIsWritten) {
  const engine::RecordNumber first = Put(Numbered("Harbor Supply", "1"));
  list_.Close();
  const auto filesBefore = FileNamesIn(folder_.path());
  ASSERT_TRUE(list_.Open());
  for (const std::string number : {"../x", "", "a.b"}) {
    CompanyEdit edit = BeginNewCompany(list_, Stored(first));
    CompanyOptions options = OptionsOf(edit.record);
    options.CoNumb = number;
    EXPECT_FALSE(SaveCompany(list_, dialogs_, options, edit));
    EXPECT_EQ(dialogs_.Log().back().caption, "Company Number");
    EXPECT_EQ(dialogs_.Log().back().text, files::CompanyNumberProblem(number));
  }
  EXPECT_EQ(Companies(), 1);
  list_.Close();
  EXPECT_EQ(FileNamesIn(folder_.path()), filesBefore);
}

TEST_F(CompanyListTest, EditWarnsOfAMissingBackgroundAndChangesTheRecord) {
  CompanyRecord company = Numbered("Harbor Supply", "1");
  company.BackgroundFile = "gone.bmp";
  const engine::RecordNumber number = Put(company);
  CompanyEdit edit = BeginEditCompany(number, Stored(number), dialogs_);
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"Background bitmap image no longer exists. Use the Graphics "
                                                        "tab to select another bitmap if desired."}));

  CompanyOptions options = OptionsOf(edit.record);
  options.CName = "Harbor Supply Ltd";
  ASSERT_TRUE(SaveCompany(list_, dialogs_, options, edit));
  EXPECT_EQ(Stored(number).CompanyName.str(), "Harbor Supply Ltd");

  Touch("gone.bmp");
  BeginEditCompany(number, Stored(number), dialogs_);
  EXPECT_EQ(dialogs_.Log().size(), 1u);
}

TEST_F(CompanyListTest, EditOfARecordDeletedMeanwhileFails) {
  const engine::RecordNumber number = Put(Numbered("Harbor Supply", "1"));
  CompanyEdit edit = BeginEditCompany(number, Stored(number), dialogs_);
  ASSERT_TRUE(list_.Delete(number, edit.record));
  CompanyOptions options = OptionsOf(edit.record);
  options.CName = "Changed";
  EXPECT_FALSE(SaveCompany(list_, dialogs_, options, edit));
  EXPECT_EQ(dialogs_.Texts().back(), "Modify Company failed");
  EXPECT_EQ(edit.record.CompanyName.str(), "Harbor Supply");
}

TEST_F(CompanyListTest, CurrentCompanyCannotBeDeleted) {
  const CompanyRecord current = Numbered("Harbor Supply", "4");
  const engine::RecordNumber number = Put(Numbered("Harbor Supply", " 4 "));
  TouchCompanyFiles("4");
  EXPECT_FALSE(DeleteCompany(list_, dialogs_, current, number, Stored(number)));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Company");
  EXPECT_EQ(dialogs_.Log()[0].text,
            "You are trying to delete the current default company. You need to have another company open to delete "
            "this one.");
  EXPECT_EQ(Companies(), 1);
  EXPECT_TRUE(std::filesystem::exists("4P.DAT"));
}

TEST_F(CompanyListTest, DeletingRemovesTheTenFilesOfThatCompanyOnly) {
  const CompanyRecord current = Numbered("Harbor Supply", "1");
  Put(current);
  const engine::RecordNumber doomed = Put(Numbered("Bay Traders", "2"));
  Put(Numbered("Cove Goods", "22"));
  for (const char* number : {"1", "2", "22"}) TouchCompanyFiles(number);
  Touch("2I.DIA");
  Touch("2X.DAT");

  dialogs_.Answer(Answer::kNo);
  EXPECT_FALSE(DeleteCompany(list_, dialogs_, current, doomed, Stored(doomed)));
  EXPECT_EQ(Companies(), 3);
  EXPECT_TRUE(std::filesystem::exists("2P.DAT"));

  dialogs_.Answer(Answer::kYes);
  EXPECT_TRUE(DeleteCompany(list_, dialogs_, current, doomed, Stored(doomed)));
  EXPECT_EQ(dialogs_.Log().back().caption, "Please Confirm");
  EXPECT_EQ(dialogs_.Log().back().text,
            "If you delete this company, all invoices and payments will also be removed. ALL company data will be "
            "deleted! Data for other companies will NOT be removed. Continue?");
  EXPECT_EQ(Companies(), 2);
  EXPECT_EQ(engine_.KeysInIndex(list_.Block(), model::company_key::kName), 2);
  const auto names = FileNamesIn(folder_.path());
  const std::set<std::string> left(names.begin(), names.end());
  for (const std::string& file : files::CompanyDataFiles("2")) EXPECT_EQ(left.count(file), 0u) << file;
  for (const char* number : {"1", "22"}) {
    for (const std::string& file : files::CompanyDataFiles(number)) EXPECT_EQ(left.count(file), 1u) << file;
  }
  EXPECT_EQ(left.count("2I.DIA"), 1u);
  EXPECT_EQ(left.count("2X.DAT"), 1u);
  EXPECT_EQ(left.count("Company.DAT"), 1u);
}

TEST_F(CompanyListTest, DeleteQuestionDefaultsToNo) {
  const CompanyRecord current = Numbered("Harbor Supply", "1");
  Put(current);
  const engine::RecordNumber doomed = Put(Numbered("Bay Traders", "2"));
  TouchCompanyFiles("2");
  dialogs_.PressEnter();
  EXPECT_FALSE(DeleteCompany(list_, dialogs_, current, doomed, Stored(doomed)));
  EXPECT_EQ(Companies(), 2);
  EXPECT_TRUE(std::filesystem::exists("2P.DAT"));
}

TEST_F(CompanyListTest, CompanyWhoseNumberReachesOutsideLosesItsRecordButNoFiles) {
  list_.Close();
  std::filesystem::create_directory("data");
  std::filesystem::current_path("data");
  ASSERT_TRUE(list_.Create());
  ASSERT_TRUE(list_.Open());
  const CompanyRecord current = Numbered("Harbor Supply", "1");
  const engine::RecordNumber stray = Put(Numbered("Stray", "../x"));
  TouchCompanyFiles("../x");

  EXPECT_FALSE(CanBeDefault(Stored(stray), dialogs_));
  EXPECT_EQ(dialogs_.Log().back().caption, "Company Number");
  dialogs_.Answer(Answer::kYes);
  EXPECT_TRUE(DeleteCompany(list_, dialogs_, current, stray, Stored(stray)));
  EXPECT_EQ(Companies(), 0);
  for (const std::string& file : files::CompanyDataFiles("../x")) EXPECT_TRUE(std::filesystem::exists(file)) << file;
}

TEST_F(CompanyListTest, CompanyListInTheChosenOrderWithNumbersAndBalances) {
  CompanyRecord cove = Numbered("Cove Goods", "3");
  cove.TotalAR = "1234.5";
  Put(cove);
  Put(Numbered("Bay Traders", "10"));
  Put(Numbered("Anchor Ltd", "2"));
  const platform::FixedClock clock({2026, 12, 8, 14, 5, 0});

  const documents::ListReport byName = CompanyListReport(list_, false, clock);
  EXPECT_EQ(byName.title, "Company List by Name");
  EXPECT_EQ(byName.headings,
            (std::vector<std::string>{"Quillary Company List", "Date: Tuesday, December 8, 2026, 02:05 PM"}));
  ASSERT_EQ(byName.entries.size(), 3u);
  EXPECT_EQ(byName.entries[0].name, "Anchor Ltd");
  EXPECT_EQ(byName.entries[2].name, "Cove Goods");
  EXPECT_EQ(byName.entries[2].fields,
            (std::vector<std::pair<std::string, std::string>>{{"Number:", "3"}, {"A/R:", "1,234.50"}}));

  dialogs_.Answer(Answer::kYes);
  platform::testing::RecordingCanvas canvas;
  ASSERT_TRUE(PrintCompanyList(list_, dialogs_, clock, canvas));
  EXPECT_EQ(dialogs_.Log().back().caption, "Company List");
  EXPECT_EQ(dialogs_.Log().back().text,
            "The companies will be sorted by name. Would you rather sort by company number?");
  EXPECT_EQ(canvas.documents, (std::vector<std::string>{"Company List by Number"}));
  // Number keys are padded text: "10" sorts before "2".
  ASSERT_NE(canvas.Find("Bay Traders"), nullptr);
  EXPECT_LT(canvas.Find("Bay Traders")->y, canvas.Find("Anchor Ltd")->y);
  EXPECT_LT(canvas.Find("Anchor Ltd")->y, canvas.Find("Cove Goods")->y);
}

TEST_F(CompanyListTest, PicturesInsideTheDataFolderAreKeptRelativeAndOverlongNamesRefused) {
  EXPECT_EQ(PictureFileName(folder_.path() / "art" / "logo.bmp", dialogs_), "art/logo.bmp");
  EXPECT_EQ(PictureFileName("/elsewhere/logo.bmp", dialogs_), "/elsewhere/logo.bmp");
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_EQ(PictureFileName("/" + std::string(250, 'p') + ".bmp", dialogs_), std::nullopt);
  EXPECT_EQ(dialogs_.Log().size(), 1u);
}

}  // namespace
}  // namespace shell
