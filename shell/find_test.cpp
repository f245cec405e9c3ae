#include "shell/find.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using Captions = std::vector<std::string>;
using Cells = std::map<std::string, std::string>;

// The row's texts keyed by the heading above them; blank headings must stay empty.
Cells CellsByHeading(FindMode mode, const FoundRow& row) {
  const FindHeadings& headings = FindColumnHeadings(mode);
  Cells cells{{std::string(headings[0]), row.caption}};
  for (std::size_t i = 0; i < row.subItems.size(); ++i) cells[std::string(headings.at(i + 1))] += row.subItems[i];
  return cells;
}

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override { engine_.InitEngine(30); }

  void OpenNew(files::CompanyFile kind) {
    file_ = std::make_unique<files::KeyedFile>(engine_, dialogs_, progress_, files::DescribeFile(kind, "1"));
    ASSERT_TRUE(file_->Create() && file_->Open());
  }
  template <class Record>
  engine::RecordNumber Add(const Record& record) {
    engine::RecordNumber number = 0;
    EXPECT_TRUE(file_->Add(record, number));
    return number;
  }
  std::vector<FoundRow> Rows(FindMode mode, std::string_view typed) {
    return FindRows(*file_, mode, SearchTextOf(typed));
  }
  Captions Found(FindMode mode, std::string_view typed) {
    Captions captions;
    for (const FoundRow& row : Rows(mode, typed)) captions.push_back(row.caption);
    return captions;
  }
  // Each text in `searched` must find the record, each in `notSearched` must not.
  void ExpectSearchedFields(FindMode mode, const std::string& caption, const Captions& searched,
                            const Captions& notSearched) {
    for (const std::string& text : searched) EXPECT_EQ(Found(mode, text), Captions{caption}) << text;
    for (const std::string& text : notSearched) EXPECT_EQ(Found(mode, text), Captions{}) << text;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  std::unique_ptr<files::KeyedFile> file_;
};

model::CustomerRecord Customer(std::string_view name, std::string_view number) {
  model::CustomerRecord customer{};
  customer.CustName = name;
  customer.CustNo = number;
  customer.Phone1 = "555-0100";
  return customer;
}

TEST(SearchTextOf, TrimsUpperCasesAndKeepsTheFirstTenCharacters) {
  EXPECT_EQ(SearchTextOf("  abcdefghijklmno \t"), "ABCDEFGHIJ");
  EXPECT_EQ(SearchTextOf("äbcdefghijk"), "ABCDEFGHIJ");  // the cut counts characters, not bytes
}

TEST_F(FindTest, RowsComeInSlotOrderNotKeyOrder) {
  OpenNew(files::CompanyFile::kCustomers);
  const model::CustomerRecord zeta = Customer("Zeta", "3");
  const engine::RecordNumber zetaSlot = Add(zeta);
  Add(Customer("Alpha", "1"));
  Add(Customer("Mid", "2"));
  ASSERT_TRUE(file_->Delete(zetaSlot, zeta));
  ASSERT_EQ(Add(Customer("Beta", "4")), zetaSlot);
  EXPECT_EQ(Found(FindMode::kCustomers, "555"), (Captions{"Beta", "Alpha", "Mid"}));
}

TEST_F(FindTest, MatchesAnywhereInAFieldWithCaseIgnoredOnFirstTenCharacters) {
  OpenNew(files::CompanyFile::kCustomers);
  Add(Customer("xxABCxx", "1"));
  Add(Customer("yyabcyy", "2"));
  Add(Customer("Longname1234", "3"));
  EXPECT_EQ(Found(FindMode::kCustomers, "abc"), (Captions{"xxABCxx", "yyabcyy"}));
  EXPECT_EQ(Found(FindMode::kCustomers, "LONGNAME12-not-typed-on"), Captions{"Longname1234"});
  EXPECT_EQ(Found(FindMode::kCustomers, "LONGNAME13"), Captions{});
}

TEST_F(FindTest, AccentsAndCaseAreIgnoredBothWays) {
  OpenNew(files::CompanyFile::kCustomers);
  Add(Customer("Bäckerei Müller", "1"));
  Add(Customer("Cafe Mueller", "2"));
  EXPECT_EQ(Found(FindMode::kCustomers, "MULLER"), Captions{"Bäckerei Müller"});
  EXPECT_EQ(Found(FindMode::kCustomers, "müller"), Captions{"Bäckerei Müller"});
  EXPECT_EQ(Found(FindMode::kCustomers, "backerei"), Captions{"Bäckerei Müller"});
}

