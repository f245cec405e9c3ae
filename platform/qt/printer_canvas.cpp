#include "platform/qt/printer_canvas.h"

#include <algorithm>
#include <cmath>

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/qt/qt_dialogs.h"

namespace platform::qt {
namespace {

// Font sizes are given in layout dots, so text keeps its size whatever the device.
// Sized in layout dots, so text measures the same on every device.
QFont FontOf(const FontSpec& requested) {
  QFont font = QFontOf(requested);
  font.setPixelSize(std::max(1, requested.pointSize * PageCanvas::kDotsPerInch / 72));
  return font;
}

}  // namespace

QFont QFontOf(const FontSpec& wanted, const QFont& fallback) {
  QFont font = fallback;
  if (!wanted.name.empty()) font.setFamily(ToQString(wanted.name));
  if (wanted.pointSize > 0) font.setPointSize(wanted.pointSize);
  font.setBold(wanted.bold);
  font.setItalic(wanted.italic);
  font.setUnderline(wanted.underline);
  font.setStrikeOut(wanted.strikeOut);
  return font;
}

FontSpec FontSpecOf(const QFont& font, const QColor& color) {
  return {font.family().toStdString(), font.pointSize(), StoredColorOf(color),
          font.bold(), font.italic(), font.underline(), font.strikeOut()};
}

QString PdfFileNameFor(std::string_view title) {
  QString name = ToQString(title).trimmed();
  for (QChar& c : name) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
        c.unicode() < 32) {
      c = '_';
    }
  }
  if (name.isEmpty() || name.startsWith('.')) name.prepend("Printout");
  return name + ".pdf";
}

QString FreePdfPathFor(const QString& folder, std::string_view title) {
  const QDir dir(folder);
  const QString name = PdfFileNameFor(title);
  QString path = dir.absoluteFilePath(name);
  const QString stem = name.chopped(4);
  for (int copy = 2; QFileInfo::exists(path); ++copy) {
    path = dir.absoluteFilePath(QStringLiteral("%1 (%2).pdf").arg(stem, QString::number(copy)));
  }
  return path;
}

QString RouteToPrinterOrPdf(QPrinter& printer, std::string_view title, PrintDestination destination,
                            const QString& pdfFolder) {
  printer.setDocName(ToQString(title));
  if (destination == PrintDestination::kDefaultPrinterOrPdf && !QPrinterInfo::defaultPrinter().isNull()) {
    // The file of an earlier PDF job would otherwise carry over to the printer's job.
    printer.setOutputFileName({});
    printer.setOutputFormat(QPrinter::NativeFormat);
    return QObject::tr("the printer %1").arg(printer.printerName());
  }
  if (!QDir().mkpath(pdfFolder)) return {};
  const QString path = FreePdfPathFor(pdfFolder, title);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  return path;
}

QString PrintoutStatus(bool printed, const PageCanvas& canvas) {
  if (!printed) return QObject::tr("Nothing was printed.");
  return QObject::tr("Printed to %1").arg(ToQString(canvas.OutputDescription()));
}

