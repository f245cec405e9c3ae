// A page canvas for tests: it keeps every drawing call with its page and position,
// answers text metrics with fixed numbers so layouts can be checked to the dot, and
// never touches a printer.
#pragma once

#include <string>
#include <vector>

#include "platform/page_canvas.h"

namespace platform::testing {

struct DrawnText {
  int page;
  int x, y;
  std::string text;
  FontSpec font;
};

struct DrawnShape {
  enum class Kind { kLine, kRectangle, kFill, kPicture };
  Kind kind;
  int page;
  int x1, y1, x2, y2;  // for rectangles and pictures: x, y, width, height
};

class RecordingCanvas final : public PageCanvas {
 public:
  // Every character is kCharWidthPerPoint × point size wide; a line of text is
  // kLineHeightPerPoint × point size high.
  static constexpr int kCharWidthPerPoint = 5;
  static constexpr int kLineHeightPerPoint = 10;

  bool BeginDocument(std::string_view title, Orientation orientation,
                     PageSize pageSize = PageSize::kPrinterPaper) override {
    if (refuseToStart) return false;
    this->title = title;
    this->orientation = orientation;
    this->pageSize = pageSize;
    documents.push_back(std::string(title));
    page = 1;
    return true;
  }
  bool EndDocument() override {
    ++ended;
    return true;
  }
  void NewPage() override { ++page; }
  std::string OutputDescription() const override { return "the recording canvas"; }

  int PageWidth() const override { return orientation == Orientation::kPortrait ? 4800 : 6300; }
  int PageHeight() const override { return orientation == Orientation::kPortrait ? 6300 : 4800; }

  void SetFont(const FontSpec& font) override { this->font = font; }
  int TextWidth(std::string_view text) const override {
    return static_cast<int>(text.size()) * font.pointSize * kCharWidthPerPoint;
  }
  int TextHeight(std::string_view) const override { return font.pointSize * kLineHeightPerPoint; }
  void DrawText(int x, int y, std::string_view text) override {
    texts.push_back({page, x, y, std::string(text), font});
  }

  void SetPen(int, std::uint32_t) override {}
  void DrawLine(int x1, int y1, int x2, int y2) override {
    shapes.push_back({DrawnShape::Kind::kLine, page, x1, y1, x2, y2});
  }
  void DrawRectangle(int x, int y, int width, int height) override {
    shapes.push_back({DrawnShape::Kind::kRectangle, page, x, y, width, height});
  }
  void FillRectangle(int x, int y, int width, int height, std::uint32_t, Fill) override {
    shapes.push_back({DrawnShape::Kind::kFill, page, x, y, width, height});
  }
  bool DrawPicture(int x, int y, int width, int height, std::string_view) override {
    shapes.push_back({DrawnShape::Kind::kPicture, page, x, y, width, height});
    return true;
  }

  // The texts drawn, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> all;
    for (const DrawnText& drawn : texts) all.push_back(drawn.text);
    return all;
  }
  const DrawnText* Find(std::string_view text) const {
    for (const DrawnText& drawn : texts) {
      if (drawn.text == text) return &drawn;
    }
    return nullptr;
  }

  bool refuseToStart = false;
  std::string title;
  Orientation orientation = Orientation::kPortrait;
  PageSize pageSize = PageSize::kPrinterPaper;
  std::vector<std::string> documents;
  int page = 0;
  int ended = 0;
  FontSpec font;
  std::vector<DrawnText> texts;
  std::vector<DrawnShape> shapes;
};

}  // namespace platform::testing
