#include "shell/products.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/test_support.h"
#include "files/company_files.h"
#include "model/keys.h"
#include "platform/testing/scripted_dialogs.h"

namespace shell {
namespace {

using platform::Answer;
using platform::testing::ScriptedDialogs;

constexpr std::string_view kToday = "12/08/2026";

class ProductsTest : public ::testing::Test {
 protected:
  ProductsTest() {
    engine_.InitEngine(30);
    EXPECT_TRUE(file_.Create());
    EXPECT_TRUE(file_.Open());
  }

  engine::RecordNumber Store(std::string_view code, std::string_view description, std::string_view price = "1.00",
                             std::string_view setup = "01/02/2026") {
    model::ProductRecord product{};
    product.ProductCode = code;
    product.ProdDesc = description;
    product.UnitPrice = price;
    product.SetupDate = setup;
    engine::RecordNumber added = 0;
    EXPECT_TRUE(file_.Add(product, added));
    return added;
  }
  model::ProductRecord Read(engine::RecordNumber number) {
    model::ProductRecord product{};
    engine_.GetRecord(file_.Block(), number, engine::RecordBytes(product));
    EXPECT_TRUE(engine_.Ok());
    return product;
  }
  ProductField Check(ProductEntry& entry, std::string_view oldCode = "/") {
    return CheckProduct(entry, oldCode, file_, dialogs_);
  }
  std::vector<std::string> Names(const documents::ListReport& report) {
    std::vector<std::string> names;
    for (const auto& entry : report.entries) names.push_back(entry.name);
    return names;
  }

  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  ScriptedDialogs dialogs_;
  platform::SilentProgress progress_;
  files::KeyedFile file_{engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kProducts, "1")};
};

TEST_F(ProductsTest, DialogOpensEmptyForAnAddAndWithTheRecordForAnEdit) {
  const ProductDialog add = AddProductDialog(kToday);
  EXPECT_EQ(add.caption, "Add Product");
  EXPECT_EQ(add.entry, (ProductEntry{"", "", "0.00", false, ""}));
  EXPECT_EQ(add.setupText, "Setup Date: 12/08/2026");
  EXPECT_EQ(add.changedText, "Last Changed:");
  EXPECT_EQ(add.oldCode, "/");

  model::ProductRecord product{};
  product.ProductCode = " ab-1 ";
  product.ProdDesc = "Blue Widget";
  product.UnitPrice = "12.50";
  product.Taxable = true;
  product.ProdNotes = "Fragile";
  product.SetupDate = "01/02/2026";
  product.LastChanged = "03/04/2026";
  const ProductDialog edit = EditProductDialog(product);
  EXPECT_EQ(edit.caption, "Edit Product");
  EXPECT_EQ(edit.entry, (ProductEntry{" ab-1 ", "Blue Widget", "12.50", true, "Fragile"}));
  EXPECT_EQ(edit.setupText, "Setup Date: 01/02/2026");
  EXPECT_EQ(edit.changedText, "Last Changed:03/04/2026");
  EXPECT_EQ(edit.oldCode, "AB-1");
}

TEST_F(ProductsTest, ChecksCodeThenDescriptionThenDuplicate) {
  Store("WIDGET", "Blue Widget");
  ProductEntry blank{"   ", "", "x", false, ""};
  EXPECT_EQ(Check(blank), ProductField::kPNum);
  ProductEntry duplicateWithoutDescription{"WIDGET", "  ", "1", false, ""};
  EXPECT_EQ(Check(duplicateWithoutDescription), ProductField::kPDesc);
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Product Code");
  EXPECT_EQ(dialogs_.Log()[0].text, "You need to enter a product code.");
  EXPECT_EQ(dialogs_.Log()[1].caption, "Product Description");
  EXPECT_EQ(dialogs_.Log()[1].text, "You need to enter a product description or name.");
  // A refused entry keeps its price as typed until every check has passed.
  EXPECT_EQ(blank.PSell, "x");
}

TEST_F(ProductsTest, CodesDifferingOnlyInCaseAreTheSameProduct) {
  Store("WIDGET", "  Blue Widget ");
  Store("GADGET", "Gadget");
  ProductEntry entry{" widget", "Another", "1.00", false, ""};
  EXPECT_EQ(Check(entry), ProductField::kPNum);
  EXPECT_EQ(Check(entry, "GADGET"), ProductField::kPNum);
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Product Code");
  EXPECT_EQ(dialogs_.Log()[0].text, "This Product Code already exists for: Blue Widget. Use a different code.");

  // The product's own code, in any case, and a mere prefix of another code pass.
  EXPECT_EQ(Check(entry, "WIDGET"), ProductField::kNone);
  ProductEntry prefix{"WID", "Short", "1.00", false, ""};
  EXPECT_EQ(Check(prefix), ProductField::kNone);
  EXPECT_EQ(dialogs_.Log().size(), 2u);
}

// A price of "12abc" used to be stored as 0.00 without a word.
TEST_F(ProductsTest, PriceThatIsNoAmountIsRefusedNamingTheField) {
  for (const char* typed : {"12abc", "12.3.4", "1e3"}) {
    ProductEntry entry{"A1", "Thing", typed, false, ""};
    EXPECT_EQ(Check(entry), ProductField::kPSell) << typed;
    EXPECT_EQ(entry.PSell, typed);
  }
  ASSERT_EQ(dialogs_.Log().size(), 3u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Sales Price");
  EXPECT_EQ(dialogs_.Log()[0].text,
            "The Sales Price \"12abc\" is not an amount. Type it with digits and a decimal point, such as 12.50.");

  ProductEntry empty{"A1", "Thing", "  ", false, ""};
  EXPECT_EQ(Check(empty), ProductField::kNone);
  EXPECT_EQ(empty.PSell, "0.00");
  EXPECT_EQ(StoredPrice("1,234.5"), "1,234.5");  // kept as typed: it reads as 1234.50
}

TEST_F(ProductsTest, AddSetsUpTodayAndEditKeepsSetupDateAndMovesKeys) {
  const ProductEntry entry{"A1", "First", "5", true, "Note"};
  engine::RecordNumber number = 0;
  ASSERT_TRUE(AddProduct(file_, NewProduct(entry, "12/08/2026"), dialogs_, number));
  const model::ProductRecord added = Read(number);
  EXPECT_EQ(added.SetupDate.str(), "12/08/2026");
  EXPECT_TRUE(added.LastChanged.empty());
  EXPECT_EQ(added.UnitPrice.str(), "5");
  EXPECT_TRUE(added.Taxable);

  const ProductEntry changed{"b2", "Second", "7.25", false, "Other"};
  ASSERT_TRUE(ChangeProduct(file_, number, ChangedProduct(added, changed, "12/09/2026"), added, dialogs_));
  const model::ProductRecord stored = Read(number);
  EXPECT_EQ(stored.SetupDate.str(), "12/08/2026");
  EXPECT_EQ(stored.LastChanged.str(), "12/09/2026");
  EXPECT_EQ(stored.ProductCode.str(), "b2");
  EXPECT_FALSE(stored.Taxable);
  EXPECT_FALSE(FindProductByCode(file_, "A1"));
  ASSERT_TRUE(FindProductByCode(file_, "B2"));
  EXPECT_EQ(FindProductByCode(file_, "B2")->number, number);
  EXPECT_TRUE(dialogs_.Log().empty());
}

// Fields used to count the bytes of UTF-8 text: an accent cost a character.
TEST_F(ProductsTest, FieldsHoldAsManyCharactersAsTheirCapacityAccentsIncluded) {
  const std::string accented = std::string(31, 'x') + "\xc3\xa9";  // 32 characters, 33 bytes
  const model::ProductRecord product =
      NewProduct({"ABCDEFGHIJKL", accented + "y", "1.00", false, std::string(200, 'n')}, kToday);
  EXPECT_EQ(product.ProductCode.str(), "ABCDEFGHIJ");
  EXPECT_EQ(product.ProdDesc.str(), accented);
  EXPECT_EQ(product.ProdNotes.str(), std::string(150, 'n'));
}

TEST_F(ProductsTest, FailuresAreReportedAndLeaveTheFileAsItWas) {
  const engine::RecordNumber number = Store("A1", "First");
  engine::RecordNumber added = 0;
  EXPECT_FALSE(AddProduct(file_, NewProduct({"a1", "Twin", "1", false, ""}, kToday), dialogs_, added));
  EXPECT_EQ(engine_.UsedRecords(file_.Block()), 1);

  // Someone else changed the product after the dialog read it.
  const model::ProductRecord asRead = Read(number);
  model::ProductRecord meanwhile = asRead;
  meanwhile.UnitPrice = "9.99";
  ASSERT_TRUE(file_.Update(number, meanwhile));
  EXPECT_FALSE(ChangeProduct(file_, number, ChangedProduct(asRead, {"A1", "Mine", "2", false, ""}, kToday), asRead,
                             dialogs_));
  EXPECT_EQ(Read(number).UnitPrice.str(), "9.99");
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"Add operation failed", "The record has changed in the meantime.",
                                                        "Modify operation failed"}));
}

