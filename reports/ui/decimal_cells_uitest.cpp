#include "reports/ui/decimal_cells.h"

#include <gtest/gtest.h>

#include <QFont>

namespace reports::ui {
namespace {

TEST(DecimalCells, PointSitsBeforeTheRoomForTheWidestDecimals) {
  const QFontMetrics metrics(QFont("DejaVu Sans", 10));
  const QRect cell(100, 20, 120, 18);
  const DecimalSplit amounts = SplitAtPoint(cell, metrics, ".00");
  const DecimalSplit quantities = SplitAtPoint(cell, metrics, ".000");
  // The two parts meet at the point and fill the cell between them.
  EXPECT_EQ(amounts.whole.left(), cell.left());
  EXPECT_EQ(amounts.whole.right() + 1, amounts.fraction.left());
  EXPECT_EQ(amounts.fraction.right(), cell.right() - 1);
  EXPECT_EQ(amounts.fraction.top(), cell.top());
  EXPECT_EQ(amounts.fraction.height(), cell.height());
  // Three decimals need the Sales Report's wider room: in the room of two they would be
  // cut at the cell's edge.
  EXPECT_LE(metrics.horizontalAdvance(".500"), quantities.fraction.width());
  EXPECT_GT(metrics.horizontalAdvance(".500"), amounts.fraction.width());
}

}  // namespace
}  // namespace reports::ui
