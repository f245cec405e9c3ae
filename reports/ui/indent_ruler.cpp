#include "reports/ui/indent_ruler.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace reports::ui {
namespace {

constexpr int kHeight = 26;
constexpr double kPointsPerInch = 72;
constexpr double kSnap = kPointsPerInch / 16;  // drags land on sixteenths of an inch
constexpr int kTicksPerInch = 8;
constexpr int kMarkerHalfWidth = 5;
constexpr int kMarkerHeight = 6;
constexpr int kGrabMargin = 2;  // a little room around a marker still picks it up

double Snapped(double points) { return std::round(points / kSnap) * kSnap; }

// Like std::clamp, but a range left empty by markers that already overlap holds its low end.
double Clamped(double value, double low, double high) { return std::clamp(value, low, std::max(low, high)); }

// Whole inches get their number; halves, quarters and eighths ever shorter ticks.
int TickLength(int eighth) {
  if (eighth % 4 == 0) return 6;
  if (eighth % 2 == 0) return 4;
  return 2;
}

QPolygon DownwardTriangle(int x, int top) {
  return QPolygon(
      {QPoint(x - kMarkerHalfWidth, top), QPoint(x + kMarkerHalfWidth, top), QPoint(x, top + kMarkerHeight)});
}

QPolygon UpwardTriangle(int x, int bottom) {
  return QPolygon(
      {QPoint(x - kMarkerHalfWidth, bottom), QPoint(x + kMarkerHalfWidth, bottom), QPoint(x, bottom - kMarkerHeight)});
}

}  // namespace

TRuler::TRuler(QWidget* parent) : QWidget(parent) {
  setFixedHeight(kHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TRuler::SetIndents(double firstLine, double left, double right) {
  firstLine_ = firstLine;
  left_ = left;
  right_ = right;
  update();
}

void TRuler::SetTextWidth(double points) {
  textWidth_ = std::max(0.0, points);
  updateGeometry();
  update();
}

void TRuler::SetOrigin(int pixelOffset) {
  origin_ = pixelOffset;
  update();
}

QSize TRuler::sizeHint() const { return QSize(XOf(textWidth_) + kMarkerHalfWidth + 1, kHeight); }

double TRuler::PixelsPerPoint() const { return logicalDpiX() / kPointsPerInch; }

int TRuler::XOf(double position) const { return origin_ + static_cast<int>(std::lround(position * PixelsPerPoint())); }

double TRuler::Position(Marker marker) const {
  switch (marker) {
    case Marker::kFirstLine:
      return left_ + firstLine_;
    case Marker::kLeft:
      return left_;
    case Marker::kRight:
      return RightEdge();
    case Marker::kNone:
      break;
  }
  return 0;
}

QPolygon TRuler::Shape(Marker marker) const {
  const int x = XOf(Position(marker));
  return marker == Marker::kFirstLine ? DownwardTriangle(x, 1) : UpwardTriangle(x, height() - 2);
}

QRect TRuler::GrabArea(Marker marker) const {
  return Shape(marker).boundingRect().adjusted(-kGrabMargin, -kGrabMargin, kGrabMargin, kGrabMargin);
}

// Where the left and right markers meet, the side of the press tells which one is meant,
// so either can still be pulled away from the other.
TRuler::Marker TRuler::MarkerAt(const QPoint& point) const {
  if (GrabArea(Marker::kFirstLine).contains(point)) return Marker::kFirstLine;
  const bool onLeft = GrabArea(Marker::kLeft).contains(point);
  const bool onRight = GrabArea(Marker::kRight).contains(point);
  if (onLeft && onRight) {
    const int toLeft = std::abs(point.x() - XOf(Position(Marker::kLeft)));
    const int toRight = std::abs(point.x() - XOf(Position(Marker::kRight)));
    if (toLeft != toRight) return toLeft < toRight ? Marker::kLeft : Marker::kRight;
    return point.x() <= XOf(Position(Marker::kLeft)) ? Marker::kLeft : Marker::kRight;
  }
  if (onLeft) return Marker::kLeft;
  return onRight ? Marker::kRight : Marker::kNone;
}

QString TRuler::Hint(Marker marker) {
  switch (marker) {
    case Marker::kFirstLine:
      return QStringLiteral("First Line Indent");
    case Marker::kLeft:
      return QStringLiteral("Left Indent");
    case Marker::kRight:
      return QStringLiteral("Right Indent");
    case Marker::kNone:
      break;
  }
  return {};
}

// The markers stay within the text width and never cross: no line may end before it starts.
void TRuler::MoveFirstLine(double position) { firstLine_ = Clamped(Snapped(position), 0, RightEdge()) - left_; }

// The first line moves along, keeping its hang or its indent.
void TRuler::MoveLeft(double position) {
  const double low = std::max(0.0, -firstLine_);
  const double high = RightEdge() - std::max(0.0, firstLine_);
  left_ = Clamped(Snapped(position), low, high);
}

// The right indent counts from the right edge, so it is that distance that snaps.
void TRuler::MoveRight(double position) {
  const double textStart = std::max({0.0, left_, left_ + firstLine_});
  right_ = Clamped(Snapped(textWidth_ - position), 0, textWidth_ - textStart);
}

void TRuler::DragTo(int x) {
  const double position = pressPosition_ + (x - pressX_) / PixelsPerPoint();
  const double firstLine = firstLine_, left = left_, right = right_;
  switch (dragged_) {
    case Marker::kFirstLine:
      MoveFirstLine(position);
      break;
    case Marker::kLeft:
      MoveLeft(position);
      break;
    case Marker::kRight:
      MoveRight(position);
      break;
    case Marker::kNone:
      return;
  }
  if (firstLine == firstLine_ && left == left_ && right == right_) return;
  update();
  emit IndentsChanged(firstLine_, left_, right_);
}

bool TRuler::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const Marker marker = MarkerAt(help->pos());
  if (marker == Marker::kNone) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), Hint(marker), this, GrabArea(marker));
  }
  return true;
}

