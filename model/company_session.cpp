#include "model/company_session.h"

namespace model {

Date TodayOf(const platform::Clock& clock) {
  const platform::LocalDateTime now = clock.Now();
  return {now.year, now.month, now.day};
}

void SetTodayText(CompanySession& session, const platform::Clock& clock) {
  session.TodayText = FormatDisplayDate(TodayOf(clock), session.DateOrder());
}

std::string ClockText(const platform::Clock& clock) {
  const platform::LocalDateTime now = clock.Now();
  return LongDateTime({now.year, now.month, now.day}, now.hour, now.minute);
}

}  // namespace model
