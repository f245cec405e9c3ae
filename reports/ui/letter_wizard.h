// "Form Letter Wizard": a small rich-text editor for letters holding merge codes, and
// the run that prints one merged copy for every customer in the label print queue.
// reports/letter_merge does the merging; this window edits, files and prints.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>

#include "documents/rtf_document.h"
#include "shell/ui/app_services.h"

class QAction;
class QComboBox;
class QFontComboBox;
class QLabel;
class QStatusBar;
class QTextCharFormat;
class QTextDocument;
class QTextEdit;
class QToolBar;

namespace reports::ui {

class TRuler;

class TLetterWiz : public QDialog {
  Q_OBJECT

 public:
  // `dataFolder` is where the merge template "QYLetter.TMP" is kept during a run.
  TLetterWiz(shell::ui::AppServices& services, std::filesystem::path dataFolder, QWidget* parent = nullptr);

  QTextEdit* RichEdit1() const { return RichEdit1_; }
  TRuler* Ruler() const { return Ruler_; }
  QComboBox* ComboBox1() const { return ComboBox1_; }
  QFontComboBox* FontName() const { return FontName_; }
  QComboBox* FontSize() const { return FontSize_; }
  QLabel* ProcessingPanel() const { return ProcessingPanel_; }
  QStatusBar* StatusBar1() const { return StatusBar1_; }
  QAction* BoldButton() const { return BoldButton_; }
  QAction* ItalicButton() const { return ItalicButton_; }
  QAction* UnderlineButton() const { return UnderlineButton_; }
  QAction* LeftAlign() const { return LeftAlign_; }
  QAction* CenterAlign() const { return CenterAlign_; }
  QAction* RightAlign() const { return RightAlign_; }
  QAction* BulletsButton() const { return BulletsButton_; }
  QAction* FileNewItem() const { return FileNewItem_; }
  QAction* FileQueueItem() const { return FileQueueItem_; }

  // The letter's file, empty while it is "Untitled".
  const std::filesystem::path& FileName() const { return fileName_; }
  // Opens and saves as the menu commands do, with the file already chosen. Save As
  // asks before replacing a file; both say what went wrong when they fail.
  bool OpenLetter(const std::filesystem::path& path);
  bool SaveLetterAs(const std::filesystem::path& path);

  // Prints one merged copy; false when it could not be printed.
  using LetterPrinter = std::function<bool(const QTextDocument& letter, const std::string& title)>;
  // The merge run after the print dialog: one letter per queued customer through
  // `printOne`. The editor keeps the letter with its codes throughout.
  void PrintLetters(const LetterPrinter& printOne);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The ruler follows the width of the text.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildActions();
  void BuildMenu();
  QToolBar* BuildCommandBar();
  QToolBar* BuildFormatBar();
  void BuildLayout();
  void ConnectSignals();

  void FileNewClick();
  void FileOpenClick();
  void FileSaveClick();
  void FileSaveAsClick();
  void FileQueueClick();
  void FilePrintClick();
  void FilePrinterSetupClick();
  void EditFontClick();
  void HelpOverviewClick();
  void BoldButtonClick(bool on);
  void ItalicButtonClick(bool on);
  void UnderlineButtonClick(bool on);
  void AlignButtonClick(QAction* button);
  void BulletsButtonClick(bool on);
  void FontNameChange(const QString& family);
  void FontSizeChange(const QString& size);
  void RulerIndentsChanged(double firstLine, double left, double right);
  void RichEdit1SelectionChange();

  // Asks "Save changes to %s?" when the letter was changed; false when the user
  // cancelled, or chose to save and the save did not happen.
  bool SaveChangesFirst();
  bool Save();
  bool SaveThroughDialog();
  bool WriteLetter(const std::filesystem::path& path);
  bool LetterCanBePrinted();
  bool WriteMergeTemplate(const documents::RtfDocument& letter);
  void ShowProcessing(bool processing);
  void SetLetter(const documents::RtfDocument& letter, const std::filesystem::path& path);
  void ShowCaption();
  std::string DisplayName() const;    // the file's name, for the caption and questions
  std::string DocumentTitle() const;  // the file's name without extension, for print jobs
  void MergeFormat(const QTextCharFormat& format);
  void ShowFormatOfCursor();
  void ShowRulerOfCursor();

  shell::ui::AppServices& services_;
  std::filesystem::path dataFolder_;
  std::filesystem::path fileName_;
  bool showingFormat_ = false;  // the controls follow the cursor: their signals change nothing

  QTextEdit* RichEdit1_;
  TRuler* Ruler_;
  QComboBox* ComboBox1_;
  QFontComboBox* FontName_;
  QComboBox* FontSize_;
  QLabel* ProcessingPanel_;
  QStatusBar* StatusBar1_;
  QAction* FileNewItem_ = nullptr;
  QAction* FileOpenItem_ = nullptr;
  QAction* FileSaveItem_ = nullptr;
  QAction* FileSaveAsItem_ = nullptr;
  QAction* FileQueueItem_ = nullptr;
  QAction* FilePrintItem_ = nullptr;
  QAction* FilePrintSetupItem_ = nullptr;
  QAction* FileCloseItem_ = nullptr;
  QAction* EditUndoItem_ = nullptr;
  QAction* EditCutItem_ = nullptr;
  QAction* EditCopyItem_ = nullptr;
  QAction* EditPasteItem_ = nullptr;
  QAction* EditFontItem_ = nullptr;
  QAction* HelpOverviewItem_ = nullptr;
  QAction* BoldButton_ = nullptr;
  QAction* ItalicButton_ = nullptr;
  QAction* UnderlineButton_ = nullptr;
  QAction* LeftAlign_ = nullptr;
  QAction* CenterAlign_ = nullptr;
  QAction* RightAlign_ = nullptr;
  QAction* BulletsButton_ = nullptr;
};

}  // namespace reports::ui
