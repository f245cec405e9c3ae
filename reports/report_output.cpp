#include "reports/report_output.h"

#include <fstream>

#include "model/dates.h"
#include "model/text.h"
#include "reports/report_generators.h"

namespace reports {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string_view Trimmed(std::string_view text) { return model::TrimBlanks(text); }

std::string CsvCell(std::string_view cell) {
  const std::string_view text = Trimmed(cell);
  if (IsNumberCell(text)) {
    std::string plain;
    for (char c : text) {
      if (c != ',') plain += c;
    }
    return plain;
  }
  if (const auto date = model::ParseSortableDate(text)) {
    std::string iso = model::SortableDate(*date);
    for (char& c : iso) {
      if (c == '/') c = '-';
    }
    return iso;
  }
  return CsvField(text);
}

}  // namespace

std::vector<std::string> TextFileLines(const ReportHeads& heads, const std::vector<GridRow>& grid) {
  std::vector<std::string> lines{heads.caption, heads.head1, heads.head2, heads.head3, " "};
  const Cells* headings = grid.empty() ? nullptr : &grid.front().cells;
  for (const GridRow& row : grid) {
    std::string line;
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const std::string_view cell = Trimmed(row.cells[column]);
      const bool description = headings && Trimmed(headings->at(column)) == "Product Description";
      line += ' ';
      line += IsNumberCell(cell) ? RightField(cell, 12) : LeftField(cell, description ? 32 : 12);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string CsvText(const std::vector<GridRow>& grid) {
  std::string text;
  for (const GridRow& row : grid) {
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      if (column) text += ',';
      text += CsvCell(row.cells[column]);
    }
    text += kLineEnd;
  }
  return text;
}

SaveFormat FormatOfFile(std::string_view path) {
  return path.size() >= 4 && model::ToUpperAscii(path.substr(path.size() - 4)) == ".CSV" ? SaveFormat::kCsv
                                                                                         : SaveFormat::kText;
}

std::string_view DefaultExtension(SaveFormat format) { return format == SaveFormat::kCsv ? "CSV" : "TXT"; }

std::string WithDefaultExtension(std::string_view path, SaveFormat format) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string_view::npos) return std::string(path);
  return std::string(path) + "." + std::string(DefaultExtension(format));
}

bool SaveReport(const std::string& path, SaveFormat format, const ReportHeads& heads, const std::vector<GridRow>& grid) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  if (format == SaveFormat::kCsv) {
    out << CsvText(grid);
  } else {
    for (const std::string& line : TextFileLines(heads, grid)) out << model::ToWindows1252(line) << kLineEnd;
  }
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace reports