TEST_F(FindTest, TransactionsSearchFiveFieldsButShowTotalAndBalance) {
  OpenNew(files::CompanyFile::kTransactions);
  model::TransactionRecord t{};
  t.SortDate = "2031/07/14";
  t.InvoiceNo = "INVW77";
  t.CustNo = "CUSTQ1";
  t.KeyCode = "KEYZ";
  t.ShortName = "Shorty";
  t.TotalAmount = "4321.5";
  t.BalanceDue = "8765.00";
  t.InvNotes = "notepad";
  Add(t);
  ExpectSearchedFields(FindMode::kTransactions, "2031/07/14", {"2031/07", "w77", "custq", "keyz", "horty"},
                       {"4321", "4,321", "8765", "notepad"});
  EXPECT_EQ(CellsByHeading(FindMode::kTransactions, Rows(FindMode::kTransactions, "w77").at(0)),
            (Cells{{"Year/Mo/Dy", "2031/07/14"}, {"Invoice#", "INVW77"}, {"Customer#", "CUSTQ1"},
                   {"Key Code", "KEYZ"}, {"Invoice Total", "4,321.50"}, {"Short Name", "Shorty"},
                   {"Balance Due", "8765.00"}}));
}

TEST(MatchingRow, InvoiceTotalHasNoRequiredWholeDigitAndUnreadableTextStaysAsStored) {
  model::TransactionRecord t{};
  t.InvoiceNo = "1";
  for (const auto& [stored, shown] : {std::pair{"0.5", ".50"}, {"1234567", "1,234,567.00"}, {"n/a", "n/a"}}) {
    t.TotalAmount = stored;
    EXPECT_EQ(MatchingRow(t, "1").value().subItems.at(3), shown);
  }
}

TEST_F(FindTest, CustomersSearchNameNumberPhoneAndBillingAddress) {
  OpenNew(files::CompanyFile::kCustomers);
  model::CustomerRecord c = Customer("Acme Corp", "C-901");
  for (auto [field, text] : {std::pair{&c.BillAddr1, "Bill1"}, {&c.BillAddr2, "Bill2"}, {&c.BillAddr3, "Bill3"},
                             {&c.BillAddr4, "Bill4"}, {&c.ShipAddr1, "Ship1"}, {&c.Terms, "Terms"}}) {
    *field = text;
  }
  c.ShortName = "SHRT";
  Add(c);
  ExpectSearchedFields(FindMode::kCustomers, "Acme Corp", {"acme", "c-901", "0100", "bill1", "bill2", "bill3", "bill4"},
                       {"ship", "shrt", "terms"});
  EXPECT_EQ(CellsByHeading(FindMode::kCustomers, Rows(FindMode::kCustomers, "acme").at(0)),
            (Cells{{"Customer Name", "Acme Corp"}, {"Number", "C-901"}, {"Phone Number", "555-0100"},
                   {"Address Line 1", "Bill1"}, {"Address Line 2", "Bill2"}, {"Address Line 3", "Bill3"},
                   {"Address Line 4", "Bill4"}}));
}

TEST_F(FindTest, ProductsSearchCodeDescriptionAndPrice) {
  OpenNew(files::CompanyFile::kProducts);
  model::ProductRecord p{};
  p.ProductCode = "WID-7";
  p.ProdDesc = "Blue widget";
  p.UnitPrice = "1234.50";
  p.ProdNotes = "fragile";
  Add(p);
  ExpectSearchedFields(FindMode::kProducts, "WID-7", {"wid-", "blue", "234.5"}, {"fragile"});
  EXPECT_EQ(CellsByHeading(FindMode::kProducts, Rows(FindMode::kProducts, "blue").at(0)),
            (Cells{{"Product#", "WID-7"}, {"Description", "Blue widget"}, {"Unit Price", "1234.50"}}));
}

TEST_F(FindTest, CompaniesSearchNameNumberAndFourAddressLines) {
  OpenNew(files::CompanyFile::kCompanyList);
  model::CompanyRecord c{};
  c.CompanyName = "Globex";
  c.CompanyNo = "77";
  for (auto [field, text] : {std::pair{&c.CoAddr1, "Line1"}, {&c.CoAddr2, "Line2"}, {&c.CoAddr3, "Line3"},
                             {&c.CoAddr4, "Line4"}, {&c.CoAddr5, "Line5"}}) {
    *field = text;
  }
  Add(c);
  ExpectSearchedFields(FindMode::kCompanies, "Globex", {"globe", "77", "line1", "line2", "line3", "line4"}, {"line5"});
  EXPECT_EQ(CellsByHeading(FindMode::kCompanies, Rows(FindMode::kCompanies, "globe").at(0)),
            (Cells{{"Company Name", "Globex"}, {"Number", "77"}, {"Address Line 1", "Line1"},
                   {"Address Line 2", "Line2"}, {"Address Line 3", "Line3"}, {"Address Line 4", "Line4"}}));
}

TEST_F(FindTest, RecordsThatCannotBeReadAreLeftOut) {
  OpenNew(files::CompanyFile::kCompanyList);
  model::CompanyRecord c{};
  c.CompanyName = "X";
  Add(c);
  // A company slot does not fit a product buffer, so every read of one is refused.
  EXPECT_EQ(Found(FindMode::kProducts, "x"), Captions{});
}

}  // namespace
}  // namespace shell
