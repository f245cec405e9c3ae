// The report wizard's date range: the eleven quick choices worked out from today, and
// the checks a range passes before any file is read.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/dates.h"
#include "platform/dialogs.h"

namespace reports {

struct DateRange {
  std::string from, to;  // display dates in the company's order
};

// The choices as the sorted pick list shows them.
std::span<const std::string_view> DateChoices();
inline constexpr std::string_view kCustomDates = "Custom Dates";
inline constexpr std::string_view kMonthToDate = "Month to Date";

// The range for `choice` on `today`; "Custom Dates" and unknown choices keep `current`.
DateRange ApplyDateChoice(std::string_view choice, const model::Date& today, model::DateOrder order,
                          const DateRange& current);

enum class DateField { kNone, kFrom, kTo };

// Shows the message for the first fault and names the field to focus; kNone when the
// range may be used. Equal dates are a valid range.
DateField CheckDates(const DateRange& range, model::DateOrder order, platform::Dialogs& dialogs);

}  // namespace reports
