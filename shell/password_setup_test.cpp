#include "shell/password_setup.h"

#include <functional>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "model/side_files.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using platform::Answer;
using platform::testing::LoggedMessage;
using platform::testing::ScriptedDialogs;

constexpr const char* kChangeQuestion = "A Password exists. Do you want to change it?";
constexpr const char* kCreateQuestion =
    "Once you create a password you must enter it EXACTLY or you will not be able to use the billing system. "
    "Continue?";
constexpr const char* kTwoTimes =
    "You will need to enter a new password TWO times. Do not enter any password (twice) if you want to remove the "
    "password protection.";
constexpr const char* kNewPasswordShown =
    "Your new password is shown above. You will need to enter it EXACTLY as shown next time you want to access the "
    "system.";
constexpr const char* kRemoved =
    "You did not enter password. Any password has been cleared. This system is no longer password protected.";

class PasswordSetupTest : public ::testing::Test {
 protected:
  std::optional<std::string> StoredPassword() {
    std::optional<std::string> password;
    EXPECT_TRUE(model::ReadPassword(password));
    return password;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const LoggedMessage& message : dialogs_.Log()) captions.push_back(message.caption);
    return captions;
  }

  engine::testing::ScopedWorkingFolder folder_;
  ScriptedDialogs dialogs_;
};

TEST_F(PasswordSetupTest, NewPasswordIsTrimmedStoredAndShownInTheCaption) {
  dialogs_.Answer(Answer::kYes).Type("  Open Sesame ").Type("Open Sesame");
  PasswordSetup(dialogs_);
  EXPECT_EQ(StoredPassword(), "Open Sesame");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Please Confirm", "Password Setup", "Re-enter Your Password",
                                                  "Password: Open Sesame"}));
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{kCreateQuestion, "", "", kNewPasswordShown}));
}

TEST_F(PasswordSetupTest, ChangingAsksForTheCurrentPasswordFirst) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  dialogs_.Answer(Answer::kYes).Type(" Secret ").Type("Newer").Type("Newer");
  PasswordSetup(dialogs_);
  EXPECT_EQ(StoredPassword(), "Newer");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Please Confirm", "Enter the Current Password", "Password Setup",
                                                  "Password Setup", "Re-enter Your Password", "Password: Newer"}));
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{kChangeQuestion, "", kTwoTimes, "", "", kNewPasswordShown}));
}

TEST_F(PasswordSetupTest, CurrentPasswordComparesCaseSensitively) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  dialogs_.Answer(Answer::kYes).Type("secret");
  PasswordSetup(dialogs_);
  EXPECT_EQ(StoredPassword(), "Secret");
  EXPECT_EQ(dialogs_.Log().back().caption, "Incorrect Password");
  EXPECT_EQ(dialogs_.Log().back().text, "You did not enter the correct password. Unable to change password.");
  EXPECT_TRUE(dialogs_.AllAnswersUsed());
}

TEST_F(PasswordSetupTest, OneCharacterPasswordRemovesTheProtection) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  dialogs_.Answer(Answer::kYes).Type("Secret").Type(" x ").Type("x");
  PasswordSetup(dialogs_);
  EXPECT_EQ(StoredPassword(), std::nullopt);
  EXPECT_EQ(dialogs_.Log().back().caption, "Password Removed");
  EXPECT_EQ(dialogs_.Log().back().text, kRemoved);
}

TEST_F(PasswordSetupTest, DifferentEntriesKeepTheOldPassword) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  dialogs_.Answer(Answer::kYes).Type("Secret").Type("Newer").Type("newer");
  PasswordSetup(dialogs_);
  EXPECT_EQ(StoredPassword(), "Secret");
  EXPECT_EQ(dialogs_.Log().back().caption, "Invalid Password");
  EXPECT_EQ(dialogs_.Log().back().text, "The two passwords do not match. Unable to setup password. Try again.");
}

TEST_F(PasswordSetupTest, EntriesAreComparedAndStoredCutToTwentyCharacters) {
  dialogs_.Answer(Answer::kYes).Type("ABCDEFGHIJKLMNOPQRSTone").Type("ABCDEFGHIJKLMNOPQRSTtwo");
  PasswordSetup(dialogs_);
  EXPECT_EQ(StoredPassword(), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(dialogs_.Log().back().caption, "Password: ABCDEFGHIJKLMNOPQRST");
}

TEST_F(PasswordSetupTest, NoOrCancelAtAnyStepChangesNothing) {
  ASSERT_TRUE(model::WritePassword("Secret"));
  struct Script {
    const char* name;
    std::function<void(ScriptedDialogs&)> answers;
    std::size_t messages;
  };
  const std::vector<Script> scripts = {
      {"no to change", [](ScriptedDialogs& d) { d.Answer(Answer::kNo); }, 1},
      {"cancel current", [](ScriptedDialogs& d) { d.Answer(Answer::kYes).Type(std::nullopt); }, 2},
      {"cancel first", [](ScriptedDialogs& d) { d.Answer(Answer::kYes).Type("Secret").Type(std::nullopt); }, 4},
      {"cancel second",
       [](ScriptedDialogs& d) { d.Answer(Answer::kYes).Type("Secret").Type("Newer").Type(std::nullopt); }, 5},
  };
  for (const Script& script : scripts) {
    SCOPED_TRACE(script.name);
    ScriptedDialogs dialogs;
    script.answers(dialogs);
    PasswordSetup(dialogs);
    EXPECT_EQ(dialogs.Log().size(), script.messages);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
    EXPECT_EQ(StoredPassword(), "Secret");
  }
}

TEST_F(PasswordSetupTest, NoToCreatingLeavesTheSystemOpen) {
  dialogs_.Answer(Answer::kNo);
  PasswordSetup(dialogs_);
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{kCreateQuestion});
  EXPECT_EQ(StoredPassword(), std::nullopt);
}

TEST_F(PasswordSetupTest, UnreadablePasswordFileIsReportedAndEndsTheDialogue) {
  engine::testing::WriteBytes(folder_.path() / model::kPasswordFileName, {3});
  PasswordSetup(dialogs_);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].icon, platform::Icon::kError);
  EXPECT_NE(dialogs_.Log()[0].text.find("qy1confg.dat"), std::string::npos);
}

}  // namespace
}  // namespace shell
