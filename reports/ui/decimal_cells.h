// The look the statement grid and the report grid share: rows as high as the font
// needs, and amount cells drawn with their decimal points in one line. The part before
// the point ends where the room for the decimals and a small gap before the cell's
// right edge begin, so "0.00" and "1.500" share a point.
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace reports::ui {

inline constexpr int kPointGap = 4;  // pixels between the decimals and the cell's right edge

// Where the two parts of an amount go in its cell.
struct DecimalSplit {
  QRect whole;     // the digits before the point, drawn right-aligned
  QRect fraction;  // the point and the decimals, drawn left-aligned
};

// `decimals` is the widest point-and-decimals the grid shows: ".00", or ".000" where
// quantities are shown.
DecimalSplit SplitAtPoint(const QRect& cell, const QFontMetrics& metrics, const QString& decimals);

// Sets the grid's font with rows as high as that font needs, so a long list shows
// many rows at once.
void SetGridFont(QTableView& grid, const QFont& font);

class DecimalDelegate final : public QStyledItemDelegate {
 public:
  // Which cells holding a point are drawn split at it; the others are drawn as usual.
  using Wanted = std::function<bool(const QModelIndex& index, const QString& text)>;

  DecimalDelegate(QObject* parent, QString decimals, Wanted wanted);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  QString decimals_;
  Wanted wanted_;
};

}  // namespace reports::ui
