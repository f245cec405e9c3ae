#include "reports/ui/interest_wizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "files/company_files.h"
#include "model/company_session.h"
#include "model/side_files.h"
#include "model/text.h"
#include "platform/qt/help_key.h"
#include "platform/qt/printer_canvas.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "reports/ui/decimal_cells.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/storable_text.h"

namespace reports::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "InterestWizard";
// The control limits.
constexpr int kPercentageCapacity = 5;
constexpr int kMinimumCapacity = 5;
constexpr int kFlatRateCapacity = 6;
constexpr int kDateCapacity = 10;
constexpr int kCommentsCapacity = 80;
constexpr int kStatementNoteCapacity = 35;
constexpr int kTermsCapacity = 35;
constexpr int kFirstAmountColumn = 2, kLastAmountColumn = 3;

std::string Text(const QLineEdit* field) { return field->text().toStdString(); }

// A field that takes one digit before the point and `decimals` after it, as the
// stored settings are written.
QLineEdit* RateField(QWidget* parent, int capacity, int decimals) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(capacity);
  field->setAlignment(Qt::AlignRight);
  const QString pattern = QStringLiteral("[0-9]?(\\.[0-9]{0,%1})?").arg(decimals);
  field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
  return field;
}

QLineEdit* TextField(QWidget* parent, int capacity) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(capacity);
  return field;
}

QTableWidgetItem* Cell(const std::string& text, int column) {
  auto* item = new QTableWidgetItem(ToQString(text));
  if (column >= kFirstAmountColumn && column <= kLastAmountColumn) {
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  return item;
}

}  // namespace

TInterestWiz::TInterestWiz(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      ProgressWindow_(new platform::qt::TProgressWindow(this)),
      days30_(new QRadioButton(tr("30 days"), this)),
      days60_(new QRadioButton(tr("60 days"), this)),
      days90_(new QRadioButton(tr("90 Days"), this)),
      IPct_(RateField(this, kPercentageCapacity, 3)),
      MinChg_(RateField(this, kMinimumCapacity, 2)),
      FlatCB_(new QCheckBox(tr("Use Flat Fee for Charges"), this)),
      FlatRate_(TextField(this, kFlatRateCapacity)),
      IDate_(TextField(this, kDateCapacity)),
      Calbutton_(new QPushButton(tr("..."), this)),
      InvComm_(TextField(this, kCommentsCapacity)),
      StmntNote_(TextField(this, kStatementNoteCapacity)),
      ITerms_(new QComboBox(this)),
      IPrin_(new QCheckBox(tr("Mark Invoices as Printed"), this)),
      LastRun_(new QLabel(this)),
      Label3_(new QLabel(this)),
      CustGrid_(new QTableWidget(this)),
      Button1_(new QPushButton(tr("Scan File"), this)),
      GenInv_(new QPushButton(tr("Generate Invoices"), this)),
      CanButn_(new QPushButton(tr("&Cancel"), this)),
      Button2_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(ToQString(kInterestCaption));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  FlatRate_->setAlignment(Qt::AlignRight);
  IDate_->setInputMask(QStringLiteral("99/99/9999; "));
  ITerms_->setEditable(true);
  ITerms_->lineEdit()->setMaxLength(kTermsCapacity);
  Calbutton_->setToolTip(tr("Calendar"));
  Calbutton_->setFixedWidth(Calbutton_->fontMetrics().horizontalAdvance("...") + 24);
  CustGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  CustGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  CustGrid_->verticalHeader()->hide();
  SetGridFont(*CustGrid_, CustGrid_->font());
  CustGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  QFont bold = Label3_->font();
  bold.setBold(true);
  Label3_->setFont(bold);
  BuildLayout();
  ConnectSignals();
  shell::ui::KeepTextStorable(this);
}

