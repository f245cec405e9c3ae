// A shown report written out: the plain text file in its documented layout
// (Windows-1252, one line per grid row) and, as an addition, a CSV file (UTF-8,
// RFC 4180) with plain numbers and ISO dates for spreadsheets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reports/report_grid.h"

namespace reports {

struct ReportHeads {
  std::string caption, head1, head2, head3;
};

// The text file's lines: caption, the three heads, a line of one blank, then each row
// with every cell after one blank, as a right field of 12 for a number, a left field of
// 12 otherwise and a left field of 32 in the "Product Description" column.
std::vector<std::string> TextFileLines(const ReportHeads& heads, const std::vector<GridRow>& grid);

// One CSV record per grid row, CRLF-ended: numbers without separators ("1249.50"),
// "yyyy/mm/dd" dates as "yyyy-mm-dd", other cells trimmed.
std::string CsvText(const std::vector<GridRow>& grid);

// A field quoted when it holds a comma, a quote or a line break; quotes doubled.
std::string CsvField(std::string_view text);

enum class SaveFormat { kText, kCsv };
// The format a chosen file name asks for: ".CSV" in any case is CSV.
SaveFormat FormatOfFile(std::string_view path);
// The extension the save dialog adds to a name typed without one: "TXT" or "CSV".
std::string_view DefaultExtension(SaveFormat format);
// The name a file is saved under: a name whose last part holds no "." gets the format's
// default extension, as the save dialog adds it before asking about overwriting.
std::string WithDefaultExtension(std::string_view path, SaveFormat format);

// Writes the file; false when it could not be written.
bool SaveReport(const std::string& path, SaveFormat format, const ReportHeads& heads, const std::vector<GridRow>& grid);

}  // namespace reports
