// The port printed pages are drawn on. Coordinates and sizes are printer dots at
// kDotsPerInch, whatever the device, so layouts and stored margins mean the same on
// every printer; (0, 0) is the top left of the printable area.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct FontSpec {
  std::string name = "Arial";
  int pointSize = 10;
  std::uint32_t color = 0;  // 0x00BBGGRR
  bool bold = false, italic = false, underline = false, strikeOut = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class Orientation { kPortrait, kLandscape };
// kPrinterPaper is whatever the printer set-up chose; kEnvelope10 is the #10 business
// envelope, 4 1/8 by 9 1/2 inches.
enum class PageSize { kPrinterPaper, kEnvelope10 };
enum class Fill { kSolid, kHatched };

class PageCanvas {
 public:
  static constexpr int kDotsPerInch = 600;

  virtual ~PageCanvas() = default;

  // Starts a print job; false (with nothing printed) when it cannot start. The page
  // size and orientation hold for this job only.
  virtual bool BeginDocument(std::string_view title, Orientation orientation = Orientation::kPortrait,
                             PageSize pageSize = PageSize::kPrinterPaper) = 0;
  // Ends the job; false when the output could not be completed.
  virtual bool EndDocument() = 0;
  virtual void NewPage() = 0;
  // Where the last finished job went, for the status bar ("Printed on ...", a file name).
  virtual std::string OutputDescription() const = 0;

  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  virtual void SetFont(const FontSpec& font) = 0;
  virtual int TextWidth(std::string_view text) const = 0;
  virtual int TextHeight(std::string_view text) const = 0;
  // `y` is the top of the text line.
  virtual void DrawText(int x, int y, std::string_view text) = 0;

  virtual void SetPen(int width, std::uint32_t color = 0) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
  virtual void DrawRectangle(int x, int y, int width, int height) = 0;
  virtual void FillRectangle(int x, int y, int width, int height, std::uint32_t color, Fill fill = Fill::kSolid) = 0;
  // Draws the picture file stretched into the rectangle; false when it cannot be read.
  virtual bool DrawPicture(int x, int y, int width, int height, std::string_view file) = 0;
};

}  // namespace platform
