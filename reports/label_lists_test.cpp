#include "reports/label_lists.h"

#include <gtest/gtest.h>

#include "invoicing/testing/books_fixture.h"

namespace reports {
namespace {

// Customers 10 and 20 come with the fixture, owing nothing; 30 owes over 90 days and
// 40 has no name.
class LabelListsTest : public invoicing::testing::BooksFixture {
 protected:
  void SetUp() override {
    BooksFixture::SetUp();
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Open());
    model::CustomerRecord owing = files::testing::ClearCustomer("30", "Dockside Marine");
    owing.AgeOver90 = "12.50";
    owing.MailListCode = "EAST";
    owing.CustType = "Wholesale";
    files::RecordNumber added = 0;
    ASSERT_TRUE(customers.Add(owing, added));
    ASSERT_TRUE(customers.Add(files::testing::ClearCustomer("40", "   "), added));
  }

  std::vector<std::string> QueuedNumbers() const {
    std::vector<std::string> numbers;
    for (const auto& entry : labelQueue_.Entries()) numbers.push_back(entry.caption);
    return numbers;
  }
};

TEST_F(LabelListsTest, LoadAllSkipsCustomersWithoutAName) {
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  ASSERT_TRUE(customers.Open());
  EXPECT_EQ(LoadAllCustomers(customers, labelQueue_), "3 records were added.");
  EXPECT_EQ(QueuedNumbers(), (std::vector<std::string>{"10", "20", "30"}));
  EXPECT_EQ(labelQueue_.Entries()[2].subItems, (std::vector<std::string>{"Dockside Marine", "EAST", "Wholesale"}));
}

TEST_F(LabelListsTest, AgingPullTakesOnlyCustomersWithAnAmountInTheBucket) {
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  ASSERT_TRUE(customers.Open());
  EXPECT_EQ(LoadAgingBucket(customers, labelQueue_, AgingPull::kOver90, dialogs_), "1 records were added.");
  EXPECT_EQ(QueuedNumbers(), (std::vector<std::string>{"30"}));
  EXPECT_EQ(LoadAgingBucket(customers, labelQueue_, AgingPull::kDays31to60, dialogs_), std::nullopt);
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "31-60 Days");
  EXPECT_EQ(dialogs_.Log()[0].text, "No records were found.");
}

TEST_F(LabelListsTest, DeleteNeedsASelectionAndClearAsksFirst) {
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  ASSERT_TRUE(customers.Open());
  LoadAllCustomers(customers, labelQueue_);
  DeleteQueueEntry(labelQueue_, std::nullopt, dialogs_);
  DeleteQueueEntry(labelQueue_, 1, dialogs_);
  EXPECT_EQ(QueuedNumbers(), (std::vector<std::string>{"10", "30"}));
  dialogs_.Answer(platform::Answer::kNo).Answer(platform::Answer::kYes);
  EXPECT_EQ(ClearQueue(labelQueue_, dialogs_), std::nullopt);
  EXPECT_EQ(ClearQueue(labelQueue_, dialogs_), "All records were removed from the queue.");
  EXPECT_TRUE(labelQueue_.Empty());
  EXPECT_EQ(ClearQueue(labelQueue_, dialogs_), std::nullopt);
  ASSERT_EQ(dialogs_.Log().size(), 3u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Record");
  EXPECT_EQ(dialogs_.Log()[1].text, "This will clear all records in the print queue. Continue?");
}

TEST_F(LabelListsTest, SavedListReloadsAndADamagedOneLeavesTheQueueAlone) {
  EXPECT_FALSE(QueueCanBeSaved(labelQueue_, dialogs_));
  EXPECT_EQ(dialogs_.Log().back().text, "You do not have any customer records to save.");
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  ASSERT_TRUE(customers.Open());
  LoadAllCustomers(customers, labelQueue_);
  const std::filesystem::path path = std::filesystem::current_path() / "ALL.LST";
  EXPECT_EQ(SaveQueue(labelQueue_, path, dialogs_), "Records saved to file: " + path.string() + ".");
  EXPECT_FALSE(labelQueue_.Pending());
  const auto saved = labelQueue_.Entries();
  labelQueue_.Clear();
  EXPECT_EQ(LoadSavedQueue(labelQueue_, path, dialogs_), "3 records are selected.");
  EXPECT_EQ(labelQueue_.Entries(), saved);

  ASSERT_TRUE(model::WriteWholeFile(path, std::string(200, 'x')));
  EXPECT_EQ(LoadSavedQueue(labelQueue_, path, dialogs_), "");
  EXPECT_EQ(labelQueue_.Entries(), saved);
  EXPECT_EQ(dialogs_.Log().back().icon, platform::Icon::kError);
}

}  // namespace
}  // namespace reports
