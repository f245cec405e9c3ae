#include "documents/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "documents/rtf_writer.h"

namespace documents {
namespace {

// The text of every paragraph, "|" between paragraphs.
std::string TextOf(const RtfDocument& document) {
  std::string out;
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    if (i > 0) out += "|";
    for (const TextRun& run : document.paragraphs[i].runs) out += run.text;
  }
  return out;
}

std::string TextOfBody(const std::string& body) { return TextOf(ReadRtf("{\\rtf1 " + body + "}").document); }

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    }
    at += length;
  }
  return true;
}

// Every format the model holds, in runs that differ from their neighbours.
RtfDocument EveryFormat() {
  return {{
      {.alignment = Alignment::kCentre,
       .runs = {{.text = "Title", .font = "Times New Roman", .points = 18, .bold = true},
                {.text = " & more", .font = "Times New Roman", .points = 11.5, .italic = true, .underline = true}},
       .spaceBefore = 6,
       .spaceAfter = 12},
      {.alignment = Alignment::kJustified,
       .runs = {{.text = "Caf\xc3\xa9 \xe2\x82\xac 5 \xf0\x9f\x98\x80 a\\b{c}", .color = 0x00FF8000},
                {.text = "line\nbreak\tand tab 12", .font = "Courier New"}},
       .leftIndent = 18,
       .tabStops = {72, 144.5},
       .rightIndent = 9,
       .firstLineIndent = -9},
      {.runs = {}},
      {.alignment = Alignment::kRight, .runs = {{.text = "Bullet", .color = 0x000000FF}}, .leftIndent = 36,
       .firstLineIndent = -18, .bullet = true},
      {.runs = {{.text = "Odd", .font = "Odd Name{x}"}}},
  }};
}

TEST(RtfReader, ReadsBackWhatTheWriterWroteAndWritesTheSameBytesAgain) {
  const RtfDocument document = EveryFormat();
  const std::string rtf = WriteRtf(document);
  const RtfReadResult read = ReadRtf(rtf);
  EXPECT_TRUE(read.ok()) << read.error;
  EXPECT_EQ(read.document, document);
  EXPECT_EQ(WriteRtf(read.document), rtf);
  EXPECT_EQ(ReadRtf(WriteRtf({})).document, RtfDocument{});
}

// As a word processor saves a letter: header tables, style sheet, document
// properties, page setup, a list bullet, a picture, and runs split at random.
constexpr std::string_view kWordProcessorLetter =
    "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
    "{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\n"
    "{\\stylesheet{\\s0\\snext0\\loch\\f4\\fs24 Normal;}{\\s15\\sbasedon0 Heading;}}\n"
    "{\\*\\generator Word processor 7.4}{\\info{\\creatim\\yr2024\\mo3\\dy1}{\\author Someone}}\n"
    "\\deftab709\\viewscale100{\\*\\pgdsctbl{\\pgdsc0{\\*\\pgdscnxt0 Default Page Style;}}}\n"
    "\\paperh16838\\paperw11906\\margl1134\\sectd\\sbknone{\\*\\ftnsep\\chftnsep}\n"
    "\\pard\\plain \\s0\\ql\\widctlpar\\ltrpar\\cf0\\loch\\f4\\fs24\\lang2057{\\rtlch \\ltrch\\loch\\f2\\fs28\\b\n"
    "Dear Mr M}{\\rtlch \\ltrch\\loch\\f2\\fs28\\b\\'e4ller,}\n"
    "\\par \\pard\\plain \\s0\\qc\\li720\\ri360\\lin720\\fi-360\\ltrpar{\\rtlch \\ltrch\\loch\\f2\\fs24\\cf3\n"
    "Centred in navy \\u228\\'3f and }{\\b\\i\\ul\\f2\\fs24 bold}{\\f2\\fs24\\b0  not}\n"
    "\\par \\pard\\plain \\s0\\ql\\ls1\\li720\\fi-360{\\listtext\\pard\\plain \\f1 \\u61623\\'b7\\tab}"
    "{\\f2\\fs24 A bullet{\\*\\bkmkstart x}{\\*\\bkmkend x}}\n"
    "\\par {\\*\\shppict{\\pict{\\*\\picprop}\\wmetafile8\\picw1\\pich1 0100090000}}{\\nonshppict{\\pict 0a0b}}"
    "\\pard\\plain \\qr{\\fs20 Right}\n"
    "\\par }";

