// Rich-text documents: a small model of paragraphs made of formatted runs, shared by
// the RTF writer, the RTF reader and the letter editor that shows it on screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace documents {

enum class Alignment { kLeft, kCentre, kRight, kJustified };

// A stretch of text in one format. Text is UTF-8; "\n" breaks the line and "\t"
// moves to the paragraph's next tab stop.
struct TextRun {
  std::string text{};
  std::string font = "Arial";
  double points = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint32_t color = 0;  // 0x00BBGGRR, as the company record keeps colours

  friend bool operator==(const TextRun&, const TextRun&) = default;
};

// Spacing, indents and tab stops in points. The first line starts at leftIndent +
// firstLineIndent, so a negative firstLineIndent hangs it, as bullets do.
struct Paragraph {
  Alignment alignment = Alignment::kLeft;
  std::vector<TextRun> runs{};
  double spaceBefore = 0;
  double spaceAfter = 0;
  double leftIndent = 0;
  std::vector<double> tabStops{};
  double rightIndent = 0;
  double firstLineIndent = 0;
  bool bullet = false;

  friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

struct RtfDocument {
  std::vector<Paragraph> paragraphs{};

  friend bool operator==(const RtfDocument&, const RtfDocument&) = default;
};

}  // namespace documents
