#include "shell/date_selection.h"

#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(DateSelection, LabelsPutTheDayFirstOnlyForDayFirstCompanies) {
  const model::Date fourthOfJuly{2026, 7, 4};
  EXPECT_EQ(LabelsFor(fourthOfJuly, model::DateOrder::kDayFirst).nDate, "04/07/2026");
  EXPECT_EQ(LabelsFor(fourthOfJuly, model::DateOrder::kMonthFirst).nDate, "07/04/2026");
  EXPECT_EQ(LabelsFor(fourthOfJuly, model::DateOrder::kMonthFirst).strDay, "Saturday, July 4, 2026");
}

TEST(DateSelection, YearListHoldsThreeYearsEitherSide) {
  EXPECT_EQ(YearChoices(2026), (std::vector<int>{2023, 2024, 2025, 2026, 2027, 2028, 2029}));
}

TEST(DateSelection, PickingAMonthOnThe31stMovesToThe1st) {
  EXPECT_EQ(WithMonthPicked({2026, 1, 31}, 1), (model::Date{2026, 2, 1}));
}

TEST(DateSelection, ChangingTheYearKeepsTheDayWhereItExists) {
  EXPECT_EQ(WithYear({2024, 2, 29}, 2025), (model::Date{2025, 2, 28}));
  EXPECT_EQ(WithYear({2024, 7, 31}, 2019), (model::Date{2019, 7, 31}));
}

TEST(DateSelection, TypedYearRules) {
  using Action = YearEntry::Action;
  struct Case {
    const char* text;
    Action action;
    int year;
  };
  for (const Case& c : {Case{"", Action::kIgnore, 0}, Case{"  ", Action::kIgnore, 0},
                        Case{"2031", Action::kSetYear, 2031}, Case{" 1999 ", Action::kSetYear, 1999},
                        Case{"20x6", Action::kRestoreText, 2026}, Case{"2026.5", Action::kRestoreText, 2026},
                        Case{"0", Action::kRestoreText, 2026}, Case{"10000", Action::kRestoreText, 2026},
                        Case{"99999999999", Action::kRestoreText, 2026}}) {
    SCOPED_TRACE(c.text);
    const YearEntry entry = ReadYearEntry(c.text, 2026);
    EXPECT_EQ(entry.action, c.action);
    EXPECT_EQ(entry.year, c.year);
  }
}

}  // namespace
}  // namespace shell