TEST(RtfReader, ReadsAWordProcessorLetterIntoParagraphsAndRuns) {
  const RtfReadResult read = ReadRtf(kWordProcessorLetter);
  EXPECT_TRUE(read.ok()) << read.error;
  const std::vector<Paragraph>& paragraphs = read.document.paragraphs;
  ASSERT_EQ(paragraphs.size(), 4u);

  EXPECT_EQ(paragraphs[0].runs,
            (std::vector<TextRun>{{.text = "Dear Mr M\xc3\xa4ller,", .font = "Arial", .points = 14, .bold = true}}));

  const Paragraph& centred = paragraphs[1];
  EXPECT_EQ(centred.alignment, Alignment::kCentre);
  EXPECT_EQ(centred.leftIndent, 36);
  EXPECT_EQ(centred.rightIndent, 18);
  EXPECT_EQ(centred.firstLineIndent, -18);
  EXPECT_FALSE(centred.bullet);
  EXPECT_EQ(centred.runs, (std::vector<TextRun>{
                              {.text = "Centred in navy \xc3\xa4 and ", .font = "Arial", .points = 12, .color = 0x800000},
                              {.text = "bold", .font = "Arial", .points = 12, .bold = true, .italic = true,
                               .underline = true},
                              {.text = " not", .font = "Arial", .points = 12},
                          }));

  EXPECT_TRUE(paragraphs[2].bullet);
  EXPECT_EQ(paragraphs[2].alignment, Alignment::kLeft);
  EXPECT_EQ(paragraphs[2].runs, (std::vector<TextRun>{{.text = "A bullet", .font = "Arial", .points = 12}}));

  // \plain falls back to the default font the header names.
  EXPECT_EQ(paragraphs[3].alignment, Alignment::kRight);
  EXPECT_EQ(paragraphs[3].runs, (std::vector<TextRun>{{.text = "Right", .font = "Liberation Sans", .points = 10}}));
}

TEST(RtfReader, OlderBulletsAndUnclosedLastParagraph) {
  const RtfDocument document =
      ReadRtf("{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}One\\par\\pard Two}").document;
  ASSERT_EQ(document.paragraphs.size(), 2u);
  EXPECT_TRUE(document.paragraphs[0].bullet);
  EXPECT_FALSE(document.paragraphs[1].bullet);
  EXPECT_EQ(TextOf(document), "One|Two");
  // No font table: the model's own default face, RTF's default size.
  EXPECT_EQ(document.paragraphs[1].runs[0], (TextRun{.text = "Two", .font = "Arial", .points = 12}));
}

TEST(RtfReader, TableNumbersMissingFromTheTablesFallBackToDefaults) {
  const RtfDocument document = ReadRtf(
                                   "{\\rtf1\\deff1{\\fonttbl{\\f1 Serif;}{\\f2 Mono}}{\\colortbl;\\red9\\green8\\blue7;}"
                                   "{\\f7\\cf9 a}{\\f2\\cf1\\b1\\b0\\ul\\ulnone\\fs0 b}}")
                                   .document;
  EXPECT_EQ(document.paragraphs.at(0).runs,
            (std::vector<TextRun>{{.text = "a", .font = "Serif", .points = 12},
                                  {.text = "b", .font = "Mono", .points = 12, .color = 0x070809}}));
}

TEST(RtfReader, EscapesSymbolsAndCodePageCharacters) {
  EXPECT_EQ(TextOfBody("a\\\\b\\{c\\}d\\tab e\\line f\\~g"), "a\\b{c}d\te\nf\xc2\xa0g");
  EXPECT_EQ(TextOfBody("\\emdash\\'80\\'93\\lquote\\bullet"), "\xe2\x80\x94\xe2\x82\xac\xe2\x80\x9c\xe2\x80\x98\xe2\x80\xa2");
  EXPECT_EQ(TextOfBody("x\\'4"), "x");                       // a cut-off hex escape
  EXPECT_EQ(TextOfBody("raw \xe9\x80"), "raw \xc3\xa9\xe2\x82\xac");  // unescaped bytes as code page 1252
  EXPECT_EQ(TextOfBody(std::string("a\x01\x00" "b", 4)), "ab");              // control bytes are no text
  EXPECT_EQ(TextOfBody("one\\\ntwo"), "one|two");            // a backslash before a line end ends the paragraph
}

TEST(RtfReader, UnicodeSkipsTheFallbackTheGroupAnnounces) {
  EXPECT_EQ(TextOfBody("\\u8364?x"), "\xe2\x82\xac" "x");
  EXPECT_EQ(TextOfBody("\\u228\\'e4!"), "\xc3\xa4!");                       // a hex escape is one fallback
  EXPECT_EQ(TextOfBody("\\uc0\\u8364 x{\\uc2\\u8364 ab}c\\u8364 d"),
            "\xe2\x82\xac" "x\xe2\x82\xac" "c\xe2\x82\xac" "d");
  EXPECT_EQ(TextOfBody("{\\uc3\\u8364 a}b"), "\xe2\x82\xac" "b");          // the group's end ends the fallback
  EXPECT_EQ(TextOfBody("\\u-10179?\\u-8704?"), "\xf0\x9f\x98\x80");        // a surrogate pair
  EXPECT_EQ(TextOfBody("\\u-10179?z"), "\xef\xbf\xbdz");                   // half a pair
  EXPECT_EQ(TextOfBody("\\u-4?"), "\xef\xbf\xbc");                          // negative: above 32767
}

