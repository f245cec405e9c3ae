#include "shell/customers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/company_files.h"
#include "files/testing/company_folder.h"
#include "model/keys.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using platform::Answer;
using platform::testing::ScriptedDialogs;

model::CustomerRecord Customer(std::string_view number, std::string_view name, std::string_view balance = "0.00") {
  model::CustomerRecord customer{};
  customer.CustNo = number;
  customer.CustName = name;
  customer.Balance = balance;
  return customer;
}

model::TransactionRecord Transaction(std::string_view invoiceNo, std::string_view customerNumber) {
  model::TransactionRecord transaction{};
  transaction.InvoiceNo = invoiceNo;
  transaction.CustNo = customerNumber;
  transaction.TransType = "I";
  return transaction;
}

class CustomersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    session_.CurrentCompany = files::testing::NamedCompany("Harbor Supply");
    session_.CurrentCompany.NextCustNo = "1001";
    files::testing::WriteCompanyFolder(session_.CurrentCompany, session_.CurrentCompany);
    ASSERT_TRUE(customers_.Create());
    ASSERT_TRUE(customers_.Open());
  }

  engine::RecordNumber File(const model::CustomerRecord& customer) {
    engine::RecordNumber number = 0;
    EXPECT_TRUE(customers_.Add(customer, number));
    return number;
  }
  void FileTransactions(std::initializer_list<model::TransactionRecord> records) {
    files::KeyedFile transactions = TransactionFile();
    if (!std::filesystem::exists("1I.DAT")) {
      ASSERT_TRUE(transactions.Create());
    }
    ASSERT_TRUE(transactions.Open());
    for (const auto& record : records) {
      engine::RecordNumber number = 0;
      ASSERT_TRUE(transactions.Add(record, number));
    }
  }
  files::KeyedFile TransactionFile() {
    return {engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kTransactions, "1")};
  }
  // The invoice numbers filed under a customer number in the transaction index.
  std::vector<std::string> InvoicesUnder(std::string_view customerNumber) {
    files::KeyedFile transactions = TransactionFile();
    EXPECT_TRUE(transactions.Open());
    std::vector<std::string> invoices;
    const engine::KeyString wanted = model::BuildKey(Transaction("", customerNumber), model::transaction_key::kCustNo);
    for (const auto& [key, number] : engine::testing::WalkIndex(engine_, transactions.Block(), 2)) {
      if (!(engine::KeyString(key) == wanted)) continue;
      model::TransactionRecord record{};
      engine_.GetRecord(transactions.Block(), number, engine::RecordBytes(record));
      invoices.push_back(record.InvoiceNo.str());
    }
    return invoices;
  }
  model::CompanyRecord ListedCompany() {
    files::KeyedFile list(engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCompanyList));
    EXPECT_TRUE(list.Open());
    model::CompanyRecord found{};
    engine::RecordNumber number = 0;
    EXPECT_TRUE(files::FindCompanyByNumber(list, session_.CurrentCompany, number, found));
    return found;
  }
  CustomerEntry EntryFor(std::string_view number, std::string_view name) {
    CustomerEntry entry = NewCustomerEntry(session_.CurrentCompany);
    entry.number = number;
    entry.name = name;
    return entry;
  }
  CustomerField Check(CustomerEntry& entry, std::optional<std::string> original = std::nullopt) {
    return CheckCustomerEntry(entry, original, customers_, dialogs_);
  }
  files::Services Services() { return {engine_, dialogs_, progress_, clock_, session_}; }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{2026, 12, 8, 9, 0, 0}};
  model::CompanySession session_;
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
};

TEST(CustomerEntry, NewCustomerStartsFromTheCompanyDefaults) {
  model::CompanyRecord company{};
  company.NextCustNo = "1001";
  company.DefaultTerms = "Net 10 Days";
  company.AutoCopyBilling = true;
  const CustomerEntry entry = NewCustomerEntry(company);
  EXPECT_EQ(entry.number, "1001");
  EXPECT_EQ(entry.terms, "Net 10 Days");
  EXPECT_EQ(entry.taxExempt, "N");
  EXPECT_EQ(entry.creditLimit, "0.00");
  EXPECT_EQ(entry.balance, "0.00");
  EXPECT_TRUE(entry.autoCopyToShipping);
  EXPECT_TRUE(entry.name.empty());
  EXPECT_FALSE(entry.creditHold || entry.notesOnInvoice || entry.notesOnStatement);
}

