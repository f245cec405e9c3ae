#include "files/company_files.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "model/keys.h"
#include "platform/testing/scripted_dialogs.h"

namespace files {
namespace {

using namespace model;

using engine::testing::FileNamesIn;
using platform::Answer;
using platform::testing::RecordingProgress;
using platform::testing::ScriptedDialogs;

constexpr CompanyFile kCompanyFiles[] = {CompanyFile::kCustomers, CompanyFile::kTransactions, CompanyFile::kDetails,
                                         CompanyFile::kMemos, CompanyFile::kProducts};

TEST(CompanyFilesTest, NumberWithBlanksNamesItsFilesWithoutThem) {
  std::vector<std::string> names;
  for (CompanyFile file : kCompanyFiles) names.push_back(DescribeFile(file, "  7 ").name);
  EXPECT_EQ(names, (std::vector<std::string>{"7C", "7I", "7D", "7M", "7P"}));
  EXPECT_EQ(DescribeFile(CompanyFile::kCompanyList).name, "Company");
  EXPECT_EQ(CompanyDataFiles(" 7")[0], "7P.DAT");
  EXPECT_EQ(CompanyDataFiles(" 7")[9], "7M.IX");
}

TEST(CompanyFilesTest, DescriptionsCarryRecordLengthsAndKeys) {
  const auto transactions = DescribeFile(CompanyFile::kTransactions, "1");
  EXPECT_EQ(transactions.recordLength, 332);
  ASSERT_EQ(transactions.indexes.size(), 6u);
  EXPECT_EQ(transactions.indexes[0].keyLength, 9);
  EXPECT_TRUE(transactions.indexes[5].allowDuplicates);
  const auto customers = DescribeFile(CompanyFile::kCustomers, "1");
  EXPECT_EQ(customers.recordLength, 816);
  EXPECT_FALSE(customers.indexes[0].allowDuplicates);
  EXPECT_EQ(DescribeFile(CompanyFile::kMemos, "1").recordLength, 1892);
  EXPECT_EQ(DescribeFile(CompanyFile::kDetails, "1").recordLength, 132);
  EXPECT_EQ(DescribeFile(CompanyFile::kProducts, "1").recordLength, 272);
  EXPECT_EQ(DescribeFile(CompanyFile::kCompanyList).recordLength, 2160);

  CustomerRecord customer{};
  customer.CustNo = "a1";
  EXPECT_EQ(customers.buildKey(engine::RecordBytes(customer), customer_key::kNumber),
            BuildKey(customer, customer_key::kNumber));
}

TEST(CompanyFilesTest, NumbersThatCouldReachOtherFilesAreRefused) {
  for (std::string_view bad : {"", "   ", "../x", "a/b", "a\\b", "..", "1*", "?", "[1]", "1\x01" "2", "1.5"}) {
    EXPECT_FALSE(CompanyNumberProblem(bad).empty()) << bad;
    EXPECT_FALSE(DescribeFile(CompanyFile::kCustomers, bad).nameRefusal.empty()) << bad;
  }
  for (std::string_view good : {"1", " 12 ", "A-7", "1 2"}) EXPECT_EQ(CompanyNumberProblem(good), "") << good;
  EXPECT_EQ(CompanyNumberProblem("../x"), "The company number \"../x\" may not contain \"/\" or \"\\\".");
}

class CompanyFolderTest : public ::testing::Test {
 protected:
  CompanyFolderTest() { engine_.InitEngine(30); }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  RecordingProgress progress_;
};

TEST_F(CompanyFolderTest, EmptyFolderGetsEveryFileTellingOnlyAboutTheMainOnes) {
  dialogs_.Answer(Answer::kOk).Answer(Answer::kOk).Answer(Answer::kOk).Answer(Answer::kOk);
  files::KeyedFile list(engine_, dialogs_, progress_, DescribeFile(CompanyFile::kCompanyList));
  ASSERT_TRUE(list.Open());
  for (CompanyFile file : kCompanyFiles) {
    files::KeyedFile keyed(engine_, dialogs_, progress_, DescribeFile(file, "3"));
    EXPECT_TRUE(keyed.Open());
  }
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{
                                  "I am going to create a new, empty company file.",
                                  "I am going to create a new, empty customer file for this company.",
                                  "I am going to create a new, empty invoice file for this company.",
                                  "I am going to create a new, empty product file for this company.",
                              }));
  EXPECT_EQ(FileNamesIn(folder_.path()).size(), 12u);
}

TEST_F(CompanyFolderTest, RefusedNumberIsReportedAndTouchesNothing) {
  files::KeyedFile keyed(engine_, dialogs_, progress_, DescribeFile(CompanyFile::kCustomers, "../evil"));
  EXPECT_FALSE(keyed.Open());
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Company Number");
  EXPECT_TRUE(FileNamesIn(folder_.path()).empty());
  EXPECT_FALSE(std::filesystem::exists(folder_.path().parent_path() / "evilC.DAT"));
}

TEST_F(CompanyFolderTest, RebuiltKeysAgreeWithTheKeysStoredOnAdd) {
  const auto description = DescribeFile(CompanyFile::kTransactions, "1");
  files::KeyedFile file(engine_, dialogs_, progress_, description);
  dialogs_.Answer(Answer::kOk);
  ASSERT_TRUE(file.Open());
  for (int i = 0; i < 60; ++i) {
    TransactionRecord t{};
    t.InvoiceNo = "n" + std::to_string(100 + i);
    t.CustNo = i % 2 ? "c1" : " c2";
    t.TransType = "i";
    t.SortDate = "2026/11/" + std::to_string(10 + i % 20);
    if (i % 3 == 0) t.PaidSortDate = "2026/12/01";
    engine::RecordNumber added = 0;
    ASSERT_TRUE(file.Add(t, added));
  }
  std::vector<std::vector<engine::testing::IndexEntry>> stored;
  for (engine::KeyNumber k = 1; k <= 6; ++k) stored.push_back(engine::testing::WalkIndex(engine_, file.Block(), k));

  ASSERT_TRUE(file.Rebuild());
  ASSERT_TRUE(file.Open());
  for (engine::KeyNumber k = 1; k <= 6; ++k) {
    EXPECT_EQ(engine::testing::WalkIndex(engine_, file.Block(), k), stored[static_cast<std::size_t>(k - 1)]) << k;
  }
}

}  // namespace
}  // namespace files
