#include "documents/rtf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace documents {
namespace {

constexpr std::string_view kDefaultFont = "Arial";
constexpr int kTwipsPerPoint = 20;

// Returns the index of `value` in `list`, adding it at the end when missing.
template <class T>
std::size_t IndexOf(std::vector<T>& list, const T& value) {
  const auto found = std::find(list.begin(), list.end(), value);
  if (found != list.end()) return static_cast<std::size_t>(found - list.begin());
  list.push_back(value);
  return list.size() - 1;
}

// The fonts and colours the runs use, numbered in order of first use. Colour 0 is
// the reader's automatic colour (black), so black text needs no table entry.
struct Tables {
  std::vector<std::string> fonts;
  std::vector<std::uint32_t> colors{0};

  explicit Tables(const RtfDocument& document) {
    for (const Paragraph& paragraph : document.paragraphs) {
      for (const TextRun& run : paragraph.runs) {
        IndexOf(fonts, FaceOf(run));
        IndexOf(colors, run.color);
      }
    }
    if (fonts.empty()) fonts.emplace_back(kDefaultFont);
  }
  static std::string FaceOf(const TextRun& run) { return run.font.empty() ? std::string(kDefaultFont) : run.font; }
  std::size_t FontNumber(const TextRun& run) { return IndexOf(fonts, FaceOf(run)); }
  std::size_t ColorNumber(const TextRun& run) { return IndexOf(colors, run.color); }
};

// How many continuation bytes a UTF-8 lead byte announces; 0 for a byte that leads
// no well-formed sequence.
int TrailingBytes(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

// One code point from UTF-8 at `at`, which is advanced past it. A byte that does not
// start a well-formed sequence stands for itself as Latin-1, so older records typed
// in a Windows code page still come out legible.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const int trailing = TrailingBytes(lead);
  if (trailing == 0 || text.size() - at <= static_cast<std::size_t>(trailing)) {
    ++at;
    return lead;
  }
  char32_t code = lead & (0x3F >> trailing);
  for (int i = 1; i <= trailing; ++i) {
    const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return lead;
    }
    code = (code << 6) | (next & 0x3F);
  }
  const bool overlong = (trailing == 2 && code < 0x800) || (trailing == 3 && code < 0x10000);
  if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++at;
    return lead;
  }
  at += static_cast<std::size_t>(trailing) + 1;
  return code;
}

// \uN takes a signed 16-bit number; "?" is what a reader without Unicode shows.
void AppendUnicode(std::string& out, char32_t unit) {
  const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
  out += "\\u" + std::to_string(value) + "?";
}

void AppendCodePoint(std::string& out, char32_t code) {
  switch (code) {
    case U'\\': out += "\\\\"; return;
    case U'{': out += "\\{"; return;
    case U'}': out += "\\}"; return;
    case U'\n': out += "\\line "; return;
    case U'\t': out += "\\tab "; return;
    default: break;
  }
  if (code < 0x20 || code == 0x7F) return;  // other control characters have no place in text
  if (code < 0x7F) {
    out += static_cast<char>(code);
  } else if (code >= 0xA0 && code <= 0xFF) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(code));
    out += hex;
  } else if (code > 0xFFFF) {
    const char32_t offset = code - 0x10000;
    AppendUnicode(out, 0xD800 + (offset >> 10));
    AppendUnicode(out, 0xDC00 + (offset & 0x3FF));
  } else {
    AppendUnicode(out, code);
  }
}

std::string EscapedText(std::string_view text) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const char32_t code = NextCodePoint(text, at);
    if (code == U'\r') continue;  // "\r\n" is one line break
    AppendCodePoint(out, code);
  }
  return out;
}

// A font name ends at ";" in the font table, so it may not hold one.
std::string EscapedFontName(std::string_view name) {
  std::string cleaned(name);
  std::replace(cleaned.begin(), cleaned.end(), ';', ' ');
  return EscapedText(cleaned);
}

int Twips(double points) { return static_cast<int>(std::lround(points * kTwipsPerPoint)); }

std::string_view AlignmentWord(Alignment alignment) {
  switch (alignment) {
    case Alignment::kLeft: return "\\ql";
    case Alignment::kCentre: return "\\qc";
    case Alignment::kRight: return "\\qr";
    case Alignment::kJustified: return "\\qj";
  }
  return "\\ql";
}

std::string FontTable(const Tables& tables) {
  std::string out = "{\\fonttbl";
  for (std::size_t i = 0; i < tables.fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 " + EscapedFontName(tables.fonts[i]) + ";}";
  }
  return out + "}\n";
}

// The first entry is empty: the automatic colour.
std::string ColorTable(const Tables& tables) {
  std::string out = "{\\colortbl ;";
  for (std::size_t i = 1; i < tables.colors.size(); ++i) {
    const std::uint32_t bgr = tables.colors[i];
    out += "\\red" + std::to_string(bgr & 0xFF) + "\\green" + std::to_string((bgr >> 8) & 0xFF) + "\\blue" +
           std::to_string((bgr >> 16) & 0xFF) + ";";
  }
  return out + "}\n";
}

std::string ParagraphProperties(const Paragraph& paragraph) {
  std::string out = "\\pard";
  out += AlignmentWord(paragraph.alignment);
  if (paragraph.spaceBefore > 0) out += "\\sb" + std::to_string(Twips(paragraph.spaceBefore));
  if (paragraph.spaceAfter > 0) out += "\\sa" + std::to_string(Twips(paragraph.spaceAfter));
  if (paragraph.leftIndent > 0) out += "\\li" + std::to_string(Twips(paragraph.leftIndent));
  if (paragraph.rightIndent > 0) out += "\\ri" + std::to_string(Twips(paragraph.rightIndent));
  if (paragraph.firstLineIndent != 0) out += "\\fi" + std::to_string(Twips(paragraph.firstLineIndent));
  for (const double stop : paragraph.tabStops) out += "\\tx" + std::to_string(Twips(stop));
  return out;
}

// The bullet as word processors before list tables wrote it: the text shown before
// the paragraph, then the numbering that asks for a bullet.
std::string BulletPrefix(const Paragraph& paragraph) {
  if (!paragraph.bullet) return {};
  return "{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}";
}

// Each run is its own group, so its format ends with it.
std::string Run(const TextRun& run, Tables& tables) {
  const int halfPoints = std::max(1, static_cast<int>(std::lround(run.points * 2)));
  std::string out = "{\\f" + std::to_string(tables.FontNumber(run)) + "\\fs" + std::to_string(halfPoints);
  if (run.bold) out += "\\b";
  if (run.italic) out += "\\i";
  if (run.underline) out += "\\ul";
  const std::size_t color = tables.ColorNumber(run);
  if (color != 0) out += "\\cf" + std::to_string(color);
  return out + " " + EscapedText(run.text) + "}";
}

}  // namespace

std::string WriteRtf(const RtfDocument& document) {
  Tables tables(document);
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
  out += FontTable(tables);
  out += ColorTable(tables);
  for (const Paragraph& paragraph : document.paragraphs) {
    out += ParagraphProperties(paragraph);
    out += BulletPrefix(paragraph);
    for (const TextRun& run : paragraph.runs) out += Run(run, tables);
    out += "\\par\n";
  }
  return out + "}\n";
}

bool SaveRtf(const RtfDocument& document, const std::string& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  const std::string text = WriteRtf(document);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace documents
