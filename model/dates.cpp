#include "model/dates.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace model {
namespace {

constexpr Date kFirstDate{1, 1, 1};
constexpr Date kLastDate{9999, 12, 31};

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                          "May",       "June",     "July",     "August",
                                                          "September", "October",  "November", "December"};

std::string_view Trimmed(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

std::optional<int> ReadDigits(std::string_view text, std::size_t minLength, std::size_t maxLength) {
  if (text.size() < minLength || text.size() > maxLength) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

struct DateParts {
  std::string_view first, second, third;
};

std::optional<DateParts> SplitAtSlashes(std::string_view text) {
  const std::size_t firstSlash = text.find('/');
  if (firstSlash == std::string_view::npos) return std::nullopt;
  const std::size_t secondSlash = text.find('/', firstSlash + 1);
  if (secondSlash == std::string_view::npos || text.find('/', secondSlash + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  return DateParts{text.substr(0, firstSlash), text.substr(firstSlash + 1, secondSlash - firstSlash - 1),
                   text.substr(secondSlash + 1)};
}

std::optional<Date> ValidDate(std::optional<int> year, std::optional<int> month, std::optional<int> day) {
  if (!year || !month || !day) return std::nullopt;
  const Date date{*year, *month, *day};
  if (!IsValidDate(date)) return std::nullopt;
  return date;
}

std::string Padded(int value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string_view MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month - 1)] : std::string_view();
}

}  // namespace

DateOrder DateOrderFromCode(std::string_view letterCode) {
  const std::string_view code = Trimmed(letterCode);
  return code == "D" || code == "d" ? DateOrder::kDayFirst : DateOrder::kMonthFirst;
}

std::string_view DatePattern(DateOrder order) { return order == DateOrder::kDayFirst ? "dd/mm/yyyy" : "mm/dd/yyyy"; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[static_cast<std::size_t>(month - 1)];
}

bool IsValidDate(const Date& date) {
  return date.year >= 1 && date.year <= 9999 && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

std::optional<Date> ParseDisplayDate(std::string_view text, DateOrder order) {
  const auto parts = SplitAtSlashes(Trimmed(text));
  if (!parts) return std::nullopt;
  const auto first = ReadDigits(parts->first, 1, 2);
  const auto second = ReadDigits(parts->second, 1, 2);
  const auto year = ReadDigits(parts->third, 4, 4);
  return order == DateOrder::kDayFirst ? ValidDate(year, second, first) : ValidDate(year, first, second);
}

std::string FormatDisplayDate(const Date& date, DateOrder order) {
  const std::string month = Padded(date.month, 2);
  const std::string day = Padded(date.day, 2);
  const std::string year = Padded(date.year, 4);
  return order == DateOrder::kDayFirst ? day + "/" + month + "/" + year : month + "/" + day + "/" + year;
}

std::string SortableDate(const Date& date) {
  return Padded(date.year, 4) + "/" + Padded(date.month, 2) + "/" + Padded(date.day, 2);
}

std::optional<Date> ParseSortableDate(std::string_view text) {
  const auto parts = SplitAtSlashes(Trimmed(text));
  if (!parts) return std::nullopt;
  return ValidDate(ReadDigits(parts->first, 4, 4), ReadDigits(parts->second, 2, 2), ReadDigits(parts->third, 2, 2));
}

// Counts in 400-year eras of a year that starts on March 1, so the leap day falls last.
std::int64_t DayNumber(const Date& date) {
  const std::int64_t year = date.month <= 2 ? std::int64_t{date.year} - 1 : date.year;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
  const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

Date DateFromDayNumber(std::int64_t day) {
  day = std::clamp(day, DayNumber(kFirstDate), DayNumber(kLastDate)) + 719468;
  const std::int64_t era = FloorDiv(day, 146097);
  const std::int64_t dayOfEra = day - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1)};
}

int DaysBetween(const Date& from, const Date& to) { return static_cast<int>(DayNumber(to) - DayNumber(from)); }

Date AddDays(const Date& date, int days) { return DateFromDayNumber(DayNumber(date) + days); }

Date AddMonths(const Date& date, int months) {
  const std::int64_t monthIndex = std::int64_t{date.year} * 12 + (date.month - 1) + months;
  const std::int64_t year = FloorDiv(monthIndex, 12);
  if (year < kFirstDate.year) return kFirstDate;
  if (year > kLastDate.year) return kLastDate;
  Date moved{static_cast<int>(year), static_cast<int>(FloorMod(monthIndex, 12)) + 1, date.day};
  moved.day = std::min(moved.day, DaysInMonth(moved.year, moved.month));
  return moved;
}

int DayOfWeek(const Date& date) {
  constexpr int kThursday = 4;  // 1970-01-01, day 0
  return static_cast<int>(FloorMod(DayNumber(date) + kThursday, 7));
}

std::string LongDate(const Date& date) {
  return std::string(kDayNames[static_cast<std::size_t>(DayOfWeek(date))]) + ", " + std::string(MonthName(date.month)) +
         " " + std::to_string(date.day) + ", " + std::to_string(date.year);
}

std::string LongDateTime(const Date& date, int hour, int minute) {
  hour = static_cast<int>(FloorMod(hour, 24));
  const int clockHour = hour % 12 == 0 ? 12 : hour % 12;
  return LongDate(date) + ", " + Padded(clockHour, 2) + ":" + Padded(std::clamp(minute, 0, 59), 2) +
         (hour < 12 ? " AM" : " PM");
}

}  // namespace model
