// The invoice manager: the current company's invoices and payment records in the keyed
// browser, in six views, with New, Edit and Delete through the invoice entry window,
// Find, viewing and printing an invoice, batch printing, the repeat billing set-up, the
// quick view of a record and its customer, and the customer filter. The program makes it once, so the entry
// window's work timer runs on between showings.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "files/keyed_file.h"
#include "files/table.h"
#include "invoicing/invoice_books.h"
#include "model/records.h"
#include "shell/ui/app_services.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;

namespace platform::qt {
class TProgressWindow;
}
namespace shell::ui {
class TManagerFrame;
}

namespace invoicing::ui {

class TProdInv;
class TCustData;
class TRepeatForm;
class Trtedit;

enum class InvoiceCommand {
  kNew, kEdit, kDelete, kFind, kView, kCustomerData, kPrint, kBatchPrint, kRepeatSetup, kClose, kFilter, kHelp,
};

class Tinvlist : public QDialog {
  Q_OBJECT

 public:
  explicit Tinvlist(shell::ui::AppServices& services, QWidget* parent = nullptr);
  ~Tinvlist() override;

  // Every way of closing ends here, and closes the three files.
  void done(int result) override;

  QAction* Action(InvoiceCommand command) const { return actions_.at(command); }
  // The "&Display" menu's item for a key number (1..6).
  QAction* ViewAction(engine::KeyNumber key) const { return viewActions_.at(key); }
  shell::ui::TManagerFrame* Frame() const { return Frame_; }
  TProdInv* EntryWindow() const { return ProdInv_; }
  TCustData* QuickViewWindow() const { return CustData_; }
  Trtedit* ViewWindow() const { return Rtedit_; }
  TRepeatForm* RepeatWindow() const { return RepeatForm_; }
  QString ArTotalText() const;
  QString FilterText() const;
  QString TimerText() const;

 signals:
  // The invoice files cannot be opened: the program cannot go on.
  void programMustEnd();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void BuildLayout();
  QAction* AddAction(InvoiceCommand command, const QString& text, void (Tinvlist::*handler)());
  bool OpenFiles();
  void ShowCompanyTotals();
  void ShowTimerState();
  void ShowView(engine::KeyNumber key);
  void PositionOn(files::RecordNumber number, const model::TransactionRecord& header);
  void PositionOnInvoice(std::string_view invoiceNo);
  // The current row's record, copied out of the browser's buffer.
  std::optional<files::Row<model::TransactionRecord>> CurrentInvoice();
  InvoiceFiles Files();
  files::Services Logic() const;
  std::function<bool(std::string_view)> NumberOnFile();
  void SetFilter(std::optional<std::string> customerNumber);
  void ShowInvoice(std::string_view invoiceNo);
  // Prints the invoice with its copies: whether it printed, and where it went.
  std::pair<bool, QString> PrintNumbered(std::string_view invoiceNo);

  void FormShow();
  void NewItemClick();
  void EditItemClick();
  void DeleteItemClick();
  void FindItemClick();
  void CustomerDataItemClick();
  void ViewItemClick();
  void PrintItemClick();
  void BatchPrintItemClick();
  void RepeatSetupItemClick();
  void FilterButtonClick();
  void CloseItemClick();
  void HelpItemClick();
  void ViewByItemClick(engine::KeyNumber key);

  shell::ui::AppServices& services_;
  model::TransactionRecord row_{};  // the browser's row buffer
  engine::KeyNumber view_;
  // The date of the last invoice entered while the program runs; new invoices take it.
  std::string lastInvoiceDate_;
  std::optional<std::string> filterCustomer_;
  std::unique_ptr<files::KeyedFile> details_;
  std::unique_ptr<files::KeyedFile> memos_;
  std::map<InvoiceCommand, QAction*> actions_;
  std::map<engine::KeyNumber, QAction*> viewActions_;
  QMenuBar* MainMenu_;
  QToolBar* ToolBar1_;
  shell::ui::TManagerFrame* Frame_;
  QLabel* ArBal_;
  QLabel* FilterLabel_;
  QLabel* TimerPanel_;
  platform::qt::TProgressWindow* ProgressWindow_;
  TProdInv* ProdInv_;
  TCustData* CustData_;
  Trtedit* Rtedit_;
  TRepeatForm* RepeatForm_;
};

}  // namespace invoicing::ui