TEST(RtfReader, SkipsDestinationsUnknownWordsAndBinaryData) {
  EXPECT_EQ(TextOfBody("A{\\*\\unknown B{C}}D{\\foo E}{\\header H}\\unknownword F"), "ADEF");
  EXPECT_EQ(TextOfBody("x{\\pict\\bin5 a}{\\}}y"), "xy");
  EXPECT_EQ(TextOfBody("x\\bin3 {{{y"), "xy");
  EXPECT_EQ(TextOfBody("{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}"), "7");
  EXPECT_EQ(TextOfBody("{\\info{\\title T}}\\averyveryveryveryveryveryveryverylongword123456789012345 z"), "z");
}

TEST(RtfReader, ReportsInputThatIsNotWellFormedButKeepsWhatItCould) {
  const RtfReadResult notRtf = ReadRtf("Dear Sir");
  EXPECT_FALSE(notRtf.ok());
  EXPECT_TRUE(notRtf.document.paragraphs.empty());
  EXPECT_FALSE(ReadRtf("").ok());

  const RtfReadResult truncated = ReadRtf("{\\rtf1 {\\b Hello");
  EXPECT_FALSE(truncated.ok());
  EXPECT_EQ(truncated.document.paragraphs.at(0).runs.at(0), (TextRun{.text = "Hello", .points = 12, .bold = true}));

  const RtfReadResult extraBraces = ReadRtf("\xef\xbb\xbf\n{\\rtf1 a}}}trailing");
  EXPECT_TRUE(extraBraces.ok());
  EXPECT_EQ(TextOf(extraBraces.document), "a");

  const std::string deep = "{\\rtf1 a" + std::string(200000, '{') + "x" + std::string(200000, '}') + "b}";
  const RtfReadResult nested = ReadRtf(deep);
  EXPECT_FALSE(nested.ok());
  EXPECT_EQ(TextOf(nested.document).front(), 'a');
  EXPECT_EQ(TextOf(nested.document).back(), 'b');

  for (const char* cut : {"{\\rtf1 \\b", "{\\rtf1 \\u", "{\\rtf1 \\bin999999 ab", "{\\rtf1 \\", "{\\rtf1 \\fs-"}) {
    EXPECT_FALSE(ReadRtf(cut).ok()) << cut;
  }
}

TEST(RtfReader, LargeInputsReadInOnePass) {
  const std::string text(10 * 1024 * 1024, 'x');
  EXPECT_EQ(TextOf(ReadRtf("{\\rtf1 " + text + "}").document).size(), text.size());

  std::string groups = "{\\rtf1 ";
  for (int i = 0; i < 200'000; ++i) groups += "{\\tx1 y}";
  EXPECT_EQ(ReadRtf(groups + "}").document.paragraphs.at(0).runs.at(0).text.size(), 200'000u);

  std::mt19937 random(7);
  std::string binary = "{\\rtf1 ";
  for (int i = 0; i < 2 * 1024 * 1024; ++i) binary += static_cast<char>(random());
  EXPECT_TRUE(IsValidUtf8(TextOf(ReadRtf(binary).document)));
}

// One random change to `rtf`: a flipped byte, a cut, a brace or backslash put in or
// taken out, or a stretch of random bytes.
void Mutate(std::string& rtf, std::mt19937& random) {
  if (rtf.empty()) return;
  const std::size_t at = random() % rtf.size();
  switch (random() % 6) {
    case 0: rtf[at] = static_cast<char>(rtf[at] ^ (1 << (random() % 8))); break;
    case 1: rtf.resize(at); break;
    case 2: rtf.insert(at, 1, "{}\\"[random() % 3]); break;
    case 3: rtf.erase(at, 1); break;
    case 4: {
      std::string noise(random() % 64, '\0');
      for (char& c : noise) c = static_cast<char>(random());
      rtf.insert(at, noise);
      break;
    }
    default: rtf.insert(at, "\\bin" + std::to_string(random() % 100) + " "); break;
  }
}

TEST(RtfReader, MangledInputAlwaysGivesAResultOfValidText) {
  const std::vector<std::string> samples = {WriteRtf(EveryFormat()), std::string(kWordProcessorLetter),
                                            "{\\rtf1 a\\\\b\\{c\\}\\u8364?{\\*\\x y}\\'e4\\tab\\line z\\par}"};
  std::mt19937 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    std::string rtf = samples[random() % samples.size()];
    const unsigned changes = 1 + random() % 4;
    for (unsigned i = 0; i < changes; ++i) Mutate(rtf, random);
    const RtfReadResult read = ReadRtf(rtf);
    for (const Paragraph& paragraph : read.document.paragraphs) {
      for (const TextRun& run : paragraph.runs) {
        ASSERT_TRUE(IsValidUtf8(run.text)) << "round " << round;
        ASSERT_TRUE(IsValidUtf8(run.font)) << "round " << round;
        ASSERT_GT(run.points, 0) << "round " << round;
      }
    }
  }
}

}  // namespace
}  // namespace documents
