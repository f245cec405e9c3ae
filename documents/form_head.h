// What the company's printed forms (invoices, packing slips, statements) share: their
// fonts and placement settings read from the company record, the frame around the
// page, and the page head with the logo and company block or the space a letterhead
// takes, beside the form's own title lines in the right half.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/fields.h"
#include "model/records.h"
#include "platform/page_canvas.h"

namespace documents {

// A stored font as the canvas takes it; a block without a face name or size keeps the
// canvas default for that part.
template <class Block>
platform::FontSpec FontSpecOf(const Block& block) {
  platform::FontSpec font;
  if (!block.Name.empty()) font.name = block.Name.str();
  if (block.Size > 0) font.pointSize = block.Size;
  font.color = static_cast<std::uint32_t>(static_cast<std::int32_t>(block.Color));
  font.bold = block.Style & model::font_style::kBold;
  font.italic = block.Style & model::font_style::kItalic;
  font.underline = block.Style & model::font_style::kUnderline;
  font.strikeOut = block.Style & model::font_style::kStrikeOut;
  return font;
}

platform::FontSpec FormFontOf(const model::CompanyRecord& company, model::FormFont font);

// The company's form settings in printer dots. A setting that is no whole number reads
// as 0, so a form still prints when one was left odd.
struct FormGeometry {
  int left = 0;           // LeftMargin
  int top = 0;            // TopMargin
  int boxTop = 0;         // BoxTop: where the frame starts
  int lineWidth = 1;      // LineWidth: the pen of frames and rules
  int addressIndent = 0;  // AddressIndent
  int maxLines = 0;       // MaxLines

  // Text keeps this far inside the printable edge besides the margin, clear of the frame.
  static constexpr int kTextInset = 100;
  int TextLeft() const { return kTextInset + left; }
  int TextRight(int pageWidth) const { return pageWidth - kTextInset - left; }
};
FormGeometry FormGeometryOf(const model::CompanyRecord& company);

// The frame drawn 20 dots inside the page edges, from `top` down.
constexpr int kFrameInset = 20;
void DrawFrame(platform::PageCanvas& canvas, int top);

// One line of the head's right half: the form's title, a mark, a page number or
// details, in one of the company's form fonts.
struct HeadLine {
  std::string text;
  model::FormFont font = model::kBodyFont;
  bool centred = true;  // centred in the right half; otherwise from `HeadDetailsX`
};

// Where the head's left-aligned right-half lines start.
int HeadDetailsX(const platform::PageCanvas& canvas);

// Draws the head from the top margin plus two line heights: with the letterhead style
// nine blank lines and then the right-half lines; otherwise the logo (when chosen and
// readable) and the company block beside it, unless it is omitted (eight blank lines
// then), with the right-half lines beside them. Returns the y below the head.
int DrawFormHead(platform::PageCanvas& canvas, const model::CompanyRecord& company, const FormGeometry& geometry,
                 std::span<const HeadLine> rightHalf);

// The height of one line of text in the canvas's current font.
int LineHeight(const platform::PageCanvas& canvas);

// Words of `text` in lines no wider than `width` in the current font; a word wider than
// that stands on a line of its own.
std::vector<std::string> WrapWords(const platform::PageCanvas& canvas, std::string_view text, int width);

// Pixel size of a BMP or PNG picture file; nullopt for any other file or one that does
// not read.
struct PictureSize {
  int width = 0;
  int height = 0;
};
std::optional<PictureSize> PictureSizeOf(const std::string& path);

}  // namespace documents
