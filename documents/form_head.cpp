#include "documents/form_head.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <optional>

#include "model/text.h"

namespace documents {
namespace {

// Above the head the top margin leaves two lines; a letterhead takes nine, an omitted
// company block eight.
constexpr int kLinesAboveHead = 2;
constexpr int kLetterheadLines = 9;
constexpr int kOmittedCompanyLines = 8;
// A logo is printed at the size it shows on a screen of 96 pixels an inch, shrunk when
// it would be taller than this many lines or wider than a third of the page.
constexpr int kScreenPixelsPerInch = 96;
constexpr int kLogoMaxLines = 6;

int WholeNumberOr0(std::string_view text) {
  text = model::TrimBlanks(text);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
         std::uint32_t{bytes[3]} << 24;
}

std::uint32_t BigEndian32(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 |
         std::uint32_t{bytes[3]};
}

struct Box {
  int width = 0;
  int height = 0;
};

// The logo's printed size, or nothing when it is not chosen or cannot be read.
std::optional<Box> LogoBox(const platform::PageCanvas& canvas, const model::CompanyRecord& company, int lineHeight) {
  if (!company.PrintLogo || company.LogoFile.empty()) return std::nullopt;
  const std::optional<PictureSize> pixels = PictureSizeOf(company.LogoFile.str());
  if (!pixels) return std::nullopt;
  // In 64 bits: a damaged file may claim any size.
  std::int64_t width = std::int64_t{pixels->width} * platform::PageCanvas::kDotsPerInch / kScreenPixelsPerInch;
  std::int64_t height = std::int64_t{pixels->height} * platform::PageCanvas::kDotsPerInch / kScreenPixelsPerInch;
  const std::int64_t maxHeight = kLogoMaxLines * lineHeight;
  const std::int64_t maxWidth = canvas.PageWidth() / 3;
  if (height > maxHeight) {
    width = width * maxHeight / height;
    height = maxHeight;
  }
  if (width > maxWidth) {
    height = height * maxWidth / width;
    width = maxWidth;
  }
  const Box box{static_cast<int>(width), static_cast<int>(height)};
  if (box.width <= 0 || box.height <= 0) return std::nullopt;
  return box;
}

// The company's name and address lines from (x, y); the y below them.
int DrawCompanyBlock(platform::PageCanvas& canvas, const model::CompanyRecord& company, int x, int y) {
  canvas.SetFont(FormFontOf(company, model::kCompanyHeadingFont));
  canvas.DrawText(x, y, model::TrimBlanks(company.CompanyName.str()));
  y += LineHeight(canvas);
  canvas.SetFont(FormFontOf(company, model::kBodyFont));
  for (const auto* line : {&company.CoAddr1, &company.CoAddr2, &company.CoAddr3, &company.CoAddr4, &company.CoAddr5}) {
    const std::string text(model::TrimBlanks(line->str()));
    if (text.empty()) continue;
    canvas.DrawText(x, y, text);
    y += LineHeight(canvas);
  }
  return y;
}

// The right half's lines from y; the y below them.
int DrawRightHalf(platform::PageCanvas& canvas, const model::CompanyRecord& company, const FormGeometry& geometry,
                  std::span<const HeadLine> lines, int y) {
  const int half = canvas.PageWidth() / 2;
  const int right = geometry.TextRight(canvas.PageWidth());
  for (const HeadLine& line : lines) {
    canvas.SetFont(FormFontOf(company, line.font));
    if (!line.text.empty()) {
      const int x = line.centred ? half + (right - half - canvas.TextWidth(line.text)) / 2 : HeadDetailsX(canvas);
      canvas.DrawText(x, y, line.text);
    }
    y += LineHeight(canvas);
  }
  return y;
}

}  // namespace

platform::FontSpec FormFontOf(const model::CompanyRecord& company, model::FormFont font) {
  return FontSpecOf(company.FormFonts[font]);
}

FormGeometry FormGeometryOf(const model::CompanyRecord& company) {
  FormGeometry geometry;
  geometry.left = std::max(0, WholeNumberOr0(company.LeftMargin.raw()));
  geometry.top = std::max(0, WholeNumberOr0(company.TopMargin.raw()));
  geometry.boxTop = std::max(kFrameInset, WholeNumberOr0(company.BoxTop.raw()));
  geometry.lineWidth = std::max(1, WholeNumberOr0(company.LineWidth.raw()));
  geometry.addressIndent = std::max(0, WholeNumberOr0(company.AddressIndent.raw()));
  geometry.maxLines = std::max(0, WholeNumberOr0(company.MaxLines.raw()));
  return geometry;
}

void DrawFrame(platform::PageCanvas& canvas, int top) {
  canvas.DrawRectangle(kFrameInset, top, canvas.PageWidth() - 2 * kFrameInset,
                       canvas.PageHeight() - kFrameInset - top);
}

int HeadDetailsX(const platform::PageCanvas& canvas) { return canvas.PageWidth() * 5 / 8; }

int DrawFormHead(platform::PageCanvas& canvas, const model::CompanyRecord& company, const FormGeometry& geometry,
                 std::span<const HeadLine> rightHalf) {
  canvas.SetFont(FormFontOf(company, model::kBodyFont));
  const int lineHeight = LineHeight(canvas);
  const int top = geometry.top + kLinesAboveHead * lineHeight;
  if (company.LetterheadStyle) {
    return DrawRightHalf(canvas, company, geometry, rightHalf, top + kLetterheadLines * lineHeight) + lineHeight;
  }
  int x = geometry.TextLeft();
  int leftBottom = top;
  if (const std::optional<Box> logo = LogoBox(canvas, company, lineHeight);
      logo && canvas.DrawPicture(x, top, logo->width, logo->height, company.LogoFile.str())) {
    x += logo->width + lineHeight;
    leftBottom = top + logo->height;
  }
  if (model::IsYes(company.OmitCompanyOnForms)) {
    leftBottom = std::max(leftBottom, top + kOmittedCompanyLines * lineHeight);
  } else {
    leftBottom = std::max(leftBottom, DrawCompanyBlock(canvas, company, x, top));
  }
  const int rightBottom = DrawRightHalf(canvas, company, geometry, rightHalf, top);
  canvas.SetFont(FormFontOf(company, model::kBodyFont));
  return std::max(leftBottom, rightBottom) + lineHeight;
}

int LineHeight(const platform::PageCanvas& canvas) { return canvas.TextHeight("MXjpy"); }

std::vector<std::string> WrapWords(const platform::PageCanvas& canvas, std::string_view text, int width) {
  std::vector<std::string> lines;
  std::string line;
  while (!(text = model::TrimBlanks(text)).empty()) {
    const std::size_t end = std::min(text.size(), text.find_first_of(" \t\r\n"));
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    const std::string longer = line.empty() ? std::string(word) : line + ' ' + std::string(word);
    if (!line.empty() && canvas.TextWidth(longer) > width) {
      lines.push_back(std::move(line));
      line = std::string(word);
    } else {
      line = longer;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::optional<PictureSize> PictureSizeOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[26] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
  PictureSize size;
  if (header[0] == 'B' && header[1] == 'M') {
    // BITMAPINFOHEADER: width and height at 18 and 22; a negative height is top-down.
    size.width = static_cast<std::int32_t>(LittleEndian32(header + 18));
    const std::int64_t height = static_cast<std::int32_t>(LittleEndian32(header + 22));
    size.height = static_cast<int>(std::min<std::int64_t>(height < 0 ? -height : height, INT32_MAX));
  } else if (header[0] == 0x89 && header[1] == 'P' && header[2] == 'N' && header[3] == 'G') {
    // The IHDR chunk comes first: width and height at 16 and 20.
    size.width = static_cast<std::int32_t>(BigEndian32(header + 16));
    size.height = static_cast<std::int32_t>(BigEndian32(header + 20));
  } else {
    return std::nullopt;
  }
  if (size.width <= 0 || size.height <= 0) return std::nullopt;
  return size;
}

}  // namespace documents
