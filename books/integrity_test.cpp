#include "books/integrity.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

#include "books/posting.h"
#include "books/testing/books_balance.h"
#include "engine/test_support.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "platform/testing/scripted_dialogs.h"

namespace books {
namespace {

namespace fs = std::filesystem;
using model::Money;
using model::TransactionRecord;

Money M(std::string_view text) { return model::ParseMoney(text).value(); }

constexpr model::Date kToday{2026, 12, 8};

// Company 1 with two customers whose books agree, written as the bookkeeping writes
// them: each open amount posted through PostAmount. Customer 1003 owes 1,500.00
// (1,000.00 current, 500.00 at 45 days), customer 1004 owes 550.00 (a partly paid
// invoice of 600.00 at 70 days less an open deposit of 50.00); the company's A/R total
// is 2,050.00 and its next invoice number 1006.
class IntegrityTest : public ::testing::Test {
 public:  // the planted-fault table reaches in
  void SetUp() override {
    engine_.InitEngine(30);
    files::testing::WriteCompanyOne(session_, "Harbor Supply", "0.00", [](model::CompanyRecord& company) {
      company.NextInvoiceNo = "1006";
      company.LastAgingDate = model::FormatDisplayDate(kToday, model::DateOrderFromCode(company.DateOrder.raw()));
    });
    for (files::KeyedFile* file : {&customers_, &transactions_, &details_, &memos_}) {
      ASSERT_TRUE(file->Create() && file->Open());
    }
    AddCustomer("1003", "Blue Heron Inn");
    AddCustomer("1004", "Cedar Mill");
    WriteConsistentBooks();
  }

  void WriteConsistentBooks() {
    Post(Transaction("1001", "I", "1003", 10, "1000.00", "1000.00"));
    AddLine("1001", "1003");
    AddLine("1001", "1003");
    TransactionRecord memoInvoice = Transaction("1002", "I", "1003", 45, "500.00", "500.00");
    memoInvoice.BodyStyle = "M";
    Post(memoInvoice);
    AddMemo("1002");
    Post(Transaction("1003", "Z", "1004", 70, "800.00", "600.00"));
    Post(Transaction("1003", "X", "1004", 5, "0.00", "0.00"));
    Post(Transaction("1004", "I", "1003", 100, "250.00", "0.00"));
    TransactionRecord openDeposit = Transaction("DP5", "D", "1004", 3, "0.00", "-50.00");
    openDeposit.PaidSortDate.SetRaw(openDeposit.SortDate.raw());
    Post(openDeposit);
    Post(Transaction("DP6", "D", "1004", 20, "0.00", "0.00"));
    Post(Transaction("DP6", "T", "1004", 2, "0.00", "0.00"));
    TransactionRecord master = Transaction("1005", "R", "1004", 0, "300.00", "0.00");
    master.PaidFlag = " ";
    master.PaidSortDate = " ";
    Post(master);
  }

  void AddCustomer(std::string_view number, std::string_view name) {
    files::RecordNumber added = 0;
    ASSERT_TRUE(customers_.Add(files::testing::ClearCustomer(number, name), added));
    customerSlots_[std::string(number)] = added;
  }

  // A transaction as the invoice manager and the payment wizard store one: what is
  // still due is `due`, and a record with nothing due is paid on its own date.
  TransactionRecord Transaction(std::string_view number, std::string_view type, std::string_view customer,
                                int daysAgo, std::string_view total, std::string_view due) {
    TransactionRecord transaction{};
    transaction.InvoiceNo = number;
    transaction.TransType = type;
    transaction.KeyCode = "None";
    transaction.CustNo = customer;
    transaction.CompanyNo = "1";
    transaction.TransDate = model::FormatDisplayDate(model::AddDays(kToday, -daysAgo), session_.DateOrder());
    EXPECT_TRUE(model::SplitTransactionDate(transaction, session_.DateOrder()));
    transaction.BodyStyle = "P";
    transaction.NetAmount = total;
    transaction.TaxAmount = "0.00";
    transaction.TotalAmount = total;
    model::StoreMoney(transaction.PaidAmount, M(total) - M(due));
    transaction.BalanceDue = due;
    if (M(due).IsZero()) {
      transaction.PaidFlag = "P";
      transaction.PaidSortDate.SetRaw(transaction.SortDate.raw());
    }
    return transaction;
  }

