// Rich-text documents: a small model of paragraphs made of formatted runs, and the
// writer that turns it into RTF 1.x for word processors and the "Save As" of the
// report windows. The reader of letters will fill the same model.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// Spacing, indent and tab stops in points.
struct Paragraph {
  Alignment alignment = Alignment::kLeft;
  std::vector<TextRun> runs{};
  double spaceBefore = 0;
  double spaceAfter = 0;
  double leftIndent = 0;
  std::vector<double> tabStops{};

  friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

struct RtfDocument {
  std::vector<Paragraph> paragraphs{};

  friend bool operator==(const RtfDocument&, const RtfDocument&) = default;
};

// The whole document as RTF text (7-bit ASCII; other characters are escaped).
std::string WriteRtf(const RtfDocument& document);

// Writes the document to `path`, replacing the file; false when it cannot be written.
bool SaveRtf(const RtfDocument& document, const std::string& path);

}  // namespace documents
