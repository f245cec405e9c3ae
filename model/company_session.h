// What the program holds for the whole run: the company it works in and today's date
// in that company's date order. Windows and the logic receive it by reference; nothing
// here is global, and nothing else rides along with it.
#pragma once

#include <string>

#include "model/dates.h"
#include "model/records.h"
#include "platform/clock.h"

namespace model {

struct CompanySession {
  CompanyRecord CurrentCompany{};
  std::string TodayText;  // today in the company's date order

  model::DateOrder DateOrder() const { return DateOrderFromCode(CurrentCompany.DateOrder.raw()); }
};

Date TodayOf(const platform::Clock& clock);

// Sets TodayText from the clock in the current company's date order; called at start-up
// and after every company change.
void SetTodayText(CompanySession& session, const platform::Clock& clock);

// "dddd, mmmm d, yyyy, hh:mm AM/PM" for the status-bar clock.
std::string ClockText(const platform::Clock& clock);

}  // namespace model
