#include "shell/ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace shell::ui {
namespace {

constexpr int kSide = 32;
const QColor kInk(40, 52, 72);
const QColor kPaper(250, 250, 246);
const QColor kAccent(38, 110, 190);

void DrawCompanies(QPainter& p) {
  p.setBrush(kPaper);
  p.drawRect(5, 9, 12, 19);
  p.drawRect(17, 4, 10, 24);
  p.setBrush(kAccent);
  for (int y : {12, 17, 22}) p.drawRect(8, y, 2, 2), p.drawRect(12, y, 2, 2);
  for (int y : {8, 13, 18, 23}) p.drawRect(20, y, 2, 2), p.drawRect(23, y, 2, 2);
}

void DrawPassword(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.drawArc(10, 4, 12, 14, 0, 180 * 16);
  p.drawLine(10, 11, 10, 14);
  p.drawLine(22, 11, 22, 14);
  p.setBrush(QColor(214, 168, 50));
  p.drawRoundedRect(7, 14, 18, 14, 2, 2);
  p.setBrush(kInk);
  p.drawEllipse(QPoint(16, 20), 2, 2);
}

void DrawCalendar(QPainter& p) {
  p.setBrush(kPaper);
  p.drawRect(5, 7, 22, 21);
  p.setBrush(QColor(200, 60, 50));
  p.drawRect(5, 7, 22, 5);
  p.setBrush(kInk);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) p.drawRect(8 + column * 5, 15 + row * 4, 2, 2);
  }
}

void DrawCalculator(QPainter& p) {
  p.setBrush(QColor(90, 98, 112));
  p.drawRoundedRect(7, 3, 18, 26, 2, 2);
  p.setBrush(QColor(190, 220, 170));
  p.drawRect(10, 6, 12, 5);
  p.setBrush(kPaper);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) p.drawRect(10 + column * 4, 14 + row * 4, 3, 3);
  }
}

void DrawText(QPainter& p, const QString& text, const QColor& color, int pixelSize) {
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(pixelSize);
  p.setFont(font);
  p.setPen(color);
  p.drawText(QRect(0, 0, kSide, kSide), Qt::AlignCenter, text);
}

void DrawLabels(QPainter& p) {
  QPainterPath tag;
  tag.moveTo(4, 10);
  tag.lineTo(20, 10);
  tag.lineTo(28, 16);
  tag.lineTo(20, 22);
  tag.lineTo(4, 22);
  tag.closeSubpath();
  p.setBrush(QColor(240, 220, 140));
  p.drawPath(tag);
  p.setBrush(kPaper);
  p.drawEllipse(QPoint(21, 16), 2, 2);
  p.drawLine(7, 14, 15, 14);
  p.drawLine(7, 18, 13, 18);
}

void DrawRepeat(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kAccent, 3));
  p.drawArc(6, 6, 20, 20, 30 * 16, 150 * 16);
  p.drawArc(6, 6, 20, 20, 210 * 16, 150 * 16);
  p.setBrush(kAccent);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygon({QPoint(22, 3), QPoint(28, 10), QPoint(20, 11)}));
  p.drawPolygon(QPolygon({QPoint(10, 29), QPoint(4, 22), QPoint(12, 21)}));
}

void DrawAgingChart(QPainter& p) {
  const QColor colours[] = {QColor(60, 150, 80), QColor(230, 190, 40), QColor(235, 130, 40), QColor(200, 50, 50)};
  const int heights[] = {20, 14, 9, 5};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(colours[i]);
    p.drawRect(5 + i * 6, 27 - heights[i], 5, heights[i]);
  }
  p.drawLine(3, 28, 29, 28);
}

void DrawBackup(QPainter& p) {
  p.setBrush(QColor(70, 80, 100));
  p.drawRoundedRect(6, 5, 20, 22, 2, 2);
  p.setBrush(kPaper);
  p.drawRect(10, 5, 12, 8);
  p.setBrush(kAccent);
  p.drawRect(10, 18, 12, 9);
}

