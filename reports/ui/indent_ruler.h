// The ruler above the letter editor: an inch scale from the left edge of the text and
// the three indent markers of the paragraph being edited, which the user drags to
// change them. Lengths are in points; the screen's logical DPI turns them into pixels.
#pragma once

#include <QPolygon>
#include <QWidget>

namespace reports::ui {

class TRuler : public QWidget {
  Q_OBJECT

 public:
  explicit TRuler(QWidget* parent = nullptr);

  // All in points; the text width is the editor's line width in points. `firstLine` is
  // relative to `left`, as QTextBlockFormat::textIndent; `right` is measured from the
  // right edge of the text width. Setting them emits nothing.
  void SetIndents(double firstLine, double left, double right);
  void SetTextWidth(double points);
  void SetOrigin(int pixelOffset);  // pixel x of the text's left edge within the ruler

  double FirstLineIndent() const { return firstLine_; }
  double LeftIndent() const { return left_; }
  double RightIndent() const { return right_; }

  QSize sizeHint() const override;

 signals:
  // Emitted while a marker is dragged, each time an indent changes.
  void IndentsChanged(double firstLine, double left, double right);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Marker { kNone, kFirstLine, kLeft, kRight };

  double PixelsPerPoint() const;
  int XOf(double position) const;  // `position` in points from the text's left edge
  double Position(Marker marker) const;
  double RightEdge() const { return textWidth_ - right_; }
  QPolygon Shape(Marker marker) const;
  QRect GrabArea(Marker marker) const;
  Marker MarkerAt(const QPoint& point) const;
  static QString Hint(Marker marker);

  void MoveFirstLine(double position);
  void MoveLeft(double position);
  void MoveRight(double position);
  void DragTo(int x);

  void DrawScale(QPainter& painter) const;
  void DrawMarkers(QPainter& painter) const;

  double firstLine_ = 0;
  double left_ = 0;
  double right_ = 0;
  double textWidth_ = 0;
  int origin_ = 0;
  Marker dragged_ = Marker::kNone;
  int pressX_ = 0;
  double pressPosition_ = 0;
};

}  // namespace reports::ui