  files::RecordNumber Add(const TransactionRecord& transaction) {
    files::RecordNumber added = 0;
    EXPECT_TRUE(transactions_.Add(transaction, added));
    return added;
  }

  void Post(const TransactionRecord& transaction) {
    Add(transaction);
    const Money due = M(transaction.BalanceDue.str());
    if (due.IsZero()) return;
    const model::Date date = model::ParseSortableDate(transaction.SortDate.raw()).value();
    ASSERT_TRUE(PostAmount(Services(), customers_, customerSlots_.at(transaction.CustNo.str()), due, date, "Posting"));
  }

  void AddLine(std::string_view invoiceNo, std::string_view customer) {
    model::DetailRecord line{};
    line.InvoiceNo = invoiceNo;
    line.CustNo = customer;
    line.LineText = "1         Harbor chart";
    files::RecordNumber added = 0;
    EXPECT_TRUE(details_.Add(line, added));
  }

  void AddMemo(std::string_view invoiceNo) {
    model::MemoRecord memo{};
    memo.InvoiceNo = invoiceNo;
    memo.MemoLine[0] = "Survey of the north moorings";
    files::RecordNumber added = 0;
    EXPECT_TRUE(memos_.Add(memo, added));
  }

  void AddProduct(std::string_view code, std::string_view description, std::string_view price) {
    files::KeyedFile products = Services().FileOf(files::CompanyFile::kProducts);
    model::ProductRecord product{};
    product.ProductCode = code;
    product.ProdDesc = description;
    product.UnitPrice = price;
    files::RecordNumber added = 0;
    ASSERT_TRUE(products.Create() && products.Open() && products.Add(product, added));
  }

  files::Services Services() { return {engine_, dialogs_, progress_, clock_, session_}; }

  // --- Planting faults by writing records directly ---------------------------------

  // The first transaction of that number and type.
  files::Row<TransactionRecord> Find(std::string_view number, std::string_view type) {
    files::Row<TransactionRecord> found;
    files::Table<TransactionRecord>(transactions_).ForEachRecord([&](const auto& row) {
      if (row.record.InvoiceNo.str() != number || row.record.TransType.str() != type) return true;
      found = row;
      return false;
    });
    EXPECT_NE(found.number, 0) << number << " " << type;
    return found;
  }

  void ChangeTransaction(std::string_view number, std::string_view type,
                         const std::function<void(TransactionRecord&)>& change) {
    files::Row<TransactionRecord> row = Find(number, type);
    change(row.record);
    ASSERT_TRUE(transactions_.Update(row.number, row.record));
  }

  void ChangeCustomer(std::string_view number, const std::function<void(model::CustomerRecord&)>& change) {
    const files::RecordNumber slot = customerSlots_.at(std::string(number));
    model::CustomerRecord customer = files::Table<model::CustomerRecord>(customers_).Read(slot).value();
    change(customer);
    ASSERT_TRUE(customers_.Update(slot, customer));
  }

  void ChangeListedCompany(const std::function<void(model::CompanyRecord&)>& change) {
    files::KeyedFile list = Services().FileOf(files::CompanyFile::kCompanyList);
    files::RecordNumber slot = 0;
    model::CompanyRecord company{};
    ASSERT_TRUE(list.Open() && files::FindCompanyByNumber(list, session_.CurrentCompany, slot, company));
    change(company);
    ASSERT_TRUE(list.Update(slot, company));
  }