QColor ColorOfStored(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t StoredColorOf(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
         static_cast<std::uint32_t>(color.blue()) << 16;
}

// The canvas prints pictures from files, so the window goes through one.
bool PrintWindowPicture(QWidget& window, std::string_view title, PageCanvas& canvas) {
  QTemporaryDir folder;
  const QString file = folder.filePath("window.png");
  const QImage picture = window.grab().toImage();
  if (!folder.isValid() || picture.isNull() || !picture.save(file)) return false;
  const Orientation orientation =
      picture.width() > picture.height() ? Orientation::kLandscape : Orientation::kPortrait;
  if (!canvas.BeginDocument(title, orientation)) return false;
  const QSize size = picture.size().scaled(canvas.PageWidth(), canvas.PageHeight(), Qt::KeepAspectRatio);
  canvas.DrawPicture(0, 0, size.width(), size.height(), file.toStdString());
  return canvas.EndDocument();
}

PrinterCanvas::PrinterCanvas(QPrinter* printer, PrintDestination destination, QString pdfFolder)
    : printer_(printer), destination_(destination), pdfFolder_(std::move(pdfFolder)) {
  if (printer_ == nullptr) {
    ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_ = ownPrinter_.get();
  }
}

PrinterCanvas::~PrinterCanvas() {
  if (painter_.isActive()) painter_.end();
}

bool PrinterCanvas::BeginDocument(std::string_view title, Orientation orientation, PageSize pageSize) {
  if (painter_.isActive()) return false;
  const QString destination = RouteToPrinterOrPdf(*printer_, title, destination_, pdfFolder_);
  if (destination.isEmpty()) return false;
  pending_ = destination.toStdString();
  layoutBeforeJob_ = printer_->pageLayout();
  if (pageSize == PageSize::kEnvelope10) printer_->setPageSize(QPageSize(QPageSize::Envelope10));
  printer_->setPageOrientation(orientation == Orientation::kLandscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
  if (!painter_.begin(printer_)) {
    printer_->setPageLayout(layoutBeforeJob_);
    return false;
  }
  painter_.scale(DeviceDotsPerLayoutDot(), DeviceDotsPerLayoutDot());
  SetFont({});
  SetPen(1, 0);
  return true;
}

bool PrinterCanvas::EndDocument() {
  if (!painter_.isActive()) return false;
  const bool ended = painter_.end();
  // An envelope's size and orientation must not stay for the next job.
  printer_->setPageLayout(layoutBeforeJob_);
  if (ended) output_ = pending_;
  return ended;
}

void PrinterCanvas::NewPage() { printer_->newPage(); }

double PrinterCanvas::DeviceDotsPerLayoutDot() const {
  return static_cast<double>(printer_->resolution()) / kDotsPerInch;
}

int PrinterCanvas::PageWidth() const {
  return static_cast<int>(printer_->pageLayout().paintRectPixels(kDotsPerInch).width());
}

int PrinterCanvas::PageHeight() const {
  return static_cast<int>(printer_->pageLayout().paintRectPixels(kDotsPerInch).height());
}

void PrinterCanvas::SetFont(const FontSpec& font) {
  font_ = FontOf(font);
  textColor_ = ColorOfStored(font.color);
  if (painter_.isActive()) painter_.setFont(font_);
}

int PrinterCanvas::TextWidth(std::string_view text) const {
  return static_cast<int>(std::ceil(QFontMetricsF(font_).horizontalAdvance(ToQString(text))));
}

int PrinterCanvas::TextHeight(std::string_view text) const {
  return static_cast<int>(std::ceil(QFontMetricsF(font_).boundingRect(ToQString(text)).height()));
}

void PrinterCanvas::DrawText(int x, int y, std::string_view text) {
  const QPen linePen = painter_.pen();
  painter_.setPen(textColor_);
  painter_.drawText(QPointF(x, y + QFontMetricsF(font_).ascent()), ToQString(text));
  painter_.setPen(linePen);
}

void PrinterCanvas::SetPen(int width, std::uint32_t color) {
  painter_.setPen(QPen(ColorOfStored(color), std::max(1, width)));
}

void PrinterCanvas::DrawLine(int x1, int y1, int x2, int y2) { painter_.drawLine(x1, y1, x2, y2); }

void PrinterCanvas::DrawRectangle(int x, int y, int width, int height) {
  painter_.save();
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(x, y, width, height);
  painter_.restore();
}

void PrinterCanvas::FillRectangle(int x, int y, int width, int height, std::uint32_t color, Fill fill) {
  painter_.fillRect(x, y, width, height, QBrush(ColorOfStored(color), fill == Fill::kHatched ? Qt::BDiagPattern : Qt::SolidPattern));
}

bool PrinterCanvas::DrawPicture(int x, int y, int width, int height, std::string_view file) {
  const QImage picture(ToQString(file));
  if (picture.isNull()) return false;
  painter_.drawImage(QRect(x, y, width, height), picture);
  return true;
}

}  // namespace platform::qt
