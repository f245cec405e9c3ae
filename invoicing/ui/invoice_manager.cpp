#include "invoicing/ui/invoice_manager.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "engine/browser_source.h"
#include "engine/ui/fvc_browser.h"
#include "files/company_files.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/invoice_print.h"
#include "invoicing/invoice_view.h"
#include "invoicing/repeat_billing.h"
#include "invoicing/transaction_types.h"
#include "invoicing/ui/customer_data.h"
#include "invoicing/ui/prod_inv.h"
#include "invoicing/ui/repeat_form.h"
#include "invoicing/ui/view_invoice.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/wait_cursor.h"
#include "shell/customers.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/tool_icons.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;
using shell::ui::ToolGlyph;
using shell::ui::ToolIcon;

constexpr std::string_view kHelpKeyword = "InvoiceManager";
constexpr std::string_view kViewCaption = "View Invoice";

std::string OpenRefusal(int status) { return "Unable to open databases: " + std::to_string(status); }

void SetTextColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

}  // namespace

Tinvlist::Tinvlist(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      view_(model::transaction_key::kInvoiceNo),
      MainMenu_(new QMenuBar(this)),
      ToolBar1_(new QToolBar(this)),
      Frame_(new shell::ui::TManagerFrame(services, this)),
      ArBal_(new QLabel(this)),
      FilterLabel_(new QLabel(ToQString(kFilterClosed), this)),
      TimerPanel_(new QLabel(this)),
      ProgressWindow_(new platform::qt::TProgressWindow(this)),
      ProdInv_(new TProdInv(services, this)),
      CustData_(new TCustData(services.help, this)),
      Rtedit_(new Trtedit(services.help, this)),
      RepeatForm_(new TRepeatForm(services, this)) {
  setWindowTitle(tr("Invoice Manager"));
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  connect(Frame_, &shell::ui::TManagerFrame::programMustEnd, this, &Tinvlist::programMustEnd);
  Frame_->SetCountPrefix(tr("Records: "));
  Frame_->SetHeader(ToQString(InvoiceHeading()));
  Frame_->AddStatusPanel(TimerPanel_);
  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildLayout();
  resize(1100, 600);
  connect(Frame_, &shell::ui::TManagerFrame::rowChosen, this, &Tinvlist::CustomerDataItemClick);
  ShowTimerState();
}

Tinvlist::~Tinvlist() = default;

QAction* Tinvlist::AddAction(InvoiceCommand command, const QString& text, void (Tinvlist::*handler)()) {
  auto* action = new QAction(text, this);
  connect(action, &QAction::triggered, this, handler);
  actions_[command] = action;
  return action;
}

void Tinvlist::BuildActions() {
  AddAction(InvoiceCommand::kNew, tr("&New"), &Tinvlist::NewItemClick);
  AddAction(InvoiceCommand::kEdit, tr("&Edit"), &Tinvlist::EditItemClick);
  AddAction(InvoiceCommand::kDelete, tr("&Delete"), &Tinvlist::DeleteItemClick);
  AddAction(InvoiceCommand::kFind, tr("&Find"), &Tinvlist::FindItemClick);
  AddAction(InvoiceCommand::kView, tr("&View"), &Tinvlist::ViewItemClick);
  AddAction(InvoiceCommand::kCustomerData, tr("C&ustomer Data"), &Tinvlist::CustomerDataItemClick);
  AddAction(InvoiceCommand::kPrint, tr("&Print"), &Tinvlist::PrintItemClick);
  AddAction(InvoiceCommand::kBatchPrint, tr("&Batch Print"), &Tinvlist::BatchPrintItemClick);
  AddAction(InvoiceCommand::kRepeatSetup, tr("&Repeat Billing Setup"), &Tinvlist::RepeatSetupItemClick);
  AddAction(InvoiceCommand::kClose, tr("&Close"), &Tinvlist::CloseItemClick);
  AddAction(InvoiceCommand::kFilter, tr("Customer &Filter"), &Tinvlist::FilterButtonClick);
  AddAction(InvoiceCommand::kHelp, tr("Help"), &Tinvlist::HelpItemClick);
  Action(InvoiceCommand::kFilter)->setCheckable(true);
  for (const InvoiceView& view : InvoiceViews()) {
    auto* action = new QAction(ToQString(view.menuText), this);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, key = view.key] { ViewByItemClick(key); });
    viewActions_[view.key] = action;
  }
}