  void DeleteMemo(std::string_view invoiceNo) {
    files::Table<model::MemoRecord> memos(memos_);
    model::MemoRecord probe{};
    probe.InvoiceNo = invoiceNo;
    const auto memo = memos.FindExact(model::memo_key::kInvoiceNo, memos.KeyOf(probe, model::memo_key::kInvoiceNo));
    ASSERT_TRUE(memo.has_value());
    ASSERT_TRUE(memos_.Delete(memo->number, memo->record));
  }

  // --- Running the check and the repair with the fixture's files closed --------------

  void CloseFiles() {
    for (files::KeyedFile* file : {&customers_, &transactions_, &details_, &memos_}) file->Close();
  }
  void OpenFiles() {
    for (files::KeyedFile* file : {&customers_, &transactions_, &details_, &memos_}) ASSERT_TRUE(file->Open());
  }


  BooksCheck Check() {
    CloseFiles();
    BooksCheck check = CheckBooks(Services());
    OpenFiles();
    return check;
  }

  RepairResult Repair(const BooksCheck& check) {
    CloseFiles();
    RepairResult result = RepairBooks(Services(), check);
    OpenFiles();
    return result;
  }

  std::map<files::RecordNumber, TransactionRecord> AllTransactions() {
    std::map<files::RecordNumber, TransactionRecord> all;
    files::Table<TransactionRecord>(transactions_).ForEachRecord([&](const auto& row) {
      all[row.number] = row.record;
      return true;
    });
    return all;
  }

  model::CompanyRecord Listed() {
    files::KeyedFile list = Services().FileOf(files::CompanyFile::kCompanyList);
    files::RecordNumber slot = 0;
    model::CompanyRecord company{};
    EXPECT_TRUE(list.Open() && files::FindCompanyByNumber(list, session_.CurrentCompany, slot, company));
    return company;
  }

  model::CustomerRecord Customer(std::string_view number) {
    return files::Table<model::CustomerRecord>(customers_).Read(customerSlots_.at(std::string(number))).value();
  }

  // The company's A/R total, the sum of the customer balances and the sum of the open
  // balances due are one amount, and each customer's buckets add up to its balance.
  void ExpectBooksBalance(std::string_view expected) {
    books::testing::ExpectBooksBalance(customers_, transactions_, books::testing::AmountOf(Listed().TotalAR),
                                       M(expected));
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{kToday.year, kToday.month, kToday.day, 9, 5, 7}};
  model::CompanySession session_;
  files::KeyedFile customers_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1")};
  files::KeyedFile transactions_{engine_, dialogs_, progress_,
                                 files::DescribeFile(files::CompanyFile::kTransactions, "1")};
  files::KeyedFile details_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kDetails, "1")};
  files::KeyedFile memos_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kMemos, "1")};
  std::map<std::string, files::RecordNumber> customerSlots_;
};

std::vector<FindingKind> KindsOf(const BooksCheck& check) {
  std::vector<FindingKind> kinds;
  for (const Finding& finding : check.findings) kinds.push_back(finding.kind);
  return kinds;
}

std::string SentencesOf(const BooksCheck& check) {
  std::string sentences;
  for (const Finding& finding : check.findings) sentences += finding.sentence + "\n";
  return sentences;
}

TEST_F(IntegrityTest, BooksPostedThroughThePostingCodeAreConsistent) {
  const BooksCheck check = Check();
  EXPECT_TRUE(check.readAll);
  EXPECT_EQ(check.company, "Company 1 Harbor Supply");
  EXPECT_EQ(SentencesOf(check), "");
  EXPECT_EQ(RepairQuestion(check), "");
  ExpectBooksBalance("2050.00");
}

TEST_F(IntegrityTest, BalanceFindingNamesTheCustomerRecordAndBothAmounts) {
  ChangeCustomer("1003", [](auto& c) { c.Balance = "2343.23"; });
  const BooksCheck check = Check();
  ASSERT_EQ(check.findings.size(), 1u);
  const Finding& finding = check.findings[0];
  EXPECT_EQ(finding.file, files::CompanyFile::kCustomers);
  EXPECT_EQ(finding.record, customerSlots_.at("1003"));
  EXPECT_EQ(finding.customerNo, "1003");
  EXPECT_EQ(finding.storedAmount, M("2343.23"));
  EXPECT_EQ(finding.expectedAmount, M("1500.00"));
  EXPECT_EQ(finding.expected, "1500.00");
}

