#include "reports/ui/letter_wizard.h"

#include <QAbstractTextDocumentLayout>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QScreen>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>

#include "documents/rtf_reader.h"
#include "documents/rtf_writer.h"
#include "files/company_files.h"
#include "model/text.h"
#include "model/text_encoding.h"
#include "model/whole_file.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/wait_cursor.h"
#include "reports/letter_merge.h"
#include "reports/ui/indent_ruler.h"
#include "reports/ui/label_wizard.h"
#include "reports/ui/letter_document.h"
#include "shell/customers.h"
#include "shell/ui/headers_dialog.h"

namespace reports::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "FormWizard";
const char* const kLetterFilter = "Rich Text Files (*.RTF);;Text Files (*.TXT)";
constexpr std::string_view kUntitled = "Untitled";
constexpr double kPageMarginPoints = 72 * 2 / 2.54;  // 2 cm
constexpr double kLayoutPixelsPerInch = 96;

// "%s - %s", as the caption pattern has it.
QString CaptionOf(std::string_view name) {
  return QString("%1 - %2").arg(ToQString(kLetterWizardCaption), ToQString(name));
}

bool IsTextFile(const std::filesystem::path& path) { return model::Folded(path.extension().string()) == ".TXT"; }

// Text files come from this program (UTF-8) or from older ones (Windows-1252).
std::string Utf8OfTextFile(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(QByteArray::fromStdString(bytes));
  return utf8.hasError() ? model::FromWindows1252(bytes) : text.toStdString();
}

// A letter file as the model: plain text for .TXT files and for files that are not RTF
// at all, whatever their name says. `warning` tells what could not be read.
documents::RtfDocument LetterOfFile(const std::filesystem::path& path, const std::string& bytes, std::string& warning) {
  if (IsTextFile(path) || !bytes.starts_with("{\\rtf")) return DocumentFromPlainText(Utf8OfTextFile(bytes));
  documents::RtfReadResult read = documents::ReadRtf(bytes);
  warning = read.error;
  return std::move(read.document);
}

std::string FileBytesOf(const std::filesystem::path& path, const documents::RtfDocument& letter) {
  return IsTextFile(path) ? PlainTextOf(letter) : documents::WriteRtf(letter);
}

std::filesystem::path WithExtension(const QString& chosen, const QString& selectedFilter) {
  std::filesystem::path path = chosen.toStdString();
  if (!path.has_extension()) path.replace_extension(selectedFilter.contains("TXT") ? ".TXT" : ".RTF");
  return path;
}

QAction* CheckableAction(QObject* parent, const QString& text, const QString& hint) {
  auto* action = new QAction(text, parent);
  action->setToolTip(hint);
  action->setCheckable(true);
  return action;
}

// Bold, italic and underline show as their own letter in their own style.
void StyleLetterButton(QAction* action, void (QFont::*style)(bool)) {
  QFont font = action->font();
  (font.*style)(true);
  action->setFont(font);
}

bool InsideWord(const QTextCursor& cursor) {
  const QString text = cursor.block().text();
  const int at = cursor.positionInBlock();
  return at > 0 && at < text.size() && text[at - 1].isLetterOrNumber() && text[at].isLetterOrNumber();
}