TEST_F(ProductsTest, DeleteAsksWithTheCodeInTheCaption) {
  const engine::RecordNumber number = Store(" A1 ", "First");
  dialogs_.Answer(Answer::kNo).Answer(Answer::kYes);
  EXPECT_FALSE(DeleteProduct(file_, number, Read(number), dialogs_));
  EXPECT_TRUE(FindProductByCode(file_, "A1"));
  EXPECT_TRUE(DeleteProduct(file_, number, Read(number), dialogs_));
  EXPECT_FALSE(FindProductByCode(file_, "A1"));
  EXPECT_EQ(engine_.KeysInIndex(file_.Block(), model::product_key::kDescription), 0);
  ASSERT_EQ(dialogs_.Log().size(), 2u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Product Code: A1");
  EXPECT_EQ(dialogs_.Log()[0].text, "Are you sure you want to delete this product?");
}

TEST(ProductRows, RowAndHeaderKeepTheirColumns) {
  model::ProductRecord product{};
  product.ProductCode = "AB";
  product.ProdDesc = "  Blue Widget  ";
  product.UnitPrice = "1234.5";
  product.SetupDate = "12/08/2026";
  EXPECT_EQ(ProductRow(product), "AB         Blue Widget                          1,234.50 12/08/2026");
  EXPECT_EQ(ProductHeader(), "Code       Description                       Sales Price Setup Date");
  product.UnitPrice = "junk";
  EXPECT_EQ(ProductRow(product).substr(44, 12), "        0.00");
}

TEST_F(ProductsTest, ProductListBySortOrderWithTitleHeadingsAndFields) {
  Store("B", "apple", "1234.5");
  Store("A", "cherry");
  Store("C", "Banana");
  model::CompanyRecord company{};
  company.CompanyName = " Harbor Supply ";
  const std::string when = "Tuesday, December 8, 2026, 02:05 PM";

  const documents::ListReport byCode = ProductListReport(file_, true, company, when);
  EXPECT_EQ(byCode.title, "Product List by Code");
  EXPECT_EQ(byCode.headings, (std::vector<std::string>{"Product List for Harbor Supply", "Date: " + when}));
  EXPECT_EQ(Names(byCode), (std::vector<std::string>{"cherry", "apple", "Banana"}));

  const documents::ListReport byDescription = ProductListReport(file_, false, company, when);
  EXPECT_EQ(byDescription.title, "Product List by Description");
  EXPECT_EQ(Names(byDescription), (std::vector<std::string>{"apple", "Banana", "cherry"}));
  using Fields = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(byDescription.entries[0].fields, (Fields{{"Code:", "B"},
                                                     {"Price:", "1,234.50"},
                                                     {"Setup Date:", "01/02/2026"},
                                                     {"Last Modified:", ""},
                                                     {"Taxed:", "No"}}));
}

// The list used to go on from wherever the browser or a find had left the index.
TEST_F(ProductsTest, ProductListLeavesNoProductOutAfterTheIndexWasPositionedElsewhere) {
  for (int i = 1; i <= 30; ++i) Store("P" + std::to_string(100 + i), "Item " + std::to_string(100 + i));
  engine::RecordNumber number = 0;
  engine::KeyString key("P125");
  ASSERT_TRUE(file_.Search(model::product_key::kCode, number, key));
  key = "ITEM 125";
  ASSERT_TRUE(file_.Search(model::product_key::kDescription, number, key));

  EXPECT_EQ(ProductListReport(file_, true, {}, "").entries.size(), 30u);
  EXPECT_EQ(ProductListReport(file_, false, {}, "").entries.size(), 30u);
}

TEST(ProductListDocument, TitleLargerAndBoldThenHeadingsThenOneBlockPerProduct) {
  const documents::ListReport report{"Product List by Code",
                                  {"Product List for Harbor", "Date: today"},
                                  {{"Blue Widget", {{"Code:", "A"}, {"Price:", "1.00"}, {"Taxed:", "Yes"}}, {}}}};
  const documents::RtfDocument document = ProductListDocument(report, {"Times New Roman", 12});
  ASSERT_EQ(document.paragraphs.size(), 6u);  // title, two headings, name, two field lines
  const documents::TextRun& title = document.paragraphs[0].runs.at(0);
  EXPECT_EQ(title.text, "Product List by Code");
  EXPECT_TRUE(title.bold);
  EXPECT_GT(title.points, 12);
  EXPECT_EQ(document.paragraphs[0].alignment, documents::Alignment::kCentre);
  EXPECT_EQ(document.paragraphs[2].runs.at(0).text, "Date: today");
  EXPECT_EQ(document.paragraphs[3].runs.at(0).text, "Blue Widget");
  EXPECT_TRUE(document.paragraphs[3].runs.at(0).bold);

  std::string firstLine;
  for (const auto& run : document.paragraphs[4].runs) firstLine += run.text;
  EXPECT_EQ(firstLine, "Code:\tA\tPrice:\t1.00");
  for (const auto& paragraph : document.paragraphs) {
    for (const auto& run : paragraph.runs) EXPECT_EQ(run.font, "Times New Roman");
  }
}

}  // namespace
}  // namespace shell