TEST(CustomerEntry, ShortNames) {
  EXPECT_EQ(ShortNameOf("Abcdefghijkl"), "Abcdefghij");
  EXPECT_EQ(ShortNameOf("Harbor Supply Company"), "HSupply Co");
  EXPECT_EQ(ShortNameOf("Al Bo"), "ABo");
  EXPECT_EQ(ShortNameOf("  Lone  "), "Lone");
}

TEST_F(CustomersTest, ChecksComeInOrderAndNameTheFieldToFix) {
  File(Customer("1001", "Harbor Supply"));
  CustomerEntry entry = EntryFor("1001", " ");
  entry.creditLimit = "lots";
  EXPECT_EQ(Check(entry), CustomerField::kName);
  entry.name = "Harbor Supply";
  EXPECT_EQ(Check(entry), CustomerField::kNumber);
  entry.number = "1002";
  EXPECT_EQ(Check(entry), CustomerField::kName);
  entry.name = "Harbor Supplies";
  EXPECT_EQ(Check(entry), CustomerField::kCreditLimit);
  entry.creditLimit = " 1,500.00 ";
  EXPECT_EQ(Check(entry), CustomerField::kNone);

  ASSERT_EQ(dialogs_.Log().size(), 4u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Customer Name", "You must enter a customer name."},
      {"Customer Number", "That customer number already exists. You will need to use a different number."},
      {"Duplicate Customer Name",
       "That customer name already exists. You should not enter the same customer name with a different customer "
       "number."},
      {"Credit Limit", "The CREDIT LIMIT amount has an invalid value."},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dialogs_.Log()[i].caption, expected[i].first);
    EXPECT_EQ(dialogs_.Log()[i].text, expected[i].second);
  }
}

TEST_F(CustomersTest, DuplicatesAreFoundWhateverTheCase) {
  File(Customer("ab1", "Harbor Supply"));
  CustomerEntry number = EntryFor(" AB1", "Someone Else");
  EXPECT_EQ(Check(number), CustomerField::kNumber);
  CustomerEntry name = EntryFor("2", "HARBOR supply ");
  EXPECT_EQ(Check(name), CustomerField::kName);
}

TEST_F(CustomersTest, EditingKeepsItsOwnNumberAndName) {
  File(Customer("ab1", "Harbor Supply"));
  CustomerEntry entry = EntryFor("AB1", "harbor supply");
  EXPECT_EQ(Check(entry, "ab1"), CustomerField::kNone);
  // Taking another customer's name under its own number is still refused.
  File(Customer("7", "Dockside"));
  entry.name = "Dockside";
  EXPECT_EQ(Check(entry, "ab1"), CustomerField::kName);
}

// A new customer has no number of its own: "0" is refused like any number on file.
TEST_F(CustomersTest, NewCustomerMayNotTakeNumberZeroWhenOnFile) {
  File(Customer("0", "Counter Sales"));
  CustomerEntry entry = EntryFor("0", "Walk In");
  EXPECT_EQ(Check(entry), CustomerField::kNumber);
}

TEST_F(CustomersTest, ShortNameIsDerivedOnlyWhenLeftEmpty) {
  CustomerEntry derived = EntryFor("1", "Harbor Supply Company");
  ASSERT_EQ(Check(derived), CustomerField::kNone);
  EXPECT_EQ(derived.shortName, "HSupply Co");
  CustomerEntry typed = EntryFor("1", "Harbor Supply Company");
  typed.shortName = "HARBOR";
  ASSERT_EQ(Check(typed), CustomerField::kNone);
  EXPECT_EQ(typed.shortName, "HARBOR");
}

