#include "shell/date_selection.h"

#include "model/text.h"

namespace shell {
namespace {

constexpr int kYearsEitherSide = 3;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

}  // namespace

DateLabels LabelsFor(const model::Date& date, model::DateOrder order) {
  return {model::FormatDisplayDate(date, order), model::LongDate(date)};
}

std::vector<int> YearChoices(int calendarYear) {
  std::vector<int> years;
  for (int year = calendarYear - kYearsEitherSide; year <= calendarYear + kYearsEitherSide; ++year) {
    years.push_back(year);
  }
  return years;
}

model::Date WithMonthPicked(const model::Date& calendar, int monthIndex) {
  return {calendar.year, monthIndex + 1, 1};
}

YearEntry ReadYearEntry(std::string_view text, int calendarYear) {
  if (model::TrimBlanks(text).empty()) return {};
  const std::optional<int> year = model::ParseWholeNumber(text);
  if (!year || *year < kFirstYear || *year > kLastYear) return {YearEntry::Action::kRestoreText, calendarYear};
  return {YearEntry::Action::kSetYear, *year};
}

model::Date WithYear(const model::Date& calendar, int year) {
  return model::AddMonths(calendar, (year - calendar.year) * 12);
}

}  // namespace shell