// The letter page by page inside margins of 2 cm. It is laid out as on the screen and
// the painter scales the pages to the printer, so indents grow with the text (laid out
// on the printer, Qt would leave them at screen size). Unlike QTextDocument::print it
// adds no page numbers: a letter carries what its writer put in it.
bool PrintPages(const QTextDocument& letter, QPrinter& printer) {
  const std::unique_ptr<QTextDocument> pages(letter.clone());
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double scaleX = printer.logicalDpiX() / (screen ? screen->logicalDotsPerInchX() : kLayoutPixelsPerInch);
  const double scaleY = printer.logicalDpiY() / (screen ? screen->logicalDotsPerInchY() : kLayoutPixelsPerInch);
  QTextFrameFormat frame = pages->rootFrame()->frameFormat();
  frame.setMargin(LayoutPixelsOf(kPageMarginPoints));
  pages->rootFrame()->setFrameFormat(frame);
  const QSizeF page(printer.width() / scaleX, printer.height() / scaleY);
  pages->setPageSize(page);
  painter.scale(scaleX, scaleY);
  for (int i = 0; i < pages->pageCount(); ++i) {
    if (i > 0) printer.newPage();
    const QRectF shown(QPointF(0, i * page.height()), page);
    painter.save();
    painter.translate(0, -shown.top());
    painter.setClipRect(shown);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = shown;
    context.palette.setColor(QPalette::Text, Qt::black);  // text without a colour of its own
    pages->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  return painter.end();
}

// Where the print dialog said: its printer, or PDF files named after the chosen one,
// a file a letter.
TLetterWiz::LetterPrinter PrinterAsChosen(QPrinter& printer) {
  const QFileInfo chosen(printer.outputFileName());
  const bool toPdf = printer.outputFormat() == QPrinter::PdfFormat;
  return [&printer, toPdf, folder = chosen.absolutePath(), name = chosen.completeBaseName().toStdString()](
             const QTextDocument& letter, const std::string& title) {
    if (toPdf) printer.setOutputFileName(platform::qt::FreePdfPathFor(folder, name));
    printer.setDocName(ToQString(title));
    return PrintPages(letter, printer);
  };
}

}  // namespace

TLetterWiz::TLetterWiz(shell::ui::AppServices& services, std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent), services_(services), dataFolder_(std::move(dataFolder)) {
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  setSizeGripEnabled(true);
  BuildActions();
  BuildMenu();
  BuildLayout();
  ConnectSignals();
  SetLetter({}, {});
  resize(760, 620);
}

void TLetterWiz::BuildActions() {
  FileNewItem_ = new QAction(tr("&New"), this);
  FileOpenItem_ = new QAction(style()->standardIcon(QStyle::SP_DialogOpenButton), tr("&Open..."), this);
  FileSaveItem_ = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), tr("&Save"), this);
  FileSaveAsItem_ = new QAction(tr("Save &As..."), this);
  FileQueueItem_ = new QAction(tr("&Queue..."), this);
  FilePrintItem_ = new QAction(tr("&Print"), this);
  FilePrintSetupItem_ = new QAction(tr("P&rinter Setup"), this);
  FileCloseItem_ = new QAction(tr("&Close"), this);
  EditUndoItem_ = new QAction(tr("&Undo"), this);
  EditCutItem_ = new QAction(tr("Cu&t"), this);
  EditCopyItem_ = new QAction(tr("&Copy"), this);
  EditPasteItem_ = new QAction(tr("&Paste"), this);
  EditFontItem_ = new QAction(tr("&Font..."), this);
  HelpOverviewItem_ = new QAction(tr("&Overview"), this);
  FileNewItem_->setShortcut(QKeySequence::New);
  FileOpenItem_->setShortcut(QKeySequence::Open);
  FileSaveItem_->setShortcut(QKeySequence::Save);
  FilePrintItem_->setShortcut(QKeySequence::Print);
  EditUndoItem_->setShortcut(QKeySequence::Undo);
  EditCutItem_->setShortcut(QKeySequence::Cut);
  EditCopyItem_->setShortcut(QKeySequence::Copy);
  EditPasteItem_->setShortcut(QKeySequence::Paste);
  BoldButton_ = CheckableAction(this, tr("B"), tr("Bold"));
  ItalicButton_ = CheckableAction(this, tr("I"), tr("Italic"));
  UnderlineButton_ = CheckableAction(this, tr("U"), tr("Underline"));
  StyleLetterButton(BoldButton_, &QFont::setBold);
  StyleLetterButton(ItalicButton_, &QFont::setItalic);
  StyleLetterButton(UnderlineButton_, &QFont::setUnderline);
  BoldButton_->setShortcut(QKeySequence::Bold);
  ItalicButton_->setShortcut(QKeySequence::Italic);
  UnderlineButton_->setShortcut(QKeySequence::Underline);
  LeftAlign_ = CheckableAction(this, tr("Left"), tr("Align Left"));
  CenterAlign_ = CheckableAction(this, tr("Center"), tr("Center"));
  RightAlign_ = CheckableAction(this, tr("Right"), tr("Align Right"));
  auto* alignment = new QActionGroup(this);
  for (QAction* button : {LeftAlign_, CenterAlign_, RightAlign_}) alignment->addAction(button);
  BulletsButton_ = CheckableAction(this, tr("Bullets"), tr("Bullets"));
}