// The short name used to be made before the checks, from a name they then refused.
TEST_F(CustomersTest, ShortNameComesFromTheNameFinallyStored) {
  File(Customer("7", "Harbor Supply Company"));
  CustomerEntry entry = EntryFor("8", "Harbor Supply Company");
  EXPECT_EQ(Check(entry), CustomerField::kName);
  EXPECT_EQ(entry.shortName, "");
  entry.name = "Dockside Cafe";
  ASSERT_EQ(Check(entry), CustomerField::kNone);
  EXPECT_EQ(entry.shortName, "DCafe");
}

TEST_F(CustomersTest, ShortNameFollowsARenameUnlessTheUserChoseIt) {
  model::CustomerRecord stored = Customer("7", "Harbor Supply Company");
  stored.ShortName = "HSupply Co";
  CustomerEntry renamed = EntryOfCustomer(stored);
  renamed.name = "Harbour Supplies Ltd";
  ASSERT_EQ(Check(renamed, "7"), CustomerField::kNone);
  EXPECT_EQ(renamed.shortName, "HSupplies ");

  stored.ShortName = "HARBOR";
  CustomerEntry chosen = EntryOfCustomer(stored);
  chosen.name = "Harbour Supplies Ltd";
  ASSERT_EQ(Check(chosen, "7"), CustomerField::kNone);
  EXPECT_EQ(chosen.shortName, "HARBOR");
}

TEST(CustomerEntry, ShortNameCountsCharactersNotBytes) {
  EXPECT_EQ(ShortNameOf("Ökobäckerei Müller-Lüdenscheidt Straßenverkauf GmbH"), "ÖMüller-Lü");
  EXPECT_EQ(ShortNameOf("Straßenverkauf"), "Straßenver");
}

TEST_F(CustomersTest, FillingTheRecord) {
  CustomerEntry entry = EntryFor("1001", "Harbor Supply");
  entry.taxExempt = "y";
  entry.creditLimit = " 12,500.00 ";
  entry.notesOnInvoice = true;
  entry.billing = {"1 Quay Street", "Portsmouth", "", ""};
  model::CustomerRecord customer{};
  FillCustomer(customer, entry, true);
  EXPECT_EQ(customer.TaxExempt.str(), "Y");
  EXPECT_EQ(customer.CreditLimit.str(), "12500.00");
  EXPECT_EQ(customer.BillAddr2.str(), "Portsmouth");
  EXPECT_EQ(customer.NotesOnInvoice.str(), "Y");
  EXPECT_EQ(customer.NotesOnStatement.str(), "N");
  EXPECT_EQ(customer.CreditHold.str(), "N");
  for (const auto* amount : {&customer.AgeCurrent, &customer.Age31to60, &customer.Age61to90, &customer.AgeOver90}) {
    EXPECT_EQ(amount->str(), "0.00");
  }
  EXPECT_EQ(customer.Balance.str(), "0.00");

  // An edit leaves the balance and aging alone; an empty limit becomes zero.
  customer.Balance = "75.10";
  customer.Age31to60 = "75.10";
  entry.creditLimit = "  ";
  FillCustomer(customer, entry, false);
  EXPECT_EQ(customer.Balance.str(), "75.10");
  EXPECT_EQ(customer.Age31to60.str(), "75.10");
  EXPECT_EQ(customer.CreditLimit.str(), "0.00");
}

TEST(NextCustomerNumber, FollowsTheNumberJustUsed) {
  EXPECT_EQ(NextCustomerNumberAfter("41"), "42");
  EXPECT_EQ(NextCustomerNumberAfter(" 0099 "), "100");
  EXPECT_EQ(NextCustomerNumberAfter("10.5"), "11");
  EXPECT_EQ(NextCustomerNumberAfter("9999999"), "10000000");
  EXPECT_EQ(NextCustomerNumberAfter("99999999"), std::nullopt);
  EXPECT_EQ(NextCustomerNumberAfter("A-12"), std::nullopt);
  EXPECT_EQ(NextCustomerNumberAfter(""), std::nullopt);
}