// The buckets were computed on the day of the last aging run; a check on a later day
// must not call them wrong because invoices have aged since.
TEST_F(IntegrityTest, BucketsAreComparedAsOfTheLastAgingDate) {
  ChangeListedCompany([&](auto& c) {
    c.LastAgingDate = model::FormatDisplayDate(model::AddDays(kToday, -30), session_.DateOrder());
  });
  const BooksCheck check = Check();
  EXPECT_EQ(SentencesOf(check),
            "Customer 1003 Blue Heron Inn: 0-30 days 1,000.00 stored, 1,500.00 on its transactions as of "
            "11/08/2026.\n"
            "Customer 1003 Blue Heron Inn: 31-60 days 500.00 stored, 0.00 on its transactions as of 11/08/2026.\n"
            "Customer 1004 Cedar Mill: 31-60 days 0.00 stored, 600.00 on its transactions as of 11/08/2026.\n"
            "Customer 1004 Cedar Mill: 61-90 days 600.00 stored, 0.00 on its transactions as of 11/08/2026.\n");
}

TEST_F(IntegrityTest, PaidRecordWithoutADateIsDatedByItsLatestPayment) {
  ChangeTransaction("DP6", "D", [](auto& r) { r.PaidSortDate = ""; });
  const BooksCheck check = Check();
  ASSERT_EQ(KindsOf(check), std::vector<FindingKind>{FindingKind::kPaidDate});
  EXPECT_EQ(check.findings[0].expected, "2026/12/06");
}

// A company without line or memo files yet is checked as having none, and they are not
// created for the check.
TEST_F(IntegrityTest, MissingFilesHoldNothingAndAreNotCreated) {
  CloseFiles();
  engine_.DeleteFileSet("1M");
  engine_.DeleteFileSet("1D");
  const BooksCheck check = CheckBooks(Services());
  EXPECT_TRUE(check.readAll);
  EXPECT_EQ(SentencesOf(check), "Invoice 1002 (record 2) is a memo invoice without its memo.\n");
  EXPECT_FALSE(fs::exists("1M.DAT"));
  EXPECT_FALSE(fs::exists("1D.DAT"));
  EXPECT_TRUE(dialogs_.Log().empty());
}

// --- Repair --------------------------------------------------------------------------

// Every repairable kind at once, and one finding that is only listed.
void PlantEveryKeptFigureWrong(IntegrityTest& t) {
  t.ChangeCustomer("1003", [](auto& c) { c.Balance = "2343.23"; });
  t.ChangeCustomer("1004", [](auto& c) { c.AgeOver90 = "120.00"; });
  t.ChangeListedCompany([](auto& c) {
    c.TotalAR = "2100.00";
    c.NextInvoiceNo = "1005";
  });
  t.ChangeTransaction("1004", "I", [](auto& r) { r.PaidFlag = " "; });
  t.ChangeTransaction("1003", "Z", [](auto& r) { r.PaidSortDate = "2026/12/01"; });
  t.AddLine("777", "1003");
}

TEST_F(IntegrityTest, QuestionSaysEveryFigureThatWillBeRewritten) {
  PlantEveryKeptFigureWrong(*this);
  EXPECT_EQ(RepairQuestion(Check()),
            "Repair the books of Company 1 Harbor Supply?\n\n"
            "The company's files are first copied into a dated folder under \"Backups\". Then these figures are "
            "rewritten from the transactions:\n"
            "Company 1 Harbor Supply: A/R total 2,100.00 becomes 2,050.00.\n"
            "Company 1 Harbor Supply: next invoice number \"1005\" becomes \"1006\".\n"
            "Customer 1003 Blue Heron Inn: balance 2,343.23 becomes 1,500.00.\n"
            "Customer 1004 Cedar Mill: over 90 days 120.00 becomes 0.00.\n"
            "Invoice 1003: date paid \"2026/12/01\" becomes (blank).\n"
            "Invoice 1004: paid mark (blank) becomes \"P\".\n\n"
            "No transaction amount is changed and no record is removed. The other 1 finding(s) are only listed, "
            "for you to put right.");
}

