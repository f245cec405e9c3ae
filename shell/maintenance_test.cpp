#include "shell/maintenance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/file_format.h"
#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "model/company_defaults.h"
#include "model/keys.h"
#include "model/side_files.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using engine::RecordNumber;
using engine::testing::IndexEntry;
using files::CompanyFile;
using platform::Answer;
using platform::testing::RecordingProgress;
using platform::testing::ScriptedDialogs;

constexpr std::string_view kCompanyNo = "7";
constexpr std::string_view kPurgeQuestion =
    "This option will remove only PAID transactions older than the date you select. Once removed, they will no "
    "longer appear on any reports or system options. We suggest you leave 3 years on file and print reports for "
    "what you are about to remove. Continue?";

model::TransactionRecord Transaction(std::string_view invoiceNo, std::string_view paidFlag,
                                     std::string_view paidSortDate, std::string_view bodyStyle) {
  model::TransactionRecord transaction{};
  transaction.InvoiceNo = invoiceNo;
  transaction.TransType = "I";
  transaction.KeyCode = "None";
  transaction.CustNo = "C1";
  transaction.SortDate = "2010/01/10";
  transaction.BodyStyle = bodyStyle;
  transaction.PaidFlag = paidFlag;
  transaction.PaidSortDate = paidSortDate;
  return transaction;
}

model::DetailRecord Line(std::string_view invoiceNo) {
  model::DetailRecord line{};
  line.InvoiceNo = invoiceNo;
  line.SortDate = "2010/01/10";
  line.LineText = "1         line of " + std::string(invoiceNo);
  return line;
}

model::MemoRecord Memo(std::string_view invoiceNo) {
  model::MemoRecord memo{};
  memo.InvoiceNo = invoiceNo;
  memo.MemoLine[0] = "memo of " + std::string(invoiceNo);
  return memo;
}

model::ProductRecord Product(std::string_view code) {
  model::ProductRecord product{};
  product.ProductCode = code;
  product.ProdDesc = "Product " + std::string(code);
  return product;
}

std::filesystem::path DataFile(std::string_view name) { return engine::FileSetPath(name, "DAT"); }

// Every index holds one entry per record in use, with the key the record makes, and
// walks to its end without error.
template <class Record>
void ExpectIndexesAgreeWithRecords(files::KeyedFile& file,
                                   const std::vector<std::pair<RecordNumber, Record>>& records) {
  engine::Engine& engine = file.engine();
  for (engine::KeyNumber index = 1; index <= file.KeyCount(); ++index) {
    std::vector<IndexEntry> expected;
    for (const auto& [number, record] : records) expected.emplace_back(model::BuildKey(record, index).str(), number);
    std::vector<IndexEntry> walked = engine::testing::WalkIndex(engine, file.Block(), index);
    EXPECT_EQ(engine.Status(), engine::status::kNextAtEnd) << file.description().name << " index " << index;
    std::sort(expected.begin(), expected.end());
    std::sort(walked.begin(), walked.end());
    EXPECT_EQ(walked, expected) << file.description().name << " index " << index;
  }
}

class MaintenanceTest : public ::testing::Test {
 protected:
  MaintenanceTest() {
    engine_.InitEngine(40);
    session_.CurrentCompany = model::StarterCompany();
    session_.CurrentCompany.CompanyNo = kCompanyNo;
    session_.CurrentCompany.DateOrder = "M";
  }

  static files::FileDescription Describe(CompanyFile file) { return files::DescribeFile(file, kCompanyNo); }

  template <class Record>
  void WriteFile(CompanyFile which, const std::vector<Record>& records) {
    ScriptedDialogs silent;
    files::KeyedFile file(engine_, silent, quiet_, Describe(which));
    ASSERT_TRUE(file.Create());
    ASSERT_TRUE(file.Open());
    for (const Record& record : records) {
      RecordNumber added = 0;
      ASSERT_TRUE(file.Add(record, added));
    }
  }

  // The records in use, after checking the indexes against them; opening must need
  // no question.
  template <class Record>
  std::vector<Record> ReadFile(CompanyFile which) {
    ScriptedDialogs noQuestions;
    files::KeyedFile file(engine_, noQuestions, quiet_, Describe(which));
    EXPECT_TRUE(file.Open());
    std::vector<std::pair<RecordNumber, Record>> numbered;
    for (RecordNumber number = 0;;) {
      engine_.NextUsedRecord(file.Block(), number);
      if (!engine_.Ok()) break;
      Record record{};
      engine_.GetRecord(file.Block(), number, engine::RecordBytes(record));
      numbered.emplace_back(number, record);
    }
    ExpectIndexesAgreeWithRecords(file, numbered);
    std::vector<Record> records;
    for (const auto& [number, record] : numbered) records.push_back(record);
    return records;
  }

