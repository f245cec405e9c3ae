#include "shell/terms_list.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "model/side_files.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using Terms = std::vector<std::string>;

class TermsEditorTest : public ::testing::Test {
 protected:
  void LoadWith(const Terms& terms) {
    ASSERT_TRUE(model::SaveTerms(terms));
    editor_.Load();
  }

  engine::testing::ScopedWorkingFolder folder_;
  platform::testing::ScriptedDialogs dialogs_;
  TermsEditor editor_{dialogs_};
};

TEST_F(TermsEditorTest, EmptyEntryIsRefusedAndTheAddStaysPending) {
  LoadWith({"Net 30 Days"});
  editor_.BeginAdd();
  EXPECT_FALSE(editor_.Commit("   "));
  EXPECT_EQ(editor_.Mode(), TermsMode::kAdding);
  EXPECT_EQ(editor_.Terms(), (Terms{"Net 30 Days"}));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Invalid Payment Term");
  EXPECT_EQ(dialogs_.Log()[0].text, "You do not have any text entered.");
}

TEST_F(TermsEditorTest, DeletingDuringAnEditEndsTheEdit) {
  LoadWith({"Alpha", "Beta", "Gamma"});
  editor_.Select(2);
  ASSERT_TRUE(editor_.BeginEdit());
  ASSERT_TRUE(editor_.DeleteSelected());
  EXPECT_EQ(editor_.Mode(), TermsMode::kNone);
  EXPECT_FALSE(editor_.Commit("Delta"));
  EXPECT_EQ(editor_.Terms(), (Terms{"Alpha", "Beta"}));
}

TEST_F(TermsEditorTest, EditWithoutATermDoesNothing) {
  editor_.Load();
  EXPECT_TRUE(editor_.Terms().empty());
  EXPECT_FALSE(editor_.BeginEdit());
  EXPECT_FALSE(editor_.DeleteSelected());
  EXPECT_EQ(editor_.Mode(), TermsMode::kNone);
}

TEST_F(TermsEditorTest, FailedWriteIsReportedSoTheListCanBeKept) {
  LoadWith({"Net 30 Days"});
  std::filesystem::remove(model::kTermsFileName);
  std::filesystem::create_directories(std::filesystem::path(model::kTermsFileName) / "in the way");
  EXPECT_FALSE(editor_.Save());
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Edit Payment Terms");
  EXPECT_EQ(dialogs_.Log()[0].icon, platform::Icon::kError);
}

}  // namespace
}  // namespace shell