void TInterestWiz::BuildLayout() {
  auto* days = new QGroupBox(tr(" Calculate for Accounts Over "), this);
  auto* daysLayout = new QHBoxLayout(days);
  for (QRadioButton* button : {days30_, days60_, days90_}) daysLayout->addWidget(button);

  auto* options = new QGridLayout;
  const auto addRow = [&](int row, const QString& caption, QWidget* field, int columns = 1) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    options->addWidget(label, row, 0, Qt::AlignRight);
    options->addWidget(field, row, 1, 1, columns);
  };
  addRow(0, tr("Monthly Percentage Rate:"), IPct_);
  addRow(1, tr("Minimum Interest Charge:"), MinChg_);
  options->addWidget(FlatCB_, 2, 1, 1, 2);
  addRow(3, tr("Flat Rate:"), FlatRate_);
  options->addWidget(new QLabel(tr("(flat fee overrides above settings)"), this), 3, 2);
  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(2);
  dateRow->addWidget(IDate_);
  dateRow->addWidget(Calbutton_);
  options->addWidget(new QLabel(tr("Invoice Date:"), this), 4, 0, Qt::AlignRight);
  options->addLayout(dateRow, 4, 1);
  addRow(5, tr("Invoice Comments/Reference:"), InvComm_, 2);
  addRow(6, tr("Statement Note:"), StmntNote_, 2);
  addRow(7, tr("Payment Terms:"), ITerms_, 2);
  options->addWidget(IPrin_, 8, 1, 1, 2);
  options->setColumnStretch(2, 1);
  for (QLineEdit* field : {IPct_, MinChg_, FlatRate_}) {
    field->setFixedWidth(field->fontMetrics().horizontalAdvance("0000000") + 16);
  }
  IDate_->setFixedWidth(IDate_->fontMetrics().horizontalAdvance("00/00/00000") + 16);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {Button1_, GenInv_}) buttons->addWidget(button);
  buttons->addStretch();
  for (QPushButton* button : {CanButn_, Button2_}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(days);
  layout->addLayout(options);
  layout->addWidget(LastRun_);
  layout->addWidget(CustGrid_, 1);
  layout->addWidget(Label3_);
  layout->addLayout(buttons);
  resize(640, 600);
}

