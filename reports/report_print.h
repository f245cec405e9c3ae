// The shown report on paper: per page the title, the page number, the long date and
// the heading lines, then the grid rows in columns sized to their widest text, with
// number cells right-aligned, "Continued on page" at each break and the column
// headings again at the top of the next page.
#pragma once

#include <string>
#include <vector>

#include "platform/page_canvas.h"
#include "reports/report_grid.h"
#include "reports/report_kinds.h"
#include "reports/report_output.h"

namespace reports {

// Prints the rows; the number of pages printed, 0 when the job could not be made.
int PrintReport(const ReportKind& kind, const ReportHeads& heads, const std::string& longDate,
                const std::vector<GridRow>& grid, platform::PageCanvas& canvas);

// "Report Complete. 12 records printed.": the rows less the heading.
std::string PrintedNote(const std::vector<GridRow>& grid);
// The closing line of every printed report, for `records` records.
std::string ReportCompleteNote(std::size_t records);

}  // namespace reports