void Tinvlist::BuildMenus() {
  QMenu* invoice = MainMenu_->addMenu(tr("&Invoice"));
  for (InvoiceCommand command : {InvoiceCommand::kNew, InvoiceCommand::kEdit, InvoiceCommand::kDelete,
                                 InvoiceCommand::kFind, InvoiceCommand::kView, InvoiceCommand::kCustomerData,
                                 InvoiceCommand::kPrint, InvoiceCommand::kBatchPrint, InvoiceCommand::kRepeatSetup}) {
    invoice->addAction(Action(command));
  }
  invoice->addSeparator();
  invoice->addAction(Action(InvoiceCommand::kClose));
  QMenu* display = MainMenu_->addMenu(tr("&Display"));
  for (const auto& [key, action] : viewActions_) display->addAction(action);
}

void Tinvlist::BuildToolBar() {
  const QStyle* look = style();
  struct Tool {
    InvoiceCommand command;
    QIcon icon;
    const char* hint;
  };
  const Tool tools[] = {
      {InvoiceCommand::kNew, look->standardIcon(QStyle::SP_FileIcon), "New Invoice"},
      {InvoiceCommand::kEdit, look->standardIcon(QStyle::SP_FileDialogDetailedView), "Edit Invoice"},
      {InvoiceCommand::kDelete, look->standardIcon(QStyle::SP_TrashIcon), "Delete Invoice"},
      {InvoiceCommand::kFind, look->standardIcon(QStyle::SP_FileDialogContentsView), "Find Invoice/Payment"},
      {InvoiceCommand::kView, ToolIcon(ToolGlyph::kInvoice), "View Invoice"},
      {InvoiceCommand::kCustomerData, ToolIcon(ToolGlyph::kCustomerData), "Customer Data"},
      {InvoiceCommand::kPrint, ToolIcon(ToolGlyph::kPrinter), "Print Invoice"},
      {InvoiceCommand::kBatchPrint, look->standardIcon(QStyle::SP_FileDialogListView), "Batch Print"},
      {InvoiceCommand::kRepeatSetup, ToolIcon(ToolGlyph::kRepeat), "Repeat Billing Setup"},
      {InvoiceCommand::kFilter, ToolIcon(ToolGlyph::kFilter), "Customer Filter"},
      {InvoiceCommand::kHelp, ToolIcon(ToolGlyph::kHelp), "Help"},
      {InvoiceCommand::kClose, ToolIcon(ToolGlyph::kClose), "Close"},
  };
  for (const Tool& tool : tools) {
    QAction* action = Action(tool.command);
    action->setIcon(tool.icon);
    action->setToolTip(tr(tool.hint));
    ToolBar1_->addAction(action);
    if (tool.command == InvoiceCommand::kFind || tool.command == InvoiceCommand::kRepeatSetup) {
      ToolBar1_->addSeparator();
    }
  }
}

void Tinvlist::BuildLayout() {
  auto* totals = new QHBoxLayout;
  totals->setContentsMargins(8, 4, 8, 4);
  totals->addWidget(new QLabel(tr("A/R Total:"), this));
  QFont bold = ArBal_->font();
  bold.setBold(true);
  ArBal_->setFont(bold);
  totals->addWidget(ArBal_);
  totals->addStretch(1);
  totals->addWidget(FilterLabel_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu_);
  layout->addWidget(ToolBar1_);
  layout->addLayout(totals);
  layout->addWidget(Frame_, 1);
}

void Tinvlist::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window shows it again: its files stay open.
  if (!Frame_->IsOpen()) FormShow();
}