TEST_F(IntegrityTest, RepairedBooksBalanceAndCheckCleanButForWhatIsOnlyListed) {
  PlantEveryKeptFigureWrong(*this);
  const RepairResult result = Repair(Check());
  EXPECT_EQ(result.failure, "");
  EXPECT_EQ(result.rewritten.size(), 6u);
  EXPECT_TRUE(result.notRewritten.empty());
  EXPECT_EQ(SentencesOf(Check()), "Invoice line in record 3 belongs to invoice 777, which is not on file.\n");
  ExpectBooksBalance("2050.00");
  EXPECT_EQ(session_.CurrentCompany.TotalAR.str(), "2050.00");
  EXPECT_EQ(Listed().NextInvoiceNo.str(), "1006");
}

TEST_F(IntegrityTest, RepairLeavesEveryTransactionAsItWasButThePaidMarkItWasAskedToFix) {
  ChangeTransaction("1004", "I", [](auto& r) { r.PaidFlag = " "; });
  ChangeTransaction("1001", "I", [](auto& r) { r.TaxAmount = "1x.00"; });
  Add(Transaction("998", "I", "1099", 5, "75.00", "75.00"));
  std::map<files::RecordNumber, TransactionRecord> expected = AllTransactions();
  expected.at(Find("1004", "I").number).PaidFlag = "P";

  Repair(Check());

  const std::map<files::RecordNumber, TransactionRecord> after = AllTransactions();
  ASSERT_EQ(after.size(), expected.size());
  for (const auto& [number, record] : expected) {
    EXPECT_EQ(std::memcmp(&after.at(number), &record, sizeof record), 0) << "record " << number;
  }
}

TEST_F(IntegrityTest, BackupFolderHoldsCopiesOfTheCompanyFilesAsTheyWereBeforeTheRepair) {
  PlantEveryKeptFigureWrong(*this);
  const BooksCheck check = Check();
  CloseFiles();
  const std::vector<std::string> names = {"Company.DAT", "Company.IX", "1C.DAT", "1C.IX", "1I.DAT",
                                          "1I.IX",       "1D.DAT",     "1D.IX",  "1M.DAT", "1M.IX"};
  std::map<std::string, std::vector<std::uint8_t>> before;
  for (const std::string& name : names) before[name] = engine::testing::ReadBytes(name);

  const RepairResult result = Repair(check);

  EXPECT_EQ(result.backupFolder, fs::path("Backups/1-2026-12-08-090507"));
  for (const std::string& name : names) {
    EXPECT_EQ(engine::testing::ReadBytes(result.backupFolder / name), before[name]) << name;
  }
  EXPECT_NE(engine::testing::ReadBytes("1C.DAT"), before["1C.DAT"]);
}

TEST_F(IntegrityTest, FailedBackupRewritesNothing) {
  ChangeCustomer("1003", [](auto& c) { c.Balance = "2343.23"; });
  engine::testing::WriteBytes("Backups", {'x'});
  const RepairResult result = Repair(Check());
  EXPECT_EQ(result.failure.rfind("The company's files could not be copied to \"Backups/1-2026-12-08-090507\": ", 0),
            0u)
      << result.failure;
  EXPECT_TRUE(result.backupFolder.empty());
  EXPECT_TRUE(result.rewritten.empty());
  EXPECT_EQ(Customer("1003").Balance.str(), "2343.23");
}

