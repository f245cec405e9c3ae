#include "tools/data_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "model/records.h"
#include "model/side_files.h"
#include "model/text.h"
#include "platform/testing/scripted_dialogs.h"
#include "tools/background_picture.h"

namespace tools {
namespace {

using engine::testing::FileNamesIn;
using engine::testing::Int32At;
using engine::testing::ReadBytes;

class DataFolderTest : public ::testing::Test {
 protected:
  DataFolderTest() { engine_.InitEngine(30); }

  SetUpReport RunSetUp() {
    SetUpReport report = SetUpDataFolder(engine_, dialogs_);
    engine_.ExitEngine();
    engine_.InitEngine(30);
    return report;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
};

TEST_F(DataFolderTest, NewFolderGetsCompanyOneAndTheSideFiles) {
  const SetUpReport report = RunSetUp();
  ASSERT_EQ(report.error, "");
  EXPECT_FALSE(report.alreadySetUp);
  EXPECT_EQ(report.created,
            (std::vector<std::string>{"Company.DAT", "Company.IX", "QYTERMS.DAT", "vtt8.bmp", "LastCo.Dat"}));
  EXPECT_TRUE(dialogs_.Log().empty());

  engine::FileBlock* list = engine_.OpenFileSet("Company", true);
  ASSERT_TRUE(engine_.Ok());
  EXPECT_EQ(engine_.RecordLength(list), 2160);
  EXPECT_EQ(engine_.UsedRecords(list), 1);
  EXPECT_EQ(engine::testing::WalkIndex(engine_, list, 1), (std::vector<engine::testing::IndexEntry>{{"1    ", 1}}));
  EXPECT_EQ(engine::testing::WalkIndex(engine_, list, 2),
            (std::vector<engine::testing::IndexEntry>{{std::string(30, ' '), 1}}));
  model::CompanyRecord stored{};
  engine_.GetRecord(list, 1, engine::RecordBytes(stored));
  EXPECT_EQ(stored.CompanyNo.str(), "1");
  engine_.CloseFileSet(list);

  const auto lastCompany = ReadBytes(folder_.path() / "LastCo.Dat");
  ASSERT_EQ(lastCompany.size(), 2160u);
  EXPECT_TRUE(std::equal(lastCompany.begin(), lastCompany.end(), reinterpret_cast<const std::uint8_t*>(&stored)));
}

TEST_F(DataFolderTest, TermsAreSortedAndOfferNetThirtyDays) {
  RunSetUp();
  std::vector<std::string> terms;
  ASSERT_TRUE(model::LoadTerms(terms));
  EXPECT_NE(std::find(terms.begin(), terms.end(), "Net 30 Days"), terms.end());
  EXPECT_TRUE(std::is_sorted(terms.begin(), terms.end(), [](const std::string& a, const std::string& b) {
    return model::ToUpperAscii(a) < model::ToUpperAscii(b);
  }));
  for (const std::string& term : terms) EXPECT_LE(term.size(), model::kTermCapacity);
}

TEST_F(DataFolderTest, SecondRunChangesNothing) {
  RunSetUp();
  std::vector<std::vector<std::uint8_t>> before;
  for (const std::string& name : FileNamesIn(folder_.path())) before.push_back(ReadBytes(folder_.path() / name));

  const SetUpReport again = RunSetUp();
  EXPECT_TRUE(again.alreadySetUp);
  EXPECT_TRUE(again.created.empty());
  std::vector<std::vector<std::uint8_t>> after;
  for (const std::string& name : FileNamesIn(folder_.path())) after.push_back(ReadBytes(folder_.path() / name));
  EXPECT_EQ(after, before);
}

TEST_F(DataFolderTest, ExistingCompanyListIsKeptAndItsFirstCompanyRemembered) {
  RunSetUp();
  std::filesystem::remove(folder_.path() / "LastCo.Dat");
  std::filesystem::remove(folder_.path() / "QYTERMS.DAT");
  const auto listBefore = ReadBytes(folder_.path() / "Company.DAT");

  const SetUpReport report = RunSetUp();
  EXPECT_EQ(report.created, (std::vector<std::string>{"QYTERMS.DAT", "LastCo.Dat"}));
  EXPECT_EQ(ReadBytes(folder_.path() / "Company.DAT"), listBefore);
  model::CompanyRecord last{};
  ASSERT_TRUE(model::ReadLastCompany(last));
  EXPECT_EQ(last.CompanyNo.str(), "1");
}

TEST(BackgroundPictureTest, IsAWholeTwentyFourBitBitmap) {
  const std::string bmp = BackgroundBitmap();
  const std::vector<std::uint8_t> bytes(bmp.begin(), bmp.end());
  ASSERT_EQ(bytes.size(), 54u + kBackgroundSide * kBackgroundSide * 3);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Int32At(bytes, 2), static_cast<std::int32_t>(bytes.size()));
  EXPECT_EQ(Int32At(bytes, 10), 54);
  EXPECT_EQ(Int32At(bytes, 18), kBackgroundSide);
  EXPECT_EQ(Int32At(bytes, 22), kBackgroundSide);
  EXPECT_EQ(engine::testing::Int16At(bytes, 28), 24);
}

}  // namespace
}  // namespace tools