void DrawHelp(QPainter& p) {
  p.setBrush(kAccent);
  p.drawEllipse(3, 3, 26, 26);
  DrawText(p, "?", Qt::white, 20);
}

void DrawPrinter(QPainter& p) {
  p.setBrush(kPaper);
  p.drawRect(9, 4, 14, 9);
  p.setBrush(QColor(120, 128, 140));
  p.drawRoundedRect(4, 12, 24, 11, 2, 2);
  p.setBrush(kPaper);
  p.drawRect(9, 19, 14, 9);
  p.drawLine(11, 23, 21, 23);
}

void DrawClose(QPainter& p) {
  p.setBrush(QColor(160, 110, 70));
  p.drawRect(8, 4, 14, 24);
  p.setBrush(QColor(240, 210, 90));
  p.drawEllipse(QPoint(19, 16), 1, 1);
  p.setPen(QPen(QColor(200, 50, 50), 3));
  p.drawLine(24, 10, 29, 15);
  p.drawLine(29, 10, 24, 15);
}

void DrawFormLetter(QPainter& p) {
  p.setBrush(kPaper);
  p.drawRect(4, 8, 24, 17);
  p.drawLine(4, 8, 16, 18);
  p.drawLine(28, 8, 16, 18);
}

void DrawInvoice(QPainter& p) {
  p.setBrush(kPaper);
  p.drawRect(7, 3, 18, 26);
  for (int y : {8, 12, 16}) p.drawLine(10, y, 22, y);
  p.setPen(QPen(QColor(30, 130, 70), 2));
  p.drawLine(14, 22, 22, 22);
  p.drawLine(14, 25, 22, 25);
}

void DrawFilter(QPainter& p) {
  p.setBrush(kAccent);
  QPainterPath funnel;
  funnel.moveTo(4, 5);
  funnel.lineTo(28, 5);
  funnel.lineTo(18, 17);
  funnel.lineTo(18, 27);
  funnel.lineTo(14, 24);
  funnel.lineTo(14, 17);
  funnel.closeSubpath();
  p.drawPath(funnel);
}

void DrawCustomerData(QPainter& p) {
  p.setBrush(kPaper);
  p.drawRect(4, 6, 24, 20);
  p.setBrush(kAccent);
  p.drawEllipse(QPoint(11, 13), 3, 3);
  p.drawRoundedRect(7, 17, 8, 6, 2, 2);
  for (int y : {11, 15, 19}) p.drawLine(18, y, 25, y);
}

}  // namespace

QIcon ToolIcon(ToolGlyph glyph) {
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 1.5));
  switch (glyph) {
    case ToolGlyph::kCompanies: DrawCompanies(p); break;
    case ToolGlyph::kPassword: DrawPassword(p); break;
    case ToolGlyph::kCalendar: DrawCalendar(p); break;
    case ToolGlyph::kCalculator: DrawCalculator(p); break;
    case ToolGlyph::kInterest: DrawText(p, "%", QColor(30, 130, 70), 24); break;
    case ToolGlyph::kLabels: DrawLabels(p); break;
    case ToolGlyph::kRepeat: DrawRepeat(p); break;
    case ToolGlyph::kAgingChart: DrawAgingChart(p); break;
    case ToolGlyph::kBackup: DrawBackup(p); break;
    case ToolGlyph::kHelp: DrawHelp(p); break;
    case ToolGlyph::kPrinter: DrawPrinter(p); break;
    case ToolGlyph::kClose: DrawClose(p); break;
    case ToolGlyph::kFormLetter: DrawFormLetter(p); break;
    case ToolGlyph::kInvoice: DrawInvoice(p); break;
    case ToolGlyph::kFilter: DrawFilter(p); break;
    case ToolGlyph::kCustomerData: DrawCustomerData(p); break;
  }
  return QIcon(pixmap);
}

}  // namespace shell::ui
