// The rules behind the date selection dialog, kept apart from the window so they can
// be tested without a display: what its two labels read, which years its year list
// offers, and what a typed year does.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/dates.h"

namespace shell {

inline constexpr std::array<std::string_view, 12> kMonthEntries = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

struct DateLabels {
  std::string nDate;   // the result, as display-date text in the company's order
  std::string strDay;  // "dddd, mmmm d, yyyy"
};
DateLabels LabelsFor(const model::Date& date, model::DateOrder order);

// The calendar's year and three years either side.
std::vector<int> YearChoices(int calendarYear);

// Picking a month moves to its first day, so the day always exists in that month.
model::Date WithMonthPicked(const model::Date& calendar, int monthIndex);

struct YearEntry {
  enum class Action { kIgnore, kSetYear, kRestoreText };
  Action action = Action::kIgnore;
  int year = 0;  // the year to set, or the calendar's year to put back as the text
};
// Empty text is ignored (the user is still typing); text that is no whole number, or
// a year the calendar cannot show, gives way to the calendar's year.
YearEntry ReadYearEntry(std::string_view text, int calendarYear);

// The calendar moved to another year; 29 February becomes the 28th in a common year.
model::Date WithYear(const model::Date& calendar, int year);

}  // namespace shell
