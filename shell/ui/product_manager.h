// The product manager: the current company's products in the keyed browser, by code
// or by description, with New, Edit, Delete, Find, the product list and Print Window.
// Invoice entry opens it as a picker that hands the chosen product back.
#pragma once

#include <QDialog>
#include <map>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "model/records.h"
#include "shell/ui/app_services.h"
#include "shell/ui/product_edit.h"

class QAction;
class QMenuBar;
class QToolBar;

namespace shell::ui {

class TManagerFrame;
class TProdList;

enum class ProductCommand {
  kNew, kEdit, kDelete, kFind, kList, kClose, kByCode, kByDescription, kPrintWindow, kHelp,
};

class TProdManager : public QDialog {
  Q_OBJECT

 public:
  explicit TProdManager(AppServices& services, QWidget* parent = nullptr);
  ~TProdManager() override;

  // Before exec(): the manager picks a product for invoice entry, opening on the
  // product with `startCode` when there is one. A chosen row closes it with Accepted.
  void PickProduct(std::string_view startCode = {});
  const model::ProductRecord& ChosenProduct() const { return chosen_; }

  // Every way of closing ends here, and closes the product file.
  void done(int result) override;

  QAction* Action(ProductCommand command) const { return actions_.at(command); }
  TManagerFrame* Frame() const { return Frame_; }
  TEditProduct* EditDialog() const { return EditDialog_; }
  TProdList* ProductList() const { return ProdList_; }

 signals:
  // The product file could not be opened: the program ends.
  void programMustEnd();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  QAction* AddAction(ProductCommand command, const QString& text);
  void ConnectSignals();
  std::string Today() const;
  TEditProduct::Check EntryCheck(std::string oldCode);
  // Reads the browser's current product into `product`; false on an empty list.
  bool ReadCurrentProduct(engine::RecordNumber& number, model::ProductRecord& product);
  void PositionOnProduct(engine::RecordNumber number, const model::ProductRecord& product);
  void PositionOnCode(std::string_view code);
  void ShowOrder(engine::KeyNumber order);

  void FormShow();
  void NewItemClick();
  void EditItemClick();
  void DeleteItemClick();
  void FindItemClick();
  void ListItemClick();
  void PrintWindowItemClick();
  void CloseItemClick();
  void ByCodeItemClick();
  void ByDescriptionItemClick();
  void HelpItemClick();
  void BrowserRowChosen();

  AppServices& services_;
  engine::KeyNumber order_;
  bool picking_ = false;
  std::string startCode_;
  model::ProductRecord chosen_{};
  // The browser reads each row's record here; handlers copy what they keep.
  model::ProductRecord row_{};
  std::map<ProductCommand, QAction*> actions_;
  QMenuBar* MainMenu_;
  QToolBar* ToolBar1_;
  TManagerFrame* Frame_;
  TEditProduct* EditDialog_;
  TProdList* ProdList_;
};

}  // namespace shell::ui
