#include "shell/ui/customer_manager.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QTemporaryFile>
#include <QToolBar>
#include <QVBoxLayout>

#include "documents/envelope.h"
#include "engine/ui/fvc_browser.h"
#include "files/company_files.h"
#include "model/keys.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/customer_printouts.h"
#include "shell/ui/customer_edit.h"
#include "shell/ui/find_box.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/tool_icons.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "CustomerManager";

// Kept for the rest of the run, whichever manager window chose it.
engine::KeyNumber chosenOrder = model::customer_key::kName;

void AddTool(QToolBar* bar, QAction* action, const QIcon& icon, const QString& hint) {
  action->setIcon(icon);
  action->setToolTip(hint);
  bar->addAction(action);
}

// A window picture scaled to fit the page, keeping its proportions.
}  // namespace

TCustManager::TCustManager(AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      Frame_(new TManagerFrame(services, this)),
      EditRecord_(new TEditRecord(services.help, this)),
      ProgressWindow_(new platform::qt::TProgressWindow(this)),
      MainMenu_(new QMenuBar(this)),
      PopupMenu_(new QMenu(this)),
      ToolBar_(new QToolBar(this)) {
  setWindowTitle(tr("Customer Manager"));
  connect(Frame_, &TManagerFrame::programMustEnd, this, &TCustManager::programMustEnd);
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
  Frame_->SetCountPrefix(tr("Customers: "));
  Frame_->SetHeader(ToQString(CustomerHeader()));
  BuildMenus();
  BuildToolBar();
  BuildLayout();
  resize(960, 560);
  connect(Frame_, &TManagerFrame::rowChosen, this, &TCustManager::FrameRowChosen);
  Frame_->Browser()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Frame_->Browser(), &QWidget::customContextMenuRequested, this, &TCustManager::BrowserContextMenu);
}

TCustManager::~TCustManager() = default;

engine::KeyNumber TCustManager::ChosenOrder() { return chosenOrder; }

QAction* TCustManager::AddCommand(QMenu* menu, const QString& text, void (TCustManager::*handler)()) {
  QAction* action = menu->addAction(text);
  connect(action, &QAction::triggered, this, handler);
  return action;
}

void TCustManager::BuildMenus() {
  QMenu* customer = MainMenu_->addMenu(tr("&Customer"));
  NewItem_ = AddCommand(customer, tr("&New"), &TCustManager::NewItemClick);
  EditItem_ = AddCommand(customer, tr("&Edit"), &TCustManager::EditItemClick);
  DeleteItem_ = AddCommand(customer, tr("&Delete"), &TCustManager::DeleteItemClick);
  FindItem_ = AddCommand(customer, tr("&Find"), &TCustManager::FindItemClick);
  CustomerListItem_ = AddCommand(customer, tr("Customer &List"), &TCustManager::CustomerListItemClick);
  LabelQueueItem_ = AddCommand(customer, tr("&Add to Label Queue"), &TCustManager::LabelQueueItemClick);
  EnvelopeItem_ = AddCommand(customer, tr("&Print Envelope"), &TCustManager::EnvelopeItemClick);
  customer->addSeparator();
  CloseItem_ = AddCommand(customer, tr("&Close"), &TCustManager::CloseItemClick);

  QMenu* statements = MainMenu_->addMenu(tr("&Statements"));
  ViewPrintItem_ = AddCommand(statements, tr("&View / Print"), &TCustManager::StmtPrinClick);
  BatchPrintItem_ = AddCommand(statements, tr("&Batch Print"), &TCustManager::BatchPrinButnClick);
  StatementItem_ = new QAction(tr("&Statement"), this);
  connect(StatementItem_, &QAction::triggered, this, &TCustManager::StmtPrinClick);
  for (QAction* statement : {ViewPrintItem_, StatementItem_}) {
    statement->setEnabled(static_cast<bool>(services_.showStatement));
  }
  BatchPrintItem_->setEnabled(static_cast<bool>(services_.batchStatements));

  QMenu* display = MainMenu_->addMenu(tr("&Display"));
  ByNameItem_ = AddCommand(display, tr("By &Name"), &TCustManager::ByNameItemClick);
  ByNumberItem_ = AddCommand(display, tr("By N&umber"), &TCustManager::ByNumberItemClick);
  ByNameItem_->setCheckable(true);
  ByNumberItem_->setCheckable(true);
  display->addSeparator();
  PrintWindowItem_ = AddCommand(display, tr("Print &Window"), &TCustManager::PrintWindowItemClick);

  PopupMenu_->addActions({NewItem_, EditItem_, DeleteItem_, FindItem_, CustomerListItem_, LabelQueueItem_,
                          EnvelopeItem_});
  PopupMenu_->addSeparator();
  PopupMenu_->addAction(StatementItem_);
}

