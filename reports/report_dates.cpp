#include "reports/report_dates.h"

#include <array>
#include <cstdio>

namespace reports {

namespace {

constexpr std::array<std::string_view, 11> kChoices{
    "Current Month", "Current Year",  "Custom Dates",   "Last 12 Months", "Last 30 Days", "Last 60 Days",
    "Last 90 Days",  "Month to Date", "Previous Month", "Previous Year",  "Year to Date"};

std::string Two(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// "mm/dd/yyyy" from its parts, turned day first when asked.
std::string MonthFirst(int month, int day, int year, bool swap) {
  const std::string yyyy = std::to_string(year);
  return swap ? Two(day) + "/" + Two(month) + "/" + yyyy : Two(month) + "/" + Two(day) + "/" + yyyy;
}

DateRange WholeMonth(int year, int month, bool dayFirst) {
  return {MonthFirst(month, 1, year, dayFirst), MonthFirst(month, model::DaysInMonth(year, month), year, dayFirst)};
}

}  // namespace

std::span<const std::string_view> DateChoices() { return kChoices; }

DateRange ApplyDateChoice(std::string_view choice, const model::Date& today, model::DateOrder order,
                          const DateRange& current) {
  const bool dayFirst = order == model::DateOrder::kDayFirst;
  const std::string todayText = model::FormatDisplayDate(today, order);
  const auto daysBack = [&](int days) {
    return DateRange{model::FormatDisplayDate(model::AddDays(today, -days), order), todayText};
  };
  const int y = today.year, m = today.month, d = today.day;
  if (choice == "Month to Date") return {MonthFirst(m, 1, y, dayFirst), MonthFirst(m, d, y, dayFirst)};
  if (choice == "Year to Date") return {MonthFirst(1, 1, y, dayFirst), todayText};
  if (choice == "Last 30 Days") return daysBack(30);
  if (choice == "Last 60 Days") return daysBack(60);
  if (choice == "Last 90 Days") return daysBack(90);
  if (choice == "Last 12 Months") return {MonthFirst(m, d, y - 1, dayFirst), todayText};
  if (choice == "Current Year") return {MonthFirst(1, 1, y, false), MonthFirst(12, 31, y, dayFirst)};
  if (choice == "Previous Year") return {MonthFirst(1, 1, y - 1, false), MonthFirst(12, 31, y - 1, dayFirst)};
  if (choice == "Current Month") return WholeMonth(y, m, dayFirst);
  if (choice == "Previous Month") return m == 1 ? WholeMonth(y - 1, 12, dayFirst) : WholeMonth(y, m - 1, dayFirst);
  return current;
}

DateField CheckDates(const DateRange& range, model::DateOrder order, platform::Dialogs& dialogs) {
  const auto from = model::ParseDisplayDate(range.from, order);
  if (!from) {
    dialogs.inform("FROM Date",
                   "You have an invalid beginning date. You can clear the date and then select the calendar button.",
                   platform::Icon::kWarning);
    return DateField::kFrom;
  }
  const auto to = model::ParseDisplayDate(range.to, order);
  if (!to) {
    dialogs.inform("TO Date",
                   "You have an invalid ending date. You can clear the date and then select the calendar button.",
                   platform::Icon::kWarning);
    return DateField::kTo;
  }
  if (*to < *from) {
    dialogs.inform("FROM Date", "Your beginning date is not older than your ending date.", platform::Icon::kWarning);
    return DateField::kFrom;
  }
  return DateField::kNone;
}

}  // namespace reports