  template <class Record>
  std::vector<std::string> InvoiceNumbersIn(CompanyFile which) {
    std::vector<std::string> numbers;
    for (const Record& record : ReadFile<Record>(which)) numbers.push_back(record.InvoiceNo.str());
    return numbers;
  }

  void WriteSampleCompany() {
    model::CustomerRecord customer{};
    customer.CustNo = "C1";
    customer.CustName = "First Customer";
    customer.Balance = "123.45";
    customer.AgeOver90 = "123.45";
    WriteFile<model::CustomerRecord>(CompanyFile::kCustomers, {customer});
    WriteFile(CompanyFile::kTransactions,
              std::vector{Transaction("100", "P", "2021/03/14", "M"), Transaction("101", "P", "2021/03/15", "M"),
                          Transaction("102", " ", " ", "P"), Transaction("103", "P", "14.03.2020", "P"),
                          Transaction("104", "P", "2020/12/31", "P"), Transaction("1000", "P", "2022/01/01", "P")});
    WriteFile(CompanyFile::kDetails,
              std::vector{Line("104"), Line("100"), Line("101"), Line("102"), Line("1000"), Line("104")});
    WriteFile(CompanyFile::kMemos, std::vector{Memo("100"), Memo("101")});
    WriteFile(CompanyFile::kProducts, std::vector{Product("A1"), Product("B2")});
    WriteFile(CompanyFile::kCompanyList, std::vector{session_.CurrentCompany});
  }

  bool Purge(ScriptedDialogs& dialogs, std::optional<std::string> date) {
    const files::Services services{engine_, dialogs, progress_, clock_, session_,
                                   [this](std::string_view text) { statuses_.emplace_back(text); }};
    return DeletePaidInvoices(services, [this, date] {
      ++dateChoices_;
      return date;
    });
  }

  files::Services Services(ScriptedDialogs& dialogs) { return {engine_, dialogs, progress_, clock_, session_}; }
  bool Rebuild() { return RebuildDataFiles(Services(dialogs_)); }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  RecordingProgress progress_;
  platform::FixedClock clock_{{2026, 12, 8, 9, 0, 0}};
  platform::SilentProgress quiet_;
  model::CompanySession session_;
  std::vector<std::string> statuses_;
  int dateChoices_ = 0;
};

// --- Purge ----------------------------------------------------------------------

class PurgeTest : public MaintenanceTest {
 protected:
  PurgeTest() { WriteSampleCompany(); }

  void ExpectNothingRemoved() {
    EXPECT_EQ(ReadFile<model::TransactionRecord>(CompanyFile::kTransactions).size(), 6U);
    EXPECT_EQ(ReadFile<model::DetailRecord>(CompanyFile::kDetails).size(), 6U);
    EXPECT_EQ(ReadFile<model::MemoRecord>(CompanyFile::kMemos).size(), 2U);
  }
};

TEST_F(PurgeTest, RemovesTransactionsPaidBeforeTheCutOffWithTheirLinesMemoAndKeys) {
  const std::vector<std::uint8_t> customersBefore = engine::testing::ReadBytes(DataFile("7C"));
  dialogs_.Answer(Answer::kYes).Answer(Answer::kYes);

  EXPECT_TRUE(Purge(dialogs_, "03/15/2021"));

  // Paid on the cut-off day, open, paid on no readable date, paid later: all stay.
  EXPECT_EQ(InvoiceNumbersIn<model::TransactionRecord>(CompanyFile::kTransactions),
            (std::vector<std::string>{"101", "102", "103", "1000"}));
  EXPECT_EQ(InvoiceNumbersIn<model::DetailRecord>(CompanyFile::kDetails),
            (std::vector<std::string>{"101", "102", "1000"}));
  EXPECT_EQ(InvoiceNumbersIn<model::MemoRecord>(CompanyFile::kMemos), std::vector<std::string>{"101"});
  EXPECT_EQ(engine::testing::ReadBytes(DataFile("7C")), customersBefore);

  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{
                                  std::string(kPurgeQuestion),
                                  "All paid records older than 03/15/2021 will be removed. Continue?",
                                  "2 paid records older than 03/15/2021 were removed.",
                              }));
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Paid Records");
  EXPECT_EQ(dialogs_.Log()[1].caption, "Please Confirm");
  EXPECT_EQ(dialogs_.Log()[2].caption, "Records Removed");
  EXPECT_EQ(statuses_, (std::vector<std::string>{"Removing Records...", "2 records were removed."}));
}

