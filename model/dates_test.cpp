#include "model/dates.h"

#include <gtest/gtest.h>

#include <ostream>

namespace model {

static void PrintTo(const Date& date, std::ostream* out) { *out << SortableDate(date); }

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

constexpr auto M = DateOrder::kMonthFirst;
constexpr auto D = DateOrder::kDayFirst;

struct ValidityCase {
  const char* name;
  Date date;
  bool valid;
};

class DateValidityTable : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(DateValidityTable, AcceptsOnlyRealGregorianDays) { EXPECT_EQ(IsValidDate(GetParam().date), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Date, DateValidityTable,
    ::testing::Values(ValidityCase{"LeapDay2024", {2024, 2, 29}, true},
                      ValidityCase{"LeapDay2023", {2023, 2, 29}, false},
                      ValidityCase{"LeapDay1900", {1900, 2, 29}, false},
                      ValidityCase{"LeapDay2000", {2000, 2, 29}, true}, ValidityCase{"April31", {2026, 4, 31}, false},
                      ValidityCase{"Month13", {2026, 13, 1}, false}, ValidityCase{"Day0", {2026, 1, 0}, false},
                      ValidityCase{"Year0", {0, 1, 1}, false}, ValidityCase{"FirstDay", {1, 1, 1}, true},
                      ValidityCase{"LastDay", {9999, 12, 31}, true}, ValidityCase{"Year10000", {10000, 1, 1}, false}),
    RowName<ValidityCase>);

struct ParseCase {
  const char* name;
  const char* text;
  DateOrder order;
  std::optional<Date> expected;
};

class DateParseTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateParseTable, ReadsStrictDisplayText) {
  EXPECT_EQ(ParseDisplayDate(GetParam().text, GetParam().order), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Date, DateParseTable,
                         ::testing::Values(ParseCase{"MonthFirst", "12/08/2026", M, Date{2026, 12, 8}},
                                           ParseCase{"DayFirst", "08/12/2026", D, Date{2026, 12, 8}},
                                           ParseCase{"Month13", "13/01/2026", M, std::nullopt},
                                           ParseCase{"Day13DayFirst", "13/01/2026", D, Date{2026, 1, 13}},
                                           ParseCase{"SingleDigits", "1/5/2026", M, Date{2026, 1, 5}},
                                           ParseCase{"OuterBlanks", " 02/29/2024\t", M, Date{2024, 2, 29}},
                                           ParseCase{"TwoDigitYear", "01/05/26", M, std::nullopt},
                                           ParseCase{"Dashes", "01-05-2026", M, std::nullopt},
                                           ParseCase{"Empty", "", M, std::nullopt},
                                           ParseCase{"February30", "02/30/2024", M, std::nullopt},
                                           ParseCase{"April31DayFirst", "31/04/2026", D, std::nullopt},
                                           ParseCase{"InnerBlank", "02/ 9/2024", M, std::nullopt},
                                           ParseCase{"ThreeDigitDay", "01/005/2024", M, std::nullopt},
                                           ParseCase{"Signed", "+1/05/2024", M, std::nullopt},
                                           ParseCase{"FourParts", "01/05/2024/1", M, std::nullopt}),
                         RowName<ParseCase>);

TEST(DateText, FormatsZeroPaddedInEitherOrderAndAsASortableKey) {
  const Date leapDay{2024, 2, 29};
  EXPECT_EQ(FormatDisplayDate(leapDay, M), "02/29/2024");
  EXPECT_EQ(FormatDisplayDate(leapDay, D), "29/02/2024");
  EXPECT_EQ(SortableDate({987, 3, 4}), "0987/03/04");
  EXPECT_EQ(ParseSortableDate(" 2024/02/29 "), leapDay);
  EXPECT_EQ(ParseSortableDate("2024/2/29"), std::nullopt);
  EXPECT_EQ(ParseSortableDate("2023/02/29"), std::nullopt);
  EXPECT_EQ(ParseSortableDate("02/29/2024"), std::nullopt);
}

TEST(DateOrderCode, OnlyDMeansDayFirst) {
  EXPECT_EQ(DateOrderFromCode(" d "), D);
  EXPECT_EQ(DateOrderFromCode("M"), M);
  EXPECT_EQ(DateOrderFromCode("DD"), M);
  EXPECT_EQ(DatePattern(D), "dd/mm/yyyy");
  EXPECT_EQ(DatePattern(M), "mm/dd/yyyy");
}

struct MonthStepCase {
  const char* name;
  Date from;
  int months;
  Date expected;
};

class DateMonthStepTable : public ::testing::TestWithParam<MonthStepCase> {};

TEST_P(DateMonthStepTable, KeepsTheDayOrCutsItToMonthEnd) {
  EXPECT_EQ(AddMonths(GetParam().from, GetParam().months), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Date, DateMonthStepTable,
                         ::testing::Values(MonthStepCase{"Jan31LeapYear", {2024, 1, 31}, 1, {2024, 2, 29}},
                                           MonthStepCase{"Jan31CommonYear", {2023, 1, 31}, 1, {2023, 2, 28}},
                                           MonthStepCase{"Mar31Back", {2024, 3, 31}, -1, {2024, 2, 29}},
                                           MonthStepCase{"Dec15IntoNextYear", {2026, 12, 15}, 1, {2027, 1, 15}},
                                           MonthStepCase{"Jan15IntoLastYear", {2026, 1, 15}, -1, {2025, 12, 15}},
                                           MonthStepCase{"TwelveFromLeapDay", {2024, 2, 29}, 12, {2025, 2, 28}},
                                           MonthStepCase{"MinusThirteen", {2026, 1, 31}, -13, {2024, 12, 31}},
                                           MonthStepCase{"PastYear9999", {9999, 12, 1}, 1, {9999, 12, 31}}),
                         RowName<MonthStepCase>);

struct SpanCase {
  const char* name;
  Date from;
  Date to;
  int days;
};

class DateSpanTable : public ::testing::TestWithParam<SpanCase> {};

TEST_P(DateSpanTable, CountsWholeDaysBothWays) {
  EXPECT_EQ(DaysBetween(GetParam().from, GetParam().to), GetParam().days);
  EXPECT_EQ(AddDays(GetParam().from, GetParam().days), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(Date, DateSpanTable,
                         ::testing::Values(SpanCase{"LeapFebruary", {2024, 2, 28}, {2024, 3, 1}, 2},
                                           SpanCase{"YearEnd", {2025, 12, 31}, {2026, 1, 1}, 1},
                                           SpanCase{"LeapYear", {2024, 1, 1}, {2025, 1, 1}, 366},
                                           SpanCase{"Century1900", {1900, 1, 1}, {1901, 1, 1}, 365},
                                           SpanCase{"Backwards", {2026, 1, 1}, {2025, 12, 1}, -31},
                                           SpanCase{"FourCenturies", {2000, 1, 1}, {2400, 1, 1}, 146097}),
                         RowName<SpanCase>);

// Walks every day of years 1..9999 with a plain calendar step as the reference.
TEST(DateNumber, NumbersEveryDayOfTheCalendarInOrder) {
  Date expected{1, 1, 1};
  for (std::int64_t day = DayNumber(expected); expected.year <= 9999; ++day) {
    ASSERT_EQ(DayNumber(expected), day);
    ASSERT_EQ(DateFromDayNumber(day), expected);
    if (++expected.day > DaysInMonth(expected.year, expected.month)) expected = {expected.year, expected.month + 1, 1};
    if (expected.month > 12) expected = {expected.year + 1, 1, 1};
  }
  EXPECT_EQ(DayNumber({1970, 1, 1}), 0);
  EXPECT_EQ(AddDays({9999, 12, 31}, 1), (Date{9999, 12, 31}));
  EXPECT_EQ(AddDays({1, 1, 1}, -1), (Date{1, 1, 1}));
}

struct WeekdayCase {
  const char* name;
  Date date;
  int weekday;
};

class DateWeekdayTable : public ::testing::TestWithParam<WeekdayCase> {};

TEST_P(DateWeekdayTable, CountsFromSunday) { EXPECT_EQ(DayOfWeek(GetParam().date), GetParam().weekday); }

INSTANTIATE_TEST_SUITE_P(Date, DateWeekdayTable,
                         ::testing::Values(WeekdayCase{"Tuesday20261208", {2026, 12, 8}, 2},
                                           WeekdayCase{"Saturday20000101", {2000, 1, 1}, 6},
                                           WeekdayCase{"WednesdayBeforeEpoch", {1969, 12, 31}, 3},
                                           WeekdayCase{"MondayYearOne", {1, 1, 1}, 1}),
                         RowName<WeekdayCase>);

struct LongCase {
  const char* name;
  Date date;
  int hour;
  int minute;
  const char* expected;
};

class DateLongTable : public ::testing::TestWithParam<LongCase> {};

TEST_P(DateLongTable, SpellsOutDayMonthAndTwelveHourClock) {
  EXPECT_EQ(LongDateTime(GetParam().date, GetParam().hour, GetParam().minute), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Date, DateLongTable,
    ::testing::Values(LongCase{"Afternoon", {2026, 12, 8}, 14, 5, "Tuesday, December 8, 2026, 02:05 PM"},
                      LongCase{"Midnight", {2026, 12, 8}, 0, 0, "Tuesday, December 8, 2026, 12:00 AM"},
                      LongCase{"Noon", {2026, 12, 8}, 12, 0, "Tuesday, December 8, 2026, 12:00 PM"},
                      LongCase{"OnePm", {2026, 12, 8}, 13, 0, "Tuesday, December 8, 2026, 01:00 PM"},
                      LongCase{"BeforeNoon", {2026, 3, 5}, 11, 59, "Thursday, March 5, 2026, 11:59 AM"}),
    RowName<LongCase>);

TEST(DateLong, OmitsTheTime) { EXPECT_EQ(LongDate({2026, 3, 5}), "Thursday, March 5, 2026"); }

}  // namespace
}  // namespace model
