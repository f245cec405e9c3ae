#include "reports/report_grid.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "model/money.h"
#include "model/text.h"

namespace reports {

namespace {

std::string Trimmed(std::string_view text) { return std::string(model::TrimBlanks(text)); }

std::string LowerJoined(const Cells& cells) {
  std::string joined;
  for (const std::string& cell : cells) {
    for (char c : cell) joined += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    joined += ' ';
  }
  return joined;
}

bool IsDateHeading(std::string_view heading) {
  return heading.find("Date") != std::string_view::npos || heading.find("Year/Mo") != std::string_view::npos;
}

// "2026/12/08" gives "(12/2026)"; anything shorter gives itself, so it still groups.
std::string MonthOf(std::string_view sortable) {
  const std::string date = Trimmed(sortable);
  if (date.size() < 7) return date;
  return "(" + date.substr(5, 2) + "/" + date.substr(0, 4) + ")";
}

// The sums of one block of rows: money columns to the cent, the Sales Report's
// quantity to a thousandth.
class Sums {
 public:
  explicit Sums(const ReportKind& kind) : kind_(&kind), values_(kind.lastSumColumn - kind.firstSumColumn + 1) {}

  void Add(const Cells& cells) {
    for (int column = kind_->firstSumColumn; column <= kind_->lastSumColumn; ++column) {
      const auto value = model::ParseDecimal(cells.at(static_cast<std::size_t>(column)));
      if (value) values_[static_cast<std::size_t>(column - kind_->firstSumColumn)] += value->Rounded(Places(column));
    }
  }

  GridRow Row(RowKind kind, std::size_t width, std::string label, std::string month = {}) const {
    GridRow row{kind, Cells(width)};
    row.cells.at(static_cast<std::size_t>(kind_->labelColumn)) = std::move(label);
    if (!month.empty()) row.cells.at(static_cast<std::size_t>(kind_->labelColumn - 1)) = std::move(month);
    for (int column = kind_->firstSumColumn; column <= kind_->lastSumColumn; ++column) {
      const std::int64_t units = values_[static_cast<std::size_t>(column - kind_->firstSumColumn)];
      row.cells.at(static_cast<std::size_t>(column)) =
          Places(column) == 3 ? model::FormatDecimal({units, 3}, ",0.000") : model::FormatDecimal({units, 2}, ",0.00");
    }
    return row;
  }

 private:
  int Places(int column) const { return kind_->quantityColumn && column == kind_->firstSumColumn ? 3 : 2; }

  const ReportKind* kind_;
  std::vector<std::int64_t> values_;
};

}  // namespace

bool IsNumberCell(std::string_view cell) {
  const std::string_view text = model::TrimBlanks(cell);
  if (text.find('.') == std::string_view::npos) return false;
  std::string_view whole = text.substr(0, text.find_first_of(".,"));
  if (!whole.empty() && (whole.front() == '-' || whole.front() == '+')) whole.remove_prefix(1);
  return !whole.empty() && std::all_of(whole.begin(), whole.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool SortOnColumn(const ReportKind& kind, ReportTable& table, int column) {
  if (table.rows.size() <= 1 || column < 0 || column > kind.lastSortable) return false;
  // The table holds no total or blank rows, so every row takes part in the exchange.
  for (Cells& row : table.rows) std::swap(row.at(0), row.at(static_cast<std::size_t>(column)));
  // Each row's text is folded once: folding it in every comparison took most of the
  // time of a year's register.
  std::vector<std::pair<std::string, std::size_t>> keyed;
  keyed.reserve(table.rows.size() - 1);
  for (std::size_t i = 1; i < table.rows.size(); ++i) keyed.emplace_back(LowerJoined(table.rows[i]), i);
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Cells> sorted;
  sorted.reserve(table.rows.size());
  sorted.push_back(std::move(table.rows.front()));
  for (const auto& [key, index] : keyed) sorted.push_back(std::move(table.rows[index]));
  table.rows = std::move(sorted);
  return true;
}

std::vector<GridRow> WithTotals(const ReportKind& kind, const ReportTable& table, bool subTotals) {
  std::vector<GridRow> grid;
  if (table.rows.empty()) return grid;
  const std::size_t width = table.rows.front().size();
  grid.push_back({RowKind::kHeading, table.rows.front()});
  const bool byMonth = subTotals && kind.monthTotals && IsDateHeading(table.rows.front().at(0));
  Sums group(kind), month(kind), grand(kind);
  const auto blank = [&] { grid.push_back({RowKind::kBlank, Cells(width)}); };
  const auto closeGroup = [&] {
    grid.push_back(group.Row(RowKind::kSubTotal, width, "** Totals"));
    blank();
    group = Sums(kind);
  };
  const auto closeMonth = [&](const std::string& label) {
    grid.push_back(month.Row(RowKind::kMonthTotal, width, "Month Total", label));
    blank();
    month = Sums(kind);
  };
  for (std::size_t i = 1; i < table.rows.size(); ++i) {
    const Cells& row = table.rows[i];
    if (i > 1 && subTotals) {
      const Cells& previous = table.rows[i - 1];
      if (Trimmed(previous.at(0)) != Trimmed(row.at(0))) closeGroup();
      if (byMonth && MonthOf(previous.at(0)) != MonthOf(row.at(0))) closeMonth(MonthOf(previous.at(0)));
    }
    grid.push_back({RowKind::kData, row});
    group.Add(row);
    month.Add(row);
    grand.Add(row);
  }
  if (subTotals && table.rows.size() > 1) {
    closeGroup();
    if (byMonth) closeMonth(MonthOf(table.rows.back().at(0)));
  }
  if (!subTotals || table.rows.size() <= 1) blank();
  grid.push_back(grand.Row(RowKind::kGrandTotal, width, "Grand Total"));
  return grid;
}

std::string CaptionFor(const ReportKind& kind, std::string_view firstHeading) {
  const std::string heading = Trimmed(firstHeading);
  if (heading.find("Year/Mo") != std::string::npos) return std::string(kind.name) + " by Date";
  return std::string(kind.name) + " by " + heading;
}

}  // namespace reports
