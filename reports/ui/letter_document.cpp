#include "reports/ui/letter_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <cmath>
#include <string_view>

#include "platform/qt/printer_canvas.h"

namespace reports::ui {
namespace {

constexpr double kLayoutPixelsPerInch = 96;
constexpr double kPointsPerInch = 72;

using documents::Alignment;
using documents::Paragraph;
using documents::RtfDocument;
using documents::TextRun;

Qt::Alignment QtAlignmentOf(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre:
      return Qt::AlignHCenter;
    case Alignment::kRight:
      return Qt::AlignRight;
    case Alignment::kJustified:
      return Qt::AlignJustify;
    case Alignment::kLeft:
      break;
  }
  return Qt::AlignLeft;
}

Alignment AlignmentOf(Qt::Alignment alignment) {
  if (alignment & Qt::AlignHCenter) return Alignment::kCentre;
  if (alignment & Qt::AlignJustify) return Alignment::kJustified;
  if (alignment & Qt::AlignRight) return Alignment::kRight;
  return Alignment::kLeft;
}

// A "\n" would start a new block in QTextDocument; within a paragraph it is a line break.
QString QtTextOf(const std::string& text) {
  QString qtext = QString::fromStdString(text);
  qtext.replace(QChar('\n'), QChar(QChar::LineSeparator));
  return qtext;
}

// Pictures pasted into the editor leave a placeholder the model has no use for.
std::string ModelTextOf(QString text) {
  text.replace(QChar(QChar::LineSeparator), QChar('\n'));
  text.remove(QChar(QChar::ObjectReplacementCharacter));
  return text.toStdString();
}

QTextCharFormat CharFormatOf(const TextRun& run) {
  QTextCharFormat format;
  format.setFontFamilies({QString::fromStdString(run.font)});
  format.setFontPointSize(run.points);
  format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(run.italic);
  format.setFontUnderline(run.underline);
  format.setForeground(platform::qt::ColorOfStored(run.color));
  return format;
}

// What the format leaves unsaid, such as text typed before any font was chosen, is
// the document's default font.
TextRun RunFormatOf(const QTextCharFormat& format, const QFont& documentFont) {
  const QFont font = format.font().resolve(documentFont);
  TextRun run;
  run.font = font.family().toStdString();
  if (font.pointSizeF() > 0) run.points = font.pointSizeF();
  run.bold = font.weight() > QFont::Medium;
  run.italic = font.italic();
  run.underline = font.underline();
  const QBrush foreground = format.foreground();
  run.color = foreground.style() == Qt::NoBrush ? 0 : platform::qt::StoredColorOf(foreground.color());
  return run;
}

bool SameFormat(TextRun a, const TextRun& b) {
  a.text = b.text;
  return a == b;
}

void AppendJoined(std::vector<TextRun>& runs, TextRun run) {
  if (!runs.empty() && SameFormat(runs.back(), run)) {
    runs.back().text += run.text;
  } else {
    runs.push_back(std::move(run));
  }
}

QList<QTextOption::Tab> TabsOf(const std::vector<double>& stops) {
  QList<QTextOption::Tab> tabs;
  for (const double stop : stops) tabs.append(QTextOption::Tab(LayoutPixelsOf(stop), QTextOption::LeftTab));
  return tabs;
}

std::vector<double> TabStopsOf(const QList<QTextOption::Tab>& tabs) {
  std::vector<double> stops;
  for (const QTextOption::Tab& tab : tabs) stops.push_back(PointsOfLayoutPixels(tab.position));
  return stops;
}

QTextBlockFormat BlockFormatOf(const Paragraph& paragraph) {
  QTextBlockFormat format;
  format.setAlignment(QtAlignmentOf(paragraph.alignment));
  format.setLeftMargin(LayoutPixelsOf(paragraph.leftIndent));
  format.setRightMargin(LayoutPixelsOf(paragraph.rightIndent));
  format.setTextIndent(LayoutPixelsOf(paragraph.firstLineIndent));
  format.setTopMargin(LayoutPixelsOf(paragraph.spaceBefore));
  format.setBottomMargin(LayoutPixelsOf(paragraph.spaceAfter));
  format.setTabPositions(TabsOf(paragraph.tabStops));
  return format;
}

// The block's own character format sizes an empty line and the bullet; a paragraph
// without runs leaves it unset, which is how it is told apart on the way back.
QTextCharFormat BlockCharFormatOf(const Paragraph& paragraph) {
  return paragraph.runs.empty() ? QTextCharFormat() : CharFormatOf(paragraph.runs.front());
}

// Indent levels, as the editor's indent command sets them, are part of the left indent.
Paragraph ParagraphFormatOf(const QTextBlockFormat& format, qreal indentWidth) {
  Paragraph paragraph;
  paragraph.alignment = AlignmentOf(format.alignment());
  paragraph.leftIndent = PointsOfLayoutPixels(format.leftMargin() + format.indent() * indentWidth);
  paragraph.rightIndent = PointsOfLayoutPixels(format.rightMargin());
  paragraph.firstLineIndent = PointsOfLayoutPixels(format.textIndent());
  paragraph.spaceBefore = PointsOfLayoutPixels(format.topMargin());
  paragraph.spaceAfter = PointsOfLayoutPixels(format.bottomMargin());
  paragraph.tabStops = TabStopsOf(format.tabPositions());
  return paragraph;
}

std::vector<TextRun> RunsOf(const QTextBlock& block, const QFont& documentFont) {
  std::vector<TextRun> runs;
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    TextRun run = RunFormatOf(fragment.charFormat(), documentFont);
    run.text = ModelTextOf(fragment.text());
    if (!run.text.empty()) AppendJoined(runs, std::move(run));
  }
  return runs;
}

