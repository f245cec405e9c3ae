#include "reports/ui/statement_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "documents/form_head.h"
#include "invoicing/ui/labels.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/wait_cursor.h"
#include "reports/statement_batch.h"
#include "reports/statement_page.h"
#include "reports/ui/decimal_cells.h"
#include "reports/ui/statement_selection.h"
#include "shell/ui/tool_icons.h"

namespace reports::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "ViewStatement";
// Measuring a column's widest text, these columns take room for a little more.
constexpr std::string_view kReferenceExtra = "XXX";
constexpr std::string_view kTypeExtra = "XXXXXX";

QToolButton* ToolButton(QWidget* parent, const QIcon& icon, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setIcon(icon);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  return button;
}

}  // namespace

TStment::TStment(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      Label_{invoicing::ui::ValueLabel(this, true), invoicing::ui::ValueLabel(this), invoicing::ui::ValueLabel(this),
             invoicing::ui::ValueLabel(this), invoicing::ui::ValueLabel(this)},
      CNoLabel_(invoicing::ui::ValueLabel(this, true)),
      CheckBox1_(new QCheckBox(tr("&Show Unpaid Records Only"), this)),
      SGrid_(new QTableWidget(this)),
      PrinStButn_(ToolButton(this, shell::ui::ToolIcon(shell::ui::ToolGlyph::kPrinter), tr("Print"))),
      SpeedButton2_(ToolButton(this, shell::ui::ToolIcon(shell::ui::ToolGlyph::kClose), tr("Close"))),
      SpeedButton3_(ToolButton(this, shell::ui::ToolIcon(shell::ui::ToolGlyph::kHelp), tr("Help"))),
      StatusBar_(new QStatusBar(this)) {
  setWindowTitle(tr("Customer Statement"));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

  SGrid_->setColumnCount(kStatementColumns);
  QStringList headings;
  for (const std::string& heading : StatementHeadings()) headings << ToQString(heading);
  SGrid_->setHorizontalHeaderLabels(headings);
  SGrid_->verticalHeader()->hide();
  SGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  SGrid_->setItemDelegate(new DecimalDelegate(
      SGrid_, ".00", [](const QModelIndex& index, const QString&) { return index.column() >= kTotalColumn; }));

  auto* tools = new QHBoxLayout;
  for (QToolButton* button : {PrinStButn_, SpeedButton2_, SpeedButton3_}) tools->addWidget(button);
  tools->addSpacing(12);
  tools->addWidget(CheckBox1_);
  tools->addStretch(1);

  auto* address = new QVBoxLayout;
  address->setSpacing(0);
  for (QLabel* label : Label_) address->addWidget(label);
  auto* header = new QHBoxLayout;
  header->addLayout(address, 1);
  header->addWidget(CNoLabel_, 0, Qt::AlignTop);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addLayout(header);
  layout->addWidget(invoicing::ui::HorizontalRule(this));
  layout->addWidget(SGrid_, 1);
  layout->addWidget(StatusBar_);

  connect(CheckBox1_, &QCheckBox::clicked, this, &TStment::CheckBox1Click);
  connect(PrinStButn_, &QToolButton::clicked, this, &TStment::PrinStButnClick);
  connect(SpeedButton2_, &QToolButton::clicked, this, &TStment::SpeedButton2Click);
  connect(SpeedButton3_, &QToolButton::clicked, this, &TStment::SpeedButton3Click);
  resize(820, 520);
}

bool TStment::Load(const model::CustomerRecord& customer) {
  customer_ = customer;
  activity_ = Activity::kAll;
  return Build() && TellWhenNoActivity(statement_, services_.dialogs);
}

bool TStment::Build() {
  std::optional<Statement> built = BuildStatement(services_, customer_, activity_);
  if (!built) return false;
  statement_ = std::move(*built);
  const StatementCustomer& customer = statement_.customer;
  Label_[0]->setText(ToQString(customer.name));
  for (std::size_t i = 0; i < customer.address.size(); ++i) Label_[i + 1]->setText(ToQString(customer.address[i]));
  CNoLabel_->setText(ToQString(customer.number));
  FillGrid();
  StatusBar_->showMessage(ToQString(SelectionStatus(statement_)));
  return true;
}

void TStment::FillGrid() {
  SGrid_->setRowCount(static_cast<int>(statement_.rows.size()) + 1);
  const auto fill = [&](int row, const StatementRow& cells) {
    for (int column = 0; column < kStatementColumns; ++column) {
      auto* item = new QTableWidgetItem(ToQString(cells[column]));
      if (column >= kTotalColumn && column <= kBalanceColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      SGrid_->setItem(row, column, item);
    }
  };
  int row = 0;
  for (const StatementRow& cells : statement_.rows) fill(row++, cells);
  fill(row, statement_.totals);
}

void TStment::SizeColumns() {
  const QFontMetrics metrics(SGrid_->font());
  for (int column = 0; column < kStatementColumns; ++column) {
    QString widest = ToQString(StatementHeadings()[column]);
    for (int row = 0; row < SGrid_->rowCount(); ++row) {
      const QTableWidgetItem* item = SGrid_->item(row, column);
      if (item != nullptr && metrics.horizontalAdvance(item->text()) > metrics.horizontalAdvance(widest)) {
        widest = item->text();
      }
    }
    if (column == kReferenceColumn) widest += ToQString(kReferenceExtra);
    if (column == kTypeColumn) widest += ToQString(kTypeExtra);
    SGrid_->setColumnWidth(column, metrics.horizontalAdvance(widest + ' ') + 2 * kPointGap);
  }
}

void TStment::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TStment::FormShow() {
  CheckBox1_->setChecked(activity_ == Activity::kUnpaidOnly);
  const QFont font = platform::qt::QFontOf(documents::FormFontOf(services_.session.CurrentCompany, model::kBodyFont));
  setFont(font);
  SetGridFont(*SGrid_, font);
  SizeColumns();
}

void TStment::CheckBox1Click() {
  activity_ = CheckBox1_->isChecked() ? Activity::kUnpaidOnly : Activity::kAll;
  Build();
  SizeColumns();
  SGrid_->viewport()->update();
}

void TStment::PrinStButnClick() {
  const platform::qt::WaitCursor hourglass;
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const bool printed =
      PrintStatement(statement_, services_.session.CurrentCompany, StatementDate(services_), canvas);
  StatusBar_->showMessage(printed ? ToQString("Statement for " + statement_.customer.name + " sent to print queue.")
                                  : platform::qt::PrintoutStatus(false, canvas));
}

void TStment::SpeedButton2Click() { accept(); }

void TStment::SpeedButton3Click() { services_.help.ShowTopic(kHelpKeyword); }

QStringList TStment::HeaderTexts() const {
  QStringList texts;
  for (const QLabel* label : Label_) texts << label->text();
  texts << CNoLabel_->text();
  return texts;
}

void ShowStatement(shell::ui::AppServices& services, QWidget& parent, const model::CustomerRecord& customer) {
  TStment window(services, &parent);
  if (window.Load(customer)) window.exec();
}

std::string BatchStatements(shell::ui::AppServices& services, QWidget& parent, const files::Services& logic,
                            files::KeyedFile& customers) {
  TSelStmnt selection(services.help, &parent);
  if (selection.exec() != QDialog::Accepted) return {};
  platform::qt::PrinterCanvas canvas(&services.printer);
  return PrintStatementBatch(logic, customers, selection.Choice(), services.labelQueue, canvas);
}

void ConnectStatementCommands(shell::ui::AppServices& services) {
  services.showStatement = [&services](QWidget& parent, const model::CustomerRecord& customer) {
    ShowStatement(services, parent, customer);
  };
  services.batchStatements = [&services](QWidget& parent, const files::Services& logic, files::KeyedFile& customers) {
    return BatchStatements(services, parent, logic, customers);
  };
}

}  // namespace reports::ui
