// The find box ("Find..."): the managers open it over one of their files to list every
// record holding a piece of text; a double-click on a row closes it with result 1 and
// the manager reads the chosen row to position its browser.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/help.h"
#include "shell/find.h"

class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;

namespace shell::ui {

class TFindBox : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRowChosen = 1;

  // Runs one search: the rows of the records holding the search text.
  using Search = std::function<std::vector<FoundRow>(std::string_view searchText)>;

  TFindBox(platform::Dialogs& dialogs, platform::Help& help, QWidget* parent = nullptr);

  // Before exec(): what to search, as the mode's headings and the search the caller
  // runs over its own open file, and the caption.
  void SetSearch(FindMode mode, Search search, const QString& title = tr("Find..."));
  // The row selected when the box closed with kRowChosen; nullopt without one.
  std::optional<FoundRow> SelectedRow() const;

  QLineEdit* FindText() const { return FindText_; }
  QPushButton* FindButton() const { return FindButton_; }
  QPushButton* Button1() const { return Button1_; }
  QPushButton* HelpButn() const { return HelpButn_; }
  QTreeWidget* ListView1() const { return ListView1_; }
  QString StatusText() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void ConnectSignals();
  void FormShow();
  void FindTextChange();
  void FindTextReturn();
  void FindButtonClick();
  void ShowRows();
  void ReportCount();
  void ListView1DblClick();
  void ListView1ColumnClick(int column);
  void HelpButnClick();
  void ShowStatus(const QString& text);

  platform::Dialogs& dialogs_;
  platform::Help& help_;
  FindMode mode_ = FindMode::kTransactions;
  Search search_;
  // The rows of the last search in file order; each list item keeps its index here,
  // so sorting the list does not lose which record a row stands for.
  std::vector<FoundRow> rows_;
  QLineEdit* FindText_;
  QPushButton* FindButton_;
  QPushButton* Button1_;
  QPushButton* HelpButn_;
  QTreeWidget* ListView1_;
  QStatusBar* StatusBar1_;
};

}  // namespace shell::ui
