#include "shell/ui/books_check.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/testing/company_folder.h"
#include "shell/ui/testing/window_fixture.h"

namespace shell::ui {
namespace {

// Company 1 with one customer; `balance` is what the customer record keeps, while no
// transaction is on file, so anything but 0.00 is a difference.
class BooksCheckTest : public shell::testing::WindowFixture {
 protected:
  void WriteBooks(std::string_view balance) {
    engine_.InitEngine(30);
    files::testing::WriteCompanyOne(session_, "Harbor Supply", balance);
    session_.TodayText = "12/08/2026";
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Create() && customers.Open());
    model::CustomerRecord customer = files::testing::ClearCustomer("C100", "Dockside Marine");
    customer.Balance = balance;
    engine::RecordNumber added = 0;
    ASSERT_TRUE(customers.Add(customer, added));
  }
};

TEST_F(BooksCheckTest, BalancedBooksSaySoAndOfferNoRepair) {
  WriteBooks("0.00");
  TBooksCheck window(services_);
  EXPECT_EQ(window.windowTitle(), "Check Books");
  EXPECT_TRUE(window.Summary()->text().endsWith("balance."));
  EXPECT_EQ(window.FindingList()->topLevelItemCount(), 0);
  EXPECT_FALSE(window.RepairButton()->isEnabled());
}

// The question comes first; No changes nothing, Yes repairs after a backup and the
// check that follows finds the books balanced.
TEST_F(BooksCheckTest, RepairAsksThenRewritesAndChecksAgain) {
  WriteBooks("25.00");
  TBooksCheck window(services_);
  ASSERT_GT(window.FindingList()->topLevelItemCount(), 0);
  EXPECT_EQ(window.FindingList()->topLevelItem(0)->text(1), "Repairable");
  EXPECT_TRUE(window.Summary()->text().endsWith("Repair can rewrite them all."));
  ASSERT_TRUE(window.RepairButton()->isEnabled());

  dialogs_.Answer(platform::Answer::kNo);
  window.RepairButton()->click();
  EXPECT_EQ(dialogs_.Log().back().text, books::RepairQuestion(books::CheckBooks(services_)));
  EXPECT_FALSE(std::filesystem::exists("Backups"));

  dialogs_.Answer(platform::Answer::kYes);
  window.RepairButton()->click();
  EXPECT_NE(dialogs_.Log().back().text.find("Backups"), std::string::npos) << dialogs_.Log().back().text;
  EXPECT_TRUE(std::filesystem::exists("Backups"));
  EXPECT_EQ(window.FindingList()->topLevelItemCount(), 0);
  EXPECT_TRUE(window.Summary()->text().endsWith("balance."));
  EXPECT_TRUE(dialogs_.AllAnswersUsed());
}

}  // namespace
}  // namespace shell::ui
