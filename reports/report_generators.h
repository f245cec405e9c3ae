// The seven report generators: each walks the current company's invoice (or detail)
// file over the documented key and range, selects its records and builds the report's
// rows as fixed-width cells. Messages for an empty result go through the Dialogs port.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "files/services.h"
#include "model/dates.h"
#include "reports/report_dates.h"
#include "reports/report_grid.h"
#include "reports/report_kinds.h"

namespace reports {

struct Report {
  const ReportKind* kind = nullptr;
  std::string head1, head2, head3;
  ReportTable table;
  // Records whose amounts were not numbers; they show "0.00".
  std::vector<engine::RecordNumber> damaged;
};

// A left field: padded on the right to `width`, never cut.
std::string LeftField(std::string_view text, std::size_t width);
// A right field: padded on the left to `width`, then cut to its first `width` characters.
std::string RightField(std::string_view text, std::size_t width);

// The report over `range` (checked already), or nullopt after the report's message
// when nothing was selected or the file could not be opened. `asOf` takes the Accounts
// Receivable report back to the end of that day, the rule of books/aging_as_of.h; as of
// today it lists what it lists without. The other reports do not use it.
std::optional<Report> GenerateReport(const files::Services& services, const ReportKind& kind, const DateRange& range,
                                     const std::optional<model::Date>& asOf = std::nullopt);

// "Records with damaged amounts shown as 0.00: 4, 17"; empty when there are none.
std::string DamagedNote(const std::vector<engine::RecordNumber>& damaged);

}  // namespace reports