void TLetterWiz::BuildMenu() {
  auto* menus = new QMenuBar(this);
  QMenu* file = menus->addMenu(tr("&File"));
  file->addActions({FileNewItem_, FileOpenItem_, FileSaveItem_, FileSaveAsItem_});
  file->addSeparator();
  file->addAction(FileQueueItem_);
  file->addSeparator();
  file->addActions({FilePrintItem_, FilePrintSetupItem_});
  file->addSeparator();
  file->addAction(FileCloseItem_);
  QMenu* edit = menus->addMenu(tr("&Edit"));
  edit->addActions({EditUndoItem_});
  edit->addSeparator();
  edit->addActions({EditCutItem_, EditCopyItem_, EditPasteItem_});
  edit->addSeparator();
  edit->addAction(EditFontItem_);
  menus->addMenu(tr("&Help"))->addAction(HelpOverviewItem_);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  menus->setObjectName("MainMenu");
}

// Two rows: the commands, then the formats with the font boxes.
QToolBar* TLetterWiz::BuildCommandBar() {
  auto* tools = new QToolBar(this);
  // A tool button shows the action's short text; its hint names the command.
  const auto addTool = [tools](QAction* action, const QString& text, const QString& hint) {
    tools->addAction(action);
    action->setIconText(text);
    action->setToolTip(hint);
  };
  addTool(FileOpenItem_, tr("Open"), tr("Open"));
  addTool(FileSaveItem_, tr("Save"), tr("Save"));
  addTool(FilePrintItem_, tr("Print"), tr("Print"));
  tools->addSeparator();
  addTool(EditUndoItem_, tr("Undo"), tr("Undo"));
  addTool(EditCutItem_, tr("Cut"), tr("Cut"));
  addTool(EditCopyItem_, tr("Copy"), tr("Copy"));
  addTool(EditPasteItem_, tr("Paste"), tr("Paste"));
  tools->addSeparator();
  addTool(FileQueueItem_, tr("Queue"), tr("Print Queue"));
  addTool(FileCloseItem_, tr("Close"), tr("Close"));
  addTool(HelpOverviewItem_, tr("Help"), tr("Help"));
  return tools;
}

QToolBar* TLetterWiz::BuildFormatBar() {
  auto* tools = new QToolBar(this);
  FontName_ = new QFontComboBox(tools);
  FontName_->setToolTip(tr("Font Name"));
  FontSize_ = new QComboBox(tools);
  FontSize_->setEditable(true);
  FontSize_->setToolTip(tr("Font Size"));
  FontSize_->setMinimumContentsLength(3);
  for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 36, 48, 72}) FontSize_->addItem(QString::number(size));
  tools->addWidget(FontName_);
  tools->addWidget(FontSize_);
  tools->addAction(EditFontItem_);
  EditFontItem_->setIconText(tr("Font"));
  EditFontItem_->setToolTip(tr("Font Selection"));
  tools->addSeparator();
  tools->addActions({BoldButton_, ItalicButton_, UnderlineButton_});
  tools->addSeparator();
  tools->addActions({LeftAlign_, CenterAlign_, RightAlign_, BulletsButton_});
  return tools;
}

