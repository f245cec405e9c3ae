#include "shell/startup.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/testing/company_folder.h"
#include "model/company_defaults.h"
#include "model/side_files.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/password.h"

namespace shell {
namespace {

using platform::testing::ScriptedDialogs;

class StartupTest : public ::testing::Test {
 protected:
  void MakeDataFolder(const model::CompanyRecord& company, const model::CompanyRecord& last) {
    files::testing::WriteCompanyFolder(company, last);
  }
  files::Services Services() { return {engine_, dialogs_, progress_, clock_, session_}; }
  StartResult Start() { return LoadStartingCompany(Services()); }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{2026, 12, 8, 9, 30, 0}};
  model::CompanySession session_;
};

using files::testing::NamedCompany;

TEST_F(StartupTest, MissingLastCompanyFileEndsTheProgramWithTheWarning) {
  EXPECT_EQ(Start().state, StartState::kNoDataFiles);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "VT Quillary PRO");
  EXPECT_EQ(dialogs_.Log()[0].text,
            "I do not find the billing data files. The data files must be in the same directory as the billing "
            "program.");
  EXPECT_EQ(dialogs_.Log()[0].icon, platform::Icon::kWarning);
}

TEST_F(StartupTest, SettingsComeFromTheCompanyListNotFromTheCopy) {
  model::CompanyRecord listed = NamedCompany("Harbor Supply");
  listed.DateOrder = "D";
  listed.UseBackground = false;
  model::CompanyRecord stale = listed;
  stale.CompanyName = "Old Name";
  MakeDataFolder(listed, stale);
  engine::testing::WriteBytes(folder_.path() / "vtt8.bmp", {'B', 'M'});

  const StartResult result = Start();
  EXPECT_EQ(result.state, StartState::kReady);
  EXPECT_TRUE(result.companySetUp);
  EXPECT_EQ(session_.CurrentCompany.CompanyName.str(), "Harbor Supply");
  EXPECT_EQ(session_.TodayText, "08/12/2026");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(StartupTest, CompanyWithoutANameIsAskedToBeSetUpAndGetsNoBackground) {
  const model::CompanyRecord starter = NamedCompany(" x ");
  MakeDataFolder(starter, starter);
  engine::testing::WriteBytes(folder_.path() / "vtt8.bmp", {'B', 'M'});
  const StartResult result = Start();
  EXPECT_FALSE(result.companySetUp);
  EXPECT_EQ(session_.CurrentCompany.CompanyName.str(), "Please Setup Your Company.");
  EXPECT_FALSE(session_.CurrentCompany.UseBackground);
  EXPECT_EQ(result.backgroundFile, "");
}

TEST_F(StartupTest, MissingBackgroundIsReportedAndSwitchedOff) {
  const model::CompanyRecord company = NamedCompany("Harbor Supply");
  MakeDataFolder(company, company);
  const StartResult result = Start();
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{
                                  "Background bitmap image no longer exists. Unable to load background picture."}));
  EXPECT_FALSE(session_.CurrentCompany.UseBackground);
  EXPECT_EQ(result.backgroundFile, "");
}

TEST_F(StartupTest, PresentBackgroundIsShown) {
  const model::CompanyRecord company = NamedCompany("Harbor Supply");
  MakeDataFolder(company, company);
  engine::testing::WriteBytes(folder_.path() / "vtt8.bmp", {'B', 'M'});
  EXPECT_EQ(Start().backgroundFile, "vtt8.bmp");
}

TEST_F(StartupTest, AgingIsDueOnceADay) {
  const model::CompanyRecord company = NamedCompany("Harbor Supply");
  MakeDataFolder(company, company);
  Start();
  EXPECT_TRUE(AgingDueToday(session_));
  session_.CurrentCompany.LastAgingDate = "12/08/2026";
  EXPECT_FALSE(AgingDueToday(session_));
}

TEST_F(StartupTest, ChosenCompanyBecomesCurrentAndIsRemembered) {
  const model::CompanyRecord first = NamedCompany("Harbor Supply");
  MakeDataFolder(first, first);
  engine::testing::WriteBytes(folder_.path() / "vtt8.bmp", {'B', 'M'});
  Start();
  model::CompanyRecord chosen = NamedCompany("Second Street Books");
  chosen.CompanyNo = "2";
  chosen.DateOrder = "D";
  const StartResult result = MakeCompanyCurrent(Services(), chosen);
  EXPECT_TRUE(result.companySetUp);
  EXPECT_EQ(session_.CurrentCompany.CompanyNo.str(), "2");
  EXPECT_EQ(session_.TodayText, "08/12/2026");
  model::CompanyRecord last{};
  ASSERT_TRUE(model::ReadLastCompany(last));
  EXPECT_EQ(last.CompanyName.str(), "Second Street Books");
}

TEST_F(StartupTest, UnnamedChosenCompanyIsRememberedWithoutTheReminder) {
  const model::CompanyRecord first = NamedCompany("Harbor Supply");
  MakeDataFolder(first, first);
  engine::testing::WriteBytes(folder_.path() / "vtt8.bmp", {'B', 'M'});
  Start();
  MakeCompanyCurrent(Services(), NamedCompany(""));
  EXPECT_EQ(session_.CurrentCompany.CompanyName.str(), "Please Setup Your Company.");
  model::CompanyRecord last{};
  ASSERT_TRUE(model::ReadLastCompany(last));
  EXPECT_TRUE(last.CompanyName.empty());
}

class PasswordTest : public ::testing::Test {
 protected:
  engine::testing::ScopedWorkingFolder folder_;
  ScriptedDialogs dialogs_;
};

TEST_F(PasswordTest, NoPasswordFileLetsEveryoneIn) {
  EXPECT_TRUE(CheckPassword(dialogs_));
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(PasswordTest, TrimmedEntryMustMatchExactly) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  dialogs_.Type(" Secret ");
  EXPECT_TRUE(CheckPassword(dialogs_));
  EXPECT_EQ(dialogs_.Log()[0].caption, "Password Required");

  dialogs_.Type("secret");
  EXPECT_FALSE(CheckPassword(dialogs_));
  EXPECT_EQ(dialogs_.Log().back().caption, "Invalid Password");
  EXPECT_EQ(dialogs_.Log().back().text, "You did not enter the correct password.");
}

TEST_F(PasswordTest, CancelFailsWithoutAMessage) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  dialogs_.Type(std::nullopt);
  EXPECT_FALSE(CheckPassword(dialogs_));
  EXPECT_EQ(dialogs_.Log().size(), 1u);
}

}  // namespace
}  // namespace shell
