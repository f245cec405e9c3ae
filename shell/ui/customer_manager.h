// The customer manager: the current company's customers in a keyed browser by name or
// by number, with adding, editing, deleting, finding, the customer list, envelopes and
// the label queue. Other windows open it as a picker to choose a customer.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "model/records.h"
#include "shell/customers.h"
#include "shell/ui/app_services.h"
#include "shell/ui/customer_edit.h"

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

namespace platform::qt {
class TProgressWindow;
}

namespace shell::ui {

class TManagerFrame;

class TCustManager : public QDialog {
  Q_OBJECT

 public:
  TCustManager(AppServices& services, QWidget* parent = nullptr);
  ~TCustManager() override;

  // Shows the window modally as a picker, on the customer numbered `startAt` when
  // there is one: double-click or Enter closes it with that row's customer, which is
  // returned; nullopt when none was chosen.
  std::optional<model::CustomerRecord> PickCustomer(std::string_view startAt = {});
  // What PickCustomer sets before showing, for callers that show the window themselves.
  void SetPickerMode(bool picking, std::string_view startAt = {});
  bool PickerMode() const { return picking_; }
  // The customer chosen in picker mode.
  const std::optional<model::CustomerRecord>& Picked() const { return picked_; }

  // The order chosen last in this run (by name until "By N&umber" is chosen).
  static engine::KeyNumber ChosenOrder();

  // Closing in any way closes the customer file.
  void done(int result) override;

  TManagerFrame* Frame() const { return Frame_; }
  TEditRecord* EditRecord() const { return EditRecord_; }
  QMenuBar* MainMenu() const { return MainMenu_; }
  QMenu* PopupMenu() const { return PopupMenu_; }
  QToolBar* ToolBar() const { return ToolBar_; }
  QAction* NewItem() const { return NewItem_; }
  QAction* EditItem() const { return EditItem_; }
  QAction* DeleteItem() const { return DeleteItem_; }
  QAction* FindItem() const { return FindItem_; }
  QAction* CustomerListItem() const { return CustomerListItem_; }
  QAction* LabelQueueItem() const { return LabelQueueItem_; }
  QAction* EnvelopeItem() const { return EnvelopeItem_; }
  QAction* CloseItem() const { return CloseItem_; }
  QAction* ViewPrintItem() const { return ViewPrintItem_; }
  QAction* BatchPrintItem() const { return BatchPrintItem_; }
  QAction* StatementItem() const { return StatementItem_; }
  QAction* ByNameItem() const { return ByNameItem_; }
  QAction* ByNumberItem() const { return ByNumberItem_; }
  QAction* PrintWindowItem() const { return PrintWindowItem_; }

 signals:
  // The customer file cannot be opened: the program cannot go on.
  void programMustEnd();
  // A text for the main window's status bar as well ("... added to label queue.").
  void statusMessage(const QString& text);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildLayout();
  QAction* AddCommand(QMenu* menu, const QString& text, void (TCustManager::*handler)());
  void FormShow();
  bool OpenCustomerFile();
  void PositionOnStartCustomer();
  void PositionOn(engine::RecordNumber number, const model::CustomerRecord& customer);
  // The current row's customer, copied out of the browser's buffer, which every
  // repaint overwrites; nullopt without a current row.
  std::optional<model::CustomerRecord> CurrentCustomer();
  files::Services Logic() const;
  TEditRecord::Check EntryCheck(std::optional<std::string> originalNumber);
  void ShowStatus(const QString& text);
  void ShowPrintout(bool printed, const QString& printedText);

  void NewItemClick();
  void EditItemClick();
  void DeleteItemClick();
  void FindItemClick();
  void CustomerListItemClick();
  void LabelQueueItemClick();
  void EnvelopeItemClick();
  void CloseItemClick();
  void ByNameItemClick();
  void ByNumberItemClick();
  void PrintWindowItemClick();
  void StmtPrinClick();
  void BatchPrinButnClick();
  void HelpItemClick();
  void FrameRowChosen();
  void BrowserContextMenu(const QPoint& position);

  AppServices& services_;
  model::CustomerRecord record_{};  // the browser's row buffer
  bool picking_ = false;
  std::string startAt_;  // picker mode: the customer number to open on
  std::optional<model::CustomerRecord> picked_;
  TManagerFrame* Frame_;
  TEditRecord* EditRecord_;
  platform::qt::TProgressWindow* ProgressWindow_;
  QMenuBar* MainMenu_;
  QMenu* PopupMenu_;
  QToolBar* ToolBar_;
  QAction* NewItem_ = nullptr;
  QAction* EditItem_ = nullptr;
  QAction* DeleteItem_ = nullptr;
  QAction* FindItem_ = nullptr;
  QAction* CustomerListItem_ = nullptr;
  QAction* LabelQueueItem_ = nullptr;
  QAction* EnvelopeItem_ = nullptr;
  QAction* CloseItem_ = nullptr;
  QAction* ViewPrintItem_ = nullptr;
  QAction* BatchPrintItem_ = nullptr;
  QAction* StatementItem_ = nullptr;  // the pop-up menu's way to the statement
  QAction* ByNameItem_ = nullptr;
  QAction* ByNumberItem_ = nullptr;
  QAction* PrintWindowItem_ = nullptr;
  QAction* HelpItem_ = nullptr;
};

}  // namespace shell::ui