// A partial payment paid long ago goes, but the open invoice it paid part of keeps its
// lines and memo.
TEST_F(PurgeTest, AnOldPartialPaymentLeavesTheLinesAndMemoOfItsOpenInvoice) {
  model::TransactionRecord payment = Transaction("102", "P", "2020/06/30", "M");
  payment.TransType = "X";
  model::TransactionRecord invoice = Transaction("102", " ", " ", "M");
  invoice.TransType = "Z";
  WriteFile(CompanyFile::kTransactions, std::vector{payment, invoice});
  WriteFile(CompanyFile::kDetails, std::vector{Line("102"), Line("102")});
  WriteFile(CompanyFile::kMemos, std::vector{Memo("102")});
  dialogs_.Answer(Answer::kYes).Answer(Answer::kYes);

  EXPECT_TRUE(Purge(dialogs_, "03/15/2021"));

  const auto left = ReadFile<model::TransactionRecord>(CompanyFile::kTransactions);
  ASSERT_EQ(left.size(), 1U);
  EXPECT_EQ(left[0].TransType.str(), "Z");
  EXPECT_EQ(ReadFile<model::DetailRecord>(CompanyFile::kDetails).size(), 2U);
  EXPECT_EQ(ReadFile<model::MemoRecord>(CompanyFile::kMemos).size(), 1U);
}

TEST_F(PurgeTest, ChosenDateIsReadInTheCompanysDateOrder) {
  session_.CurrentCompany.DateOrder = "D";
  dialogs_.Answer(Answer::kYes).Answer(Answer::kYes);

  EXPECT_TRUE(Purge(dialogs_, "15/03/2021"));

  EXPECT_EQ(InvoiceNumbersIn<model::TransactionRecord>(CompanyFile::kTransactions),
            (std::vector<std::string>{"101", "102", "103", "1000"}));
  EXPECT_EQ(dialogs_.Texts().back(), "2 paid records older than 15/03/2021 were removed.");
}

// A year mistyped as 2206 used to remove every paid record.
TEST_F(PurgeTest, CutOffAfterTodayIsRefusedAndNothingIsRemoved) {
  dialogs_.Answer(Answer::kYes);

  EXPECT_FALSE(Purge(dialogs_, "03/15/2206"));

  EXPECT_EQ(dialogs_.Texts().back(),
            "03/15/2206 is after today. Only records paid before a day that has come can be removed; choose today "
            "or an earlier day.");
  EXPECT_EQ(dialogs_.Log().back().caption, "Delete Paid Records");
  EXPECT_TRUE(statuses_.empty());
  ExpectNothingRemoved();
}

TEST_F(PurgeTest, RefusedPasswordStopsBeforeAnyQuestion) {
  ASSERT_TRUE(model::WritePassword("secret"));
  dialogs_.Type(std::nullopt);

  EXPECT_FALSE(Purge(dialogs_, "03/15/2021"));

  ASSERT_EQ(dialogs_.Log().size(), 1U);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Password Required");
  EXPECT_EQ(dateChoices_, 0);
  EXPECT_TRUE(statuses_.empty());
  ExpectNothingRemoved();
}

TEST_F(PurgeTest, PurgeQuestionsDefaultToNo) {
  for (const bool agreedToTheFirst : {false, true}) {
    ScriptedDialogs dialogs;
    if (agreedToTheFirst) dialogs.Answer(Answer::kYes);
    dialogs.PressEnter();

    EXPECT_FALSE(Purge(dialogs, "03/15/2021"));

    EXPECT_EQ(dialogs.Log().size(), agreedToTheFirst ? 2u : 1u);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
  }
  ExpectNothingRemoved();
}

