#include "shell/customer_printouts.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "platform/testing/recording_canvas.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using platform::Answer;
using platform::testing::RecordingCanvas;
using platform::testing::ScriptedDialogs;

model::CustomerRecord Customer(std::string_view number, std::string_view name) {
  model::CustomerRecord customer{};
  customer.CustNo = number;
  customer.CustName = name;
  customer.Balance = "1500";
  customer.ShortName = "SHORT";
  customer.CustType = "Retail";
  customer.LastPaymentDate = "02/01/2026";
  customer.CreditLimit = "900.00";
  customer.LastInvoiceNo = "1044";
  customer.TaxExempt = "N";
  customer.Phone1 = "555-0100";
  customer.Phone2 = "555-0199";
  customer.Terms = "Net 30 Days";
  customer.BillAddr1 = "1 Quay Street";
  customer.BillAddr3 = "Portsmouth";
  customer.ShipAddr1 = "Dock 4";
  customer.ShipAddr2 = "Harbor Road";
  return customer;
}

std::vector<std::string> Names(const documents::ListReport& report) {
  std::vector<std::string> names;
  for (const auto& entry : report.entries) names.push_back(entry.name);
  return names;
}

class CustomerListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    ASSERT_TRUE(customers_.Create());
    ASSERT_TRUE(customers_.Open());
    for (const auto& customer : {Customer("30", "Anchor Works"), Customer("10", "Ship Chandlers"),
                                 Customer("20", "Dockside Cafe")}) {
      engine::RecordNumber number = 0;
      ASSERT_TRUE(customers_.Add(customer, number));
    }
    company_.CompanyName = "Harbor Supply";
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  model::CompanyRecord company_{};
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
};

TEST_F(CustomerListTest, ByNameWithoutAddresses) {
  dialogs_.Answer(Answer::kNo).Answer(Answer::kNo);
  const CustomerListRequest request = AskCustomerListRequest(dialogs_);
  const documents::ListReport report =
      CustomerListReport(customers_, company_, request, "Tuesday, December 8, 2026, 02:05 PM");
  EXPECT_EQ(report.title, "Customer List by Name");
  EXPECT_EQ(report.headings, (std::vector<std::string>{"Customer List for Harbor Supply",
                                                       "Date: Tuesday, December 8, 2026, 02:05 PM"}));
  EXPECT_EQ(Names(report), (std::vector<std::string>{"Anchor Works", "Dockside Cafe", "Ship Chandlers"}));
  EXPECT_TRUE(report.entries[0].lines.empty());
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Customer List");
  EXPECT_EQ(dialogs_.Log()[0].text, "Do you want to include the customer addresses on this list?");
  EXPECT_EQ(dialogs_.Log()[1].caption, "Customer Sort");
  EXPECT_EQ(dialogs_.Log()[1].text, "Customers will be sorted by name. Would you rather sort by customer number?");
}

TEST_F(CustomerListTest, ByNumberWithAddresses) {
  const documents::ListReport report = CustomerListReport(customers_, company_, {true, true}, "now");
  EXPECT_EQ(report.title, "Customer List by Number");
  EXPECT_EQ(Names(report), (std::vector<std::string>{"Ship Chandlers", "Dockside Cafe", "Anchor Works"}));
  EXPECT_EQ(report.entries[0].lines, (std::vector<std::string>{"Billing Address: 1 Quay Street, Portsmouth",
                                                               "Shipping Address: Dock 4, Harbor Road"}));
}

TEST(CustomerListEntry, LabelsAndValuesInOrder) {
  const documents::ListEntry entry = CustomerListEntry(Customer(" 10 ", "Ship Chandlers"), false);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Number:", "10"},           {"Balance:", "1,500.00"},   {"Short Name:", "SHORT"},
      {"Type:", "Retail"},         {"Last Pmt:", "02/01/2026"}, {"Credit Limit:", "900.00"},
      {"Last Invoice:", "1044"},   {"Tax Exempt:", "N"},        {"Phone1:", "555-0100"},
      {"Phone2:", "555-0199"},     {"Payment Terms:", "Net 30 Days"},
  };
  EXPECT_EQ(entry.fields, expected);
}

TEST_F(CustomerListTest, PrintsUnderTheReportsTitle) {
  dialogs_.Answer(Answer::kYes).Answer(Answer::kYes);
  RecordingCanvas canvas;
  platform::FixedClock clock({2026, 12, 8, 14, 5, 0});
  ASSERT_TRUE(PrintCustomerList(customers_, company_, dialogs_, clock, canvas));
  EXPECT_EQ(canvas.documents, (std::vector<std::string>{"Customer List by Number"}));
  EXPECT_EQ(canvas.pageSize, platform::PageSize::kPrinterPaper);
  EXPECT_NE(canvas.Find("Date: Tuesday, December 8, 2026, 02:05 PM"), nullptr);
  EXPECT_NE(canvas.Find("Shipping Address: Dock 4, Harbor Road"), nullptr);
}

}  // namespace
}  // namespace shell
