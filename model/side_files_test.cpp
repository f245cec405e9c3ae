#include "model/side_files.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"

namespace model {
namespace {

using engine::testing::ReadBytes;

class SideFilesTest : public ::testing::Test {
 protected:
  std::string FileText(std::string_view name) {
    const auto bytes = ReadBytes(folder_.path() / name);
    return std::string(bytes.begin(), bytes.end());
  }

  engine::testing::ScopedWorkingFolder folder_;
};

TEST_F(SideFilesTest, TermsRoundTripAsCrLfLines) {
  ASSERT_TRUE(SaveTerms({"Due Upon Receipt", "Net 30 Days", ""}));
  EXPECT_EQ(FileText(kTermsFileName), "Due Upon Receipt\r\nNet 30 Days\r\n\r\n");
  std::vector<std::string> terms;
  ASSERT_TRUE(LoadTerms(terms));
  EXPECT_EQ(terms, (std::vector<std::string>{"Due Upon Receipt", "Net 30 Days", ""}));
}

TEST_F(SideFilesTest, TermsReadFromBareLineFeedsAndWithoutAFinalBreak) {
  engine::testing::WriteBytes(folder_.path() / kTermsFileName, {'A', '\n', 'B', '\r', '\n', 'C'});
  std::vector<std::string> terms{"stale"};
  ASSERT_TRUE(LoadTerms(terms));
  EXPECT_EQ(terms, (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(SideFilesTest, MissingTermsFileIsAnEmptyList) {
  std::vector<std::string> terms{"stale"};
  EXPECT_TRUE(LoadTerms(terms));
  EXPECT_TRUE(terms.empty());
}

TEST_F(SideFilesTest, LastCompanyWrittenTwiceHoldsOneRecord) {
  CompanyRecord first{}, second{}, current{};
  first.CompanyNo = "1";
  second.CompanyNo = "2";
  ASSERT_TRUE(WriteLastCompany(first, current));
  ASSERT_TRUE(WriteLastCompany(second, current));
  EXPECT_EQ(current.CompanyNo.str(), "2");
  EXPECT_EQ(ReadBytes(folder_.path() / kLastCompanyFileName).size(), sizeof(CompanyRecord));

  CompanyRecord read{};
  ASSERT_TRUE(ReadLastCompany(read));
  EXPECT_EQ(read.CompanyNo.str(), "2");
  EXPECT_TRUE(LastCompanyFileExists());
  EXPECT_EQ(engine::testing::FileNamesIn(folder_.path()), (std::vector<std::string>{"LastCo.Dat"}));
}

TEST_F(SideFilesTest, ShortLastCompanyFileIsAnError) {
  engine::testing::WriteBytes(folder_.path() / kLastCompanyFileName, std::vector<std::uint8_t>(100));
  CompanyRecord read{};
  const FileOutcome outcome = ReadLastCompany(read);
  EXPECT_FALSE(outcome);
  EXPECT_NE(outcome.error.find("LastCo.Dat"), std::string::npos);
}

TEST_F(SideFilesTest, PasswordIsStoredTrimmedAndCutInTwentyOneBytes) {
  ASSERT_TRUE(WritePassword("  Secret Word Longer Than Twenty  "));
  const auto bytes = ReadBytes(folder_.path() / kPasswordFileName);
  ASSERT_EQ(bytes.size(), 21u);
  EXPECT_EQ(bytes[0], 20);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.end()), "Secret Word Longer T");

  ASSERT_TRUE(WritePassword("abc"));
  const auto shorter = ReadBytes(folder_.path() / kPasswordFileName);
  EXPECT_EQ(std::vector<std::uint8_t>(shorter.begin() + 4, shorter.end()), std::vector<std::uint8_t>(17, 0));
  std::optional<std::string> stored;
  ASSERT_TRUE(ReadPassword(stored));
  EXPECT_EQ(stored, "abc");
  EXPECT_TRUE(PasswordMatches(" abc ", *stored));
  EXPECT_FALSE(PasswordMatches("ABC", *stored));
}

TEST_F(SideFilesTest, EntryShorterThanTwoCharactersRemovesThePassword) {
  ASSERT_TRUE(WritePassword("secret"));
  ASSERT_TRUE(WritePassword(" x "));
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / kPasswordFileName));
  std::optional<std::string> stored{"stale"};
  ASSERT_TRUE(ReadPassword(stored));
  EXPECT_FALSE(stored.has_value());
  EXPECT_TRUE(RemovePassword());  // already gone: still fine
}

TEST_F(SideFilesTest, ZeroLengthPasswordMatchesOnlyABlankEntry) {
  engine::testing::WriteBytes(folder_.path() / kPasswordFileName, std::vector<std::uint8_t>(21));
  std::optional<std::string> stored;
  ASSERT_TRUE(ReadPassword(stored));
  ASSERT_EQ(stored, "");
  EXPECT_TRUE(PasswordMatches("   ", *stored));
  EXPECT_FALSE(PasswordMatches("a", *stored));
}

}  // namespace
}  // namespace model
