#include "model/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace model {
namespace {

template <class Record>
std::vector<std::uint8_t> BytesOf(const Record& record) {
  std::vector<std::uint8_t> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

// The short string stored at `offset`: its length byte, then the characters.
std::string TextAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::string(reinterpret_cast<const char*>(&bytes[offset + 1]), bytes[offset]);
}

std::int32_t IntAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                   static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

TEST(ShortStringTest, StoresLengthThenTextCutToCapacityWithZerosAfter) {
  ShortString<5> field{};
  field = "abcdefgh";
  EXPECT_EQ(field.length, 5);
  EXPECT_EQ(field.str(), "abcde");
  field = "xy";
  EXPECT_EQ(field.length, 2);
  EXPECT_EQ(std::string(field.text, 5), std::string("xy\0\0\0", 5));
}

TEST(ShortStringTest, DamagedLengthByteNeverReadsPastTheField) {
  ShortString<3> field{};
  field.length = 200;
  EXPECT_EQ(field.str().size(), 3u);
}

TEST(FieldTest, IntegersAreLittleEndianAndBooleansOneByte) {
  LeInt32 number{};
  number = -2;
  EXPECT_EQ(number.bytes[0], 0xFE);
  EXPECT_EQ(number.bytes[3], 0xFF);
  EXPECT_EQ(static_cast<std::int32_t>(number), -2);
  BoolByte flag{};
  flag = true;
  EXPECT_EQ(flag.value, 1);
  flag.value = 7;  // written by someone else: still true
  EXPECT_TRUE(flag);
}

TEST(RecordBytesTest, NewRecordsAreAllZero) {
  for (const auto& bytes : {BytesOf(CompanyRecord{}), BytesOf(CustomerRecord{}), BytesOf(TransactionRecord{}),
                            BytesOf(DetailRecord{}), BytesOf(MemoRecord{}), BytesOf(ProductRecord{})}) {
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }));
  }
}

TEST(RecordBytesTest, CompanyFieldsLandAtTheirOffsets) {
  CompanyRecord company{};
  company.CompanyName = "Harbor Supply";
  company.CompanyNo = "12";
  company.TotalAR = "1234.50";
  company.CoAddr5 = "Fax 555-0101";
  SetFont(company.ScreenFont, "Arial", 10, 0xFF0000, font_style::kBold);
  company.UseBackground = true;
  company.DateOrder = "D";
  SetFont(company.ManagerFont, "Courier New", 9, 0x000080, font_style::kItalic);
  SetFont(company.FormFonts[kSalesMessageFont], "Times", 11, 0x123456, font_style::kUnderline);
  company.InterestSettings.MonthlyRate = "1.500";
  SetFont(company.EnvelopeFont, "Arial", 12, 0, 0);
  company.EnvSendLeft = "2400";
  SetYes(company.AuditTrail, true);

  const auto bytes = BytesOf(company);
  EXPECT_EQ(TextAt(bytes, 4), "Harbor Supply");
  EXPECT_EQ(TextAt(bytes, 40), "12");
  EXPECT_EQ(TextAt(bytes, 46), "1234.50");
  EXPECT_EQ(TextAt(bytes, 201), "Fax 555-0101");
  EXPECT_EQ(TextAt(bytes, 237), "Arial");
  EXPECT_EQ(IntAt(bytes, 272), 10);
  EXPECT_EQ(IntAt(bytes, 276), 0xFF0000);
  EXPECT_EQ(bytes[280], font_style::kBold);
  EXPECT_EQ(bytes[281], 1);
  EXPECT_EQ(TextAt(bytes, 917), "D");
  EXPECT_EQ(TextAt(bytes, 954), "Courier New");
  EXPECT_EQ(IntAt(bytes, 996), 9);
  EXPECT_EQ(IntAt(bytes, 1000), 0x000080);
  EXPECT_EQ(bytes[1004], font_style::kItalic);
  EXPECT_EQ(TextAt(bytes, 1824), "Times");
  EXPECT_EQ(IntAt(bytes, 1824 + 36), 11);
  EXPECT_EQ(IntAt(bytes, 1824 + 40), 0x123456);
  EXPECT_EQ(bytes[1824 + 44], font_style::kUnderline);
  EXPECT_EQ(TextAt(bytes, 2045), "1.500");
  EXPECT_EQ(TextAt(bytes, 2052), "Arial");
  EXPECT_EQ(IntAt(bytes, 2088), 12);
  EXPECT_EQ(TextAt(bytes, 2114), "2400");
  EXPECT_EQ(TextAt(bytes, 2156), "Y");
}

TEST(RecordBytesTest, CustomerFieldsLandAtTheirOffsets) {
  CustomerRecord customer{};
  customer.CustNo = "A100";
  customer.CustName = std::string(40, 'N');
  customer.Balance = "-12.00";
  customer.Phone2 = "555-0199";
  customer.AgeOver90 = "3.00";
  SetYes(customer.CreditHold, true);
  const auto bytes = BytesOf(customer);
  EXPECT_EQ(TextAt(bytes, 4), "A100");
  EXPECT_EQ(TextAt(bytes, 13), std::string(35, 'N'));
  EXPECT_EQ(TextAt(bytes, 49), "-12.00");
  EXPECT_EQ(TextAt(bytes, 472), "555-0199");
  EXPECT_EQ(TextAt(bytes, 531), "3.00");
  EXPECT_EQ(TextAt(bytes, 813), "Y");
}

TEST(RecordBytesTest, TransactionDetailMemoAndProductFieldsLandAtTheirOffsets) {
  TransactionRecord transaction{};
  transaction.InvoiceNo = "INV100";
  transaction.SortDate = "2026/12/08";
  transaction.PaidSortDate = "2026/12/31";
  transaction.RepeatCount = "0";
  auto bytes = BytesOf(transaction);
  EXPECT_EQ(TextAt(bytes, 4), "INV100");
  EXPECT_EQ(TextAt(bytes, 64), "2026/12/08");
  EXPECT_EQ(TextAt(bytes, 296), "2026/12/31");
  EXPECT_EQ(TextAt(bytes, 326), "0");

  DetailRecord detail{};
  detail.ShortName = "HARBOR";
  EXPECT_EQ(TextAt(BytesOf(detail), 119), "HARBOR");

  MemoRecord memo{};
  memo.MemoLine[24] = "last line";
  EXPECT_EQ(TextAt(BytesOf(memo), 14 + 75 * 24), "last line");

  ProductRecord product{};
  product.Taxable = true;
  product.LastChanged = "12/08/2026";
  bytes = BytesOf(product);
  EXPECT_EQ(bytes[59], 1);
  EXPECT_EQ(TextAt(bytes, 244), "12/08/2026");
}

}  // namespace
}  // namespace model