// An empty block keeps the format its blank line is drawn in, unless it never had one.
std::vector<TextRun> EmptyLineRuns(const QTextBlock& block, const QFont& documentFont) {
  const QTextCharFormat format = block.charFormat();
  if (format.properties().isEmpty()) return {};
  return {RunFormatOf(format, documentFont)};
}

Paragraph ParagraphOf(const QTextBlock& block, const QTextDocument& source) {
  Paragraph paragraph = ParagraphFormatOf(block.blockFormat(), source.indentWidth());
  paragraph.bullet = block.textList() != nullptr;
  paragraph.runs = RunsOf(block, source.defaultFont());
  if (paragraph.runs.empty()) paragraph.runs = EmptyLineRuns(block, source.defaultFont());
  return paragraph;
}

// The list's own indent level gives the bullet its room before the text, as a list
// the editor starts itself does.
QTextList* StartBulletList(QTextCursor& cursor) {
  QTextListFormat format;
  format.setStyle(QTextListFormat::ListDisc);
  format.setIndent(1);
  return cursor.createList(format);
}

// Consecutive bullet paragraphs share one list; any other paragraph ends it.
QTextList* ListForBlock(QTextCursor& cursor, const Paragraph& paragraph, QTextList* previous) {
  if (!paragraph.bullet) return nullptr;
  if (previous == nullptr) return StartBulletList(cursor);
  previous->add(cursor.block());
  return previous;
}

void StartParagraph(QTextCursor& cursor, const Paragraph& paragraph, bool first) {
  if (first) {
    cursor.setBlockFormat(BlockFormatOf(paragraph));
    cursor.setBlockCharFormat(BlockCharFormatOf(paragraph));
  } else {
    cursor.insertBlock(BlockFormatOf(paragraph), BlockCharFormatOf(paragraph));
  }
}

void InsertParagraphs(const RtfDocument& document, QTextDocument& target) {
  QTextCursor cursor(&target);
  QTextList* list = nullptr;
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    const Paragraph& paragraph = document.paragraphs[i];
    StartParagraph(cursor, paragraph, i == 0);
    list = ListForBlock(cursor, paragraph, list);
    for (const TextRun& run : paragraph.runs) cursor.insertText(QtTextOf(run.text), CharFormatOf(run));
  }
}

Paragraph PlainParagraph(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  Paragraph paragraph;
  paragraph.runs.push_back(TextRun{std::string(line)});
  return paragraph;
}

std::string TextOf(const Paragraph& paragraph) {
  std::string text;
  for (const TextRun& run : paragraph.runs) text += run.text;
  return text;
}

}  // namespace

double LayoutPixelsOf(double points) { return points * kLayoutPixelsPerInch / kPointsPerInch; }

double PointsOfLayoutPixels(double pixels) {
  return std::round(pixels * kPointsPerInch / kLayoutPixelsPerInch * 20) / 20;
}

void ToTextDocument(const RtfDocument& document, QTextDocument& target) {
  // Turning undo off for the load also empties its history.
  const bool undoable = target.isUndoRedoEnabled();
  target.setUndoRedoEnabled(false);
  target.clear();
  InsertParagraphs(document, target);
  target.setUndoRedoEnabled(undoable);
}

RtfDocument FromTextDocument(const QTextDocument& source) {
  RtfDocument document;
  for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
    document.paragraphs.push_back(ParagraphOf(block, source));
  }
  return document;
}

RtfDocument DocumentFromPlainText(const std::string& utf8) {
  RtfDocument document;
  std::string_view rest = utf8;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    document.paragraphs.push_back(PlainParagraph(rest.substr(0, end)));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return document;
}

std::string PlainTextOf(const RtfDocument& document) {
  std::string text;
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    if (i > 0) text += '\n';
    text += TextOf(document.paragraphs[i]);
  }
  return text;
}

}  // namespace reports::ui
