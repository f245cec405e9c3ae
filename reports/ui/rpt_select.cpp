#include "reports/ui/rpt_select.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/company_session.h"
#include "reports/report_generators.h"
#include "reports/report_kinds.h"
#include "reports/ui/rt_report.h"
#include "shell/ui/date_sel.h"

namespace reports::ui {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TRptSelect::TRptSelect(shell::ui::AppServices& services, QWidget* parent) : QDialog(parent), services_(services) {
  setWindowTitle("Report Wizard");
  BuildLayout();
  showReport = [](QDialog& window) { window.exec(); };
}

void TRptSelect::BuildLayout() {
  ListBox1_ = new QListWidget(this);
  for (const ReportKind& kind : AllReports()) ListBox1_->addItem(Q(kind.name));
  RType_ = new QLabel(this);
  RType_->setWordWrap(true);
  RType_->setMinimumHeight(60);
  DateLabel_ = new QLabel("Date Selection:", this);
  ComboBox1_ = new QComboBox(this);
  for (std::string_view choice : DateChoices()) ComboBox1_->addItem(Q(choice));
  ComboBox1_->setMaxVisibleItems(11);
  const auto dateField = [this] {
    auto* field = new QLineEdit(this);
    field->setInputMask("99/99/9999; ");
    field->setMaxLength(10);
    return field;
  };
  IDate_ = dateField();
  EndDt_ = dateField();
  const auto calendarButton = [this] {
    auto* button = new QPushButton("...", this);
    button->setToolTip("Calendar");
    button->setFixedWidth(30);
    return button;
  };
  Cal1But_ = calendarButton();
  Cal2But_ = calendarButton();
  AsOfBox_ = new QCheckBox("&Balances as of the To date", this);
  AsOfBox_->setToolTip("What was owed at the end of the To date, aged to that day");
  AsOfBox_->hide();
  Button1_ = new QPushButton("View", this);
  Button1_->setDefault(true);
  CancelBut_ = new QPushButton("&Cancel", this);
  HelpBut_ = new QPushButton("Help", this);

  auto* dates = new QGridLayout;
  dates->addWidget(DateLabel_, 0, 0, 1, 3);
  dates->addWidget(ComboBox1_, 1, 0, 1, 3);
  dates->addWidget(new QLabel("From:", this), 2, 0);
  dates->addWidget(IDate_, 2, 1);
  dates->addWidget(Cal1But_, 2, 2);
  dates->addWidget(new QLabel("To:", this), 3, 0);
  dates->addWidget(EndDt_, 3, 1);
  dates->addWidget(Cal2But_, 3, 2);
  dates->addWidget(AsOfBox_, 4, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {Button1_, CancelBut_, HelpBut_}) buttons->addWidget(button);
  auto* top = new QHBoxLayout;
  top->addWidget(ListBox1_);
  top->addLayout(dates);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(RType_);
  layout->addLayout(buttons);

  connect(ListBox1_, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });
  connect(ListBox1_, &QListWidget::itemDoubleClicked, this, [this] { Button1Click(); });
  connect(ComboBox1_, &QComboBox::textActivated, this, [this] { ComboBox1Change(); });
  connect(Cal1But_, &QPushButton::clicked, this, [this] { CalButClick(*IDate_, "Select FROM Date"); });
  connect(Cal2But_, &QPushButton::clicked, this, [this] { CalButClick(*EndDt_, "Select Ending Date"); });
  connect(Button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(CancelBut_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBut_, &QPushButton::clicked, this, [this] { services_.help.ShowTopic("ReportWizard"); });
}

void TRptSelect::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TRptSelect::FormShow() {
  const bool dayFirst = services_.session.DateOrder() == model::DateOrder::kDayFirst;
  DateLabel_->setText(dayFirst ? "Date Selection (dd/mm/yyyy):" : "Date Selection:");
  ComboBox1_->setCurrentText(Q(kMonthToDate));
  ComboBox1Change();
  ListBox1_->setCurrentRow(0);
  ListBox1Click();
}

void TRptSelect::ListBox1Click() {
  const int row = ListBox1_->currentRow();
  if (row < 0 || row >= static_cast<int>(AllReports().size())) return;
  const ReportKind& kind = AllReports()[static_cast<std::size_t>(row)];
  RType_->setText(Q(kind.description));
  AsOfBox_->setVisible(kind.id == ReportId::kAccountsReceivable);
}

// The Accounts Receivable report, when asked, as of the To date; checked dates by then.
std::optional<model::Date> TRptSelect::AsOf(const ReportKind& kind, const DateRange& range) const {
  if (kind.id != ReportId::kAccountsReceivable || !AsOfBox_->isChecked()) return std::nullopt;
  return model::ParseDisplayDate(range.to, services_.session.DateOrder());
}

DateRange TRptSelect::Range() const { return {IDate_->text().toStdString(), EndDt_->text().toStdString()}; }

void TRptSelect::ComboBox1Change() {
  const DateRange range = ApplyDateChoice(ComboBox1_->currentText().toStdString(), model::TodayOf(services_.clock),
                                          services_.session.DateOrder(), Range());
  IDate_->setText(Q(range.from));
  EndDt_->setText(Q(range.to));
}

void TRptSelect::CalButClick(QLineEdit& field, const QString& caption) {
  const std::string text = field.text().toStdString();
  auto start = model::ParseDisplayDate(text, services_.session.DateOrder());
  if (!start || text.size() < 10) start = model::TodayOf(services_.clock);
  const auto chosen = shell::ui::TDateSel::SelectDate(services_.session, services_.help, *this, caption, caption, *start);
  if (!chosen) return;
  field.setText(Q(*chosen));
  ComboBox1_->setCurrentText(Q(kCustomDates));
}

bool TRptSelect::Button1Click() {
  const DateRange range = Range();
  switch (CheckDates(range, services_.session.DateOrder(), services_.dialogs)) {
    case DateField::kFrom: IDate_->setFocus(); return false;
    case DateField::kTo: EndDt_->setFocus(); return false;
    case DateField::kNone: break;
  }
  const int row = ListBox1_->currentRow();
  if (row < 0) return false;
  const ReportKind& kind = AllReports()[static_cast<std::size_t>(row)];
  std::optional<Report> report = GenerateReport(services_, kind, range, AsOf(kind, range));
  if (!report) {
    IDate_->setFocus();
    return false;
  }
  const std::string note = DamagedNote(report->damaged);
  if (!note.empty()) services_.ShowStatus(note);
  Trtreport window(services_, std::move(*report), this);
  showReport(window);
  return true;
}

}  // namespace reports::ui
