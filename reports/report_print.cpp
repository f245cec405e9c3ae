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

// Page breaks as on the printed statement: no row starts below this distance from the
// bottom, and the note naming the next page sits lower still.
constexpr int kRowLimitFromBottom = 250;
constexpr int kContinuedFromBottom = 100;

class ReportPrinter {
 public:
  ReportPrinter(const ReportKind& kind, const ReportHeads& heads, const std::string& longDate,
                const std::vector<GridRow>& grid, platform::PageCanvas& canvas)
      : kind_(kind), heads_(heads), longDate_(longDate), grid_(grid), canvas_(canvas) {
    bold_.bold = true;
    canvas_.SetFont(plain_);
    layout_ = LayoutColumns(kind_, grid_, canvas_);
    line_ = canvas_.TextHeight("Xy") * 5 / 4;
  }

  // The number of pages printed.
  int Print() {
    Head();
    for (std::size_t i = 0; i < grid_.size(); ++i) {
      if (i > 0 && y_ > canvas_.PageHeight() - kRowLimitFromBottom) NextPage();
      Row(grid_[i]);
    }
    canvas_.SetFont(plain_);
    canvas_.DrawText(0, y_ + line_, PrintedNote(grid_));
    return page_;
  }

 private:
  void Head() {
    ++page_;
    y_ = 2 * line_;
    canvas_.SetFont(bold_);
    canvas_.DrawText(0, y_, heads_.caption);
    canvas_.SetFont(plain_);
    canvas_.DrawText(canvas_.PageWidth() - 500, y_, "Page " + std::to_string(page_));
    y_ += line_;
    canvas_.DrawText(0, y_, "Date: " + longDate_);
    y_ += line_;
    for (const std::string& text : {heads_.head1, heads_.head3}) {
      canvas_.DrawText(0, y_, text);
      y_ += line_;
    }
    y_ += line_;
  }

  // A continued page starts with the column headings again.
  void NextPage() {
    canvas_.SetFont(plain_);
    canvas_.DrawText(0, canvas_.PageHeight() - kContinuedFromBottom,
                     "Continued on page " + std::to_string(page_ + 1) + " ...");
    canvas_.NewPage();
    Head();
    if (grid_.front().kind == RowKind::kHeading) Row(grid_.front());
  }

  void Row(const GridRow& row) {
    canvas_.SetFont(row.IsTotal() || row.kind == RowKind::kHeading ? bold_ : plain_);
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const std::string_view cell = Trimmed(row.cells[column]);
      const int x = RightAligned(kind_, static_cast<int>(column), cell)
                        ? layout_.left[column] + layout_.width[column] - canvas_.TextWidth(cell)
                        : layout_.left[column];
      canvas_.DrawText(x, y_, cell);
    }
    y_ += line_;
  }

  const ReportKind& kind_;
  const ReportHeads& heads_;
  const std::string& longDate_;
  const std::vector<GridRow>& grid_;
  platform::PageCanvas& canvas_;
  platform::FontSpec plain_, bold_;
  Layout layout_;
  int line_ = 0;
  int page_ = 0;
  int y_ = 0;
};

}  // namespace

int PrintReport(const ReportKind& kind, const ReportHeads& heads, const std::string& longDate,
                const std::vector<GridRow>& grid, platform::PageCanvas& canvas) {
  if (!canvas.BeginDocument(kind.title, platform::Orientation::kLandscape)) return 0;
  const int pages = ReportPrinter(kind, heads, longDate, grid, canvas).Print();
  return canvas.EndDocument() ? pages : 0;
}

std::string PrintedNote(const std::vector<GridRow>& grid) {
  return ReportCompleteNote(grid.empty() ? 0 : grid.size() - 1);
}

std::string ReportCompleteNote(std::size_t records) {
  return "Report Complete. " + std::to_string(records) + " records printed.";
}

}  // namespace reports
