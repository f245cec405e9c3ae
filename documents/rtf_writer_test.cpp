#include "documents/rtf_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine/test_support.h"

namespace documents {
namespace {

TextRun Plain(std::string text) { return {.text = std::move(text)}; }

RtfDocument OneRun(TextRun run) { return {{{.runs = {std::move(run)}}}}; }

// The text between the document's header tables and its closing brace.
std::string Body(const RtfDocument& document) {
  const std::string rtf = WriteRtf(document);
  const std::size_t start = rtf.find("\\pard");
  return start == std::string::npos ? std::string() : rtf.substr(start, rtf.size() - start - 2);
}

int BraceBalance(const std::string& rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;  // an escaped brace is text
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}') {
      if (--depth < 0) return -1;
    }
  }
  return depth;
}

TEST(RtfWriter, DocumentHasHeaderFontAndColourTablesAndBalancedGroups) {
  RtfDocument document{{
      {.runs = {{.text = "Title", .font = "Times New Roman", .points = 18, .bold = true}}},
      {.runs = {{.text = "Body", .font = "Arial", .color = 0x0000FF}, {.text = "More", .font = "Times New Roman"}}},
  }};
  const std::string rtf = WriteRtf(document);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u);
  EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}{\\f1\\fnil\\fcharset0 Arial;}}"),
            std::string::npos);
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;}"), std::string::npos);
  EXPECT_EQ(BraceBalance(rtf), 0);
  EXPECT_EQ(rtf.back(), '\n');
  EXPECT_EQ(rtf[rtf.size() - 2], '}');
  EXPECT_NE(WriteRtf({}).find("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"), std::string::npos);
}

TEST(RtfWriter, RunsCarryFontSizeStyleAndColourInTheirOwnGroup) {
  RtfDocument document{{{.runs = {
                             {.text = "a", .font = "Arial", .points = 10},
                             {.text = "b", .font = "Courier New", .points = 11.5, .bold = true},
                             {.text = "c", .font = "Arial", .points = 9, .italic = true, .underline = true},
                             {.text = "d", .font = "Arial", .color = 0x00FF8000},
                         }}}};
  EXPECT_EQ(Body(document),
            "\\pard\\ql{\\f0\\fs20 a}{\\f1\\fs23\\b b}{\\f0\\fs18\\i\\ul c}{\\f0\\fs20\\cf1 d}\\par\n");
  EXPECT_NE(WriteRtf(document).find("\\red0\\green128\\blue255;"), std::string::npos);
}

TEST(RtfWriter, ParagraphsCarryAlignmentSpacingIndentAndTabStops) {
  RtfDocument document{{
      {.alignment = Alignment::kCentre, .runs = {Plain("c")}, .spaceBefore = 6, .spaceAfter = 12},
      {.alignment = Alignment::kRight, .runs = {Plain("r")}},
      {.alignment = Alignment::kJustified, .runs = {Plain("j")}, .leftIndent = 18, .tabStops = {72, 144.5}},
      {.runs = {}},
  }};
  EXPECT_EQ(Body(document),
            "\\pard\\qc\\sb120\\sa240{\\f0\\fs20 c}\\par\n"
            "\\pard\\qr{\\f0\\fs20 r}\\par\n"
            "\\pard\\qj\\li360\\tx1440\\tx2890{\\f0\\fs20 j}\\par\n"
            "\\pard\\ql\\par\n");
}

TEST(RtfWriter, ParagraphsCarryRightAndHangingIndentsAndBullets) {
  RtfDocument document{
      {{.runs = {Plain("b")}, .leftIndent = 36, .rightIndent = 9, .firstLineIndent = -18, .bullet = true}}};
  EXPECT_EQ(Body(document),
            "\\pard\\ql\\li720\\ri180\\fi-360{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}"
            "{\\f0\\fs20 b}\\par\n");
}

TEST(RtfWriter, EscapesSyntaxCharactersAndBreaks) {
  EXPECT_EQ(Body(OneRun(Plain("a\\b{c}d"))), "\\pard\\ql{\\f0\\fs20 a\\\\b\\{c\\}d}\\par\n");
  EXPECT_EQ(Body(OneRun(Plain("one\r\ntwo\tthree\n"))), "\\pard\\ql{\\f0\\fs20 one\\line two\\tab three\\line }\\par\n");
  // A digit right after a control word would be read as its parameter.
  EXPECT_EQ(Body(OneRun(Plain("12"))), "\\pard\\ql{\\f0\\fs20 12}\\par\n");
  EXPECT_EQ(Body(OneRun(Plain(std::string("bell\a\x7f", 6)))), "\\pard\\ql{\\f0\\fs20 bell}\\par\n");
}

TEST(RtfWriter, CharactersAbove127AreEscapedByTheirRange) {
  // The escaped text alone, without the paragraph and run around it.
  const auto text = [](std::string run) {
    const std::string body = Body(OneRun(Plain(std::move(run))));
    const std::size_t start = body.find(' ') + 1;
    return body.substr(start, body.rfind("}\\par") - start);
  };
  EXPECT_EQ(text("Caf\xc3\xa9 \xc2\xa3"), "Caf\\'e9 \\'a3");        // Latin-1 as hex
  EXPECT_EQ(text("\xe2\x82\xac 5"), "\\u8364? 5");                  // the euro sign
  EXPECT_EQ(text("\xef\xbc\xa1"), "\\u-223?");                       // above 32767: signed
  EXPECT_EQ(text("\xf0\x9f\x98\x80"), "\\u-10179?\\u-8704?");         // outside the BMP: a surrogate pair
  EXPECT_EQ(text("\xc2\x80"), "\\u128?");                            // C1 controls differ in code page 1252
  EXPECT_EQ(text("Caf\xe9"), "Caf\\'e9");                            // a stray Latin-1 byte stays legible
  EXPECT_EQ(text("\xe2\x82"), "\\'e2\\u130?");                       // a cut-off sequence, byte by byte
  EXPECT_EQ(text("\xc0\xaf"), "\\'c0\\'af");                       // an overlong "/" is no slash
}

TEST(RtfWriter, FontNamesCannotEndTheirTableEntryEarly) {
  const std::string rtf = WriteRtf(OneRun({.text = "x", .font = "Odd;Name{x}"}));
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 Odd Name\\{x\\};}"), std::string::npos);
}

TEST(RtfWriter, SaveWritesTheTextAndReportsAFolderItCannotWrite) {
  engine::testing::ScopedWorkingFolder folder;
  const RtfDocument document = OneRun(Plain("Saved"));
  ASSERT_TRUE(SaveRtf(document, "out.rtf"));
  std::ifstream in("out.rtf", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), WriteRtf(document));
  EXPECT_FALSE(SaveRtf(document, "missing/out.rtf"));
}

}  // namespace
}  // namespace documents
