// "Check Books": what the company's files keep beside the transactions (balances,
// aging, the A/R total, paid marks, the next invoice number) compared with what the
// transactions say, and the records that point at nothing; "Repair..." rewrites the
// kept figures after a backup. books/integrity does the work.
#pragma once

#include <QDialog>
#include <optional>

#include "books/integrity.h"
#include "shell/ui/app_services.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace shell::ui {

class TBooksCheck : public QDialog {
  Q_OBJECT

 public:
  explicit TBooksCheck(AppServices& services, QWidget* parent = nullptr);

  QLabel* Summary() const { return Summary_; }
  QTreeWidget* FindingList() const { return FindingList_; }
  QPushButton* CheckButton() const { return CheckButton_; }
  QPushButton* RepairButton() const { return RepairButton_; }

  // Reads the books and shows what differs; the window does this as it opens.
  void CheckButtonClick();
  void RepairButtonClick();

 private:
  void ShowCheck();

  AppServices& services_;
  std::optional<books::BooksCheck> check_;
  QLabel* Summary_;
  QTreeWidget* FindingList_;
  QPushButton* CheckButton_;
  QPushButton* RepairButton_;
  QPushButton* HelpButton_;
  QPushButton* CloseButton_;
};

}  // namespace shell::ui