void Tinvlist::FormShow() {
  if (services_.session.CurrentCompany.MaxInvoiceWindow) setWindowState(windowState() | Qt::WindowMaximized);
  SetFilter(std::nullopt);
  if (!OpenFiles()) return;
  for (const auto& [key, action] : viewActions_) action->setChecked(key == view_);
  ShowCompanyTotals();
  ShowTimerState();
  Frame_->SetMessage(QString());
  PositionOnInvoice(services_.session.CurrentCompany.LastSavedInvoiceNo.str());
  Frame_->Browser()->setFocus();
}

bool Tinvlist::OpenFiles() {
  const std::string companyNo = services_.session.CurrentCompany.CompanyNo.str();
  if (!Frame_->OpenOrEndProgram(files::DescribeFile(files::CompanyFile::kTransactions, companyNo), view_,
                                engine::RecordBytes(row_), [this] { return InvoiceRow(row_); }, &OpenRefusal)) {
    return false;
  }
  for (auto [file, kind] : {std::pair{&details_, files::CompanyFile::kDetails},
                            std::pair{&memos_, files::CompanyFile::kMemos}}) {
    *file = std::make_unique<files::KeyedFile>(services_.engine, services_.dialogs, *ProgressWindow_,
                                               files::DescribeFile(kind, companyNo));
    if (!(*file)->Open()) {
      Frame_->EndProgram(OpenRefusal((*file)->FailureStatus()));
      return false;
    }
  }
  Frame_->Browser()->DataSource()->OnPerformFilter = [this](engine::RowRec&, bool& useIt) {
    useIt = filterCustomer_ && PassesCustomerFilter(row_.CustNo.str(), *filterCustomer_);
    return 0;
  };
  return true;
}

void Tinvlist::done(int result) {
  Frame_->Close();
  for (auto* file : {&details_, &memos_}) {
    if (*file) (*file)->Close();
    file->reset();
  }
  QDialog::done(result);
}

void Tinvlist::ShowCompanyTotals() {
  const model::CompanyRecord& company = services_.session.CurrentCompany;
  Frame_->SetCompanyCaption(ToQString(CompanyCaption(company)));
  ArBal_->setText(ToQString(model::AmountText(company.TotalAR)));
}

void Tinvlist::ShowTimerState() { TimerPanel_->setText(ToQString(TimerStateText(ProdInv_->TimerRunning()))); }

QString Tinvlist::ArTotalText() const { return ArBal_->text(); }
QString Tinvlist::FilterText() const { return FilterLabel_->text(); }
QString Tinvlist::TimerText() const { return TimerPanel_->text(); }

void Tinvlist::PositionOn(files::RecordNumber number, const model::TransactionRecord& header) {
  Frame_->PositionOn(number, model::BuildKey(header, Frame_->Order()));
}

void Tinvlist::PositionOnInvoice(std::string_view invoiceNo) {
  if (model::TrimBlanks(invoiceNo).empty() || !Frame_->IsOpen()) return;
  if (const auto found = FindInvoice(Frame_->File(), invoiceNo)) PositionOn(found->number, found->record);
}

std::optional<files::Row<model::TransactionRecord>> Tinvlist::CurrentInvoice() {
  if (!Frame_->IsOpen() || !Frame_->ReadCurrent()) return std::nullopt;
  return files::Row<model::TransactionRecord>{Frame_->CurrentRecordNumber(), {}, row_};
}

InvoiceFiles Tinvlist::Files() { return {Frame_->File(), *details_, *memos_}; }

files::Services Tinvlist::Logic() const { return services_.WithProgress(*ProgressWindow_); }

std::function<bool(std::string_view)> Tinvlist::NumberOnFile() {
  return [this](std::string_view number) { return Frame_->IsOpen() && InvoiceNumberOnFile(Frame_->File(), number); };
}

