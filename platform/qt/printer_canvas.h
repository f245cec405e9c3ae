// Printed pages on the desktop: the default printer when the system has one,
// otherwise a PDF file named after the print job in the data folder's "Printouts"
// folder, never replacing an earlier one. Layout units are dots at 600 per inch on
// every device.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "platform/page_canvas.h"

class QWidget;

namespace platform::qt {

enum class PrintDestination { kDefaultPrinterOrPdf, kPdf };

constexpr const char* kPrintoutsFolder = "Printouts";

// A print job title as a file name: characters a file name cannot hold become "_".
QString PdfFileNameFor(std::string_view title);
// Where in `folder` the PDF of a job titled `title` goes: its file name, or, when that
// is taken, the name with " (2)", " (3)", ... before ".pdf".
QString FreePdfPathFor(const QString& folder, std::string_view title);

// Points the next job on `printer` at the default printer or, without one (or when
// `destination` says so), at a fresh PDF in `pdfFolder`. Returns where the job goes,
// for the status bar ("the printer ...", or the file); empty when the folder cannot be
// made.
QString RouteToPrinterOrPdf(QPrinter& printer, std::string_view title,
                            PrintDestination destination = PrintDestination::kDefaultPrinterOrPdf,
                            const QString& pdfFolder = kPrintoutsFolder);

// The status-bar line after a job: where it went, or that nothing was printed.
QString PrintoutStatus(bool printed, const PageCanvas& canvas);

// The font a FontSpec names, at its point size; an empty name or size keeps the
// fallback's. And back, with the colour chosen beside it.
QFont QFontOf(const FontSpec& wanted, const QFont& fallback = QFont());
FontSpec FontSpecOf(const QFont& font, const QColor& color);

// Colours as the company record keeps them, 0x00BBGGRR, and back.
QColor ColorOfStored(std::uint32_t bgr);
std::uint32_t StoredColorOf(const QColor& color);

// "Print Window": the window as it shows, as large as the page takes it (turned to
// landscape for a wide window), in a job titled `title`. False when nothing printed.
bool PrintWindowPicture(QWidget& window, std::string_view title, PageCanvas& canvas);

class PrinterCanvas final : public PageCanvas {
 public:
  // `printer` carries the choices of the printer set-up dialog; it may be null.
  // PDF files go to `pdfFolder`.
  explicit PrinterCanvas(QPrinter* printer = nullptr,
                         PrintDestination destination = PrintDestination::kDefaultPrinterOrPdf,
                         QString pdfFolder = kPrintoutsFolder);
  ~PrinterCanvas() override;

  bool BeginDocument(std::string_view title, Orientation orientation,
                     PageSize pageSize = PageSize::kPrinterPaper) override;
  bool EndDocument() override;
  void NewPage() override;
  std::string OutputDescription() const override { return output_; }

  int PageWidth() const override;
  int PageHeight() const override;

  void SetFont(const FontSpec& font) override;
  int TextWidth(std::string_view text) const override;
  int TextHeight(std::string_view text) const override;
  void DrawText(int x, int y, std::string_view text) override;

  void SetPen(int width, std::uint32_t color) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  void DrawRectangle(int x, int y, int width, int height) override;
  void FillRectangle(int x, int y, int width, int height, std::uint32_t color, Fill fill) override;
  bool DrawPicture(int x, int y, int width, int height, std::string_view file) override;

 private:
  double DeviceDotsPerLayoutDot() const;

  QPrinter* printer_;
  std::unique_ptr<QPrinter> ownPrinter_;
  PrintDestination destination_;
  QString pdfFolder_;
  QPainter painter_;
  QFont font_;
  QColor textColor_;
  std::string output_;
  std::string pending_;
  QPageLayout layoutBeforeJob_;  // the printer set-up's page, given back after each job
};

}  // namespace platform::qt
