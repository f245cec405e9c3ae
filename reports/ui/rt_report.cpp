#include "reports/ui/rt_report.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/company_session.h"
#include "platform/qt/printer_canvas.h"
#include "reports/report_print.h"
#include "reports/ui/decimal_cells.h"
#include "shell/ui/headers_dialog.h"

namespace reports::ui {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

constexpr auto kTextFilter = "Text File (*.TXT)";
constexpr auto kCsvFilter = "CSV File (*.CSV)";

SaveFormat FormatOfFilter(const QString& filter) { return filter == kCsvFilter ? SaveFormat::kCsv : SaveFormat::kText; }

QToolButton* Tool(QWidget* parent, const QString& text, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(hint);
  return button;
}

}  // namespace

Trtreport::Trtreport(shell::ui::AppServices& services, Report report, QWidget* parent)
    : QDialog(parent), services_(services), report_(std::move(report)) {
  setWindowTitle(Q(report_.kind->title));
  setWindowState(Qt::WindowMaximized);
  chooseFontAndColor = [this](QFont& font, QColor& color) { return shell::ui::ChooseFontAndColor(this, font, color); };
  beep = [] { QApplication::beep(); };
  BuildLayout();
  SpeedButton2Click(0);
}

void Trtreport::BuildLayout() {
  InvPrint_ = Tool(this, "Print", "Print");
  SpeedButton1_ = Tool(this, "Fonts", "Fonts/Colors");
  PSetButn_ = Tool(this, "Setup", "Printer Setup");
  SaveButn_ = Tool(this, "Save", "Save to File");
  ExitButn_ = Tool(this, "Close", "Close");
  HelpButn_ = Tool(this, "Help", "Help");
  Head1_ = new QLabel(Q(report_.head1), this);
  Head2_ = new QLabel(Q(report_.head2), this);
  Head3_ = new QLabel(Q(report_.head3), this);
  stotals_ = new QCheckBox("&Sub-Totals", this);
  stotals_->setChecked(true);
  SortCol_ = new QComboBox(this);
  SortCol_->setEditable(true);
  SortCol_->addItems({"2", "3", "4"});
  SortCol_->setCurrentIndex(-1);
  SortCol_->setMinimumContentsLength(3);
  RptGrid_ = new QTableWidget(this);
  RptGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  RptGrid_->setSelectionBehavior(QAbstractItemView::SelectColumns);
  RptGrid_->horizontalHeader()->hide();
  RptGrid_->verticalHeader()->hide();
  QFont font = RptGrid_->font();
  font.setBold(true);
  font.setPointSize(10);
  SetGridFont(*RptGrid_, font);
  // Sales Report quantities have three decimals; their points line up with the amounts'.
  RptGrid_->setItemDelegate(new DecimalDelegate(RptGrid_, report_.kind->quantityColumn ? ".000" : ".00",
                                                [](const QModelIndex&, const QString& text) {
                                                  return IsNumberCell(text.toStdString());
                                                }));

  auto* tools = new QHBoxLayout;
  for (QToolButton* button : {InvPrint_, SpeedButton1_, PSetButn_, SaveButn_, ExitButn_, HelpButn_}) {
    tools->addWidget(button);
  }
  tools->addStretch();
  tools->addWidget(stotals_);
  tools->addWidget(new QLabel("Sort on Column:", this));
  tools->addWidget(SortCol_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  for (QLabel* head : {Head1_, Head2_, Head3_}) layout->addWidget(head);
  layout->addWidget(RptGrid_, 1);

  connect(InvPrint_, &QToolButton::clicked, this, [this] { InvPrintClick(); });
  connect(SpeedButton1_, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  connect(PSetButn_, &QToolButton::clicked, this, [this] { PSetButnClick(); });
  connect(SaveButn_, &QToolButton::clicked, this, [this] { SaveButnClick(); });
  connect(ExitButn_, &QToolButton::clicked, this, &QDialog::accept);
  connect(HelpButn_, &QToolButton::clicked, this, [this] { services_.help.ShowTopic("ReportWizard"); });
  connect(stotals_, &QCheckBox::toggled, this, [this] { SpeedButton2Click(0); });
  connect(SortCol_, &QComboBox::textActivated, this, [this] { SortColChange(); });
  connect(RptGrid_, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
    if (column > 0) SpeedButton2Click(column);
  });
}

bool Trtreport::SpeedButton2Click(int column) {
  if (report_.table.rows.size() <= 1) return false;
  if (!SortOnColumn(*report_.kind, report_.table, column)) {
    beep();
    return false;
  }
  grid_ = WithTotals(*report_.kind, report_.table, stotals_->isChecked());
  setWindowTitle(Q(CaptionFor(*report_.kind, report_.table.rows.front().at(0))));
  FillGrid();
  SizeColumns();
  RptGrid_->selectColumn(0);
  return true;
}

void Trtreport::SortColChange() {
  bool number = false;
  const int value = SortCol_->currentText().toInt(&number);
  int column = 3;
  if (number && value >= 1 && value <= 4) {
    column = value - 1;
    if (RptGrid_->currentColumn() == column) return;
  } else {
    SortCol_->setCurrentText("3");
  }
  SpeedButton2Click(column);
}

void Trtreport::FillGrid() {
  RptGrid_->clear();
  RptGrid_->setRowCount(static_cast<int>(grid_.size()));
  RptGrid_->setColumnCount(grid_.empty() ? 0 : static_cast<int>(grid_.front().cells.size()));
  for (std::size_t r = 0; r < grid_.size(); ++r) {
    const GridRow& row = grid_[r];
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      const std::string text(model::TrimBlanks(row.cells[c]));
      auto* item = new QTableWidgetItem(Q(text));
      const bool right = IsNumberCell(text) || (static_cast<int>(c) > report_.kind->lastSortable &&
                                                static_cast<int>(c) <= report_.kind->lastRightAligned);
      item->setTextAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
      if (row.IsTotal()) item->setBackground(QColor(0xE8, 0xF0, 0xFF));
      if (row.kind == RowKind::kHeading) item->setBackground(QColor(0xE0, 0xE0, 0xE0));
      RptGrid_->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  }
}

void Trtreport::SizeColumns() {
  RptGrid_->resizeColumnsToContents();
  const int columns = RptGrid_->columnCount();
  if (columns == 0) return;
  int total = 0;
  for (int c = 0; c < columns; ++c) total += RptGrid_->columnWidth(c);
  const int room = RptGrid_->viewport()->width();
  if (total < room) RptGrid_->setColumnWidth(columns - 1, RptGrid_->columnWidth(columns - 1) + room - total);
}

ReportHeads Trtreport::Heads() const {
  return {windowTitle().toStdString(), report_.head1, report_.head2, report_.head3};
}

void Trtreport::InvPrintClick() {
  platform::qt::PrinterCanvas canvas(&services_.printer);
  const model::Date today = model::TodayOf(services_.clock);
  if (PrintReport(*report_.kind, Heads(), model::LongDate(today), grid_, canvas) > 0) {
    services_.ShowStatus(PrintedNote(grid_));
  }
}

// The last column fills the grid's width, which is known only once the window is
// shown maximised, and changes with the window.
void Trtreport::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  SizeColumns();
}

