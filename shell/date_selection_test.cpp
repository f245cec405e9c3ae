#include "shell/date_selection.h"

#include <gtest/gtest.h>

namespace shell {
namespace {

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