void TCustManager::BuildToolBar() {
  const QStyle* look = style();
  AddTool(ToolBar_, NewItem_, look->standardIcon(QStyle::SP_FileIcon), tr("New Customer"));
  AddTool(ToolBar_, EditItem_, look->standardIcon(QStyle::SP_FileDialogDetailedView), tr("Edit Customer"));
  AddTool(ToolBar_, DeleteItem_, look->standardIcon(QStyle::SP_TrashIcon), tr("Delete Customer"));
  AddTool(ToolBar_, FindItem_, look->standardIcon(QStyle::SP_FileDialogContentsView), tr("Find Customer"));
  ToolBar_->addSeparator();
  AddTool(ToolBar_, CustomerListItem_, ToolIcon(ToolGlyph::kPrinter), tr("Print Customer List"));
  AddTool(ToolBar_, LabelQueueItem_, ToolIcon(ToolGlyph::kLabels), tr("Add to Label Queue"));
  AddTool(ToolBar_, EnvelopeItem_, ToolIcon(ToolGlyph::kFormLetter), tr("Print Envelope"));
  ToolBar_->addSeparator();
  AddTool(ToolBar_, ViewPrintItem_, ToolIcon(ToolGlyph::kInvoice), tr("View / Print Statement"));
  AddTool(ToolBar_, BatchPrintItem_, look->standardIcon(QStyle::SP_FileDialogListView), tr("Batch Print Statements"));
  ToolBar_->addSeparator();
  HelpItem_ = new QAction(tr("Help"), this);
  connect(HelpItem_, &QAction::triggered, this, &TCustManager::HelpItemClick);
  AddTool(ToolBar_, HelpItem_, ToolIcon(ToolGlyph::kHelp), tr("Help"));
  AddTool(ToolBar_, CloseItem_, ToolIcon(ToolGlyph::kClose), tr("Close"));
}

void TCustManager::BuildLayout() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu_);
  layout->addWidget(ToolBar_);
  layout->addWidget(Frame_, 1);
}

std::optional<model::CustomerRecord> TCustManager::PickCustomer(std::string_view startAt) {
  SetPickerMode(true, startAt);
  const bool chosen = exec() == QDialog::Accepted;
  // Leaving picker mode forgets the pick, so it is taken first.
  std::optional<model::CustomerRecord> picked = chosen ? picked_ : std::nullopt;
  SetPickerMode(false);
  return picked;
}

void TCustManager::SetPickerMode(bool picking, std::string_view startAt) {
  picking_ = picking;
  startAt_ = startAt;
  picked_.reset();
}

void TCustManager::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window shows it again: the file it has open stays open.
  if (!Frame_->IsOpen()) FormShow();
}

void TCustManager::FormShow() {
  if (services_.session.CurrentCompany.MaxCustomerWindow) setWindowState(windowState() | Qt::WindowMaximized);
  if (!OpenCustomerFile()) return;
  ByNameItem_->setChecked(chosenOrder == model::customer_key::kName);
  ByNumberItem_->setChecked(chosenOrder == model::customer_key::kNumber);
  ShowStatus(picking_ ? tr("Double-click or press <enter> to select.") : QString());
  PositionOnStartCustomer();
  Frame_->Browser()->setFocus();
}

bool TCustManager::OpenCustomerFile() {
  const std::string companyNo = services_.session.CurrentCompany.CompanyNo.str();
  return Frame_->OpenOrEndProgram(files::DescribeFile(files::CompanyFile::kCustomers, companyNo), chosenOrder,
                                  engine::RecordBytes(record_), [this] { return CustomerRow(record_); },
                                  "Unable to open database");
}

void TCustManager::PositionOnStartCustomer() {
  if (startAt_.empty()) return;
  engine::RecordNumber number = 0;
  model::CustomerRecord customer{};
  if (FindCustomerByNumber(Frame_->File(), startAt_, number, customer)) PositionOn(number, customer);
}

void TCustManager::done(int result) {
  Frame_->Close();
  QDialog::done(result);
}

void TCustManager::PositionOn(engine::RecordNumber number, const model::CustomerRecord& customer) {
  Frame_->PositionOn(number, model::BuildKey(customer, Frame_->Order()));
}

std::optional<model::CustomerRecord> TCustManager::CurrentCustomer() {
  if (!Frame_->IsOpen() || !Frame_->ReadCurrent()) return std::nullopt;
  return record_;
}

files::Services TCustManager::Logic() const { return services_.WithProgress(*ProgressWindow_); }

TEditRecord::Check TCustManager::EntryCheck(std::optional<std::string> originalNumber) {
  return [this, originalNumber = std::move(originalNumber)](CustomerEntry& entry) {
    if (!Frame_->IsOpen()) return CustomerField::kNumber;
    return CheckCustomerEntry(entry, originalNumber, Frame_->File(), services_.dialogs);
  };
}

void TCustManager::ShowStatus(const QString& text) { Frame_->SetMessage(text); }

