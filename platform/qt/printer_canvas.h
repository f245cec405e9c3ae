// Printed pages on the desktop: the default printer when the system has one,
// otherwise a PDF file named after the print job in the data folder's "Printouts"
// folder. Layout units are dots at 600 per inch on every device.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "platform/page_canvas.h"

namespace platform::qt {

enum class PrintDestination { kDefaultPrinterOrPdf, kPdf };

constexpr const char* kPrintoutsFolder = "Printouts";

// A print job title as a file name: characters a file name cannot hold become "_".
QString PdfFileNameFor(std::string_view title);

class PrinterCanvas final : public PageCanvas {
 public:
  // `printer` carries the choices of the printer set-up dialog; it may be null.
  explicit PrinterCanvas(QPrinter* printer = nullptr,
                         PrintDestination destination = PrintDestination::kDefaultPrinterOrPdf);
  ~PrinterCanvas() override;

  bool BeginDocument(std::string_view title, Orientation orientation) override;
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
  bool UsePdf() const;
  bool PreparePdf(std::string_view title);
  double DeviceDotsPerLayoutDot() const;

  QPrinter* printer_;
  std::unique_ptr<QPrinter> ownPrinter_;
  PrintDestination destination_;
  QPainter painter_;
  QFont font_;
  QColor textColor_;
  std::string output_;
  std::string pending_;
};

}  // namespace platform::qt