void TInterestWiz::ConnectSignals() {
  // Only what the scan reads asks for a new scan.
  for (QRadioButton* button : {days30_, days60_, days90_}) {
    connect(button, &QRadioButton::clicked, this, [this] { OptionsChanged(); });
  }
  for (QLineEdit* field : {IPct_, MinChg_}) {
    connect(field, &QLineEdit::textEdited, this, [this] { OptionsChanged(); });
  }
  connect(FlatCB_, &QCheckBox::clicked, this, [this] { FlatCBClick(); });
  connect(FlatRate_, &QLineEdit::textEdited, this, [this](const QString& text) { FlatRateChange(text); });
  connect(Calbutton_, &QPushButton::clicked, this, [this] { CalbuttonClick(); });
  connect(Button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(GenInv_, &QPushButton::clicked, this, [this] { GenInvClick(); });
  connect(CanButn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button2_, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TInterestWiz::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TInterestWiz::FormShow() {
  const model::CompanyRecord& company = services_.session.CurrentCompany;
  const InterestOptions options = OpeningOptions(
      company, model::FormatDisplayDate(model::TodayOf(services_.clock), services_.session.DateOrder()));
  days30_->setChecked(true);
  days60_->setChecked(options.days == OverdueDays::k60);
  days90_->setChecked(options.days == OverdueDays::k90);
  IPct_->setText(ToQString(options.percentage));
  MinChg_->setText(ToQString(options.minimum));
  FlatCB_->setChecked(false);
  FlatRate_->clear();
  FlatCBClick();
  IDate_->setText(ToQString(options.invoiceDate));
  InvComm_->setText(ToQString(options.comments));
  StmntNote_->setText(ToQString(options.statementNote));
  LoadTermsList();
  ITerms_->setCurrentText(ToQString(options.terms));
  IPrin_->setChecked(options.markPrinted);
  LastRun_->setText(ToQString(LastRunText(company)));
  scan_.reset();
  ShowGrid();
  Button1_->setEnabled(true);
  GenInv_->setEnabled(false);
  Label3_->setText(ToQString(kInterestStartText));
}

// A terms file that cannot be read leaves the list empty: a term can still be typed.
void TInterestWiz::LoadTermsList() {
  std::vector<std::string> terms;
  model::LoadTerms(terms);
  ITerms_->clear();
  for (const std::string& term : terms) ITerms_->addItem(ToQString(term));
}

InterestOptions TInterestWiz::Options() const {
  InterestOptions options;
  options.days = days90_->isChecked()   ? OverdueDays::k90
                 : days60_->isChecked() ? OverdueDays::k60
                                        : OverdueDays::k30;
  options.percentage = Text(IPct_);
  options.minimum = Text(MinChg_);
  options.flatFee = FlatCB_->isChecked();
  options.flatRate = Text(FlatRate_);
  options.invoiceDate = model::TrimBlanks(Text(IDate_));
  options.comments = Text(InvComm_);
  options.statementNote = Text(StmntNote_);
  options.terms = ITerms_->currentText().toStdString();
  options.markPrinted = IPrin_->isChecked();
  return options;
}

files::Services TInterestWiz::Logic() const { return services_.WithProgress(*ProgressWindow_); }

void TInterestWiz::ShowGrid() {
  InterestScan nothingYet;
  nothingYet.days = Options().days;
  const std::vector<std::vector<std::string>> grid = InterestGrid(scan_.value_or(nothingYet));
  const std::vector<std::string>& headings = grid.front();
  CustGrid_->clear();
  CustGrid_->setColumnCount(static_cast<int>(headings.size()));
  QStringList labels;
  for (const std::string& heading : headings) labels << ToQString(heading);
  CustGrid_->setHorizontalHeaderLabels(labels);
  // The name takes the room left, so the amounts stay beside the numbers they belong to.
  CustGrid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  CustGrid_->setRowCount(scan_ ? static_cast<int>(grid.size()) - 1 : 0);
  for (int row = 0; row < CustGrid_->rowCount(); ++row) {
    const std::vector<std::string>& cells = grid[static_cast<std::size_t>(row) + 1];
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      CustGrid_->setItem(row, column, Cell(cells[static_cast<std::size_t>(column)], column));
    }
  }
}

void TInterestWiz::OptionsChanged() {
  Button1_->setEnabled(true);
  GenInv_->setEnabled(false);
}

void TInterestWiz::FlatCBClick() {
  const bool flat = FlatCB_->isChecked();
  FlatRate_->setEnabled(flat);
  IPct_->setEnabled(!flat);
  MinChg_->setEnabled(!flat);
  OptionsChanged();
}

void TInterestWiz::FlatRateChange(const QString& text) {
  if (CheckFlatRate(text.toStdString(), services_.dialogs)) {
    OptionsChanged();
  } else {
    FlatRate_->setFocus();
  }
}

void TInterestWiz::CalbuttonClick() {
  const model::DateOrder order = services_.session.DateOrder();
  const std::string typed(model::TrimBlanks(Text(IDate_)));
  std::optional<model::Date> date =
      typed.size() >= static_cast<std::size_t>(kDateCapacity) ? model::ParseDisplayDate(typed, order) : std::nullopt;
  if (!date) date = model::TodayOf(services_.clock);
  const std::optional<std::string> chosen = shell::ui::TDateSel::SelectDate(
      services_.session, services_.help, *this, tr("Date Selection"), tr("Invoice Date"), *date);
  if (chosen) IDate_->setText(ToQString(*chosen));
  IDate_->setFocus();
}

void TInterestWiz::Button1Click() {
  Label3_->setText(tr("Scanning..."));
  Button1_->setEnabled(false);
  GenInv_->setEnabled(false);
  scan_.reset();
  ShowGrid();
  scan_ = ScanForInterest(Logic(), Options());
  if (!scan_) {
    Label3_->setText(ToQString(kInterestStartText));
    Button1_->setEnabled(true);
    if (FlatCB_->isChecked()) FlatRate_->setFocus();
    return;
  }
  ShowGrid();
  Label3_->setText(ToQString(ScanStatus(*scan_)));
  GenInv_->setEnabled(!scan_->rows.empty());
}

void TInterestWiz::GenInvClick() {
  if (!scan_ || scan_->rows.empty()) return;
  const InterestOptions options = Options();
  files::KeyedFile transactions = Logic().FileOf(files::CompanyFile::kTransactions);
  files::KeyedFile details = Logic().FileOf(files::CompanyFile::kDetails);
  if (!transactions.Open() || !details.Open()) return;
  GenInv_->setEnabled(false);
  const std::optional<int> created = GenerateInterestInvoices(Logic(), {transactions, details}, *scan_, options);
  if (!created) {
    GenInv_->setEnabled(true);
    IDate_->setFocus();
    return;
  }
  transactions.Close();
  details.Close();
  ShowGrid();
  accept();
  platform::qt::PrinterCanvas canvas(&services_.printer);
  OfferInterestReport(services_, *scan_, options, *created, canvas);
}

void TInterestWiz::Button2Click() { services_.help.ShowTopic(kHelpKeyword); }

}  // namespace reports::ui
