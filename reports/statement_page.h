// The printed statement: the company's page head, the customer's address, the
// activity rows flowing over as many pages as needed, the totals, the sales message
// with the customer's notes and the customer's aging at the foot.
#pragma once

#include <string_view>

#include "model/records.h"
#include "platform/page_canvas.h"
#include "reports/statement.h"

namespace reports {

inline constexpr std::string_view kStatementJobTitle = "Statement";

// One print job; false when it could not start or finish. `today` is the statement
// date as the company writes dates.
bool PrintStatement(const Statement& statement, const model::CompanyRecord& company, std::string_view today,
                    platform::PageCanvas& canvas);

}  // namespace reports
