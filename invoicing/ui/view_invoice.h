// The "View Invoice" window: one invoice on screen as the printed page would give it,
// the customer and addresses, details, the lines (sortable by any column) or the memo,
// the banner of a repeat master, generated invoice or deposit, the totals and the
// customer's notes. A double-click anywhere, any key or Close closes it.
#pragma once

#include <QDialog>
#include <array>

#include "invoicing/invoice_view.h"
#include "platform/help.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace invoicing::ui {

class Trtedit : public QDialog {
  Q_OBJECT

 public:
  explicit Trtedit(platform::Help& help, QWidget* parent = nullptr);

  void Show(const InvoiceViewContent& view);

  // What the window shows, for tests: every visible label's text, top to bottom.
  QStringList Texts() const;
  QTreeWidget* LineList() const { return LineList_; }
  QPlainTextEdit* MemoText() const { return MemoText_; }
  QPushButton* CloseButton() const { return CloseButton_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void CloseButtonClick();
  void HelpButtonClick();

  platform::Help& help_;
  QLabel* CustName_;
  QLabel* BillTo_;
  QLabel* ShipTo_;
  QLabel* Details_;
  QLabel* Description_;
  QLabel* Banner_;
  QTreeWidget* LineList_;
  QPlainTextEdit* MemoText_;
  std::array<QLabel*, 5> AmountLabel_;
  std::array<QLabel*, 5> AmountValue_;
  QLabel* Notes_;
  QPushButton* CloseButton_;
  QPushButton* HelpButton_;
};

}  // namespace invoicing::ui
