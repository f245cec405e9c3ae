#include "reports/ui/letter_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <memory>

#include <gtest/gtest.h>

#include "documents/rtf_reader.h"

namespace reports::ui {
namespace {

using documents::Alignment;
using documents::Paragraph;
using documents::RtfDocument;
using documents::TextRun;

constexpr std::uint32_t kRed = 0x000000FF;
constexpr std::uint32_t kNavy = 0x00800000;

TextRun Run(std::string text, double points = 11) {
  return {.text = std::move(text), .font = "Times New Roman", .points = points};
}

Paragraph Bullet(std::string text) {
  return {
      .runs = {{.text = std::move(text), .color = kNavy}}, .leftIndent = 18, .firstLineIndent = -18, .bullet = true};
}

// A reminder letter using every format the model carries.
RtfDocument Reminder() {
  TextRun overdue = Run("is overdue");
  overdue.italic = overdue.underline = true;
  overdue.color = kRed;
  TextRun heading = Run("Payment Reminder", 16);
  heading.bold = true;
  return {{
      {.alignment = Alignment::kCentre, .runs = {heading}, .spaceAfter = 12},
      {.alignment = Alignment::kJustified,
       .runs = {Run("Your account "), overdue, Run(":\nAmount\t$120.00")},
       .spaceBefore = 6,
       .leftIndent = 36,
       .tabStops = {90, 144},
       .rightIndent = 18,
       .firstLineIndent = 18},
      {},                                 // a blank line that never had a format
      {.runs = {Run("", 20)}},            // a blank line as tall as 20-point text
      Bullet("Pay online"),
      Bullet("Pay at the counter"),
      {.alignment = Alignment::kRight, .runs = {Run("Accounts Dept.")}},
  }};
}

std::unique_ptr<QTextDocument> Shown(const RtfDocument& document) {
  auto shown = std::make_unique<QTextDocument>();
  ToTextDocument(document, *shown);
  return shown;
}

TEST(LetterDocument, RoundTripGivesBackEveryParagraph) {
  const RtfDocument letter = Reminder();
  QTextDocument shown;
  ToTextDocument(letter, shown);
  // A line break stays inside its block; a "\n" let through would have split it.
  ASSERT_EQ(shown.blockCount(), 7);
  EXPECT_EQ(shown.findBlockByNumber(1).text(),
            QString("Your account is overdue:") + QChar(QChar::LineSeparator) + "Amount\t$120.00");
  const RtfDocument back = FromTextDocument(shown);
  ASSERT_EQ(back.paragraphs.size(), letter.paragraphs.size());
  for (std::size_t i = 0; i < letter.paragraphs.size(); ++i) {
    SCOPED_TRACE("paragraph " + std::to_string(i));
    EXPECT_EQ(back.paragraphs[i], letter.paragraphs[i]);
  }
  // A second load replaces the first instead of adding to it, and cannot be undone.
  ToTextDocument(letter, shown);
  EXPECT_EQ(FromTextDocument(shown), letter);
  EXPECT_FALSE(shown.isUndoAvailable());
}

TEST(LetterDocument, BulletsInARowShareOneDiscList) {
  RtfDocument document = Reminder();
  document.paragraphs.push_back(Bullet("Call us"));
  QTextDocument shown;
  ToTextDocument(document, shown);
  QTextList* first = shown.findBlockByNumber(4).textList();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->format().style(), QTextListFormat::ListDisc);
  EXPECT_EQ(shown.findBlockByNumber(5).textList(), first);
  EXPECT_EQ(shown.findBlockByNumber(6).textList(), nullptr);
  // A bullet after a plain paragraph starts a list of its own.
  QTextList* last = shown.findBlockByNumber(7).textList();
  ASSERT_NE(last, nullptr);
  EXPECT_NE(last, first);
  EXPECT_EQ(FromTextDocument(shown), document);
}

TEST(LetterDocument, ReadRtfShowsItsFormatsInTheEditor) {
  const documents::RtfReadResult read = documents::ReadRtf(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
      "\\pard\\qc\\sa240\\f1\\fs28\\b Statement\\b0\\par"
      "\\pard\\li720\\ri360\\fi-360\\sb120\\tx2160\\f0\\fs20 Due \\cf1\\i\\ul now\\ul0\\i0\\cf0\\tab"
      "\\line \\cf2 Thank you\\par}");
  ASSERT_TRUE(read.ok()) << read.error;
  const auto shown = Shown(read.document);
  ASSERT_EQ(shown->blockCount(), 2);

  const QTextBlock title = shown->firstBlock();
  EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::Alignment(Qt::AlignHCenter));
  // Lengths in layout pixels, 96 to the inch: 12 points are 16 pixels.
  EXPECT_EQ(title.blockFormat().bottomMargin(), 16);
  const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
  EXPECT_EQ(titleFormat.fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(titleFormat.fontPointSize(), 14);
  EXPECT_EQ(titleFormat.fontWeight(), QFont::Bold);

  const QTextBlock body = title.next();
  const QTextBlockFormat indents = body.blockFormat();
  EXPECT_EQ(indents.leftMargin(), 48);
  EXPECT_EQ(indents.rightMargin(), 24);
  EXPECT_EQ(indents.textIndent(), -24);
  EXPECT_EQ(indents.topMargin(), 8);
  ASSERT_EQ(indents.tabPositions().size(), 1);
  EXPECT_EQ(indents.tabPositions().front().position, 144);

  QTextBlock::iterator fragments = body.begin();
  EXPECT_EQ(fragments.fragment().text(), "Due ");
  EXPECT_EQ(fragments.fragment().charFormat().fontPointSize(), 10);
  EXPECT_FALSE(fragments.fragment().charFormat().fontItalic());
  const QTextCharFormat now = (++fragments).fragment().charFormat();
  EXPECT_EQ(fragments.fragment().text(), "now");
  EXPECT_TRUE(now.fontItalic());
  EXPECT_TRUE(now.fontUnderline());
  EXPECT_EQ(now.foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ((++fragments).fragment().text(), QString("\t") + QChar(QChar::LineSeparator));
  const QTextCharFormat thanks = (++fragments).fragment().charFormat();
  EXPECT_EQ(thanks.foreground().color(), QColor(0, 0, 128));
}

TEST(LetterDocument, TextTypedWithoutAFormatTakesTheDocumentFont) {
  QTextDocument typed;
  typed.setDefaultFont(QFont("Courier New", 12));
  EXPECT_EQ(FromTextDocument(typed), RtfDocument{{Paragraph{}}});  // an empty editor: one empty paragraph

  typed.setPlainText("Hello");
  const RtfDocument read = FromTextDocument(typed);
  ASSERT_EQ(read.paragraphs.size(), 1u);
  const std::vector<TextRun> expected{{.text = "Hello", .font = "Courier New", .points = 12}};
  EXPECT_EQ(read.paragraphs[0].runs, expected);
}

TEST(LetterDocument, FragmentsDifferingOnlyInWhatTheModelLacksJoin) {
  QTextDocument edited;
  QTextCursor cursor(&edited);
  QTextCharFormat plain;
  plain.setFontFamilies({"Arial"});
  plain.setFontPointSize(10);
  QTextCharFormat struck = plain;
  struck.setFontStrikeOut(true);
  cursor.insertText("Dear ", plain);
  cursor.insertText("Sir", struck);
  cursor.insertText(",", plain);
  ASSERT_EQ(edited.blockCount(), 1);
  EXPECT_EQ(FromTextDocument(edited).paragraphs[0].runs, std::vector<TextRun>{{.text = "Dear Sir,"}});
}

TEST(LetterDocument, PlainTextKeepsLinesAndTabs) {
  const RtfDocument document = DocumentFromPlainText("Dear Sir,\r\n\r\nAmount\tdue\n");
  ASSERT_EQ(document.paragraphs.size(), 3u);
  EXPECT_EQ(document.paragraphs[0].runs, std::vector<TextRun>{{.text = "Dear Sir,"}});
  EXPECT_EQ(document.paragraphs[1].runs, std::vector<TextRun>{TextRun{}});  // blank, in the default format
  EXPECT_EQ(PlainTextOf(document), "Dear Sir,\n\nAmount\tdue");
  EXPECT_EQ(FromTextDocument(*Shown(document)), document);
  EXPECT_TRUE(DocumentFromPlainText("").paragraphs.empty());
  EXPECT_EQ(PlainTextOf(Reminder()),
            "Payment Reminder\nYour account is overdue:\nAmount\t$120.00\n\n\nPay online\nPay at the counter\n"
            "Accounts Dept.");
}

}  // namespace
}  // namespace reports::ui
