#include "model/money.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace model {
namespace {

// Table rows print as their names in test listings, not as raw bytes.
template <class Row>
  requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

Decimal D(std::string_view text) { return ParseDecimal(text).value(); }
Money M(std::string_view text) { return ParseMoney(text).value(); }

struct TextCase {
  const char* name;
  const char* text;
  const char* picture;
  const char* expected;
};

class MoneyFromText : public ::testing::TestWithParam<TextCase> {};

// Amounts read as text go through whole cents on their way to the picture.
TEST_P(MoneyFromText, ReadsExactlyAndPrintsRoundedHalfAwayFromZero) {
  EXPECT_EQ(FormatMoney(M(GetParam().text), GetParam().picture), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Money, MoneyFromText,
    ::testing::Values(TextCase{"HalfCentUp", "2.675", "0.00", "2.68"},
                      TextCase{"NegativeHalfCent", "-0.005", "0.00", "-0.01"},
                      TextCase{"OnePointZeroZeroFive", "1.005", "0.00", "1.01"},
                      TextCase{"JustBelowHalf", "2.67499", "0.00", "2.67"},
                      TextCase{"EightDigitHalfCent", "12345678.905", "0.00", "12345678.91"},
                      TextCase{"CommaGroups", "1234567.891", ",0.00", "1,234,567.89"},
                      TextCase{"HashCommaGroups", "1234567.891", "#,0.00", "1,234,567.89"},
                      TextCase{"GroupedInputRegrouped", "1,234,567.89", ",0.00", "1,234,567.89"},
                      TextCase{"CarryOpensAGroup", "999.995", ",0.00", "1,000.00"},
                      TextCase{"GroupedNegative", "-1234.5", "#,##0.00", "-1,234.50"},
                      TextCase{"NoGroupingWithoutComma", "1234567.891", "0.00", "1234567.89"},
                      TextCase{"ThreeDecimalsOfCents", "1234.5675", ",0.000", "1,234.570"},
                      TextCase{"RoundsToZeroWithoutSign", "-0.001", "0.00", "0.00"},
                      TextCase{"OptionalWholeDigit", "0.5", "#.00", ".50"},
                      TextCase{"WholeNumberPicture", "-2.5", "0", "-3"},
                      TextCase{"NothingRequiredForZero", "0", "#.##", "0"},
                      TextCase{"LettersIgnored", "12.5", "Xy0.00z", "12.50"},
                      TextCase{"LargestAmount", "999999999999999.99", ",0.00", "999,999,999,999,999.99"}),
    RowName<TextCase>);

struct DecimalCase {
  const char* name;
  const char* text;
  const char* picture;
  const char* expected;
};

class DecimalFormat : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalFormat, KeepsThePlacesThePictureAsksFor) {
  EXPECT_EQ(FormatDecimal(D(GetParam().text), GetParam().picture), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Money, DecimalFormat,
                         ::testing::Values(DecimalCase{"ThreeDecimalsGrouped", "1234.5675", ",0.000", "1,234.568"},
                                           DecimalCase{"RequiredWholeDigits", "5.25", "00.000", "05.250"},
                                           DecimalCase{"OptionalDecimalsTrimmed", "1.5", "0.0##", "1.5"},
                                           DecimalCase{"OptionalDecimalsRounded", "1.2345", "0.0##", "1.235"},
                                           DecimalCase{"PointDroppedWithDecimals", "3.0", "0.##", "3"},
                                           DecimalCase{"RateAsStored", "8.125", "0.000", "8.125"},
                                           DecimalCase{"NineDecimals", "-0.000000005", "0.00000000", "-0.00000001"}),
                         RowName<DecimalCase>);

struct ParseCase {
  const char* name;
  const char* text;
  std::optional<std::int64_t> cents;
};

class ParseMoneyTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseMoneyTable, ReadsOnlyPlainDecimals) {
  const std::optional<Money> amount = ParseMoney(GetParam().text);
  ASSERT_EQ(amount.has_value(), GetParam().cents.has_value());
  if (amount) {
    EXPECT_EQ(amount->Cents(), *GetParam().cents);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Money, ParseMoneyTable,
    ::testing::Values(ParseCase{"Grouped", "1,234.50", 123450}, ParseCase{"OuterBlanks", "\t 12.5 \n", 1250},
                      ParseCase{"Empty", "", 0}, ParseCase{"OnlyBlanks", "   ", 0}, ParseCase{"Negative", "-3", -300},
                      ParseCase{"ExplicitPlus", "+3", 300}, ParseCase{"LeadingPoint", ".5", 50},
                      ParseCase{"TrailingPoint", "5.", 500}, ParseCase{"LeadingZeros", "000012.30", 1230},
                      ParseCase{"ManyTrailingZeros", "1.50000000000000", 150},
                      ParseCase{"Letters", "abc", std::nullopt}, ParseCase{"LettersAfterDigits", "12abc", std::nullopt},
                      ParseCase{"TwoPoints", "1.2.3", std::nullopt}, ParseCase{"InnerBlank", "1 2", std::nullopt},
                      ParseCase{"LoneMinus", "-", std::nullopt}, ParseCase{"LonePoint", ".", std::nullopt},
                      ParseCase{"Exponent", "1e5", std::nullopt}, ParseCase{"TwoSigns", "+-1", std::nullopt},
                      ParseCase{"TrailingMinus", "12-", std::nullopt}, ParseCase{"Infinity", "inf", std::nullopt},
                      ParseCase{"Hex", "0x10", std::nullopt},
                      ParseCase{"SixteenWholeDigits", "1234567890123456", std::nullopt},
                      ParseCase{"TenDecimals", "0.0000000001", std::nullopt},
                      // Used to overflow the 64-bit units while being read.
                      ParseCase{"MoreDigitsThanUnitsHold", "123456789012345.123456789", std::nullopt},
                      ParseCase{"EighteenDigits", "123456789012345.678", 12345678901234568}),
    RowName<ParseCase>);

TEST(MoneyRates, PercentagesAndFactorsRoundOnceToTheCent) {
  EXPECT_EQ(M("1.00").PercentOf(D("8.125")), M("0.08"));
  EXPECT_EQ(M("2.00").PercentOf(D("8.125")), M("0.16"));
  EXPECT_EQ(M("-2.00").PercentOf(D("8.125")), M("-0.16"));
  EXPECT_EQ(M("100.00").PercentOf(D("1.5")), M("1.50"));
  EXPECT_EQ(M("2.35").Times(D("1.5")), M("3.53"));
  EXPECT_EQ(M("0.10").Times(D("3")), M("0.30"));  // where binary fractions give 0.30000000000000004
  EXPECT_EQ(M("19.99").Times(D("0")), Money());
  // A running tax: 0.08 + 8.125 % of 1.00 is 0.16125, brought to 0.16 once.
  EXPECT_EQ(M("0.08").PlusPercentOf(M("1.00"), D("8.125")), M("0.16"));
  // Rounded as one sum, not as 0.10 plus a rounded -0.05.
  EXPECT_EQ(M("0.10").PlusPercentOf(M("-0.45"), D("10")), M("0.06"));
  EXPECT_EQ(Money::Product(D("2.5"), D("85.00")), M("212.50"));
  EXPECT_EQ(Money::Product(D("0.333"), D("0.015")), M("0.00"));
  EXPECT_EQ(Money::Product(D("3"), D("0.125")), M("0.38"));
  EXPECT_EQ(Money::Product(D("-3"), D("0.125")), M("-0.38"));
}

TEST(MoneyArithmetic, SumsAreExactInCents) {
  Money sum;
  for (int i = 0; i < 10; ++i) sum += M("0.10");
  EXPECT_EQ(sum, M("1.00"));
  EXPECT_EQ(M("5.00") - M("7.25"), -M("2.25"));
  EXPECT_LT(M("-0.01"), Money());
}

TEST(MoneyArithmetic, ProductsBeyondAnyFieldAreHeldAtTheLimitNotWrapped) {
  const Money huge = M("999999999999999.99");
  EXPECT_GT(huge.Times(D("999999999999999")), huge);
  EXPECT_LT((-huge).Times(D("999999999999999")), -huge);
}

std::string CentsText(int cents) {
  const int size = std::abs(cents);
  return (cents < 0 ? "-" : "") + std::to_string(size / 100) + (size % 100 < 10 ? ".0" : ".") +
         std::to_string(size % 100);
}

TEST(MoneyText, EveryCentAmountWritesAndReadsBackItsOwnDigits) {
  EXPECT_EQ(MoneyText(M("1234.5")), "1234.50");
  for (int cents = -1000000; cents <= 1000000; cents += 37) {
    const std::string text = MoneyText(Money::FromCents(cents));
    ASSERT_EQ(text, CentsText(cents));
    ASSERT_EQ(ParseMoney(text), Money::FromCents(cents)) << text;
  }
}

}  // namespace
}  // namespace model
