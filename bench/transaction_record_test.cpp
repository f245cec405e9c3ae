#include "bench/transaction_record.h"

#include <gtest/gtest.h>

#include <string>

namespace bench {
namespace {

Record With(std::initializer_list<std::pair<Field, std::string_view>> values) {
  Record record{};
  for (const auto& [where, text] : values) SetField(record, where, text);
  return record;
}

TEST(TransactionKeys, TextKeysAreTrimmedPaddedAndUpperCased) {
  const Record record = With(
      {{field::kInvoiceNo, " a12 "}, {field::kCustNo, "\tc7"}, {field::kKeyCode, "Retail "}, {field::kTransType, "x"}});
  EXPECT_EQ(BuildKey(record, 1).str(), "A12      ");
  EXPECT_EQ(BuildKey(record, 2).str(), "C7      ");
  EXPECT_EQ(BuildKey(record, 4).str(), "RETAIL  ");
  EXPECT_EQ(BuildKey(record, 5).str(), "XA12      ");
}

TEST(TransactionKeys, DateKeysAreTakenAsStoredAndABlankPaidDateIsTenBlanks) {
  const Record record = With({{field::kSortDate, "2021/03/04"}, {field::kPaidSortDate, " "}});
  EXPECT_EQ(BuildKey(record, 3).str(), "2021/03/04");
  EXPECT_EQ(BuildKey(record, 6).str(), "          ");
  EXPECT_EQ(BuildKey(Record{}, 6).str(), "          ");
}

TEST(TransactionKeys, AnUnknownIndexNumberMakesNoKey) {
  engine::KeyString key;
  EXPECT_FALSE(BuildKey(Record{}, 0, key));
  EXPECT_FALSE(BuildKey(Record{}, 7, key));
}

TEST(TransactionFields, TextLongerThanTheFieldIsCutToItsCapacity) {
  Record record{};
  SetField(record, field::kInvoiceNo, "12345678901");
  EXPECT_EQ(GetField(record, field::kInvoiceNo), "123456789");
  EXPECT_EQ(std::to_integer<int>(record[field::kTransType.offset]), 0) << "the next field was overwritten";
}

TEST(TransactionFields, AStoredLengthAboveTheCapacityIsNotReadPastTheField) {
  Record record{};
  record[field::kTransType.offset] = std::byte{200};
  EXPECT_EQ(GetField(record, field::kTransType).size(), 1u);
}

}  // namespace
}  // namespace bench
