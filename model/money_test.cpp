#include "model/money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

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

struct FormatCase {
  const char* name;
  double value;
  const char* pattern;
  const char* expected;
};

class FormatMoneyTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatMoneyTable, PrintsTheDecimalTextRoundedHalfAwayFromZero) {
  EXPECT_EQ(FormatMoney(GetParam().value, GetParam().pattern), GetParam().expected);
}

// 2.675, 1.005, 1.115 and 12345678.905 all sit just below the half in binary.
INSTANTIATE_TEST_SUITE_P(
    Money, FormatMoneyTable,
    ::testing::Values(
        FormatCase{"BinaryBelowHalf", 2.675, "0.00", "2.68"}, FormatCase{"NegativeHalfCent", -0.005, "0.00", "-0.01"},
        FormatCase{"OnePointZeroZeroFive", 1.005, "0.00", "1.01"}, FormatCase{"ExactEighth", 0.125, "0.00", "0.13"},
        FormatCase{"BinaryAboveHalf", 2.665, "0.00", "2.67"}, FormatCase{"OnePointOneOneFive", 1.115, "0.00", "1.12"},
        FormatCase{"EightDigitHalfCent", 12345678.905, "0.00", "12345678.91"},
        FormatCase{"CommaGroups", 1234567.891, ",0.00", "1,234,567.89"},
        FormatCase{"HashCommaGroups", 1234567.891, "#,0.00", "1,234,567.89"},
        FormatCase{"CarryOpensAGroup", 999.995, ",0.00", "1,000.00"},
        FormatCase{"GroupedNegative", -1234.5, "#,##0.00", "-1,234.50"},
        FormatCase{"NoGroupingWithoutComma", 1234567.891, "0.00", "1234567.89"},
        FormatCase{"ThreeDecimalsGrouped", 1234.5675, ",0.000", "1,234.568"},
        FormatCase{"RequiredWholeDigits", 5.25, "00.000", "05.250"}, FormatCase{"NegativeZero", -0.0, "0.00", "0.00"},
        FormatCase{"RoundsToZeroWithoutSign", -0.001, "0.00", "0.00"},
        FormatCase{"OptionalWholeDigit", 0.5, "#.00", ".50"},
        FormatCase{"OptionalDecimalsTrimmed", 1.5, "0.0##", "1.5"},
        FormatCase{"OptionalDecimalsRounded", 1.2345, "0.0##", "1.235"},
        FormatCase{"PointDroppedWithDecimals", 3.0, "0.##", "3"}, FormatCase{"WholeNumberPicture", -2.5, "0", "-3"},
        FormatCase{"NothingRequiredForZero", 0.0, "#.##", "0"}, FormatCase{"LettersIgnored", 12.5, "Xy0.00z", "12.50"},
        FormatCase{"Huge", 1e20, ",0.00", "100,000,000,000,000,000,000.00"},
        FormatCase{"SmallestDenormal", 5e-324, "0.00", "0.00"}, FormatCase{"NotANumber", std::nan(""), "0.00", "0.00"}),
    RowName<FormatCase>);

TEST(MoneyFormat, LargestDoublePrintsAllItsDigits) {
  EXPECT_EQ(FormatMoney(std::numeric_limits<double>::max(), "0").size(), 309u);
}

struct RoundCase {
  const char* name;
  double value;
  int decimals;
  double expected;
};

class RoundMoneyTable : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundMoneyTable, GivesTheNearestDoubleToTheRoundedDecimal) {
  EXPECT_EQ(RoundMoney(GetParam().value, GetParam().decimals), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Money, RoundMoneyTable,
                         ::testing::Values(RoundCase{"BinaryBelowHalf", 2.675, 2, 2.68},
                                           RoundCase{"NegativeHalfCent", -0.005, 2, -0.01},
                                           RoundCase{"ThreePlaces", 1234.5675, 3, 1234.568},
                                           RoundCase{"NegativePlacesActAsZero", 2.5, -1, 3.0}),
                         RowName<RoundCase>);

TEST(MoneyRound, ResultThatIsZeroCarriesNoSignAndNaNPassesThrough) {
  EXPECT_FALSE(std::signbit(RoundMoney(-0.001)));
  EXPECT_TRUE(std::isnan(RoundMoney(std::nan(""))));
}

struct ParseCase {
  const char* name;
  const char* text;
  std::optional<double> expected;
};

class ParseMoneyTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseMoneyTable, ReadsOnlyPlainDecimals) { EXPECT_EQ(ParseMoney(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Money, ParseMoneyTable,
    ::testing::Values(ParseCase{"Grouped", "1,234.50", 1234.5}, ParseCase{"OuterBlanks", "\t 12.5 \n", 12.5},
                      ParseCase{"Empty", "", 0.0}, ParseCase{"OnlyBlanks", "   ", 0.0},
                      ParseCase{"Negative", "-3", -3.0}, ParseCase{"ExplicitPlus", "+3", 3.0},
                      ParseCase{"LeadingPoint", ".5", 0.5}, ParseCase{"TrailingPoint", "5.", 5.0},
                      ParseCase{"Letters", "abc", std::nullopt}, ParseCase{"TwoPoints", "1.2.3", std::nullopt},
                      ParseCase{"InnerBlank", "1 2", std::nullopt}, ParseCase{"LoneMinus", "-", std::nullopt},
                      ParseCase{"LonePoint", ".", std::nullopt}, ParseCase{"Exponent", "1e5", std::nullopt},
                      ParseCase{"TwoSigns", "+-1", std::nullopt}, ParseCase{"Infinity", "inf", std::nullopt},
                      ParseCase{"Hex", "0x10", std::nullopt}),
    RowName<ParseCase>);

std::string CentsText(int cents) {
  const int size = std::abs(cents);
  return (cents < 0 ? "-" : "") + std::to_string(size / 100) + (size % 100 < 10 ? ".0" : ".") +
         std::to_string(size % 100);
}

TEST(MoneyText, EveryCentAmountWritesAndReadsBackItsOwnDigits) {
  EXPECT_EQ(MoneyText(1234.5), "1234.50");
  for (int cents = -1000000; cents <= 1000000; cents += 37) {
    const std::string text = MoneyText(cents / 100.0);
    ASSERT_EQ(text, CentsText(cents));
    const std::optional<double> parsed = ParseMoney(text);
    ASSERT_TRUE(parsed.has_value()) << text;
    ASSERT_EQ(MoneyText(*parsed), text);
    ASSERT_EQ(RoundMoney(*parsed), *parsed) << text;
  }
}

}  // namespace
}  // namespace model