void TCustManager::ShowPrintout(bool printed, const QString& printedText) {
  ShowStatus(printed ? printedText : tr("Nothing was printed."));
}

void TCustManager::NewItemClick() {
  if (!Frame_->IsOpen()) return;
  EditRecord_->Start(NewCustomerEntry(services_.session.CurrentCompany), std::nullopt, EntryCheck(std::nullopt));
  if (EditRecord_->exec() != QDialog::Accepted) return;
  model::CustomerRecord customer{};
  engine::RecordNumber number = 0;
  if (AddCustomer(Logic(), Frame_->File(), EditRecord_->Entry(), customer, number)) PositionOn(number, customer);
}

void TCustManager::EditItemClick() {
  const std::optional<model::CustomerRecord> current = CurrentCustomer();
  if (!current) return;
  const engine::RecordNumber number = Frame_->CurrentRecordNumber();
  EditRecord_->Start(EntryOfCustomer(*current), current->CustNo.str(), EntryCheck(current->CustNo.str()));
  if (EditRecord_->exec() != QDialog::Accepted) return;
  model::CustomerRecord customer{};
  if (SaveEditedCustomer(Logic(), Frame_->File(), number, *current, EditRecord_->Entry(), customer)) {
    PositionOn(number, customer);
  } else {
    Frame_->Refresh();
  }
}

void TCustManager::DeleteItemClick() {
  const std::optional<model::CustomerRecord> current = CurrentCustomer();
  if (!current) return;
  if (DeleteCustomer(Logic(), Frame_->File(), Frame_->CurrentRecordNumber(), *current)) Frame_->Refresh();
}

void TCustManager::FindItemClick() {
  if (!Frame_->IsOpen()) return;
  const std::optional<FoundRow> row = Frame_->FindRow(FindMode::kCustomers, tr("Find Customer"));
  if (!row || row->subItems.empty()) return;
  engine::RecordNumber number = 0;
  model::CustomerRecord customer{};
  if (FindCustomerByNumber(Frame_->File(), row->subItems.front(), number, customer)) PositionOn(number, customer);
}

void TCustManager::CustomerListItemClick() {
  if (!Frame_->IsOpen()) return;
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const bool printed = PrintCustomerList(Frame_->File(), services_.session.CurrentCompany, services_.dialogs,
                                         services_.clock, canvas);
  ShowStatus(platform::qt::PrintoutStatus(printed, canvas));
}

void TCustManager::LabelQueueItemClick() {
  const std::optional<model::CustomerRecord> current = CurrentCustomer();
  if (!current) return;
  const QString text = ToQString(AddToLabelQueue(services_.labelQueue, *current));
  ShowStatus(text);
  emit statusMessage(text);
}

void TCustManager::EnvelopeItemClick() {
  const std::optional<model::CustomerRecord> current = CurrentCustomer();
  if (!current) return;
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const documents::EnvelopeOutcome outcome =
      documents::PrintEnvelope(services_.session.CurrentCompany, *current, canvas, services_.dialogs);
  if (outcome == documents::EnvelopeOutcome::kBadLayout) return;
  ShowPrintout(outcome == documents::EnvelopeOutcome::kPrinted,
               ToQString(documents::EnvelopeSentText(*current, canvas.OutputDescription())));
}

void TCustManager::CloseItemClick() { reject(); }

void TCustManager::ByNameItemClick() {
  chosenOrder = model::customer_key::kName;
  Frame_->SetOrder(chosenOrder);
  ByNameItem_->setChecked(true);
  ByNumberItem_->setChecked(false);
}

void TCustManager::ByNumberItemClick() {
  chosenOrder = model::customer_key::kNumber;
  Frame_->SetOrder(chosenOrder);
  ByNameItem_->setChecked(false);
  ByNumberItem_->setChecked(true);
}

void TCustManager::PrintWindowItemClick() {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const bool printed = platform::qt::PrintWindowPicture(*this, windowTitle().toStdString(), canvas);
  ShowStatus(platform::qt::PrintoutStatus(printed, canvas));
}

void TCustManager::StmtPrinClick() {
  const std::optional<model::CustomerRecord> current = CurrentCustomer();
  if (!current || !services_.showStatement) return;
  services_.showStatement(*this, *current);
}

void TCustManager::BatchPrinButnClick() {
  if (!services_.batchStatements || !Frame_->IsOpen()) return;
  const std::string status = services_.batchStatements(*this, Logic(), Frame_->File());
  if (!status.empty()) ShowStatus(ToQString(status));
}

void TCustManager::HelpItemClick() { services_.help.ShowTopic(kHelpKeyword); }

void TCustManager::FrameRowChosen() {
  if (!picking_) {
    EditItemClick();
    return;
  }
  picked_ = CurrentCustomer();
  if (picked_) accept();
}

void TCustManager::BrowserContextMenu(const QPoint& position) {
  PopupMenu_->popup(Frame_->Browser()->mapToGlobal(position));
}

}  // namespace shell::ui