void Trtreport::SpeedButton1Click() {
  QFont font = RptGrid_->font();
  QColor color = RptGrid_->palette().color(QPalette::Text);
  if (chooseFontAndColor(font, color)) ApplyGridLook(font, color);
}

void Trtreport::ApplyGridLook(const QFont& font, const QColor& color) {
  SetGridFont(*RptGrid_, font);
  QPalette palette = RptGrid_->palette();
  palette.setColor(QPalette::Text, color);
  RptGrid_->setPalette(palette);
  SizeColumns();
}

void Trtreport::PSetButnClick() {
  QPrintDialog dialog(&services_.printer, this);
  dialog.exec();
}

QString Trtreport::AskForFile() {
  QFileDialog dialog(this, "Save As", Q(report_.kind->name) + ".TXT", QString(kTextFilter) + ";;" + kCsvFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // Qt's own dialog adds the default extension before it asks about overwriting; a
  // native one asks about the name as typed, and the extension comes after.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  const auto useExtensionOf = [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(Q(DefaultExtension(FormatOfFilter(filter))));
  };
  useExtensionOf(kTextFilter);
  connect(&dialog, &QFileDialog::filterSelected, &dialog, useExtensionOf);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const std::string chosen = dialog.selectedFiles().front().toStdString();
  return Q(WithDefaultExtension(chosen, FormatOfFilter(dialog.selectedNameFilter())));
}

void Trtreport::SaveButnClick() {
  const QString path = AskForFile();
  if (path.isEmpty()) return;
  if (!SaveTo(path)) {
    services_.dialogs.inform("Save As", "Unable to write " + path.toStdString(), platform::Icon::kError);
  }
}

bool Trtreport::SaveTo(const QString& path) {
  const std::string name = path.toStdString();
  return SaveReport(name, FormatOfFile(name), Heads(), grid_);
}

}  // namespace reports::ui