// Someone's entry between the check and the repair is newer than what the check saw.
TEST_F(IntegrityTest, FigureChangedAfterTheCheckIsLeftAsItIs) {
  ChangeCustomer("1003", [](auto& c) { c.Balance = "2343.23"; });
  const BooksCheck check = Check();
  ChangeCustomer("1003", [](auto& c) { c.Balance = "1600.00"; });
  const RepairResult result = Repair(check);
  EXPECT_EQ(result.notRewritten, std::vector<std::string>{"Customer 1003 Blue Heron Inn: balance 2,343.23 becomes "
                                                          "1,500.00. Not done: it was changed after the check."});
  EXPECT_EQ(Customer("1003").Balance.str(), "1600.00");
}

struct PlantedFault {
  const char* name;
  std::function<void(IntegrityTest&)> plant;
  FindingKind kind;
  const char* sentence;
};

void PrintTo(const PlantedFault& fault, std::ostream* out) { *out << fault.name; }

class PlantedFaultTest : public IntegrityTest, public ::testing::WithParamInterface<PlantedFault> {};

// Each fault planted alone is reported once, by its own kind, in the bookkeeper's words.
TEST_P(PlantedFaultTest, IsReportedExactlyOnce) {
  GetParam().plant(*this);
  const BooksCheck check = Check();
  ASSERT_EQ(KindsOf(check), std::vector<FindingKind>{GetParam().kind}) << SentencesOf(check);
  EXPECT_EQ(check.findings[0].sentence, GetParam().sentence);
}

