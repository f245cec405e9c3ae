#include "reports/statement_batch.h"

#include <gtest/gtest.h>

#include <tuple>

#include "invoicing/testing/books_fixture.h"
#include "platform/testing/recording_canvas.h"
#include "platform/testing/scripted_dialogs.h"

namespace reports {
namespace {

class StatementBatchTest : public invoicing::testing::BooksFixture {
 protected:
  void SetUp() override {
    BooksFixture::SetUp();
    // Name order: Alpha (credit over 90), Beta (61-90), Customer 10 (current and a
    // 31-60 credit), Customer 20 (nothing owed).
    AddCustomer("30", "Alpha Credit", {"0.00", "0.00", "0.00", "-5.00"});
    AddCustomer("40", "Beta Owing", {"0.00", "0.00", "20.00", "0.00"});
    WithCustomer("10", [](files::KeyedFile& file, files::RecordNumber slot, model::CustomerRecord& customer) {
      customer.AgeCurrent = "13.00";
      customer.Age31to60 = "-3.00";
      customer.Balance = "10.00";
      ASSERT_TRUE(file.Update(slot, customer));
    });
  }

  void AddCustomer(std::string_view number, std::string_view name, std::array<std::string_view, 4> aging) {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Open());
    model::CustomerRecord customer = files::testing::ClearCustomer(number, name);
    customer.AgeCurrent = aging[0];
    customer.Age31to60 = aging[1];
    customer.Age61to90 = aging[2];
    customer.AgeOver90 = aging[3];
    model::Money balance;
    for (std::string_view amount : aging) balance += invoicing::testing::M(amount);
    customer.Balance = model::FormatMoney(balance, "0.00");
    files::RecordNumber added = 0;
    ASSERT_TRUE(customers.Add(customer, added));
  }

  std::vector<std::string> Selected(BalanceSelection selection) {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    EXPECT_TRUE(customers.Open());
    std::vector<std::string> numbers;
    for (const model::CustomerRecord& customer : CustomersForStatements(customers, selection)) {
      numbers.push_back(customer.CustNo.str());
    }
    return numbers;
  }

  std::string Run(BatchChoice choice) {
    transactions_.Close();  // the run opens it as the statement windows do
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    EXPECT_TRUE(customers.Open());
    return PrintStatementBatch(services_.WithProgress(runProgress_), customers, choice, labelQueue_, canvas_);
  }

  platform::testing::RecordingCanvas canvas_;
  // The window of the run, whose End also takes the hourglass back.
  platform::testing::RecordingProgress runProgress_;
};

TEST_F(StatementBatchTest, EachBalanceSelectionTakesCreditsAndKeepsNameOrder) {
  EXPECT_EQ(Selected(BalanceSelection::kAllNonZero), (std::vector<std::string>{"30", "40", "10"}));
  EXPECT_EQ(Selected(BalanceSelection::kOver30), (std::vector<std::string>{"30", "40", "10"}));
  EXPECT_EQ(Selected(BalanceSelection::kOver60), (std::vector<std::string>{"30", "40"}));
  EXPECT_EQ(Selected(BalanceSelection::kOver90), (std::vector<std::string>{"30"}));
}

TEST_F(StatementBatchTest, RunPrintsEachStatementQueuesLabelsAndStoresTheDate) {
  session_.CurrentCompany.LastStatementDate = "11/30/2026";
  session_.CurrentCompany.BatchToLabelQueue = "Y";
  WriteCompany();
  dialogs_.Answer(platform::Answer::kYes);
  EXPECT_EQ(Run({BalanceSelection::kOver60, Activity::kUnpaidOnly}), "Batch printing complete.");
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Batch Print - Statements");
  EXPECT_EQ(dialogs_.Log()[0].text,
            "Last Batch Print: 11/30/2026\n\nThere are 2 statement(s) to be printed. Make sure your printer has "
            "plenty of paper. Continue?");
  EXPECT_EQ(canvas_.documents, (std::vector<std::string>{"Statement", "Statement"}));
  EXPECT_NE(canvas_.Find("Alpha Credit"), nullptr);
  ASSERT_EQ(runProgress_.shown.size(), 2u);
  EXPECT_EQ(runProgress_.shown[1].lines, (std::vector<std::string>{"Spooling statement 2 of 2..."}));
  EXPECT_EQ(std::tie(runProgress_.begun, runProgress_.ended), std::make_tuple(1, 1));
  ASSERT_EQ(labelQueue_.Entries().size(), 2u);
  EXPECT_EQ(labelQueue_.Entries()[1].caption, "40");
  const std::string today = model::FormatDisplayDate(invoicing::testing::kToday, session_.DateOrder());
  EXPECT_EQ(Listed().LastStatementDate.str(), today);
  EXPECT_EQ(session_.CurrentCompany.LastStatementDate.str(), today);
}

TEST_F(StatementBatchTest, AnsweringNoPrintsNothingAndKeepsTheDate) {
  session_.CurrentCompany.LastStatementDate = "11/30/2026";
  WriteCompany();
  dialogs_.Answer(platform::Answer::kNo);
  EXPECT_EQ(Run({}), "");
  EXPECT_TRUE(canvas_.documents.empty());
  EXPECT_TRUE(labelQueue_.Empty());
  EXPECT_EQ(Listed().LastStatementDate.str(), "11/30/2026");
}

TEST_F(StatementBatchTest, StatementThatCannotPrintEndsTheRunAndItsProgressAndKeepsTheDate) {
  session_.CurrentCompany.LastStatementDate = "11/30/2026";
  WriteCompany();
  dialogs_.Answer(platform::Answer::kYes);
  canvas_.refuseToStart = true;
  EXPECT_EQ(Run({}), "");
  EXPECT_EQ(std::tie(runProgress_.begun, runProgress_.ended), std::make_tuple(1, 1));
  EXPECT_EQ(runProgress_.shown.size(), 1u);
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[1].text, "Batch printing stopped: the statement for Alpha Credit could not be printed.");
  EXPECT_EQ(Listed().LastStatementDate.str(), "11/30/2026");
}

TEST_F(StatementBatchTest, NobodySelectedIsTold) {
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  ASSERT_TRUE(customers.Open());
  files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
    model::CustomerRecord cleared = files::testing::ClearCustomer(row.record.CustNo.str(), row.record.CustName.str());
    EXPECT_TRUE(customers.Update(row.number, cleared));
    return true;
  });
  EXPECT_EQ(PrintStatementBatch(services_, customers, {}, labelQueue_, canvas_), "");
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].text,
            "There are no customers with a non-zero balance that meet your aging selection. There are no statements "
            "to print.");
}

}  // namespace
}  // namespace reports
