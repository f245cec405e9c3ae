#include "reports/ui/indent_ruler.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <cmath>

#include <gtest/gtest.h>

namespace reports::ui {
namespace {

constexpr int kOrigin = 12;
constexpr double kTextWidth = 432;  // six inches

// A paragraph hanging its first line a quarter inch, for bullets, half an inch in.
class RulerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ruler_.resize(kOrigin + 8 * ruler_.logicalDpiX(), ruler_.height());
    ruler_.SetOrigin(kOrigin);
    ruler_.SetTextWidth(kTextWidth);
    ruler_.SetIndents(-18, 36, 0);
    ruler_.show();
  }

  int XOf(double points) const { return kOrigin + static_cast<int>(std::lround(points * ruler_.logicalDpiX() / 72.0)); }
  QPoint Top(double points) const { return {XOf(points), 3}; }
  QPoint Bottom(double points) const { return {XOf(points), ruler_.height() - 4}; }

  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(&ruler_, Qt::LeftButton, {}, from);
    QTest::mouseMove(&ruler_, to);
    QTest::mouseRelease(&ruler_, Qt::LeftButton, {}, to);
  }

  void ExpectIndents(double firstLine, double left, double right) const {
    EXPECT_DOUBLE_EQ(ruler_.FirstLineIndent(), firstLine);
    EXPECT_DOUBLE_EQ(ruler_.LeftIndent(), left);
    EXPECT_DOUBLE_EQ(ruler_.RightIndent(), right);
  }

  TRuler ruler_;
};

TEST_F(RulerTest, DraggingTheLeftMarkerCarriesTheFirstLineAlong) {
  QSignalSpy changed(&ruler_, &TRuler::IndentsChanged);
  Drag(Bottom(36), Bottom(72));
  ExpectIndents(-18, 72, 0);
  ASSERT_FALSE(changed.isEmpty());
  EXPECT_EQ(changed.last(), (QList<QVariant>{-18.0, 72.0, 0.0}));
}

TEST_F(RulerTest, DraggingTheFirstLineMarkerMovesOnlyTheFirstLine) {
  Drag(Top(18), Top(54));
  ExpectIndents(18, 36, 0);
}

TEST_F(RulerTest, RightMarkerCountsFromTheRightEdgeOfTheText) {
  QSignalSpy changed(&ruler_, &TRuler::IndentsChanged);
  Drag(Bottom(kTextWidth), Bottom(kTextWidth - 72));
  ExpectIndents(-18, 36, 72);
  ASSERT_FALSE(changed.isEmpty());
  EXPECT_EQ(changed.last(), (QList<QVariant>{-18.0, 36.0, 72.0}));
}

TEST_F(RulerTest, DragsSnapToSixteenthsOfAnInch) {
  Drag(Bottom(36), Bottom(36) + QPoint(ruler_.logicalDpiX() / 10, 0));
  EXPECT_DOUBLE_EQ(std::fmod(ruler_.LeftIndent(), 4.5), 0);
  EXPECT_NEAR(ruler_.LeftIndent(), 36 + 7.2, 3);
}

TEST_F(RulerTest, MarkersStayWithinTheTextAndNeverCross) {
  // The hang keeps the left indent from reaching the edge: the first line gets there first.
  Drag(Bottom(36), Bottom(-200));
  ExpectIndents(-18, 18, 0);
  Drag(Bottom(kTextWidth), Bottom(kTextWidth + 200));
  ExpectIndents(-18, 18, 0);
  Drag(Top(0), Top(kTextWidth + 200));
  ExpectIndents(kTextWidth - 18, 18, 0);
  Drag(Top(kTextWidth), Top(36));
  Drag(Bottom(kTextWidth), Bottom(0));
  ExpectIndents(18, 18, kTextWidth - 36);
}

TEST_F(RulerTest, PressesAwayFromTheMarkersAndSettingIndentsChangeNothing) {
  QSignalSpy changed(&ruler_, &TRuler::IndentsChanged);
  Drag(Bottom(200), Bottom(300));
  Drag(Top(36), Top(100));  // the left marker's column, but the first line's row
  ruler_.SetIndents(0, 72, 36);
  EXPECT_TRUE(changed.isEmpty());
  ExpectIndents(0, 72, 36);
}

TEST_F(RulerTest, MarkersNameThemselvesInTooltips) {
  const auto hintAt = [this](QPoint point) {
    QHelpEvent help(QEvent::ToolTip, point, ruler_.mapToGlobal(point));
    QApplication::sendEvent(&ruler_, &help);
    return help.isAccepted() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(hintAt(Top(18)), "First Line Indent");
  EXPECT_EQ(hintAt(Bottom(36)), "Left Indent");
  EXPECT_EQ(hintAt(Bottom(kTextWidth)), "Right Indent");
  EXPECT_EQ(hintAt(Bottom(200)), "");
}

}  // namespace
}  // namespace reports::ui
