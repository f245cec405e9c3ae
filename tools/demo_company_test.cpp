#include "tools/demo_company.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "books/aging.h"
#include "documents/label_layout.h"
#include "documents/label_list.h"
#include "documents/rtf_reader.h"
#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/table.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/side_files.h"
#include "model/whole_file.h"
#include "platform/testing/scripted_dialogs.h"
#include "tools/data_folder.h"

namespace tools {
namespace {

using model::Money;

Money Read(const auto& field) { return model::ReadMoney(field).value_or(Money::FromCents(-1)); }

class DemoCompanyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    ASSERT_EQ(SetUpDataFolder(engine_, dialogs_).error, "");
    report_ = BuildDemoCompany(Services());
  }

  files::Services Services() { return {engine_, dialogs_, progress_, clock_, session_}; }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{2026, 12, 8, 9, 30, 0}};
  model::CompanySession session_;
  DemoReport report_;
};

TEST_F(DemoCompanyTest, CompanyTwoIsFilledAndCurrentWhileCompanyOneStaysEmpty) {
  EXPECT_EQ(report_.problems, std::vector<std::string>{});
  EXPECT_EQ(report_.customers, 40);
  EXPECT_EQ(report_.products, 30);
  EXPECT_EQ(report_.invoices, 400);
  EXPECT_EQ(report_.repeatMasters, 3);
  EXPECT_EQ(report_.payments, 12);

  model::CompanyRecord last{};
  ASSERT_TRUE(model::ReadLastCompany(last));
  EXPECT_EQ(last.CompanyNo.str(), kDemoCompanyNo);
  EXPECT_EQ(last.CompanyName.str(), kDemoCompanyName);

  EXPECT_FALSE(std::filesystem::exists("1I.DAT"));
  EXPECT_FALSE(std::filesystem::exists("1C.DAT"));
}

// The label wizard opens on a layout with the return address, and the overdue list and the reminder
// letter are there to load.
TEST_F(DemoCompanyTest, LeavesALabelLayoutAnOverdueListAndAReminderLetter) {
  std::filesystem::path layoutPath;
  ASSERT_EQ(documents::ReadLastLayoutPath(".", layoutPath), documents::LastLayout::kFound);
  documents::LabelLayout layout;
  ASSERT_TRUE(documents::ReadLabelLayout(layoutPath, layout));
  EXPECT_EQ(layout.columns + "x" + layout.rows, "2x5");
  EXPECT_TRUE(layout.returnAddress);
  std::vector<documents::LabelQueueEntry> overdue;
  ASSERT_TRUE(documents::ReadRecordList("Over 90 days.LST", overdue));
  EXPECT_GE(overdue.size(), 3u);
  std::string letter;
  ASSERT_TRUE(model::ReadWholeFile("Overdue reminder.RTF", letter));
  const documents::RtfReadResult read = documents::ReadRtf(letter);
  EXPECT_TRUE(read.ok());
  EXPECT_EQ(read.document.paragraphs.front().runs.front().text, "QYCMPNAME");
}

// The A/R total, the customers' balances and the open invoices agree, and the
// fifteen months spread the open amounts over every aging bucket.
TEST_F(DemoCompanyTest, BooksBalanceAndEveryAgingBucketHoldsSomething) {
  files::KeyedFile customers = Services().FileOf(files::CompanyFile::kCustomers);
  files::KeyedFile transactions = Services().FileOf(files::CompanyFile::kTransactions);
  ASSERT_TRUE(customers.Open() && transactions.Open());
  Money balances;
  books::AgingTotals buckets;
  files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
    balances += Read(row.record.Balance);
    buckets[books::AgingBucket::kCurrent] += Read(row.record.AgeCurrent);
    buckets[books::AgingBucket::kDays31to60] += Read(row.record.Age31to60);
    buckets[books::AgingBucket::kDays61to90] += Read(row.record.Age61to90);
    buckets[books::AgingBucket::kOver90] += Read(row.record.AgeOver90);
    return true;
  });
  Money open;
  int memoInvoices = 0, paidInFull = 0, partlyPaid = 0;
  std::map<std::string, int> types;
  files::Table<model::TransactionRecord>(transactions).ForEachRecord([&](const auto& row) {
    open += Read(row.record.BalanceDue);
    memoInvoices += row.record.BodyStyle.raw() == "M";
    paidInFull += row.record.PaidFlag.raw() == "P";
    partlyPaid += row.record.PaidFlag.raw() != "P" && !Read(row.record.PaidAmount).IsZero();
    ++types[row.record.TransType.str()];
    return true;
  });
  EXPECT_EQ(Read(session_.CurrentCompany.TotalAR), balances);
  EXPECT_EQ(balances, open);
  EXPECT_EQ(buckets.Grand(), balances);
  for (Money bucket : buckets.amounts) EXPECT_GT(bucket, Money{});
  EXPECT_GT(memoInvoices, 20);
  EXPECT_GT(paidInFull, 100);
  EXPECT_GT(partlyPaid, 20);
  // The payments: invoices paid in part (Z) with their payment records (X), three
  // deposits (D) and the use of one of them (T).
  EXPECT_GE(types["Z"], 3);
  EXPECT_GE(types["X"], 4);
  EXPECT_EQ(types["D"], 3);
  EXPECT_EQ(types["T"], 1);
  // Three service contracts billed on a schedule, owing nothing themselves.
  EXPECT_EQ(types["R"], 3);
}

TEST_F(DemoCompanyTest, ShowsACreditHoldATaxExemptionAndAnAccentedName) {
  files::KeyedFile customers = Services().FileOf(files::CompanyFile::kCustomers);
  ASSERT_TRUE(customers.Open());
  int onHold = 0, exempt = 0, accented = 0;
  files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
    onHold += model::IsYes(row.record.CreditHold);
    exempt += model::IsYes(row.record.TaxExempt);
    accented += row.record.CustName.str() == "Müller Ölbau GmbH";
    return true;
  });
  EXPECT_EQ(onHold, 1);
  EXPECT_EQ(exempt, 1);
  EXPECT_EQ(accented, 1);
}

}  // namespace
}  // namespace tools
