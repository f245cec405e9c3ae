#include "reports/ui/rt_report.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
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

namespace reports::ui {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
  RptGrid_ = new QTableWidget(this);
  RptGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  RptGrid_->setSelectionBehavior(QAbstractItemView::SelectColumns);
  RptGrid_->horizontalHeader()->hide();
  RptGrid_->verticalHeader()->hide();
  QFont font = RptGrid_->font();
  font.setBold(true);
  font.setPointSize(10);
  RptGrid_->setFont(font);

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
    QApplication::beep();
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

void Trtreport::SpeedButton1Click() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, RptGrid_->font(), this);
  if (!chosen) return;
  RptGrid_->setFont(font);
  SizeColumns();
}

void Trtreport::PSetButnClick() {
  QPrintDialog dialog(&services_.printer, this);
  dialog.exec();
}

void Trtreport::SaveButnClick() {
  QString filter = "Text File (*.TXT)";
  const QString path = QFileDialog::getSaveFileName(this, "Save As", Q(report_.kind->name) + ".TXT",
                                                    "Text File (*.TXT);;CSV File (*.CSV)", &filter);
  if (path.isEmpty()) return;
  QString named = path;
  if (QFileInfo(named).suffix().isEmpty()) named += filter.startsWith("CSV") ? ".CSV" : ".TXT";
  if (!SaveTo(named)) services_.dialogs.inform("Save As", "Unable to write " + named.toStdString(), platform::Icon::kError);
}

bool Trtreport::SaveTo(const QString& path) {
  const std::string name = path.toStdString();
  return SaveReport(name, FormatOfFile(name), Heads(), grid_);
}

}  // namespace reports::ui
