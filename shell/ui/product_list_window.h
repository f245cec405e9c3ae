// The product list window: the product list report in a read-only rich-text view,
// with tool buttons to print it, to set it in another font and to save it as a
// rich-text file.
#pragma once

#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

#include "documents/list_report.h"
#include "documents/rtf_writer.h"
#include "platform/dialogs.h"
#include "shell/products.h"

class QLabel;
class QPrinter;
class QTextDocument;
class QTextEdit;
class QToolButton;

namespace shell::ui {

// Lays the document out in `target`, replacing what it held.
void ShowRtfDocument(QTextDocument& target, const documents::RtfDocument& document);

class TProdList : public QDialog {
  Q_OBJECT

 public:
  TProdList(platform::Dialogs& dialogs, QPrinter& printer, QWidget* parent = nullptr);

  void ShowReport(documents::ListReport report);
  const documents::RtfDocument& Document() const { return document_; }

  // The common dialogs, replaceable so that tests can answer them.
  std::function<std::optional<QFont>(const QFont& current)> ChooseFont;
  std::function<QString(const QString& suggestedName)> ChooseSaveFile;

  QTextEdit* RichEdit1() const { return RichEdit1_; }
  QToolButton* PrintButton() const { return PrintButton_; }
  QToolButton* FontButton() const { return FontButton_; }
  QToolButton* SaveButton() const { return SaveButton_; }
  QString StatusText() const;

 private:
  void BuildLayout();
  void ConnectSignals();
  void Render();
  void PrintButtonClick();
  void FontButtonClick();
  void SaveButtonClick();

  platform::Dialogs& dialogs_;
  QPrinter& printer_;
  documents::ListReport report_;
  BodyFont font_;
  // What the view shows, prints and saves: one model for all three.
  documents::RtfDocument document_;
  QTextEdit* RichEdit1_;
  QToolButton* PrintButton_;
  QToolButton* FontButton_;
  QToolButton* SaveButton_;
  QLabel* StatusLabel_;
};

}  // namespace shell::ui
