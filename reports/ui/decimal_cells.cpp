#include "reports/ui/decimal_cells.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

namespace reports::ui {

void SetGridFont(QTableView& grid, const QFont& font) {
  grid.setFont(font);
  grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid.verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
}

namespace {

// The cell's own text colour: the grid's, or the item's when it has one, and the
// highlight's text colour when selected.
QColor TextColor(const QStyleOptionViewItem& cell) {
  QPalette::ColorGroup group = QPalette::Disabled;
  if (cell.state & QStyle::State_Enabled) {
    group = cell.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
  }
  return cell.palette.color(group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text);
}

}  // namespace

DecimalSplit SplitAtPoint(const QRect& cell, const QFontMetrics& metrics, const QString& decimals) {
  const int pointX = cell.right() - metrics.horizontalAdvance(decimals) - kPointGap;
  return {QRect(cell.left(), cell.top(), pointX - cell.left(), cell.height()),
          QRect(pointX, cell.top(), cell.right() - pointX, cell.height())};
}

DecimalDelegate::DecimalDelegate(QObject* parent, QString decimals, Wanted wanted)
    : QStyledItemDelegate(parent), decimals_(std::move(decimals)), wanted_(std::move(wanted)) {}

void DecimalDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QString text = index.data().toString();
  const qsizetype point = text.indexOf('.');
  if (point < 0 || !wanted_(index, text)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  cell.text.clear();
  const QWidget* widget = option.widget;
  (widget ? widget->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
  const DecimalSplit split = SplitAtPoint(option.rect, QFontMetrics(cell.font), decimals_);
  painter->save();
  painter->setFont(cell.font);
  painter->setPen(TextColor(cell));
  painter->drawText(split.whole, Qt::AlignRight | Qt::AlignVCenter, text.left(point));
  painter->drawText(split.fraction, Qt::AlignLeft | Qt::AlignVCenter, text.mid(point));
  painter->restore();
}

}  // namespace reports::ui