TEST_F(CustomersTest, AddingStoresTheNextNumberInTheCompanyList) {
  model::CustomerRecord added{};
  engine::RecordNumber number = 0;
  ASSERT_TRUE(AddCustomer(Services(), customers_, EntryFor("1001", "Harbor Supply"), added, number));
  model::CustomerRecord found{};
  engine::RecordNumber foundNumber = 0;
  ASSERT_TRUE(FindCustomerByNumber(customers_, "1001", foundNumber, found));
  EXPECT_EQ(foundNumber, number);
  EXPECT_EQ(found.CustName.str(), "Harbor Supply");
  EXPECT_EQ(session_.CurrentCompany.NextCustNo.str(), "1002");
  EXPECT_EQ(ListedCompany().NextCustNo.str(), "1002");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(CustomersTest, FailedAddIsReportedAndKeepsTheNextNumber) {
  File(Customer("5", "Harbor Supply"));
  model::CustomerRecord added{};
  engine::RecordNumber number = 0;
  EXPECT_FALSE(AddCustomer(Services(), customers_, EntryFor("1001", "HARBOR SUPPLY"), added, number));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].text, "Add operation failed");
  EXPECT_EQ(ListedCompany().NextCustNo.str(), "1001");
}

TEST_F(CustomersTest, NewNumberMovesTheCustomersTransactions) {
  const model::CustomerRecord before = Customer("c1", "Harbor Supply", "25.00");
  const engine::RecordNumber number = File(before);
  FileTransactions({Transaction("100", "C1"), Transaction("101", "c1"), Transaction("102", "C2"),
                    Transaction("103", "C1")});
  CustomerEntry entry = EntryOfCustomer(before);
  entry.number = " N77 ";
  model::CustomerRecord after{};
  ASSERT_TRUE(SaveEditedCustomer(Services(), customers_, number, before, entry, after));

  EXPECT_EQ(after.Balance.str(), "25.00");
  EXPECT_EQ(InvoicesUnder("N77"), (std::vector<std::string>{"100", "101", "103"}));
  EXPECT_TRUE(InvoicesUnder("C1").empty());
  EXPECT_EQ(InvoicesUnder("C2"), (std::vector<std::string>{"102"}));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Customer Number Changed");
  EXPECT_EQ(dialogs_.Log()[0].text,
            "This customer has 3 record(s) on file. All have been changed to reflect the new customer number.");
}

