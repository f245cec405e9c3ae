// Calendar dates as the company shows them, as keys sort them, and day arithmetic.
//
// Screens and records use the company's date order ("mm/dd/yyyy" or "dd/mm/yyyy"); keys use
// "yyyy/mm/dd" so that text order is date order. Dates run from year 1 to 9999.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace model {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

enum class DateOrder { kMonthFirst, kDayFirst };

// The company's letter code: "D" (either case, blanks around allowed) is day first, anything else month first.
DateOrder DateOrderFromCode(std::string_view letterCode);
std::string_view DatePattern(DateOrder order);

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
bool IsValidDate(const Date& date);

// Outer blanks are trimmed; month and day take 1 or 2 digits, the year exactly 4, and the
// result must be a real calendar day.
std::optional<Date> ParseDisplayDate(std::string_view text, DateOrder order);
std::string FormatDisplayDate(const Date& date, DateOrder order);

std::string SortableDate(const Date& date);
// Only the zero-padded "yyyy/mm/dd" that SortableDate writes; outer blanks trimmed.
std::optional<Date> ParseSortableDate(std::string_view text);

// Days since 1970-01-01 (day 0).
std::int64_t DayNumber(const Date& date);
// Days outside years 1..9999 are held at the nearest end of that range.
Date DateFromDayNumber(std::int64_t day);
int DaysBetween(const Date& from, const Date& to);
Date AddDays(const Date& date, int days);
// The day is cut back to the target month's last day: Jan 31 + 1 month is Feb 28 or 29.
Date AddMonths(const Date& date, int months);
// 0 = Sunday .. 6 = Saturday.
int DayOfWeek(const Date& date);

// "Tuesday, December 8, 2026".
std::string LongDate(const Date& date);
// "Tuesday, December 8, 2026, 02:05 PM"; the hour is taken modulo 24, the minute held to 0..59.
std::string LongDateTime(const Date& date, int hour, int minute);

}  // namespace model