void TLetterWiz::BuildLayout() {
  RichEdit1_ = new QTextEdit(this);
  RichEdit1_->setAcceptRichText(true);
  RichEdit1_->document()->setDefaultFont(QFont(ToQString(documents::TextRun{}.font), documents::TextRun{}.points));
  RichEdit1_->viewport()->installEventFilter(this);
  Ruler_ = new TRuler(this);
  ComboBox1_ = new QComboBox(this);
  for (const std::string& entry : KeywordListEntries()) ComboBox1_->addItem(ToQString(entry));
  ComboBox1_->setToolTip(tr("Merge codes you may type into the letter"));
  ProcessingPanel_ = new QLabel(tr("Processing..."), this);
  ProcessingPanel_->setAlignment(Qt::AlignCenter);
  ProcessingPanel_->setFrameShape(QFrame::StyledPanel);
  ProcessingPanel_->hide();
  StatusBar1_ = new QStatusBar(this);
  StatusBar1_->setSizeGripEnabled(false);

  auto* keywords = new QHBoxLayout;
  auto* keywordsLabel = new QLabel(tr("&Keywords:"), this);
  keywordsLabel->setBuddy(ComboBox1_);
  keywords->addWidget(keywordsLabel);
  keywords->addWidget(ComboBox1_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(findChild<QMenuBar*>("MainMenu"));
  layout->setContentsMargins(4, 0, 4, 0);
  layout->setSpacing(2);
  layout->addWidget(BuildCommandBar());
  layout->addWidget(BuildFormatBar());
  layout->addLayout(keywords);
  layout->addWidget(Ruler_);
  layout->addWidget(RichEdit1_, 1);
  layout->addWidget(ProcessingPanel_, 1);
  layout->addWidget(StatusBar1_);
}

void TLetterWiz::ConnectSignals() {
  connect(FileNewItem_, &QAction::triggered, this, &TLetterWiz::FileNewClick);
  connect(FileOpenItem_, &QAction::triggered, this, &TLetterWiz::FileOpenClick);
  connect(FileSaveItem_, &QAction::triggered, this, &TLetterWiz::FileSaveClick);
  connect(FileSaveAsItem_, &QAction::triggered, this, &TLetterWiz::FileSaveAsClick);
  connect(FileQueueItem_, &QAction::triggered, this, &TLetterWiz::FileQueueClick);
  connect(FilePrintItem_, &QAction::triggered, this, &TLetterWiz::FilePrintClick);
  connect(FilePrintSetupItem_, &QAction::triggered, this, &TLetterWiz::FilePrinterSetupClick);
  connect(FileCloseItem_, &QAction::triggered, this, &QDialog::close);
  connect(EditUndoItem_, &QAction::triggered, RichEdit1_, &QTextEdit::undo);
  connect(EditCutItem_, &QAction::triggered, RichEdit1_, &QTextEdit::cut);
  connect(EditCopyItem_, &QAction::triggered, RichEdit1_, &QTextEdit::copy);
  connect(EditPasteItem_, &QAction::triggered, RichEdit1_, &QTextEdit::paste);
  connect(EditFontItem_, &QAction::triggered, this, &TLetterWiz::EditFontClick);
  connect(HelpOverviewItem_, &QAction::triggered, this, &TLetterWiz::HelpOverviewClick);
  connect(BoldButton_, &QAction::triggered, this, &TLetterWiz::BoldButtonClick);
  connect(ItalicButton_, &QAction::triggered, this, &TLetterWiz::ItalicButtonClick);
  connect(UnderlineButton_, &QAction::triggered, this, &TLetterWiz::UnderlineButtonClick);
  for (QAction* button : {LeftAlign_, CenterAlign_, RightAlign_}) {
    connect(button, &QAction::triggered, this, [this, button] { AlignButtonClick(button); });
  }
  connect(BulletsButton_, &QAction::triggered, this, &TLetterWiz::BulletsButtonClick);
  connect(FontName_, &QFontComboBox::textActivated, this, &TLetterWiz::FontNameChange);
  connect(FontSize_, &QComboBox::textActivated, this, &TLetterWiz::FontSizeChange);
  connect(Ruler_, &TRuler::IndentsChanged, this, &TLetterWiz::RulerIndentsChanged);
  connect(RichEdit1_, &QTextEdit::cursorPositionChanged, this, &TLetterWiz::RichEdit1SelectionChange);
  connect(RichEdit1_, &QTextEdit::currentCharFormatChanged, this, &TLetterWiz::RichEdit1SelectionChange);
  connect(RichEdit1_->document(), &QTextDocument::undoAvailable, EditUndoItem_, &QAction::setEnabled);
}

// --- The letter and its file ------------------------------------------------------

std::string TLetterWiz::DisplayName() const {
  return fileName_.empty() ? std::string(kUntitled) : fileName_.filename().string();
}

std::string TLetterWiz::DocumentTitle() const {
  return fileName_.empty() ? std::string(kUntitled) : fileName_.stem().string();
}

void TLetterWiz::ShowCaption() {
  setWindowTitle(CaptionOf(DisplayName()));
}

void TLetterWiz::SetLetter(const documents::RtfDocument& letter, const std::filesystem::path& path) {
  ToTextDocument(letter, *RichEdit1_->document());
  RichEdit1_->document()->clearUndoRedoStacks();
  RichEdit1_->document()->setModified(false);
  EditUndoItem_->setEnabled(false);
  fileName_ = path;
  ShowCaption();
  RichEdit1_->moveCursor(QTextCursor::Start);
  RichEdit1SelectionChange();
}

bool TLetterWiz::OpenLetter(const std::filesystem::path& path) {
  std::string bytes;
  if (const model::FileOutcome read = model::ReadWholeFile(path, bytes); !read) {
    services_.dialogs.inform(kLetterWizardCaption, read.error, platform::Icon::kError);
    return false;
  }
  std::string warning;
  const documents::RtfDocument letter = LetterOfFile(path, bytes, warning);
  SetLetter(letter, path);
  if (!warning.empty()) {
    services_.dialogs.inform(kLetterWizardCaption,
                             "Only part of the letter \"" + path.string() + "\" could be read: " + warning,
                             platform::Icon::kWarning);
  }
  return true;
}

bool TLetterWiz::WriteLetter(const std::filesystem::path& path) {
  const std::string bytes = FileBytesOf(path, FromTextDocument(*RichEdit1_->document()));
  if (const model::FileOutcome written = model::WriteWholeFile(path, bytes); !written) {
    services_.dialogs.inform(kLetterWizardCaption, written.error, platform::Icon::kError);
    return false;
  }
  fileName_ = path;
  RichEdit1_->document()->setModified(false);
  ShowCaption();
  return true;
}

bool TLetterWiz::SaveLetterAs(const std::filesystem::path& path) {
  std::error_code ignored;
  if (std::filesystem::exists(path, ignored) &&
      services_.dialogs.ask(kLetterWizardCaption, "OK to overwrite " + path.string(), platform::Buttons::kOkCancel) !=
          platform::Answer::kOk) {
    return false;
  }
  return WriteLetter(path);
}

bool TLetterWiz::SaveThroughDialog() {
  QString filter;
  const QString chosen = QFileDialog::getSaveFileName(this, tr("Save As"), ToQString(fileName_.string()),
                                                      tr(kLetterFilter), &filter, QFileDialog::DontConfirmOverwrite);
  return !chosen.isEmpty() && SaveLetterAs(WithExtension(chosen, filter));
}

bool TLetterWiz::Save() { return fileName_.empty() ? SaveThroughDialog() : WriteLetter(fileName_); }

bool TLetterWiz::SaveChangesFirst() {
  if (!RichEdit1_->document()->isModified()) return true;
  switch (services_.dialogs.ask(kLetterWizardCaption, "Save changes to " + DisplayName() + "?",
                                platform::Buttons::kYesNoCancel)) {
    case platform::Answer::kYes: return Save();
    case platform::Answer::kNo: return true;
    default: return false;
  }
}

void TLetterWiz::FileNewClick() {
  if (SaveChangesFirst()) SetLetter({}, {});
}

void TLetterWiz::FileOpenClick() {
  if (!SaveChangesFirst()) return;
  const QString chosen = QFileDialog::getOpenFileName(this, tr("Open"), QString(), tr(kLetterFilter));
  if (!chosen.isEmpty()) OpenLetter(chosen.toStdString());
}

void TLetterWiz::FileSaveClick() { Save(); }

void TLetterWiz::FileSaveAsClick() { SaveThroughDialog(); }

void TLetterWiz::FileQueueClick() { Tlblwiz(services_, dataFolder_, this).exec(); }

void TLetterWiz::closeEvent(QCloseEvent* event) {
  if (SaveChangesFirst()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TLetterWiz::eventFilter(QObject* watched, QEvent* event) {
  if (watched == RichEdit1_->viewport() && event->type() == QEvent::Resize) ShowRulerOfCursor();
  return QDialog::eventFilter(watched, event);
}

void TLetterWiz::HelpOverviewClick() { services_.help.ShowTopic(kHelpKeyword); }

// --- Printing ---------------------------------------------------------------------

bool TLetterWiz::LetterCanBePrinted() {
  if (services_.labelQueue.Empty()) {
    services_.dialogs.inform(kLetterMessageCaption,
                             "You do not have any customer records listed in the Label print queue.");
    return false;
  }
  if (RichEdit1_->document()->toPlainText().trimmed().isEmpty()) {
    services_.dialogs.inform(kLetterMessageCaption,
                             "You do not have any text to print. You need to create or open an existing letter.");
    return false;
  }
  return true;
}

void TLetterWiz::FilePrintClick() {
  if (!LetterCanBePrinted()) return;
  // Without a printer, the dialog offers a PDF in "Printouts".
  platform::qt::RouteToPrinterOrPdf(services_.printer, DocumentTitle());
  QPrintDialog dialog(&services_.printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintLetters(PrinterAsChosen(services_.printer));
}

void TLetterWiz::FilePrinterSetupClick() {
  QPrintDialog dialog(&services_.printer, this);
  dialog.exec();
}

bool TLetterWiz::WriteMergeTemplate(const documents::RtfDocument& letter) {
  const model::FileOutcome written = model::WriteWholeFile(dataFolder_ / kLetterTemplateFile, documents::WriteRtf(letter));
  if (!written) services_.dialogs.inform(kLetterWizardCaption, written.error, platform::Icon::kError);
  return written.ok;
}

void TLetterWiz::ShowProcessing(bool processing) {
  RichEdit1_->setVisible(!processing);
  Ruler_->setVisible(!processing);
  ProcessingPanel_->setText(tr("Processing..."));
  ProcessingPanel_->setVisible(processing);
  QApplication::processEvents();
}

// The editor is never loaded with a merged copy: the letter with its codes stays in it,
// and unsaved changes stay unsaved but are what is printed.
void TLetterWiz::PrintLetters(const LetterPrinter& printOne) {
  if (!LetterCanBePrinted() || !SaveChangesFirst()) return;
  const documents::RtfDocument letter = FromTextDocument(*RichEdit1_->document());
  if (!WriteMergeTemplate(letter)) return;
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  if (!customers.Open()) {
    model::RemoveFile(dataFolder_ / kLetterTemplateFile);
    return;
  }
  const platform::qt::WaitCursor hourglass;
  ShowProcessing(true);
  const auto& queued = services_.labelQueue.Entries();
  QTextDocument merged;
  int printed = 0;
  for (std::size_t i = 0; i < queued.size(); ++i) {
    ProcessingPanel_->setText(QString("Processing letter %1 of %2...").arg(i + 1).arg(queued.size()));
    QApplication::processEvents();
    engine::RecordNumber number = 0;
    model::CustomerRecord customer{};
    if (!shell::FindCustomerByNumber(customers, queued[i].caption, number, customer)) continue;
    ToTextDocument(MergeLetter(letter, MergeValuesFor(customer, services_.session.CurrentCompany)), merged);
    if (printOne(merged, DocumentTitle())) ++printed;
  }
  ShowProcessing(false);
  model::RemoveFile(dataFolder_ / kLetterTemplateFile);
  StatusBar1_->showMessage(tr("%n letter(s) printed.", nullptr, printed));
}

// --- Formatting -------------------------------------------------------------------

// Without a selection a format goes to the word the cursor stands inside, as word
// processors do; at either end of a word it is only for what is typed next, so
// turning bold off after a bold word leaves the word bold.
void TLetterWiz::MergeFormat(const QTextCharFormat& format) {
  if (showingFormat_) return;
  QTextCursor cursor = RichEdit1_->textCursor();
  if (!cursor.hasSelection() && InsideWord(cursor)) cursor.select(QTextCursor::WordUnderCursor);
  if (cursor.hasSelection()) cursor.mergeCharFormat(format);
  RichEdit1_->mergeCurrentCharFormat(format);
  RichEdit1_->setFocus();
}

void TLetterWiz::BoldButtonClick(bool on) {
  QTextCharFormat format;
  format.setFontWeight(on ? QFont::Bold : QFont::Normal);
  MergeFormat(format);
}

void TLetterWiz::ItalicButtonClick(bool on) {
  QTextCharFormat format;
  format.setFontItalic(on);
  MergeFormat(format);
}

void TLetterWiz::UnderlineButtonClick(bool on) {
  QTextCharFormat format;
  format.setFontUnderline(on);
  MergeFormat(format);
}

void TLetterWiz::FontNameChange(const QString& family) {
  QTextCharFormat format;
  format.setFontFamilies({family});
  MergeFormat(format);
}

void TLetterWiz::FontSizeChange(const QString& size) {
  bool ok = false;
  const double points = size.toDouble(&ok);
  if (!ok || points <= 0 || points > 1638) return;
  QTextCharFormat format;
  format.setFontPointSize(points);
  MergeFormat(format);
}

void TLetterWiz::EditFontClick() {
  QFont font = RichEdit1_->currentFont();
  QColor color = RichEdit1_->textColor();
  if (!shell::ui::ChooseFontAndColor(this, font, color)) return;
  QTextCharFormat format;
  format.setFont(font);
  format.setForeground(color);
  MergeFormat(format);
}

void TLetterWiz::AlignButtonClick(QAction* button) {
  const Qt::Alignment alignment = button == CenterAlign_  ? Qt::AlignHCenter
                                  : button == RightAlign_ ? Qt::AlignRight
                                                          : Qt::AlignLeft;
  RichEdit1_->setAlignment(alignment | Qt::AlignAbsolute);
  RichEdit1_->setFocus();
}

void TLetterWiz::BulletsButtonClick(bool on) {
  QTextCursor cursor = RichEdit1_->textCursor();
  cursor.beginEditBlock();
  if (on) {
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    cursor.createList(bullets);
  } else if (QTextList* list = cursor.currentList()) {
    for (QTextBlock block = cursor.document()->findBlock(cursor.selectionStart());
         block.isValid() && block.position() <= cursor.selectionEnd(); block = block.next()) {
      list->remove(block);
      QTextBlockFormat plain = block.blockFormat();
      plain.setIndent(0);
      QTextCursor(block).setBlockFormat(plain);
    }
  }
  cursor.endEditBlock();
  ShowRulerOfCursor();
  RichEdit1_->setFocus();
}

// The ruler sets the indents of every paragraph the selection touches.
void TLetterWiz::RulerIndentsChanged(double firstLine, double left, double right) {
  if (showingFormat_) return;
  QTextCursor cursor = RichEdit1_->textCursor();
  QTextBlockFormat indents;
  indents.setTextIndent(LayoutPixelsOf(firstLine));
  indents.setLeftMargin(LayoutPixelsOf(left));
  indents.setRightMargin(LayoutPixelsOf(right));
  cursor.mergeBlockFormat(indents);
}

void TLetterWiz::RichEdit1SelectionChange() {
  showingFormat_ = true;
  ShowFormatOfCursor();
  ShowRulerOfCursor();
  showingFormat_ = false;
}

void TLetterWiz::ShowFormatOfCursor() {
  const QTextCharFormat format = RichEdit1_->currentCharFormat();
  BoldButton_->setChecked(format.fontWeight() >= QFont::Bold);
  ItalicButton_->setChecked(format.fontItalic());
  UnderlineButton_->setChecked(format.fontUnderline());
  const Qt::Alignment alignment = RichEdit1_->alignment();
  CenterAlign_->setChecked(alignment & Qt::AlignHCenter);
  RightAlign_->setChecked(alignment & Qt::AlignRight);
  LeftAlign_->setChecked(!(alignment & (Qt::AlignHCenter | Qt::AlignRight)));
  BulletsButton_->setChecked(RichEdit1_->textCursor().currentList() != nullptr);
  const QFont font = format.font();
  FontName_->setCurrentFont(font);
  const double points = format.fontPointSize() > 0 ? format.fontPointSize() : font.pointSizeF();
  FontSize_->setEditText(QString::number(points));
}

void TLetterWiz::ShowRulerOfCursor() {
  const QTextBlockFormat block = RichEdit1_->textCursor().blockFormat();
  const QTextDocument& document = *RichEdit1_->document();
  const double margin = document.documentMargin();
  Ruler_->SetOrigin(RichEdit1_->frameWidth() + static_cast<int>(margin));
  Ruler_->SetTextWidth(PointsOfLayoutPixels(RichEdit1_->viewport()->width() - 2 * margin));
  Ruler_->SetIndents(PointsOfLayoutPixels(block.textIndent()), PointsOfLayoutPixels(block.leftMargin()),
                     PointsOfLayoutPixels(block.rightMargin()));
}

}  // namespace reports::ui