void TRuler::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  dragged_ = event->button() == Qt::LeftButton ? MarkerAt(at) : Marker::kNone;
  pressX_ = at.x();
  pressPosition_ = Position(dragged_);
}

void TRuler::mouseMoveEvent(QMouseEvent* event) { DragTo(event->position().toPoint().x()); }

void TRuler::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragged_ = Marker::kNone;
}

void TRuler::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QRect text(QPoint(XOf(0), 4), QPoint(XOf(textWidth_), height() - 5));
  painter.fillRect(text, palette().base());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(text);
  DrawScale(painter);
  DrawMarkers(painter);
}

void TRuler::DrawScale(QPainter& painter) const {
  QFont numbers = font();
  numbers.setPixelSize(9);
  painter.setFont(numbers);
  painter.setPen(palette().color(QPalette::WindowText));
  const double pixelsPerEighth = logicalDpiX() / static_cast<double>(kTicksPerInch);
  const int middle = height() / 2;
  for (int eighth = 1;; ++eighth) {
    const int x = origin_ + static_cast<int>(std::lround(eighth * pixelsPerEighth));
    if (x > width()) break;
    if (eighth % kTicksPerInch == 0) {
      painter.drawText(QRect(x - 10, 0, 20, height()), Qt::AlignCenter, QString::number(eighth / kTicksPerInch));
    } else {
      const int half = TickLength(eighth) / 2;
      painter.drawLine(x, middle - half, x, middle + half);
    }
  }
}

void TRuler::DrawMarkers(QPainter& painter) const {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.setBrush(palette().button());
  for (const Marker marker : {Marker::kFirstLine, Marker::kLeft, Marker::kRight}) painter.drawPolygon(Shape(marker));
}

}  // namespace reports::ui