void Tinvlist::NewItemClick() {
  if (!Frame_->IsOpen()) return;
  const model::CompanyRecord& company = services_.session.CurrentCompany;
  InvoiceForm form =
      NewInvoiceForm(company, lastInvoiceDate_.empty() ? services_.session.TodayText : lastInvoiceDate_);
  const bool accepted = ProdInv_->Execute(form, ToQString(AddInvoiceCaption(company)), NumberOnFile());
  ShowTimerState();
  if (!accepted) return;
  lastInvoiceDate_ = form.date;
  InvoiceFiles files = Files();
  const AddOutcome outcome = AddInvoice(Logic(), files, form, services_.labelQueue);
  if (!outcome.added) {
    Frame_->Refresh();
    return;
  }
  PositionOn(outcome.number, outcome.header);
  ShowCompanyTotals();
  if (!form.printFlag) {
    Frame_->SetMessage(ToQString(outcome.status));
    return;
  }
  // Where the printout went follows what was added.
  Frame_->SetMessage(ToQString(outcome.status) + " " + PrintNumbered(outcome.header.InvoiceNo.str()).second);
}

void Tinvlist::EditItemClick() {
  const auto current = CurrentInvoice();
  if (!current || !MayEditInvoice(Logic(), current->record)) return;
  InvoiceFiles files = Files();
  EditForm edit = FormOfInvoice(Logic(), files, current->record);
  const bool accepted = ProdInv_->Execute(edit.form, tr("Edit Invoice"), NumberOnFile());
  ShowTimerState();
  if (!accepted) return;
  const EditOutcome outcome = EditInvoice(Logic(), files, current->number, current->record, edit);
  if (outcome.stored) {
    PositionOn(current->number, outcome.header);
    Frame_->SetMessage(ToQString(outcome.status));
  } else {
    Frame_->Refresh();
  }
  ShowCompanyTotals();
}

void Tinvlist::DeleteItemClick() {
  const auto current = CurrentInvoice();
  if (!current) return;
  InvoiceFiles files = Files();
  const DeleteOutcome outcome = DeleteInvoice(Logic(), files, current->number, current->record);
  Frame_->Refresh();
  ShowCompanyTotals();
  if (outcome.deleted) Frame_->SetMessage(ToQString(outcome.status));
}

void Tinvlist::FindItemClick() {
  const std::optional<shell::FoundRow> row =
      Frame_->FindRow(shell::FindMode::kTransactions, tr("Find Invoice/Payment"));
  if (row && !row->subItems.empty()) PositionOnInvoice(row->subItems.front());
}

void Tinvlist::CustomerDataItemClick() {
  const auto current = CurrentInvoice();
  if (!current) return;
  std::optional<model::CustomerRecord> customer;
  files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
  engine::RecordNumber number = 0;
  model::CustomerRecord found{};
  if (customers.Open() && shell::FindCustomerByNumber(customers, current->record.CustNo.str(), number, found)) {
    customer = found;
  }
  customers.Close();
  CustData_->Show(QuickViewOf(current->record, customer, services_.session.DateOrder()));
  CustData_->exec();
}

void Tinvlist::ViewItemClick() {
  if (const auto current = CurrentInvoice()) ShowInvoice(current->record.InvoiceNo.str());
}

void Tinvlist::ShowInvoice(std::string_view invoiceNo) {
  InvoiceFiles files = Files();
  const std::optional<PrintRecord> record = GatherInvoice(Logic(), files, invoiceNo, kViewCaption);
  if (!record) {
    Frame_->Refresh();
    return;
  }
  Rtedit_->Show(ViewOfInvoice(*record));
  Rtedit_->exec();
}

void Tinvlist::PrintItemClick() {
  const auto current = CurrentInvoice();
  if (!current) return;
  if (const std::optional<Refusal> refusal = PrintRefusal(current->record)) {
    services_.dialogs.inform(refusal->caption, refusal->text, platform::Icon::kInformation);
    ShowInvoice(current->record.InvoiceNo.str());
    return;
  }
  const std::string invoiceNo = current->record.InvoiceNo.str();
  const auto [printed, where] = PrintNumbered(invoiceNo);
  Frame_->SetMessage(printed ? ToQString(PrintQueuedText(invoiceNo)) + " " + where : where);
}