// Transactions 1 to 9 are 1001 I, 1002 I, 1003 Z, 1003 X, 1004 I, DP5 D, DP6 D, DP6 T
// and 1005 R; invoice lines 1 and 2 belong to 1001, memo 1 to 1002.
const PlantedFault kPlantedFaults[] = {
    {"CustomerBalance", [](IntegrityTest& t) { t.ChangeCustomer("1003", [](auto& c) { c.Balance = "2343.23"; }); },
     FindingKind::kCustomerBalance,
     "Customer 1003 Blue Heron Inn: balance 2,343.23 stored, 1,500.00 owed on its transactions."},
    {"BalanceThatIsNoAmount", [](IntegrityTest& t) { t.ChangeCustomer("1003", [](auto& c) { c.Balance = "abc"; }); },
     FindingKind::kCustomerBalance,
     "Customer 1003 Blue Heron Inn: balance \"abc\" stored, 1,500.00 owed on its transactions."},
    {"AgingBucket", [](IntegrityTest& t) { t.ChangeCustomer("1004", [](auto& c) { c.AgeOver90 = "120.00"; }); },
     FindingKind::kCustomerAging,
     "Customer 1004 Cedar Mill: over 90 days 120.00 stored, 0.00 on its transactions as of 12/08/2026."},
    {"CompanyTotal", [](IntegrityTest& t) { t.ChangeListedCompany([](auto& c) { c.TotalAR = "2100.00"; }); },
     FindingKind::kCompanyTotal,
     "Company 1 Harbor Supply: A/R total 2,100.00 stored, 2,050.00 owed by its customers on their transactions."},
    {"TransactionWithoutCustomer",
     [](IntegrityTest& t) { t.Add(t.Transaction("998", "I", "1099", 5, "75.00", "75.00")); },
     FindingKind::kTransactionWithoutCustomer,
     "Invoice 998 (record 10) belongs to customer 1099, who is not on file."},
    {"LineWithoutInvoice", [](IntegrityTest& t) { t.AddLine("777", "1003"); }, FindingKind::kLineWithoutInvoice,
     "Invoice line in record 3 belongs to invoice 777, which is not on file."},
    {"MemoWithoutInvoice", [](IntegrityTest& t) { t.AddMemo("777"); }, FindingKind::kMemoWithoutInvoice,
     "Memo in record 2 belongs to invoice 777, which is not on file."},
    {"MemoInvoiceWithoutMemo", [](IntegrityTest& t) { t.DeleteMemo("1002"); }, FindingKind::kMemoInvoiceWithoutMemo,
     "Invoice 1002 (record 2) is a memo invoice without its memo."},
    {"PartialPaymentWithoutItsInvoice",
     [](IntegrityTest& t) { t.Add(t.Transaction("1001", "X", "1003", 1, "0.00", "0.00")); },
     FindingKind::kPaymentWithoutInvoice,
     "Partial payment 1001 (record 10) has no invoice 1001 with partial payments (type Z)."},
    {"DepositUseWithoutItsDeposit",
     [](IntegrityTest& t) { t.Add(t.Transaction("DP9", "T", "1004", 1, "0.00", "0.00")); },
     FindingKind::kDepositUseWithoutDeposit, "Deposit use DP9 (record 10) has no deposit DP9 (type D)."},
    {"PaidInvoiceNotMarkedPaid",
     [](IntegrityTest& t) { t.ChangeTransaction("1004", "I", [](auto& r) { r.PaidFlag = " "; }); },
     FindingKind::kPaidFlag, "Invoice 1004 (record 5): nothing is due but it is not marked paid."},
    {"OpenInvoiceMarkedPaid",
     [](IntegrityTest& t) { t.ChangeTransaction("1001", "I", [](auto& r) { r.PaidFlag = "P"; }); },
     FindingKind::kPaidFlag, "Invoice 1001 (record 1): marked paid with 1,000.00 still due."},
    {"PaidInvoiceWithoutDatePaid",
     [](IntegrityTest& t) { t.ChangeTransaction("1004", "I", [](auto& r) { r.PaidSortDate = ""; }); },
     FindingKind::kPaidDate, "Invoice 1004 (record 5): paid without a date paid."},
    {"OpenInvoiceWithDatePaid",
     [](IntegrityTest& t) { t.ChangeTransaction("1003", "Z", [](auto& r) { r.PaidSortDate = "2026/12/01"; }); },
     FindingKind::kPaidDate, "Invoice 1003 (record 3): open with 600.00 due but dated paid 2026/12/01."},
    {"AmountThatIsNoAmount",
     [](IntegrityTest& t) { t.ChangeTransaction("1001", "I", [](auto& r) { r.TaxAmount = "1x.00"; }); },
     FindingKind::kUnreadableAmount, "Invoice 1001 (record 1): the tax amount \"1x.00\" is no amount."},
    {"CreditLimitThatIsNoAmount",
     [](IntegrityTest& t) { t.ChangeCustomer("1004", [](auto& c) { c.CreditLimit = "n/a"; }); },
     FindingKind::kUnreadableAmount, "Customer 1004 Cedar Mill: the credit limit \"n/a\" is no amount."},
    {"UnitPriceThatIsNoAmount", [](IntegrityTest& t) { t.AddProduct("CH-1", "Harbor chart", "12.50 ea"); },
     FindingKind::kUnreadableAmount, "Product CH-1 Harbor chart: the unit price \"12.50 ea\" is no amount."},
    {"DuplicateInvoiceNumber",
     [](IntegrityTest& t) { t.Add(t.Transaction("1001", "G", "1004", 1, "0.00", "0.00")); },
     FindingKind::kDuplicateInvoiceNumber, "Invoice 1001 (record 10) has the number of the invoice in record 1."},
    {"NextInvoiceNumberOnAnInvoice",
     [](IntegrityTest& t) { t.ChangeListedCompany([](auto& c) { c.NextInvoiceNo = "1005"; }); },
     FindingKind::kNextInvoiceNumber,
     "Company 1 Harbor Supply: next invoice number \"1005\" stored, but invoice 1005 is on file; the next is 1006."},
    {"PrefixedNextInvoiceNumberCountsOnFromTheCounter",
     [](IntegrityTest& t) {
       t.ChangeListedCompany([](auto& c) { c.PrefixInvoiceNo = "Y"; });
       t.Add(t.Transaction("26121044", "I", "1003", 1, "0.00", "0.00"));
     },
     FindingKind::kNextInvoiceNumber,
     "Company 1 Harbor Supply: next invoice number \"1006\" stored, but invoice 26121044 is on file; the next is "
     "1045."},
};

INSTANTIATE_TEST_SUITE_P(Kinds, PlantedFaultTest, ::testing::ValuesIn(kPlantedFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace books
