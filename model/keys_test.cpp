#include "model/keys.h"

#include <gtest/gtest.h>

#include <string>

namespace model {
namespace {

std::string Key(const engine::KeyString& key) { return key.str(); }

TEST(KeysTest, CompanyNumberIsTrimmedAndPaddedToFive) {
  CompanyRecord company{};
  company.CompanyNo = "  7 ";
  company.CompanyName = "harbor supply";
  EXPECT_EQ(Key(BuildKey(company, company_key::kNumber)), "7    ");
  EXPECT_EQ(Key(BuildKey(company, company_key::kName)), "HARBOR SUPPLY" + std::string(17, ' '));
}

TEST(KeysTest, CustomerNamesAreCutToThirtyAndFolded) {
  CustomerRecord a{}, b{};
  a.CustName = std::string(30, 'a') + "AAAAA";
  b.CustName = std::string(30, 'A') + "bbbbb";
  EXPECT_EQ(a.CustName.str().size(), 35u);
  EXPECT_EQ(Key(BuildKey(a, customer_key::kName)), std::string(30, 'A'));
  // Equal in their first 30 characters, case ignored: the same key in a unique index.
  EXPECT_EQ(BuildKey(a, customer_key::kName), BuildKey(b, customer_key::kName));
}

// Keys hold the stored bytes: one a character, padded by bytes, only ASCII folded.
TEST(KeysTest, AccentedNamesKeyOnTheirStoredBytes) {
  CustomerRecord customer{};
  customer.CustNo = "Nö1";
  customer.CustName = "Müller";
  EXPECT_EQ(Key(BuildKey(customer, customer_key::kName)), "M\xFCLLER" + std::string(24, ' '));
  EXPECT_EQ(Key(BuildKey(customer, customer_key::kNumber)), "N\xF6" "1     ");
}

TEST(KeysTest, CustomerNumbersInEitherCaseGiveOneKey) {
  CustomerRecord lower{}, upper{};
  lower.CustNo = " ab12 ";
  upper.CustNo = "AB12";
  EXPECT_EQ(Key(BuildKey(lower, customer_key::kNumber)), "AB12    ");
  EXPECT_EQ(BuildKey(lower, customer_key::kNumber), BuildKey(upper, customer_key::kNumber));
}

TEST(KeysTest, TransactionKeys) {
  TransactionRecord t{};
  t.InvoiceNo = " inv7";
  t.CustNo = "c1";
  t.SortDate = "2026/1/5";  // as stored, even when short
  t.KeyCode = "none";
  t.TransType = "i";
  EXPECT_EQ(Key(BuildKey(t, transaction_key::kInvoiceNo)), "INV7     ");
  EXPECT_EQ(Key(BuildKey(t, transaction_key::kCustNo)), "C1      ");
  EXPECT_EQ(Key(BuildKey(t, transaction_key::kSortDate)), "2026/1/5  ");
  EXPECT_EQ(Key(BuildKey(t, transaction_key::kKeyCode)), "NONE    ");
  EXPECT_EQ(Key(BuildKey(t, transaction_key::kTypeAndInvoice)), "IINV7     ");
}

TEST(KeysTest, DateKeysAreNeitherTrimmedNorFolded) {
  TransactionRecord open{}, edited{}, paid{};
  edited.PaidSortDate = " ";
  paid.PaidSortDate = "2026/12/08";
  open.SortDate = " x/1";
  EXPECT_EQ(Key(BuildKey(open, transaction_key::kPaidSortDate)), std::string(10, ' '));
  EXPECT_EQ(Key(BuildKey(edited, transaction_key::kPaidSortDate)), std::string(10, ' '));
  EXPECT_EQ(Key(BuildKey(open, transaction_key::kSortDate)), " x/1      ");
  // Open transactions sort before every paid one.
  EXPECT_LT(BuildKey(open, transaction_key::kPaidSortDate), BuildKey(paid, transaction_key::kPaidSortDate));
}

TEST(KeysTest, DetailMemoAndProductKeys) {
  DetailRecord detail{};
  detail.SortDate = " 2026/12/8";
  detail.InvoiceNo = "a1";
  EXPECT_EQ(Key(BuildKey(detail, detail_key::kSortDate)), "2026/12/8 ");
  EXPECT_EQ(Key(BuildKey(detail, detail_key::kInvoiceNo)), "A1       ");

  MemoRecord memo{};
  memo.InvoiceNo = "m9";
  EXPECT_EQ(Key(BuildKey(memo, memo_key::kInvoiceNo)), "M9       ");

  ProductRecord product{};
  product.ProductCode = "\tw-10 ";
  product.ProdDesc = "Widget, large";
  EXPECT_EQ(Key(BuildKey(product, product_key::kCode)), "W-10      ");
  EXPECT_EQ(Key(BuildKey(product, product_key::kDescription)), "WIDGET, LARGE" + std::string(17, ' '));
}

TEST(KeysTest, UnknownKeyNumbersGiveEmptyKeys) {
  EXPECT_TRUE(BuildKey(MemoRecord{}, 2).empty());
  EXPECT_TRUE(BuildKey(TransactionRecord{}, 7).empty());
}

}  // namespace
}  // namespace model
