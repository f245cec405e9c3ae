// The report window's rows: sorting on a column, sub-totals, month totals and the
// grand total, the caption that names the sort, and which cells count as numbers.
// The window shows what these build and nothing else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reports/report_kinds.h"

namespace reports {

using Cells = std::vector<std::string>;

// What the generator built: the heading row first, then one row per record.
struct ReportTable {
  std::vector<Cells> rows;
};

enum class RowKind { kHeading, kData, kSubTotal, kMonthTotal, kBlank, kGrandTotal };

struct GridRow {
  RowKind kind = RowKind::kData;
  Cells cells;
  bool IsTotal() const { return kind == RowKind::kSubTotal || kind == RowKind::kMonthTotal || kind == RowKind::kGrandTotal; }
};

// Text holding "." whose part up to the first point or comma reads as a whole number:
// "1,249.50", "-3.000". Dates and "31 Days" are not numbers.
bool IsNumberCell(std::string_view cell);

// Brings `column` to the front of every row and sorts the data rows as text, case
// ignored, the heading staying on top. False, with the table untouched, for a column
// past the report's last sortable one or a table without data rows.
bool SortOnColumn(const ReportKind& kind, ReportTable& table, int column);

// The grid rows for a sorted table: data rows, with sub-totals (and month totals for a
// date column) when asked, then a blank row and the grand total.
std::vector<GridRow> WithTotals(const ReportKind& kind, const ReportTable& table, bool subTotals);

// "Invoice Register by Date", "Key Code Inquiry by Key Code".
std::string CaptionFor(const ReportKind& kind, std::string_view firstHeading);

}  // namespace reports