std::pair<bool, QString> Tinvlist::PrintNumbered(std::string_view invoiceNo) {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  InvoiceFiles files = Files();
  PrintOutcome outcome;
  {
    const platform::qt::WaitCursor hourglass;
    outcome = PrintInvoice(Logic(), files, invoiceNo, canvas);
  }
  // The printed mark changed the record the quick view shows.
  Frame_->Refresh();
  return {outcome.printed, platform::qt::PrintoutStatus(outcome.printed, canvas)};
}

void Tinvlist::BatchPrintItemClick() {
  if (!Frame_->IsOpen()) return;
  platform::qt::PrinterCanvas canvas(&services_.printer);
  InvoiceFiles files = Files();
  // The progress window shows the hourglass while the run lasts.
  const BatchOutcome outcome = BatchPrintInvoices(Logic(), files, canvas, services_.labelQueue);
  Frame_->Refresh();
  if (outcome.printed > 0) {
    Frame_->SetMessage(ToQString(outcome.status) + " " + platform::qt::PrintoutStatus(true, canvas));
  }
}

void Tinvlist::RepeatSetupItemClick() {
  const auto current = CurrentInvoice();
  if (!current) return;
  if (const std::optional<Refusal> refusal = RepeatSetupRefusal(current->record)) {
    services_.dialogs.inform(refusal->caption, refusal->text, platform::Icon::kWarning);
    return;
  }
  const model::DateOrder order = services_.session.DateOrder();
  const std::optional<RepeatSchedule> schedule = RepeatForm_->Execute(
      current->record, RepeatSetupStateOf(current->record, model::TodayOf(services_.clock), order));
  if (!schedule) return;
  InvoiceFiles files = Files();
  const bool stored = StoreRepeatMaster(Logic(), files, current->number, current->record, *schedule);
  // The master is filed under its new type.
  const auto master = stored ? files::Table<model::TransactionRecord>(Frame_->File()).Read(current->number)
                             : std::nullopt;
  if (master) {
    PositionOn(current->number, *master);
  } else {
    Frame_->Refresh();
  }
  ShowCompanyTotals();
}

void Tinvlist::SetFilter(std::optional<std::string> customerNumber) {
  filterCustomer_ = std::move(customerNumber);
  Action(InvoiceCommand::kFilter)->setChecked(filterCustomer_.has_value());
  FilterLabel_->setText(ToQString(filterCustomer_ ? FilterLabel(*filterCustomer_) : std::string(kFilterClosed)));
  SetTextColor(FilterLabel_, filterCustomer_ ? QColor(Qt::red) : QColor(Qt::black));
  if (Frame_->IsOpen()) {
    Frame_->Browser()->SetFilterEnabled(filterCustomer_.has_value());
    Frame_->Refresh();
  }
}

void Tinvlist::FilterButtonClick() {
  if (filterCustomer_) {
    SetFilter(std::nullopt);
    Frame_->SetMessage(tr("Filter closed."));
    return;
  }
  const auto current = CurrentInvoice();
  if (!current) {
    Action(InvoiceCommand::kFilter)->setChecked(false);
    return;
  }
  SetFilter(current->record.CustNo.str());
  PositionOn(current->number, current->record);
  Frame_->SetMessage(tr("Click filter button again to clear filter."));
}

void Tinvlist::ViewByItemClick(engine::KeyNumber key) { ShowView(key); }

void Tinvlist::ShowView(engine::KeyNumber key) {
  view_ = key;
  for (const auto& [viewKey, action] : viewActions_) action->setChecked(viewKey == key);
  if (Frame_->IsOpen()) Frame_->SetOrder(key);
}

void Tinvlist::CloseItemClick() { reject(); }

void Tinvlist::HelpItemClick() { services_.help.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
