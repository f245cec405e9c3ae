#include "reports/report_print.h"

#include <algorithm>

#include "model/text.h"

namespace reports {

namespace {

std::string_view Trimmed(std::string_view text) { return model::TrimBlanks(text); }

struct Layout {
  std::vector<int> left, width;
};

// Right-aligned columns take the width of the largest amount; the others their widest
// text, each followed by a gap of "Xx".
Layout LayoutColumns(const ReportKind& kind, const std::vector<GridRow>& grid, platform::PageCanvas& canvas) {
  Layout layout;
  const std::size_t columns = grid.empty() ? 0 : grid.front().cells.size();
  const int gap = canvas.TextWidth("Xx");
  int x = 0;
  for (std::size_t column = 0; column < columns; ++column) {
    int widest = 0;
    for (const GridRow& row : grid) widest = std::max(widest, canvas.TextWidth(Trimmed(row.cells[column])));
    const bool rightColumn = static_cast<int>(column) > kind.lastSortable &&
                             static_cast<int>(column) <= kind.lastRightAligned;
    if (rightColumn) widest = std::max(widest, canvas.TextWidth("9,999,999.99"));
    layout.left.push_back(x);
    layout.width.push_back(widest);
    x += widest + gap;
  }
  return layout;
}

bool RightAligned(const ReportKind& kind, int column, std::string_view cell) {
  return IsNumberCell(cell) || (column > kind.lastSortable && column <= kind.lastRightAligned);
}

}  // namespace

int PrintReport(const ReportKind& kind, const ReportHeads& heads, const std::string& longDate,
                const std::vector<GridRow>& grid, platform::PageCanvas& canvas) {
  if (!canvas.BeginDocument(kind.title, platform::Orientation::kLandscape)) return 0;
  platform::FontSpec plain;
  platform::FontSpec bold = plain;
  bold.bold = true;
  canvas.SetFont(plain);
  const Layout layout = LayoutColumns(kind, grid, canvas);
  const int line = canvas.TextHeight("Xy") * 5 / 4;
  const int margin = line * 2;
  int page = 0;
  int y = 0;
  const auto head = [&] {
    ++page;
    y = margin;
    canvas.SetFont(bold);
    canvas.DrawText(0, y, heads.caption);
    canvas.SetFont(plain);
    canvas.DrawText(canvas.PageWidth() - 500, y, "Page " + std::to_string(page));
    y += line;
    canvas.DrawText(0, y, "Date: " + longDate);
    y += line;
    for (const std::string& text : {heads.head1, heads.head3}) {
      canvas.DrawText(0, y, text);
      y += line;
    }
    y += line;
  };
  head();
  for (const GridRow& row : grid) {
    if (y + 2 * line > canvas.PageHeight() - margin) {
      canvas.DrawText(0, y + line, "Continued on page " + std::to_string(page + 1) + " ...");
      canvas.NewPage();
      head();
    }
    canvas.SetFont(row.IsTotal() || row.kind == RowKind::kHeading ? bold : plain);
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const std::string_view cell = Trimmed(row.cells[column]);
      const int x = RightAligned(kind, static_cast<int>(column), cell)
                        ? layout.left[column] + layout.width[column] - canvas.TextWidth(cell)
                        : layout.left[column];
      canvas.DrawText(x, y, cell);
    }
    y += line;
  }
  canvas.SetFont(plain);
  canvas.DrawText(0, y + line, PrintedNote(grid));
  return canvas.EndDocument() ? page : 0;
}

std::string PrintedNote(const std::vector<GridRow>& grid) {
  return ReportCompleteNote(grid.empty() ? 0 : grid.size() - 1);
}

std::string ReportCompleteNote(std::size_t records) {
  return "Report Complete. " + std::to_string(records) + " records printed.";
}

}  // namespace reports
