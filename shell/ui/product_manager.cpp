#include "shell/ui/product_manager.h"

#include <QAction>
#include <QActionGroup>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "engine/ui/fvc_browser.h"
#include "files/company_files.h"
#include "model/company_session.h"
#include "model/dates.h"
#include "model/keys.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/products.h"
#include "shell/ui/find_box.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/product_edit.h"
#include "shell/ui/product_list_window.h"
#include "shell/ui/tool_icons.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kWindowTitle = "Product Manager";

}  // namespace

TProdManager::TProdManager(AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      order_(model::product_key::kCode),
      MainMenu_(new QMenuBar(this)),
      ToolBar1_(new QToolBar(this)),
      Frame_(new TManagerFrame(services, this)),
      EditDialog_(new TEditProduct(services.help, this)),
      ProdList_(new TProdList(services.dialogs, services.printer, this)) {
  setWindowTitle(ToQString(kWindowTitle));
  connect(Frame_, &TManagerFrame::programMustEnd, this, &TProdManager::programMustEnd);
  platform::qt::SetHelpKeyword(*this, "ProductManager");
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  resize(820, 520);
  Frame_->SetCountPrefix(tr("Products: "));
  Frame_->SetHeader(ToQString(ProductHeader()));
  BuildActions();
  BuildMenus();
  BuildToolBar();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(MainMenu_);
  layout->addWidget(ToolBar1_);
  layout->addWidget(Frame_, 1);
  ConnectSignals();
}

TProdManager::~TProdManager() = default;

QAction* TProdManager::AddAction(ProductCommand command, const QString& text) {
  auto* action = new QAction(text, this);
  actions_[command] = action;
  return action;
}

void TProdManager::BuildActions() {
  AddAction(ProductCommand::kNew, tr("&New"));
  AddAction(ProductCommand::kEdit, tr("&Edit"));
  AddAction(ProductCommand::kDelete, tr("&Delete"));
  AddAction(ProductCommand::kFind, tr("&Find"));
  AddAction(ProductCommand::kList, tr("Product &List"));
  AddAction(ProductCommand::kClose, tr("&Close"))->setIcon(ToolIcon(ToolGlyph::kClose));
  AddAction(ProductCommand::kByCode, tr("By &Code"));
  AddAction(ProductCommand::kByDescription, tr("By &Description"));
  AddAction(ProductCommand::kPrintWindow, tr("Print &Window"))->setIcon(ToolIcon(ToolGlyph::kPrinter));
  AddAction(ProductCommand::kHelp, tr("&Help"))->setIcon(ToolIcon(ToolGlyph::kHelp));
  auto* orders = new QActionGroup(this);
  for (ProductCommand command : {ProductCommand::kByCode, ProductCommand::kByDescription}) {
    Action(command)->setCheckable(true);
    orders->addAction(Action(command));
  }
  Action(ProductCommand::kByCode)->setChecked(true);
}

void TProdManager::BuildMenus() {
  QMenu* products = MainMenu_->addMenu(tr("&Product"));
  for (ProductCommand c : {ProductCommand::kNew, ProductCommand::kEdit, ProductCommand::kDelete}) {
    products->addAction(Action(c));
  }
  products->addSeparator();
  products->addAction(Action(ProductCommand::kFind));
  products->addAction(Action(ProductCommand::kList));
  products->addSeparator();
  products->addAction(Action(ProductCommand::kClose));
  QMenu* display = MainMenu_->addMenu(tr("&Display"));
  display->addAction(Action(ProductCommand::kByCode));
  display->addAction(Action(ProductCommand::kByDescription));
  display->addSeparator();
  display->addAction(Action(ProductCommand::kPrintWindow));
  MainMenu_->addMenu(tr("&Help"))->addAction(Action(ProductCommand::kHelp));
}

void TProdManager::BuildToolBar() {
  ToolBar1_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  for (ProductCommand c : {ProductCommand::kNew, ProductCommand::kEdit, ProductCommand::kDelete, ProductCommand::kFind,
                           ProductCommand::kList, ProductCommand::kPrintWindow, ProductCommand::kClose,
                           ProductCommand::kHelp}) {
    ToolBar1_->addAction(Action(c));
  }
}

void TProdManager::ConnectSignals() {
  const std::pair<ProductCommand, void (TProdManager::*)()> handlers[] = {
      {ProductCommand::kNew, &TProdManager::NewItemClick},
      {ProductCommand::kEdit, &TProdManager::EditItemClick},
      {ProductCommand::kDelete, &TProdManager::DeleteItemClick},
      {ProductCommand::kFind, &TProdManager::FindItemClick},
      {ProductCommand::kList, &TProdManager::ListItemClick},
      {ProductCommand::kClose, &TProdManager::CloseItemClick},
      {ProductCommand::kByCode, &TProdManager::ByCodeItemClick},
      {ProductCommand::kByDescription, &TProdManager::ByDescriptionItemClick},
      {ProductCommand::kPrintWindow, &TProdManager::PrintWindowItemClick},
      {ProductCommand::kHelp, &TProdManager::HelpItemClick},
  };
  for (const auto& [command, handler] : handlers) connect(Action(command), &QAction::triggered, this, handler);
  connect(Frame_, &TManagerFrame::rowChosen, this, &TProdManager::BrowserRowChosen);
}

void TProdManager::PickProduct(std::string_view startCode) {
  picking_ = true;
  startCode_ = startCode;
}

void TProdManager::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TProdManager::FormShow() {
  if (Frame_->IsOpen()) return;
  const model::CompanyRecord& company = services_.session.CurrentCompany;
  if (company.MaxProductWindow) setWindowState(windowState() | Qt::WindowMaximized);
  if (!Frame_->OpenOrEndProgram(files::DescribeFile(files::CompanyFile::kProducts, company.CompanyNo.str()), order_,
                                 engine::RecordBytes(row_), [this] { return ProductRow(row_); },
                                 "Unable to open database"))
    return;
  if (!startCode_.empty()) PositionOnCode(startCode_);
  Frame_->SetMessage(picking_ ? tr("Double-click or press <enter> to select.") : QString());
  Frame_->Browser()->setFocus();
}

void TProdManager::done(int result) {
  ProdList_->hide();
  Frame_->Close();
  picking_ = false;
  startCode_.clear();
  QDialog::done(result);
}

std::string TProdManager::Today() const {
  return model::FormatDisplayDate(model::TodayOf(services_.clock), services_.session.DateOrder());
}

bool TProdManager::ReadCurrentProduct(engine::RecordNumber& number, model::ProductRecord& product) {
  if (!Frame_->IsOpen() || !Frame_->ReadCurrent()) return false;
  number = Frame_->CurrentRecordNumber();
  product = row_;
  return true;
}

void TProdManager::PositionOnProduct(engine::RecordNumber number, const model::ProductRecord& product) {
  Frame_->PositionOn(number, model::BuildKey(product, Frame_->Order()));
}

void TProdManager::PositionOnCode(std::string_view code) {
  const std::optional<FoundProduct> found = FindProductByCode(Frame_->File(), code);
  if (found) PositionOnProduct(found->number, found->record);
}

TEditProduct::Check TProdManager::EntryCheck(std::string oldCode) {
  return [this, oldCode = std::move(oldCode)](ProductEntry& entry) {
    if (!Frame_->IsOpen()) return ProductField::kPNum;
    return CheckProduct(entry, oldCode, Frame_->File(), services_.dialogs);
  };
}

void TProdManager::NewItemClick() {
  if (!Frame_->IsOpen()) return;
  const ProductDialog dialog = AddProductDialog(Today());
  EditDialog_->Prepare(dialog, EntryCheck(dialog.oldCode));
  if (EditDialog_->exec() != QDialog::Accepted) return;
  const model::ProductRecord product = NewProduct(EditDialog_->Entry(), Today());
  engine::RecordNumber added = 0;
  if (AddProduct(Frame_->File(), product, services_.dialogs, added)) PositionOnProduct(added, product);
}

void TProdManager::EditItemClick() {
  engine::RecordNumber number = 0;
  model::ProductRecord asRead{};
  if (!ReadCurrentProduct(number, asRead)) return;
  const ProductDialog dialog = EditProductDialog(asRead);
  EditDialog_->Prepare(dialog, EntryCheck(dialog.oldCode));
  if (EditDialog_->exec() != QDialog::Accepted) return;
  const model::ProductRecord changed = ChangedProduct(asRead, EditDialog_->Entry(), Today());
  if (ChangeProduct(Frame_->File(), number, changed, asRead, services_.dialogs)) {
    PositionOnProduct(number, changed);
  } else {
    Frame_->Refresh();
  }
}

void TProdManager::DeleteItemClick() {
  engine::RecordNumber number = 0;
  model::ProductRecord product{};
  if (!ReadCurrentProduct(number, product)) return;
  if (DeleteProduct(Frame_->File(), number, product, services_.dialogs)) Frame_->Refresh();
}

void TProdManager::FindItemClick() {
  if (!Frame_->IsOpen()) return;
  if (const std::optional<FoundRow> row = Frame_->FindRow(FindMode::kProducts, tr("Find Product")))
    PositionOnCode(row->caption);
}

void TProdManager::ListItemClick() {
  if (!Frame_->IsOpen()) return;
  const bool byCode = AskProductListByCode(services_.dialogs);
  ProdList_->ShowReport(
      ProductListReport(Frame_->File(), byCode, services_.session.CurrentCompany, model::ClockText(services_.clock)));
  ProdList_->show();
  ProdList_->raise();
  ProdList_->activateWindow();
}

void TProdManager::PrintWindowItemClick() {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const bool printed = platform::qt::PrintWindowPicture(*this, kWindowTitle, canvas);
  Frame_->SetMessage(platform::qt::PrintoutStatus(printed, canvas));
}

void TProdManager::CloseItemClick() { reject(); }

void TProdManager::ShowOrder(engine::KeyNumber order) {
  order_ = order;
  if (Frame_->IsOpen()) Frame_->SetOrder(order);
}

void TProdManager::ByCodeItemClick() { ShowOrder(model::product_key::kCode); }
void TProdManager::ByDescriptionItemClick() { ShowOrder(model::product_key::kDescription); }

void TProdManager::HelpItemClick() { services_.help.ShowTopic(platform::qt::HelpKeywordOf(this)); }

// In the picker the chosen row goes back to invoice entry; otherwise it is edited.
void TProdManager::BrowserRowChosen() {
  if (!picking_) {
    EditItemClick();
    return;
  }
  engine::RecordNumber number = 0;
  if (!ReadCurrentProduct(number, chosen_)) return;
  accept();
}

}  // namespace shell::ui
