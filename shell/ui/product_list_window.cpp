#include "shell/ui/product_list_window.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/fonts.h"
#include "shell/ui/tool_icons.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

// The view lays text out in pixels at the screen's nominal 96 per inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

Qt::Alignment QtAlignmentOf(documents::Alignment alignment) {
  switch (alignment) {
    case documents::Alignment::kLeft: return Qt::AlignLeft;
    case documents::Alignment::kCentre: return Qt::AlignHCenter;
    case documents::Alignment::kRight: return Qt::AlignRight;
    case documents::Alignment::kJustified: return Qt::AlignJustify;
  }
  return Qt::AlignLeft;
}

QTextBlockFormat BlockFormatOf(const documents::Paragraph& paragraph) {
  QTextBlockFormat format;
  format.setAlignment(QtAlignmentOf(paragraph.alignment));
  format.setTopMargin(paragraph.spaceBefore * kPixelsPerPoint);
  format.setBottomMargin(paragraph.spaceAfter * kPixelsPerPoint);
  format.setLeftMargin(paragraph.leftIndent * kPixelsPerPoint);
  // Tab stops count from the margin, as in the saved file; the view counts from the indent.
  QList<QTextOption::Tab> tabs;
  for (const double stop : paragraph.tabStops) {
    tabs.append(QTextOption::Tab((stop - paragraph.leftIndent) * kPixelsPerPoint, QTextOption::LeftTab));
  }
  format.setTabPositions(tabs);
  return format;
}

QTextCharFormat CharFormatOf(const documents::TextRun& run) {
  QTextCharFormat format;
  format.setFontFamilies({ToQString(run.font)});
  format.setFontPointSize(run.points);
  format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(run.italic);
  format.setFontUnderline(run.underline);
  format.setForeground(ColorOf(static_cast<std::int32_t>(run.color)));
  return format;
}

std::optional<QFont> AskForFont(QWidget* parent, const QFont& current) {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, current, parent);
  if (!chosen) return std::nullopt;
  return font;
}

QString AskForRtfFile(QWidget* parent, const QString& suggestedName) {
  QFileDialog dialog(parent, QObject::tr("Save As"), suggestedName, QObject::tr("Rich Text File (*.RTF)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("RTF");
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace

void ShowRtfDocument(QTextDocument& target, const documents::RtfDocument& document) {
  target.clear();
  QTextCursor cursor(&target);
  bool first = true;
  for (const documents::Paragraph& paragraph : document.paragraphs) {
    const QTextBlockFormat block = BlockFormatOf(paragraph);
    if (first) {
      cursor.setBlockFormat(block);
    } else {
      cursor.insertBlock(block);
    }
    first = false;
    for (const documents::TextRun& run : paragraph.runs) {
      const QTextCharFormat chars = CharFormatOf(run);
      const QStringList lines = ToQString(run.text).remove('\r').split('\n');
      for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) cursor.insertBlock(block, chars);
        cursor.insertText(lines[i], chars);
      }
    }
  }
}

TProdList::TProdList(platform::Dialogs& dialogs, QPrinter& printer, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      printer_(printer),
      RichEdit1_(new QTextEdit(this)),
      PrintButton_(new QToolButton(this)),
      FontButton_(new QToolButton(this)),
      SaveButton_(new QToolButton(this)),
      StatusLabel_(new QLabel(this)) {
  ChooseFont = [this](const QFont& current) { return AskForFont(this, current); };
  ChooseSaveFile = [this](const QString& suggestedName) { return AskForRtfFile(this, suggestedName); };
  RichEdit1_->setReadOnly(true);
  PrintButton_->setText(tr("Print"));
  PrintButton_->setIcon(ToolIcon(ToolGlyph::kPrinter));
  FontButton_->setText(tr("Font"));
  SaveButton_->setText(tr("Save As"));
  for (QToolButton* button : {PrintButton_, FontButton_, SaveButton_}) {
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setToolTip(button->text());
    button->setAutoRaise(true);
  }
  resize(720, 640);
  BuildLayout();
  ConnectSignals();
}

void TProdList::BuildLayout() {
  auto* tools = new QHBoxLayout;
  for (QToolButton* button : {PrintButton_, FontButton_, SaveButton_}) tools->addWidget(button);
  tools->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(RichEdit1_, 1);
  layout->addWidget(StatusLabel_);
}

void TProdList::ConnectSignals() {
  connect(PrintButton_, &QToolButton::clicked, this, &TProdList::PrintButtonClick);
  connect(FontButton_, &QToolButton::clicked, this, &TProdList::FontButtonClick);
  connect(SaveButton_, &QToolButton::clicked, this, &TProdList::SaveButtonClick);
}

void TProdList::ShowReport(documents::ListReport report) {
  report_ = std::move(report);
  setWindowTitle(ToQString(report_.title));
  StatusLabel_->clear();
  Render();
}

void TProdList::Render() {
  document_ = ProductListDocument(report_, font_);
  ShowRtfDocument(*RichEdit1_->document(), document_);
}

QString TProdList::StatusText() const { return StatusLabel_->text(); }

void TProdList::PrintButtonClick() {
  const QString destination = platform::qt::RouteToPrinterOrPdf(printer_, report_.title);
  if (destination.isEmpty()) {
    dialogs_.inform("Print", "The printout could not be started.", platform::Icon::kWarning);
    return;
  }
  RichEdit1_->document()->print(&printer_);
  StatusLabel_->setText(tr("Printed to %1").arg(destination));
}

void TProdList::FontButtonClick() {
  QFont current(ToQString(font_.face));
  current.setPointSizeF(font_.points);
  const std::optional<QFont> chosen = ChooseFont(current);
  if (!chosen) return;
  font_.face = chosen->family().toStdString();
  if (chosen->pointSizeF() > 0) font_.points = chosen->pointSizeF();
  Render();
}

void TProdList::SaveButtonClick() {
  const QString path = ChooseSaveFile(ToQString(report_.title) + ".RTF");
  if (path.isEmpty()) return;
  if (!documents::SaveRtf(document_, path.toStdString())) {
    dialogs_.inform("Save As", "The file could not be written: " + path.toStdString(), platform::Icon::kWarning);
    return;
  }
  StatusLabel_->setText(tr("Saved to %1").arg(path));
}

}  // namespace shell::ui
