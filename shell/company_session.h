// What the program holds for the whole run: the current company, the buffer the
// company manager edits in, today's date as display text, the customer handed between
// windows, and the label queue with its pending flag. Windows receive it by
// reference; nothing here is global.
#pragma once

#include <string>

#include "model/dates.h"
#include "model/records.h"
#include "documents/label_queue.h"
#include "platform/clock.h"

namespace shell {

struct CompanySession {
  model::CompanyRecord CurrentCompany{};
  model::CompanyRecord EditCompany{};
  std::string TodayText;  // today in the company's date order
  // The customer the customer manager hands over when used as a picker; with
  // PositionOnSharedCustomer set, the manager opens on it.
  model::CustomerRecord SharedCustomer{};
  bool PositionOnSharedCustomer = false;
  documents::LabelQueue LabelQueue;
  bool LabelsPending = false;  // queued labels neither printed nor saved

  model::DateOrder DateOrder() const { return model::DateOrderFromCode(CurrentCompany.DateOrder.view()); }
};

model::Date TodayOf(const platform::Clock& clock);

// Sets TodayText from the clock in the current company's date order; called at start-up
// and after every company change.
void SetTodayText(CompanySession& session, const platform::Clock& clock);

// "dddd, mmmm d, yyyy, hh:mm AM/PM" for the status-bar clock.
std::string ClockText(const platform::Clock& clock);

}  // namespace shell