TEST_F(PurgeTest, EachQuestionStopsThePurge) {
  struct Case {
    std::vector<Answer> answers;
    std::optional<std::string> date;
    std::vector<std::string> texts;
  };
  const std::string confirmation = "All paid records older than 03/15/2021 will be removed. Continue?";
  const std::vector<Case> cases = {
      {{Answer::kNo}, "03/15/2021", {std::string(kPurgeQuestion)}},
      {{Answer::kYes}, std::nullopt, {std::string(kPurgeQuestion)}},
      {{Answer::kYes, Answer::kNo}, "03/15/2021", {std::string(kPurgeQuestion), confirmation}},
      {{Answer::kYes}, "13/45/2021", {std::string(kPurgeQuestion), "\"13/45/2021\" is not a date."}},
  };
  for (const Case& c : cases) {
    ScriptedDialogs dialogs;
    for (Answer answer : c.answers) dialogs.Answer(answer);

    EXPECT_FALSE(Purge(dialogs, c.date));

    EXPECT_EQ(dialogs.Texts(), c.texts);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
  }
  EXPECT_TRUE(statuses_.empty());
  ExpectNothingRemoved();
}

TEST_F(PurgeTest, MissingMemoIsReportedAndTheTransactionIsStillRemoved) {
  {
    ScriptedDialogs silent;
    files::KeyedFile transactions(engine_, silent, quiet_, Describe(CompanyFile::kTransactions));
    ASSERT_TRUE(transactions.Open());
    RecordNumber added = 0;
    ASSERT_TRUE(transactions.Add(Transaction("105", "P", "2019/05/05", "M"), added));
  }
  dialogs_.Answer(Answer::kYes).Answer(Answer::kYes);

  EXPECT_TRUE(Purge(dialogs_, "03/15/2021"));

  const std::vector<std::string> texts = dialogs_.Texts();
  ASSERT_EQ(texts.size(), 4U);
  EXPECT_EQ(texts[2], "Memo search failed");
  EXPECT_EQ(texts[3], "3 paid records older than 03/15/2021 were removed.");
  EXPECT_EQ(InvoiceNumbersIn<model::TransactionRecord>(CompanyFile::kTransactions),
            (std::vector<std::string>{"101", "102", "103", "1000"}));
}

// --- Rebuild --------------------------------------------------------------------

class RebuildTest : public MaintenanceTest {
 protected:
  static void MarkLeftOpen(std::string_view name) {
    std::vector<std::uint8_t> bytes = engine::testing::ReadBytes(DataFile(name));
    bytes.at(engine::format::kOpenFlagOffset) = 1;
    engine::testing::WriteBytes(DataFile(name), bytes);
  }

  void ExpectSampleCompanyWhole() {
    EXPECT_EQ(ReadFile<model::CompanyRecord>(CompanyFile::kCompanyList).size(), 1U);
    EXPECT_EQ(ReadFile<model::CustomerRecord>(CompanyFile::kCustomers).size(), 1U);
    EXPECT_EQ(InvoiceNumbersIn<model::TransactionRecord>(CompanyFile::kTransactions),
              (std::vector<std::string>{"100", "101", "102", "103", "104", "1000"}));
    EXPECT_EQ(InvoiceNumbersIn<model::DetailRecord>(CompanyFile::kDetails),
              (std::vector<std::string>{"104", "100", "101", "102", "1000", "104"}));
    EXPECT_EQ(InvoiceNumbersIn<model::MemoRecord>(CompanyFile::kMemos), (std::vector<std::string>{"100", "101"}));
    EXPECT_EQ(ReadFile<model::ProductRecord>(CompanyFile::kProducts).size(), 2U);
  }
};

TEST_F(RebuildTest, FilesLeftOpenGetEveryRecordAndKeyBack) {
  WriteSampleCompany();
  for (std::string_view name : {"Company", "7C", "7I", "7D", "7M", "7P"}) MarkLeftOpen(name);
  ASSERT_EQ(engine_.OpenFileSet("7I", false), nullptr);
  ASSERT_EQ(engine_.Status(), engine::status::kMustRebuild);

  EXPECT_TRUE(Rebuild());

  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"The data files have been rebuilt."});
  EXPECT_EQ(dialogs_.Log()[0].caption, "Rebuild Complete");
  EXPECT_EQ(progress_.begun, 6);
  EXPECT_EQ(progress_.ended, 6);
  EXPECT_EQ(progress_.title, "Rebuild Status");
  EXPECT_EQ(progress_.caption, "Products");
  ExpectSampleCompanyWhole();
}

