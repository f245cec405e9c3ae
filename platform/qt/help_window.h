// The help window: the program's own help pages, opened by keyword from any window's
// Help button, with a contents list grouped by subject, a word search over the pages,
// links between pages and Back, Forward, Contents and Print buttons.
#pragma once

#include <QHash>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "platform/help.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform::qt {

class THelpWindow : public QWidget, public platform::Help {
  Q_OBJECT

 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows and raises the window on the page of `keyword` (case ignored); an unknown
  // keyword opens the contents page with a note saying so.
  void ShowTopic(std::string_view keyword) override;
  void ShowContents() override;

  // Every keyword ShowTopic knows, spelt as the program passes it.
  std::vector<std::string> Keywords() const;
  // The <title> of the page shown, and its address ("qrc:/help/<page>.html").
  QString CurrentTitle() const;
  QUrl CurrentSource() const;
  // The note above the page; empty unless the last keyword asked for was unknown.
  QString Note() const;

 protected:
  bool event(QEvent* event) override;

 private:
  QWidget* BuildButtonRow();
  QWidget* BuildContentsPane();
  QWidget* BuildPagePane();
  void FillContentsList();
  void LoadSearchTexts();
  void ConnectSignals();

  void OpenPage(const QUrl& page);
  void PresentPage(const QUrl& page);  // opens it with the whole contents listed, in front
  void FollowModalWindow();
  void SelectContentsEntry(const QUrl& page);
  void OpenContentsEntry(QTreeWidgetItem* item);
  void FilterContents(const QString& words);
  void OpenFirstListedPage();
  bool PageMentionsAll(const QUrl& page, const QStringList& words) const;
  void PrintPage();

  QTreeWidget* contents_ = nullptr;
  QLineEdit* search_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  QLabel* note_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QPushButton* home_ = nullptr;
  QPushButton* print_ = nullptr;
  QHash<QUrl, QString> searchTexts_;  // page → its title and text, lower case
};

}  // namespace platform::qt