TEST_F(CustomersTest, NumberChangedOnlyInCaseRenumbersNothing) {
  const model::CustomerRecord before = Customer("c1", "Harbor Supply");
  const engine::RecordNumber number = File(before);
  FileTransactions({Transaction("100", "c1")});
  CustomerEntry entry = EntryOfCustomer(before);
  entry.number = "C1";
  model::CustomerRecord after{};
  ASSERT_TRUE(SaveEditedCustomer(Services(), customers_, number, before, entry, after));
  EXPECT_EQ(after.CustNo.str(), "C1");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(CustomersTest, NewNumberWithoutTransactionsSaysNothingAndCreatesNoFile) {
  const model::CustomerRecord before = Customer("1", "Harbor Supply");
  const engine::RecordNumber number = File(before);
  CustomerEntry entry = EntryOfCustomer(before);
  entry.number = "2";
  model::CustomerRecord after{};
  ASSERT_TRUE(SaveEditedCustomer(Services(), customers_, number, before, entry, after));
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_FALSE(std::filesystem::exists("1I.DAT"));
}

TEST_F(CustomersTest, EditOfARecordChangedMeanwhileIsRefused) {
  const model::CustomerRecord before = Customer("1", "Harbor Supply");
  const engine::RecordNumber number = File(before);
  model::CustomerRecord meanwhile = before;
  meanwhile.Balance = "10.00";
  ASSERT_TRUE(customers_.Update(number, meanwhile));
  CustomerEntry entry = EntryOfCustomer(before);
  entry.number = "2";
  model::CustomerRecord after{};
  EXPECT_FALSE(SaveEditedCustomer(Services(), customers_, number, before, entry, after));
  EXPECT_EQ(dialogs_.Texts(),
            (std::vector<std::string>{"The record has changed in the meantime.", "Modify operation failed"}));
}

TEST_F(CustomersTest, DeleteRefusesABalanceThenInvoices) {
  const model::CustomerRecord owing = Customer("1", "Harbor Supply", "0.01");
  const model::CustomerRecord paidUp = Customer("c2", "Dockside");
  const engine::RecordNumber owingNumber = File(owing);
  const engine::RecordNumber paidUpNumber = File(paidUp);
  FileTransactions({Transaction("100", "C2")});
  EXPECT_FALSE(DeleteCustomer(Services(), customers_, owingNumber, owing));
  EXPECT_FALSE(DeleteCustomer(Services(), customers_, paidUpNumber, paidUp));
  EXPECT_EQ(dialogs_.Texts(),
            (std::vector<std::string>{"This customer has a balance due. Unable to delete.",
                                      "This customer has invoices on file and may not be deleted. You can mark this "
                                      "customer as inactive, otherwise, wait until you remove their paid invoices, "
                                      "then delete."}));
  EXPECT_EQ(dialogs_.Log()[1].caption, "Delete Customer");
  EXPECT_EQ(engine_.KeysInIndex(customers_.Block(), 1), 2);
}

TEST_F(CustomersTest, DeleteAsksWithTheNumberAndDeletesOnYes) {
  const model::CustomerRecord customer = Customer("12", "Harbor Supply");
  const engine::RecordNumber number = File(customer);
  FileTransactions({Transaction("100", "120")});
  dialogs_.Answer(Answer::kNo).Answer(Answer::kYes);
  EXPECT_FALSE(DeleteCustomer(Services(), customers_, number, customer));
  EXPECT_EQ(engine_.KeysInIndex(customers_.Block(), 1), 1);
  EXPECT_TRUE(DeleteCustomer(Services(), customers_, number, customer));
  EXPECT_EQ(engine_.KeysInIndex(customers_.Block(), 1), 0);
  EXPECT_EQ(engine_.KeysInIndex(customers_.Block(), 2), 0);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Customer 12");
  EXPECT_EQ(dialogs_.Log()[0].text, "Are you sure you want to delete this customer?");
  EXPECT_EQ(dialogs_.Log()[0].buttons, platform::Buttons::kYesNo);
}

TEST_F(CustomersTest, DeleteQuestionDefaultsToNo) {
  const model::CustomerRecord customer = Customer("12", "Harbor Supply");
  const engine::RecordNumber number = File(customer);
  FileTransactions({Transaction("100", "120")});
  dialogs_.PressEnter();
  EXPECT_FALSE(DeleteCustomer(Services(), customers_, number, customer));
  EXPECT_EQ(engine_.KeysInIndex(customers_.Block(), 1), 1);
}

TEST_F(CustomersTest, LabelQueueEntry) {
  model::CustomerRecord customer = Customer("12", "Harbor Supply");
  customer.MailListCode = "EAST";
  customer.CustType = "Wholesale";
  documents::LabelQueue queue;
  EXPECT_EQ(AddToLabelQueue(queue, customer), "Harbor Supply added to label queue.");
  ASSERT_EQ(queue.Entries().size(), 1u);
  EXPECT_EQ(queue.Entries()[0], (documents::LabelQueueEntry{"12", {"Harbor Supply", "EAST", "Wholesale"}}));
  EXPECT_TRUE(queue.Pending());
}

TEST(CustomerRows, ColumnsHaveTheirWidths) {
  model::CustomerRecord customer = Customer(" 12 ", "Harbor Supply", "1234.5");
  customer.LastPaymentDate = "03/04/2026";
  customer.LastInvoiceNo = "10045";
  customer.Phone1 = "555-0100";
  EXPECT_EQ(CustomerRow(customer), "Harbor Supply" + std::string(22, ' ') + " 12      " + "     1,234.50" +
                                       " 03/04/2026 10045     555-0100" + std::string(17, ' '));
  EXPECT_EQ(CustomerHeader(), "Name" + std::string(31, ' ') + " Number  " + "      Balance" +
                                  " Last Pmt.  Last Inv. Phone Number(s)" + std::string(10, ' '));
}

}  // namespace
}  // namespace shell
