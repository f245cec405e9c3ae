// The letter editor's text: the rich-text model shown in a QTextDocument, and read
// back from it after editing. Both directions map one paragraph to one text block and
// one run to one stretch of equal character format, so a letter comes back unchanged.
//
// Lengths: QTextDocument takes font sizes in points, but block margins, indents and tab
// stops in pixels of its layout, which Qt draws at 96 to the inch on screen and paper
// alike. The model's points are turned into those pixels and back, to the nearest
// twentieth of a point, as RTF keeps them.
#pragma once

#include <QTextDocument>
#include <string>

#include "documents/rtf_document.h"

namespace reports::ui {

double LayoutPixelsOf(double points);
double PointsOfLayoutPixels(double pixels);

// Replaces the content of `target` with `document`; loading a letter cannot be undone.
// Bullet paragraphs in a row share one disc list. A paragraph without runs keeps no
// character format of its own; one holding a single empty run keeps that run's format
// (a blank line's height) in its block.
void ToTextDocument(const documents::RtfDocument& document, QTextDocument& target);

// The content of `source` as the model (one Paragraph per text block, one TextRun per
// run of equal character format; adjacent fragments with equal format are joined).
// A QTextDocument always holds a block, so an empty one gives one empty paragraph.
// Any list counts as a bullet list, and a block's indent levels add to its left indent.
documents::RtfDocument FromTextDocument(const QTextDocument& source);

// Plain text files (.TXT): each line a paragraph in the default run format. Lines may
// end in "\r\n"; a newline at the very end does not start another paragraph.
documents::RtfDocument DocumentFromPlainText(const std::string& utf8);

// The text of the document with its paragraphs joined by "\n".
std::string PlainTextOf(const documents::RtfDocument& document);

}  // namespace reports::ui