TEST_F(RebuildTest, FilesThatDoNotExistAreSkippedNotCreated) {
  WriteFile(CompanyFile::kCompanyList, std::vector{session_.CurrentCompany});
  WriteFile(CompanyFile::kProducts, std::vector{Product("A1")});

  EXPECT_TRUE(Rebuild());

  EXPECT_EQ(progress_.begun, 2);
  EXPECT_EQ(engine::testing::FileNamesIn(folder_.path()),
            (std::vector<std::string>{"7P.DAT", "7P.IX", "Company.DAT", "Company.IX"}));
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"The data files have been rebuilt."});
}

TEST_F(RebuildTest, DuplicateInUniqueIndexIsLoggedAndItsRecordDropped) {
  WriteFile(CompanyFile::kProducts, std::vector{Product("A1"), Product("B2")});
  // Product 2 gets product 1's code behind the index's back.
  std::vector<std::uint8_t> bytes = engine::testing::ReadBytes(DataFile("7P"));
  const std::size_t codeOfSecond = 2 * sizeof(model::ProductRecord) + offsetof(model::ProductRecord, ProductCode) + 1;
  bytes.at(codeOfSecond) = 'A';
  bytes.at(codeOfSecond + 1) = '1';
  engine::testing::WriteBytes(DataFile("7P"), bytes);

  EXPECT_TRUE(Rebuild());

  const std::vector<std::uint8_t> log = engine::testing::ReadBytes("7P.MSG");
  const std::string logText(log.begin(), log.end());
  EXPECT_NE(logText.find("Key:<A1        > KeyNr: 1 Ref: 2 not added"), std::string::npos) << logText;
  const std::vector<model::ProductRecord> products = ReadFile<model::ProductRecord>(CompanyFile::kProducts);
  ASSERT_EQ(products.size(), 1U);
  EXPECT_EQ(products[0].ProdDesc.str(), "Product A1");
}

// A saved copy is the one complete copy an interrupted rebuild leaves; it used to make
// this command refuse and ask the user to move files by hand.
TEST_F(RebuildTest, DataFileBesideSavedCopyIsRebuiltFromTheSavedCopy) {
  WriteSampleCompany();
  std::filesystem::copy_file(DataFile("7I"), "7I.SAV");

  EXPECT_TRUE(Rebuild());

  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"The data files have been rebuilt."});
  EXPECT_FALSE(std::filesystem::exists("7I.SAV"));
  ExpectSampleCompanyWhole();
}

TEST_F(RebuildTest, CopyLeftByAnInterruptedRebuildIsReplacedFromTheSavedCopy) {
  WriteSampleCompany();
  const auto leaveIndexlessCopy = [this] {
    engine_.CreateFileSet("7I", sizeof(model::TransactionRecord), {});
    ASSERT_TRUE(engine_.Ok());
    MarkLeftOpen("7I");
  };
  const auto leaveEmptyCopy = [] { engine::testing::WriteBytes(DataFile("7I"), {}); };
  for (const auto& interrupt : {std::function<void()>(leaveIndexlessCopy), std::function<void()>(leaveEmptyCopy)}) {
    std::filesystem::rename(DataFile("7I"), "7I.SAV");
    interrupt();
    ScriptedDialogs dialogs;

    EXPECT_TRUE(RebuildDataFiles(Services(dialogs)));

    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The data files have been rebuilt."});
    EXPECT_FALSE(std::filesystem::exists("7I.SAV"));
    ExpectSampleCompanyWhole();
  }
}

TEST_F(RebuildTest, FailedRebuildIsReportedAndTheOtherFilesGoOn) {
  WriteSampleCompany();
  // A folder in the data file's place cannot be read as one.
  std::filesystem::remove(DataFile("7C"));
  std::filesystem::create_directory(DataFile("7C"));
  MarkLeftOpen("7P");

  EXPECT_FALSE(Rebuild());

  ASSERT_EQ(dialogs_.Log().size(), 1U);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Rebuild Failed");
  EXPECT_EQ(dialogs_.Log()[0].text.rfind("The Customers file 7C could not be rebuilt (status ", 0), 0U)
      << dialogs_.Log()[0].text;
  EXPECT_EQ(progress_.begun, 6);
  EXPECT_EQ(ReadFile<model::ProductRecord>(CompanyFile::kProducts).size(), 2U);
}

}  // namespace
}  // namespace shell
