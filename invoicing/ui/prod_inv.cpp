#include "invoicing/ui/prod_inv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "model/company_session.h"
#include "model/dates.h"
#include "model/side_files.h"
#include "model/text.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/startup.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/fonts.h"
#include "shell/ui/product_manager.h"
#include "shell/ui/storable_text.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr int ColumnOf(GridColumn column) { return static_cast<int>(column); }
constexpr int kProductColumn = ColumnOf(GridColumn::kProduct);

// What each grid column takes: the line number and the extension are the window's.
constexpr int kColumnLimits[kGridColumnCount] = {0, 10, 10, 32, 10, 1, 10};
const char* const kColumnHeadings[kGridColumnCount] = {"LN", "Product#", "Rate/Quan.", "Description / Comment",
                                                       "Unit Price", "T", "Extension"};
// Columns 0 to 5 are as wide as these texts in the grid's font; the extension takes the rest.
const char* const kColumnWidthTexts[kGridColumnCount - 1] = {"XXi",       "XXXXXXXX", "XXXXXXXXX",
                                                             "XXXXXXXXXXXXXXXXXXXXXXXXX", "XXXXXXXXX", "Xi"};
constexpr int kMiddleRow = 50;
constexpr int kRowsShownBelowTheLast = 5;

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The cell editors: each column's length, the taxable flag in upper case, and Enter in
// the product column reported once the typed code is in the cell.
class GridCellEditor final : public QStyledItemDelegate {
 public:
  GridCellEditor(std::function<void(int row)> codeEntered, QObject* parent)
      : QStyledItemDelegate(parent), codeEntered_(std::move(codeEntered)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(kColumnLimits[index.column()]);
    editor->setProperty("gridRow", index.row());
    editor->setProperty("gridColumn", index.column());
    if (index.column() == ColumnOf(GridColumn::kTaxable)) {
      connect(editor, &QLineEdit::textEdited, editor,
              [editor](const QString& text) { editor->setText(text.toUpper()); });
    }
    shell::ui::KeepTextStorable(editor);
    return editor;
  }

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override {
    if (IsEnter(event) && editor->property("gridColumn").toInt() == kProductColumn) {
      const int row = editor->property("gridRow").toInt() + 1;
      // The delegate commits the cell in a queued call; the look-up follows it. The key
      // goes no further: the grid would take it for an Enter on the cell as it was.
      QStyledItemDelegate::eventFilter(editor, event);
      QMetaObject::invokeMethod(this, [this, row] { codeEntered_(row); }, Qt::QueuedConnection);
      return true;
    }
    return QStyledItemDelegate::eventFilter(editor, event);
  }

 private:
  std::function<void(int row)> codeEntered_;
};

QLineEdit* LineEdit(int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(maxLength);
  return edit;
}

QLineEdit* AmountEdit(QWidget* parent) {
  QLineEdit* edit = LineEdit(kAmountCapacity, parent);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

QLabel* ValueLabel(QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(parent);
  label->setAlignment(alignment);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QLabel* TotalLabel(QWidget* parent) {
  QLabel* label = ValueLabel(parent, Qt::AlignRight | Qt::AlignVCenter);
  label->setFrameShape(QFrame::StyledPanel);
  label->setFrameShadow(QFrame::Sunken);
  label->setMinimumWidth(110);
  return label;
}

void SetTextColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

// Memo invoices take typed amounts; line-item invoices show computed ones, greyed
// like a button and passed over by Tab.
void SetAmountEditable(QLineEdit* edit, bool editable) {
  edit->setReadOnly(!editable);
  edit->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, QApplication::palette().color(editable ? QPalette::Base : QPalette::Button));
  edit->setPalette(palette);
}

void AddField(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field, int span = 1) {
  auto* label = new QLabel(caption);
  label->setBuddy(field);
  grid->addWidget(label, row, column, Qt::AlignRight);
  grid->addWidget(field, row, column + 1, 1, span);
}

}  // namespace

TProdInv::TProdInv(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      INum_(LineEdit(kNumberCapacity, this)),
      DateLabel_(new QLabel(this)),
      IDate_(new QLineEdit(this)),
      Calbutton_(new QPushButton(tr("..."), this)),
      INVNOTES_(LineEdit(kNotesCapacity, this)),
      KeyCode_(LineEdit(kKeyCodeCapacity, this)),
      ITerms_(new QComboBox(this)),
      IStmntNote_(LineEdit(kStatementNoteCapacity, this)),
      IMode_(new QLabel(this)),
      BitBtn3_(new QPushButton(tr("&Customers"), this)),
      ICustName_(ValueLabel(this)),
      ICustNo_(ValueLabel(this)),
      Sname_(ValueLabel(this)),
      ICredLimit_(ValueLabel(this, Qt::AlignRight | Qt::AlignVCenter)),
      CBal_(ValueLabel(this, Qt::AlignRight | Qt::AlignVCenter)),
      Acur_(ValueLabel(this, Qt::AlignRight | Qt::AlignVCenter)),
      A30_(ValueLabel(this, Qt::AlignRight | Qt::AlignVCenter)),
      A60_(ValueLabel(this, Qt::AlignRight | Qt::AlignVCenter)),
      A90_(ValueLabel(this, Qt::AlignRight | Qt::AlignVCenter)),
      RadioButton1_(new QRadioButton(tr("&Line Item"), this)),
      RadioButton2_(new QRadioButton(tr("&Memo"), this)),
      Body_(new QStackedWidget(this)),
      StringGrid1_(new QTableWidget(kLineCount, kGridColumnCount, this)),
      MemoPage_(new QWidget(this)),
      Memo1_(new QPlainTextEdit(this)),
      MemoPDesc_(LineEdit(kMemoDescriptionCapacity, this)),
      MemoQuan_(LineEdit(kMemoQuantityCapacity, this)),
      SpeedButton2_(new QPushButton(tr("Find Product"), this)),
      DeleteLine_(new QPushButton(tr("Erase Line"), this)),
      UndoAll_(new QPushButton(tr("Erase All Lines"), this)),
      MakeNote_(new QPushButton(tr("Add Description comment"), this)),
      ImportButn_(new QPushButton(tr("Loads Saved Lines"), this)),
      ExportButn_(new QPushButton(tr("Replaces saved lines with current lines"), this)),
      TopButn_(new QPushButton(tr("Line Item 1"), this)),
      CnterButn_(new QPushButton(tr("Line Item 50"), this)),
      BottButn_(new QPushButton(tr("Line Item 99"), this)),
      INet_(AmountEdit(this)),
      ITax_(AmountEdit(this)),
      IPaid_(AmountEdit(this)),
      ITotal_(TotalLabel(this)),
      BalDue_(TotalLabel(this)),
      CheckBox2_(new QCheckBox(this)),
      PrintFlag_(new QCheckBox(tr("&Print Invoice"), this)),
      TaxLbl_(new QLabel(this)),
      TimeBtn_(new QPushButton(tr("&Start"), this)),
      StartTime_(ValueLabel(this)),
      ElapsedTime_(ValueLabel(this)),
      ToHours_(ValueLabel(this)),
      Timer1_(new QTimer(this)),
      SpeedButton8_(new QPushButton(tr("Calculator"), this)),
      OKButton_(new QPushButton(tr("&Ok"), this)),
      InvClose_(new QPushButton(tr("Close"), this)),
      BitBtn2_(new QPushButton(tr("&Help"), this)) {
  setObjectName("ProdInv");
  setWindowTitle(tr("Product Invoice"));
  platform::qt::SetHelpKeyword(*this, "NewInvoice");
  ITerms_->setEditable(true);
  ITerms_->setInsertPolicy(QComboBox::NoInsert);
  ITerms_->lineEdit()->setMaxLength(kTermsCapacity);
  Memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  Timer1_->setInterval(1000);
  TimeBtn_->setToolTip(tr("Start/Stop Timer"));
  Calbutton_->setToolTip(tr("Choose the date in the calendar"));
  Calbutton_->setFixedWidth(Calbutton_->fontMetrics().horizontalAdvance("...") + 24);
  // Enter belongs to the grid (product look-up) and the fields: no button answers it.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  QFont bold = IMode_->font();
  bold.setBold(true);
  for (QLabel* label : {IMode_, ICustName_, ITotal_, BalDue_}) label->setFont(bold);
  BuildGrid();
  BuildLayout();
  ConnectSignals();
  shell::ui::KeepTextStorable(this);
}

const model::CompanyRecord& TProdInv::Company() const { return services_.session.CurrentCompany; }

void TProdInv::BuildGrid() {
  QStringList headings;
  for (const char* heading : kColumnHeadings) headings << tr(heading);
  StringGrid1_->setHorizontalHeaderLabels(headings);
  StringGrid1_->verticalHeader()->hide();
  StringGrid1_->horizontalHeader()->setStretchLastSection(true);
  StringGrid1_->horizontalHeader()->setSectionsClickable(false);
  StringGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1_->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  StringGrid1_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  StringGrid1_->setItemDelegate(new GridCellEditor([this](int row) { StringGrid1KeyEnter(row); }, StringGrid1_));
  StringGrid1_->verticalHeader()->setDefaultSectionSize(StringGrid1_->fontMetrics().height() + 6);
  for (int row = 0; row < kLineCount; ++row) {
    for (int column = 0; column < kGridColumnCount; ++column) {
      auto* item = new QTableWidgetItem;
      const bool shownOnly = column == ColumnOf(GridColumn::kLine) || column == ColumnOf(GridColumn::kExtension);
      if (shownOnly) item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      const bool amount = column == ColumnOf(GridColumn::kQuantity) || column == ColumnOf(GridColumn::kUnitPrice) ||
                          column == ColumnOf(GridColumn::kExtension);
      if (amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (column == ColumnOf(GridColumn::kTaxable) || column == ColumnOf(GridColumn::kLine))
        item->setTextAlignment(Qt::AlignCenter);
      StringGrid1_->setItem(row, column, item);
    }
    StringGrid1_->item(row, ColumnOf(GridColumn::kLine))->setText(QString::number(row + 1));
  }
  StringGrid1_->installEventFilter(this);
  StringGrid1_->viewport()->installEventFilter(this);
}

void TProdInv::BuildLayout() {
  // The invoice's own fields on the left, the customer on the right.
  auto* heading = new QGridLayout;
  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(2);
  dateRow->addWidget(IDate_);
  dateRow->addWidget(Calbutton_);
  IDate_->setMinimumWidth(IDate_->fontMetrics().horizontalAdvance("00/00/00000") + 16);
  INum_->setMinimumWidth(INum_->fontMetrics().horizontalAdvance("0000000000") + 16);
  heading->addWidget(new QLabel(tr("Invoice #:")), 0, 0, Qt::AlignRight);
  heading->addWidget(INum_, 0, 1);
  heading->addWidget(DateLabel_, 0, 2, Qt::AlignRight);
  heading->addLayout(dateRow, 0, 3);
  heading->addWidget(IMode_, 0, 4, 1, 2, Qt::AlignRight);
  AddField(heading, 1, 0, tr("Notes / &Ref.:"), INVNOTES_, 5);
  AddField(heading, 2, 0, tr("&Key Code:"), KeyCode_);
  AddField(heading, 2, 2, tr("&Terms:"), ITerms_, 3);
  AddField(heading, 3, 0, tr("Statement &Note:"), IStmntNote_, 5);
  heading->setColumnStretch(5, 1);

  auto* kind = new QHBoxLayout;
  kind->addWidget(new QLabel(tr("Invoice type:")));
  kind->addWidget(RadioButton1_);
  kind->addWidget(RadioButton2_);
  kind->addStretch();
  heading->addLayout(kind, 4, 1, 1, 5);

  auto* customer = new QGroupBox(tr("Customer"));
  auto* customerGrid = new QGridLayout(customer);
  customerGrid->addWidget(BitBtn3_, 0, 0);
  customerGrid->addWidget(ICustName_, 0, 1, 1, 3);
  customerGrid->addWidget(new QLabel(tr("Cust #:")), 1, 0, Qt::AlignRight);
  customerGrid->addWidget(ICustNo_, 1, 1);
  customerGrid->addWidget(new QLabel(tr("Short Name:")), 1, 2, Qt::AlignRight);
  customerGrid->addWidget(Sname_, 1, 3);
  customerGrid->addWidget(new QLabel(tr("Balance:")), 2, 0, Qt::AlignRight);
  customerGrid->addWidget(CBal_, 2, 1);
  customerGrid->addWidget(new QLabel(tr("Credit Limit:")), 2, 2, Qt::AlignRight);
  customerGrid->addWidget(ICredLimit_, 2, 3);
  auto* aging = new QGridLayout;
  const std::pair<const char*, QLabel*> buckets[] = {
      {"0-30", Acur_}, {"31-60", A30_}, {"61-90", A60_}, {"Over 90", A90_}};
  for (int i = 0; i < 4; ++i) {
    auto* caption = new QLabel(tr(buckets[i].first));
    caption->setAlignment(Qt::AlignRight);
    aging->addWidget(caption, 0, i);
    buckets[i].second->setFrameShape(QFrame::StyledPanel);
    aging->addWidget(buckets[i].second, 1, i);
  }
  customerGrid->addLayout(aging, 3, 0, 1, 4);
  customerGrid->setColumnStretch(1, 1);
  customerGrid->setColumnStretch(3, 1);
  customer->setMinimumWidth(380);

  auto* top = new QHBoxLayout;
  top->addLayout(heading, 3);
  top->addWidget(customer, 2);

  // The body: the grid, or the memo with its description and quantity.
  auto* memoLayout = new QVBoxLayout(MemoPage_);
  memoLayout->setContentsMargins(0, 0, 0, 0);
  memoLayout->addWidget(Memo1_, 1);
  auto* memoFields = new QHBoxLayout;
  memoFields->addWidget(new QLabel(tr("Product Description:")));
  memoFields->addWidget(MemoPDesc_, 3);
  memoFields->addWidget(new QLabel(tr("Quantity:")));
  memoFields->addWidget(MemoQuan_, 1);
  memoLayout->addLayout(memoFields);
  Body_->addWidget(StringGrid1_);
  Body_->addWidget(MemoPage_);

  auto* lineTools = new QVBoxLayout;
  for (QPushButton* button : {SpeedButton2_, DeleteLine_, UndoAll_, MakeNote_}) lineTools->addWidget(button);
  lineTools->addSpacing(10);
  for (QPushButton* button : {TopButn_, CnterButn_, BottButn_}) lineTools->addWidget(button);
  lineTools->addSpacing(10);
  for (QPushButton* button : {ImportButn_, ExportButn_}) lineTools->addWidget(button);
  lineTools->addStretch();
  ExportButn_->setToolTip(ExportButn_->text());

  auto* middle = new QHBoxLayout;
  middle->addWidget(Body_, 1);
  middle->addLayout(lineTools);

  // Under the body: tax, print and timer on the left, the totals on the right.
  auto* timer = new QGroupBox(tr("Work Timer"));
  auto* timerGrid = new QGridLayout(timer);
  timerGrid->addWidget(TimeBtn_, 0, 0, 3, 1, Qt::AlignTop);
  timerGrid->addWidget(new QLabel(tr("Started:")), 0, 1, Qt::AlignRight);
  timerGrid->addWidget(StartTime_, 0, 2);
  timerGrid->addWidget(new QLabel(tr("Elapsed:")), 1, 1, Qt::AlignRight);
  timerGrid->addWidget(ElapsedTime_, 1, 2);
  timerGrid->addWidget(new QLabel(tr("Hours:")), 2, 1, Qt::AlignRight);
  timerGrid->addWidget(ToHours_, 2, 2);
  timerGrid->setColumnMinimumWidth(2, StartTime_->fontMetrics().horizontalAdvance("000.000 00") + 8);
  timerGrid->addWidget(SpeedButton8_, 3, 0, 1, 3);

  auto* options = new QVBoxLayout;
  options->addWidget(CheckBox2_);
  options->addWidget(PrintFlag_);
  options->addWidget(TaxLbl_);
  options->addStretch();

  auto* totals = new QGridLayout;
  AddField(totals, 0, 0, tr("N&et:"), INet_);
  AddField(totals, 1, 0, tr("Ta&x:"), ITax_);
  AddField(totals, 2, 0, tr("Total:"), ITotal_);
  AddField(totals, 3, 0, tr("Pai&d:"), IPaid_);
  AddField(totals, 4, 0, tr("Balance Due:"), BalDue_);
  for (QWidget* amount : std::initializer_list<QWidget*>{INet_, ITax_, IPaid_}) amount->setMinimumWidth(110);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(timer);
  bottom->addSpacing(12);
  bottom->addLayout(options, 1);
  bottom->addLayout(totals);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKButton_, InvClose_, BitBtn2_}) {
    button->setMinimumWidth(90);
    buttons->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);
  layout->addLayout(buttons);
  resize(1080, 760);

  QWidget* const order[] = {INum_,     IDate_, Calbutton_, INVNOTES_,  KeyCode_,  ITerms_,      IStmntNote_,
                            RadioButton1_, RadioButton2_, BitBtn3_, StringGrid1_, Memo1_, MemoPDesc_, MemoQuan_,
                            SpeedButton2_, DeleteLine_, UndoAll_, MakeNote_, TopButn_, CnterButn_, BottButn_,
                            ImportButn_, ExportButn_, TimeBtn_, SpeedButton8_, CheckBox2_, PrintFlag_,
                            INet_,     ITax_,  IPaid_,     OKButton_,  InvClose_, BitBtn2_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
}

void TProdInv::ConnectSignals() {
  connect(StringGrid1_, &QTableWidget::itemChanged, this, &TProdInv::StringGrid1CellChanged);
  connect(RadioButton1_, &QRadioButton::clicked, this, &TProdInv::RadioButtonClick);
  connect(RadioButton2_, &QRadioButton::clicked, this, &TProdInv::RadioButtonClick);
  connect(CheckBox2_, &QCheckBox::clicked, this, &TProdInv::CheckBox2Click);
  connect(Memo1_, &QPlainTextEdit::textChanged, this, &TProdInv::Memo1Change);
  for (QLineEdit* amount : {INet_, ITax_, IPaid_}) {
    connect(amount, &QLineEdit::textEdited, this, &TProdInv::RecalcTotals);
    connect(amount, &QLineEdit::editingFinished, this, &TProdInv::ZeroEmptyAmounts);
  }
  connect(BitBtn3_, &QPushButton::clicked, this, &TProdInv::BitBtn3Click);
  connect(SpeedButton2_, &QPushButton::clicked, this, &TProdInv::SpeedButton2Click);
  connect(DeleteLine_, &QPushButton::clicked, this, &TProdInv::DeleteLineClick);
  connect(UndoAll_, &QPushButton::clicked, this, &TProdInv::UndoAllClick);
  connect(MakeNote_, &QPushButton::clicked, this, &TProdInv::MakeNoteClick);
  connect(ImportButn_, &QPushButton::clicked, this, &TProdInv::ImportButnClick);
  connect(ExportButn_, &QPushButton::clicked, this, &TProdInv::ExportButnClick);
  connect(TopButn_, &QPushButton::clicked, this, &TProdInv::TopButnClick);
  connect(CnterButn_, &QPushButton::clicked, this, &TProdInv::CnterButnClick);
  connect(BottButn_, &QPushButton::clicked, this, &TProdInv::BottButnClick);
  connect(SpeedButton8_, &QPushButton::clicked, this, &TProdInv::SpeedButton8Click);
  connect(TimeBtn_, &QPushButton::clicked, this, &TProdInv::TimeBtnClick);
  connect(Timer1_, &QTimer::timeout, this, &TProdInv::Timer1Timer);
  connect(Calbutton_, &QPushButton::clicked, this, &TProdInv::CalbuttonClick);
  connect(InvClose_, &QPushButton::clicked, this, &TProdInv::InvCloseClick);
  connect(BitBtn2_, &QPushButton::clicked, this, &TProdInv::BitBtn2Click);
  connect(OKButton_, &QPushButton::clicked, this, &TProdInv::OKButtonClick);
}

bool TProdInv::Execute(InvoiceForm& form, const QString& caption, std::function<bool(std::string_view)> numberOnFile) {
  form_ = form;
  numberOnFile_ = std::move(numberOnFile);
  setWindowTitle(caption);
  if (form_.mode == EntryMode::kAdd) {
    const model::DateOrder order = services_.session.DateOrder();
    const model::Date date =
        model::ParseDisplayDate(form_.date, order).value_or(model::TodayOf(services_.clock));
    if (model::TrimBlanks(form_.number).empty()) form_.number = NewInvoiceNumber(Company(), date);
    if (model::TrimBlanks(form_.terms).empty()) form_.terms = Company().DefaultTerms.str();
    form_.printFlag = Company().DefaultPrintFlag;
  }
  if (exec() != QDialog::Accepted) return false;
  form = form_;
  return true;
}

bool TProdInv::TimerRunning() const { return Timer1_->isActive(); }

void TProdInv::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TProdInv::FormShow() {
  showing_ = true;
  const model::CompanyRecord& company = Company();
  if (!TimerRunning()) {
    StartTime_->clear();
    ElapsedTime_->clear();
    ToHours_->clear();
  }
  const bool dayFirst = services_.session.DateOrder() == model::DateOrder::kDayFirst;
  DateLabel_->setText(dayFirst ? tr("Dy/Mo/Year:") : tr("Mo/Dy/Year:"));
  // The model knows the two orders that put the year last, and so does the mask.
  IDate_->setInputMask("99/99/9999;_");
  LoadTermsList();
  taxBox_ = PrepareTaxBox(form_, company);

  const bool editing = form_.mode == EntryMode::kEdit;
  const bool generated = editing && model::Folded(form_.number).find('G') != std::string::npos;
  for (QWidget* control : std::initializer_list<QWidget*>{RadioButton1_, RadioButton2_, PrintFlag_, BitBtn3_})
    control->setEnabled(!editing);
  INum_->setEnabled(!generated);
  IMode_->setText(editing ? tr("Edit Mode") : tr("Add Mode"));

  ApplyFonts();
  SetColumnWidths();
  ShowForm();
  ApplyModeLayout();
  RecalcTotals();
  MoveToCell(1, GridColumn::kProduct);
  StringGrid1_->scrollToTop();
  if (!editing) {
    BitBtn3_->setFocus();
  } else if (generated) {
    INVNOTES_->setFocus();
  } else {
    INum_->setFocus();
  }
  showing_ = false;
}

void TProdInv::SetColumnWidths() {
  const QFontMetrics metrics(StringGrid1_->font());
  for (int column = 0; column < kGridColumnCount - 1; ++column) {
    StringGrid1_->setColumnWidth(column, metrics.horizontalAdvance(QString::fromLatin1(kColumnWidthTexts[column])) + 8);
  }
}

void TProdInv::ApplyFonts() {
  const model::CompanyRecord& company = Company();
  const QFont screen = shell::ui::FontOf(company.ScreenFont, QApplication::font());
  const QColor color = shell::ui::ColorOf(company.ScreenFont.Color);
  StringGrid1_->setFont(screen);
  SetTextColor(StringGrid1_, QPalette::Text, color);
  StringGrid1_->verticalHeader()->setDefaultSectionSize(QFontMetrics(screen).height() + 6);
  for (QLabel* label : {ICustName_, ICustNo_, Sname_, CBal_, ICredLimit_}) {
    QFont font = screen;
    if (label == ICustName_) font.setBold(true);
    label->setFont(font);
    SetTextColor(label, QPalette::WindowText, color);
  }
  QFont memo = QApplication::font();
  if (!company.ManagerFont.Name.empty()) memo.setFamily(ToQString(company.ManagerFont.Name.str()));
  if (company.ManagerFont.Size > 0) memo.setPointSize(company.ManagerFont.Size);
  Memo1_->setFont(memo);
  SetTextColor(Memo1_, QPalette::Text, color);
}

void TProdInv::ApplyModeLayout() {
  const bool memo = form_.kind == InvoiceKind::kMemo;
  RadioButton1_->setChecked(!memo);
  RadioButton2_->setChecked(memo);
  Body_->setCurrentWidget(memo ? MemoPage_ : static_cast<QWidget*>(StringGrid1_));
  CheckBox2_->setVisible(!memo);
  for (QPushButton* button : {SpeedButton2_, DeleteLine_, MakeNote_, TopButn_, CnterButn_, BottButn_})
    button->setEnabled(!memo);
  TaxLbl_->clear();
  SetAmountEditable(INet_, memo);
  SetAmountEditable(ITax_, memo);
  if (memo && form_.mode == EntryMode::kAdd) {
    for (QLineEdit* amount : {INet_, ITax_, IPaid_}) amount->setText("0.00");
  }
}

void TProdInv::ShowForm() {
  const QSignalBlocker blockMemo(Memo1_);
  INum_->setMaxLength(std::max<int>(kNumberCapacity, static_cast<int>(model::CharacterCount(form_.number))));
  INum_->setText(ToQString(form_.number));
  IDate_->setText(ToQString(form_.date));
  INVNOTES_->setText(ToQString(form_.notes));
  KeyCode_->setText(ToQString(form_.keyCode));
  ITerms_->setEditText(ToQString(form_.terms));
  IStmntNote_->setText(ToQString(form_.statementNote));
  Memo1_->setPlainText(ToQString(form_.memo));
  MemoPDesc_->setText(ToQString(form_.memoDescription));
  MemoQuan_->setText(ToQString(form_.memoQuantity));
  INet_->setText(ToQString(form_.net));
  ITax_->setText(ToQString(form_.tax));
  IPaid_->setText(ToQString(form_.paid));
  PrintFlag_->setChecked(form_.printFlag);
  ShowLines();
  ShowCustomer();
  ShowTaxBox();
}

void TProdInv::ShowLine(int row) {
  const QSignalBlocker blocker(StringGrid1_);
  const GridLine& line = form_.Line(row);
  for (int column = kProductColumn; column < kGridColumnCount; ++column) {
    StringGrid1_->item(row - 1, column)->setText(ToQString(line.Cell(static_cast<GridColumn>(column))));
  }
}

void TProdInv::ShowLines() {
  for (int row = 1; row <= kLineCount; ++row) ShowLine(row);
}

void TProdInv::ShowCustomer() {
  if (!form_.customer) {
    for (QLabel* label : {ICustName_, ICustNo_, Sname_, ICredLimit_, CBal_, Acur_, A30_, A60_, A90_}) label->clear();
    return;
  }
  const CustomerLabels labels = LabelsOf(*form_.customer);
  ICustName_->setText(ToQString(labels.name));
  ICustNo_->setText(ToQString(labels.number));
  Sname_->setText(ToQString(labels.shortName));
  ICredLimit_->setText(ToQString(labels.creditLimit));
  CBal_->setText(ToQString(labels.balance));
  SetTextColor(CBal_, QPalette::WindowText,
               labels.balanceNegative ? QColor(Qt::red) : shell::ui::ColorOf(Company().ScreenFont.Color));
  Acur_->setText(ToQString(labels.aging[0]));
  A30_->setText(ToQString(labels.aging[1]));
  A60_->setText(ToQString(labels.aging[2]));
  A90_->setText(ToQString(labels.aging[3]));
}

void TProdInv::ShowTaxBox() {
  CheckBox2_->setChecked(form_.calcTax);
  CheckBox2_->setEnabled(taxBox_.enabled);
  CheckBox2_->setText(ToQString(taxBox_.caption));
}

void TProdInv::ShowAmounts() {
  if (form_.kind == InvoiceKind::kLineItem) {
    INet_->setText(ToQString(form_.net));
    ITax_->setText(ToQString(form_.tax));
    if (IPaid_->text().trimmed().isEmpty() && !IPaid_->hasFocus()) IPaid_->setText(ToQString(form_.paid));
  }
  ITotal_->setText(ToQString(form_.total));
  BalDue_->setText(ToQString(form_.balanceDue));
  const bool negative = ReadAmount(form_.balanceDue).value_or(model::Money()) < model::Money();
  SetTextColor(BalDue_, QPalette::WindowText, negative ? QColor(Qt::red) : QColor(Qt::black));
  TaxLbl_->setText(form_.kind == InvoiceKind::kMemo ? ToQString(MemoTaxLabel(form_, Company())) : QString());
}

// The controls outside the grid into the form; the grid's cells reach it as they change.
void TProdInv::ReadControls() {
  form_.number = Text(INum_);
  form_.date = Text(IDate_);
  form_.notes = Text(INVNOTES_);
  form_.keyCode = Text(KeyCode_);
  form_.terms = ITerms_->currentText().toStdString();
  form_.statementNote = Text(IStmntNote_);
  form_.memo = Memo1_->toPlainText().toStdString();
  form_.memoDescription = Text(MemoPDesc_);
  form_.memoQuantity = Text(MemoQuan_);
  form_.net = Text(INet_);
  form_.tax = Text(ITax_);
  form_.paid = Text(IPaid_);
  form_.calcTax = CheckBox2_->isChecked();
  form_.printFlag = PrintFlag_->isChecked();
  form_.kind = RadioButton2_->isChecked() ? InvoiceKind::kMemo : InvoiceKind::kLineItem;
}

// Typed memo amounts and the paid amount stay as typed while the user types; only the
// computed ones are written back.
void TProdInv::RecalcTotals() {
  ReadControls();
  InvoiceForm computed = form_;
  ComputeTotals(computed, Company());
  form_.total = computed.total;
  form_.balanceDue = computed.balanceDue;
  if (form_.kind == InvoiceKind::kLineItem) {
    form_.net = computed.net;
    form_.tax = computed.tax;
    form_.paid = computed.paid;
  }
  ShowAmounts();
}

void TProdInv::ZeroEmptyAmounts() {
  for (QLineEdit* amount : {INet_, ITax_, IPaid_}) {
    if (amount->text().trimmed().isEmpty()) amount->setText("0.00");
  }
  RecalcTotals();
}

void TProdInv::FocusField(const EntryCheck& check) {
  const auto focusAmount = [this](QLineEdit* amount) {
    if (amount->focusPolicy() != Qt::NoFocus) {
      amount->setFocus();
    } else {
      StringGrid1_->setFocus();
    }
  };
  switch (check.focus) {
    case EntryField::kNumber: INum_->setFocus(); break;
    case EntryField::kCustomerButton: BitBtn3_->setFocus(); break;
    case EntryField::kDate: IDate_->setFocus(); break;
    case EntryField::kGridCell:
      MoveToCell(check.row, check.column);
      StringGrid1_->setFocus();
      break;
    case EntryField::kNet: focusAmount(INet_); break;
    case EntryField::kTax: focusAmount(ITax_); break;
    case EntryField::kPaid: IPaid_->setFocus(); break;
    case EntryField::kTerms: ITerms_->setFocus(); break;
    case EntryField::kNone: break;
  }
}

void TProdInv::MoveToCell(int row, GridColumn column) { StringGrid1_->setCurrentCell(row - 1, ColumnOf(column)); }

int TProdInv::CurrentRow() const { return std::clamp(StringGrid1_->currentRow() + 1, 1, kLineCount); }

void TProdInv::FillRowFromProduct(int row, const model::ProductRecord& product,
                                  std::optional<std::string_view> quantity) {
  FillFromProduct(form_.Line(row), product, quantity);
  ShowLine(row);
  RecalcTotals();
}

void TProdInv::OpenProductList(int row) {
  shell::ui::TProdManager manager(services_, this);
  manager.PickProduct(TypedProductCode(form_.Line(row).productCode));
  if (manager.exec() != QDialog::Accepted) return;
  const std::string quantity(model::TrimBlanks(Company().DefaultQuantity.str()));
  FillRowFromProduct(row, manager.ChosenProduct(), quantity);
  MoveToCell(row, GridColumn::kQuantity);
}

void TProdInv::LoadTermsList() {
  terms_.clear();
  const model::FileOutcome loaded = model::LoadTerms(terms_);
  if (!loaded) services_.dialogs.inform("Terms", loaded.error, platform::Icon::kError);
  const QSignalBlocker blocker(ITerms_);
  ITerms_->clear();
  for (const std::string& term : terms_) ITerms_->addItem(ToQString(term));
}

std::int64_t TProdInv::NowInSeconds() const {
  const platform::LocalDateTime now = services_.clock.Now();
  return model::DayNumber({now.year, now.month, now.day}) * 86400 + now.hour * 3600 + now.minute * 60 + now.second;
}

bool TProdInv::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StringGrid1_ && IsEnter(event) && StringGrid1_->currentColumn() == kProductColumn) {
    StringGrid1KeyEnter(CurrentRow());
    return true;
  }
  if (watched == StringGrid1_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    const QModelIndex index = StringGrid1_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (index.isValid() && index.column() == kProductColumn) {
      StringGrid1_->setCurrentCell(index.row(), kProductColumn);
      StringGrid1DblClick(index.row() + 1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// --- Handlers ------------------------------------------------------------------

void TProdInv::StringGrid1CellChanged(QTableWidgetItem* item) {
  const int row = item->row() + 1;
  const auto column = static_cast<GridColumn>(item->column());
  if (column == GridColumn::kLine || column == GridColumn::kExtension) return;
  GridLine& line = form_.Line(row);
  line.Cell(column) = item->text().toStdString();
  ExtendLine(line);
  ShowLine(row);
  RecalcTotals();
}

void TProdInv::StringGrid1KeyEnter(int row) {
  const CodeLookup lookup = LookUpProductCode(services_, form_.Line(row).productCode);
  if (lookup.product) {
    const std::string code = TypedProductCode(form_.Line(row).productCode);
    FillRowFromProduct(row, *lookup.product, std::nullopt);
    form_.Line(row).productCode = code;
    ShowLine(row);
  } else if (lookup.openProductList) {
    OpenProductList(row);
  }
}

void TProdInv::StringGrid1DblClick(int row) {
  const int topRow = StringGrid1_->rowAt(0) + 1;
  if (row - topRow == 4 && row < kLineCount) {
    StringGrid1_->verticalScrollBar()->setValue(StringGrid1_->verticalScrollBar()->value() + 1);
  }
  OpenProductList(row);
}

void TProdInv::RadioButtonClick() {
  ReadControls();
  ApplyModeLayout();
  RecalcTotals();
}

void TProdInv::CheckBox2Click() { RecalcTotals(); }

void TProdInv::Memo1Change() {
  if (showing_) return;
  const QString text = Memo1_->toPlainText();
  if (text.size() <= kMemoCapacity) return;
  const QSignalBlocker blocker(Memo1_);
  Memo1_->setPlainText(text.left(kMemoCapacity));
  Memo1_->moveCursor(QTextCursor::End);
}

void TProdInv::BitBtn3Click() {
  const std::string current = form_.customer ? form_.customer->CustNo.str() : std::string();
  const std::optional<model::CustomerRecord> chosen = shell::ui::TCustManager(services_, this).PickCustomer(current);
  if (!chosen) return;
  ReadControls();
  TakeCustomer(form_, *chosen, Company(), taxBox_);
  ShowCustomer();
  ShowTaxBox();
  ITerms_->setEditText(ToQString(form_.terms));
  RecalcTotals();
  WarnAboutCustomer(*chosen, services_.dialogs);
}

void TProdInv::SpeedButton2Click() { OpenProductList(CurrentRow()); }

void TProdInv::DeleteLineClick() {
  const int row = CurrentRow();
  form_.Line(row) = BlankLine(Company());
  ShowLine(row);
  RecalcTotals();
}

void TProdInv::UndoAllClick() {
  ReadControls();
  EraseAllLines(form_, Company());
  ShowForm();
  RecalcTotals();
}

void TProdInv::MakeNoteClick() {
  const int row = CurrentRow();
  form_.Line(row) = CommentLine();
  ShowLine(row);
  RecalcTotals();
  MoveToCell(row, GridColumn::kDescription);
  StringGrid1_->setFocus();
}

void TProdInv::ImportButnClick() {
  ReadControls();
  if (!LoadSavedLines(form_, Company(), services_.dialogs)) return;
  ShowForm();
  RecalcTotals();
  if (form_.kind == InvoiceKind::kMemo) {
    Memo1_->moveCursor(QTextCursor::Start);
    Memo1_->setFocus();
  } else {
    MoveToCell(1, GridColumn::kProduct);
    StringGrid1_->scrollToTop();
    StringGrid1_->setFocus();
  }
}

void TProdInv::ExportButnClick() {
  ReadControls();
  ReplaceSavedLines(form_, services_.dialogs);
}

void TProdInv::TopButnClick() {
  MoveToCell(1, GridColumn::kProduct);
  StringGrid1_->scrollToTop();
  StringGrid1_->setFocus();
}

void TProdInv::CnterButnClick() {
  MoveToCell(kMiddleRow, GridColumn::kProduct);
  StringGrid1_->setFocus();
}

void TProdInv::BottButnClick() {
  MoveToCell(kLineCount, GridColumn::kProduct);
  // Grid rows count the heading: the top row becomes row count - 5.
  StringGrid1_->verticalScrollBar()->setValue(kLineCount + 1 - kRowsShownBelowTheLast - 1);
  StringGrid1_->setFocus();
}

void TProdInv::SpeedButton8Click() {
  if (!services_.launcher.StartCalculator()) {
    services_.dialogs.inform(shell::kProgramCaption, "Calculator not found.", platform::Icon::kWarning);
  }
}

void TProdInv::TimeBtnClick() {
  if (TimerRunning()) {
    Timer1_->stop();
    TimeBtn_->setText(tr("&Start"));
    SetTextColor(TimeBtn_, QPalette::ButtonText, QColor(Qt::black));
    return;
  }
  timerStart_ = NowInSeconds();
  StartTime_->setText(ToQString(ElapsedText(timerStart_ % 86400)));
  Timer1Timer();
  Timer1_->start();
  TimeBtn_->setText(tr("&Stop"));
  SetTextColor(TimeBtn_, QPalette::ButtonText, QColor(Qt::red));
}

void TProdInv::Timer1Timer() {
  const std::int64_t elapsed = NowInSeconds() - timerStart_;
  ElapsedTime_->setText(ToQString(ElapsedText(elapsed)));
  ToHours_->setText(ToQString(HoursText(elapsed)));
}

void TProdInv::CalbuttonClick() {
  const model::DateOrder order = services_.session.DateOrder();
  const std::string typed(model::TrimBlanks(Text(IDate_)));
  std::optional<model::Date> date =
      typed.size() >= static_cast<std::size_t>(kDateCapacity) ? model::ParseDisplayDate(typed, order) : std::nullopt;
  if (!date) {
    date = model::TodayOf(services_.clock);
    IDate_->setText(ToQString(model::FormatDisplayDate(*date, order)));
  }
  shell::ui::TDateSel calendar(services_.session, services_.help, this);
  calendar.setWindowTitle(tr("Date Selection"));
  calendar.SetHeading(tr("Invoice Date"));
  calendar.SetDate(*date);
  calendar.adjustSize();
  calendar.move(IDate_->mapToGlobal(QPoint(0, IDate_->height())));
  if (calendar.exec() == QDialog::Accepted) {
    IDate_->setText(ToQString(calendar.DateText()));
    INVNOTES_->setFocus();
  } else {
    IDate_->setFocus();
  }
}

void TProdInv::InvCloseClick() { reject(); }

void TProdInv::BitBtn2Click() { services_.help.ShowTopic(platform::qt::HelpKeywordOf(this)); }

void TProdInv::OKButtonClick() {
  RecalcTotals();
  const EntryContext context{Company(), services_.dialogs, numberOnFile_, terms_,
                             [](const std::vector<std::string>& terms) { return model::SaveTerms(terms); }};
  const EntryCheck check = CheckInvoice(form_, context);
  if (!check.ok) {
    FocusField(check);
    return;
  }
  form_.number = model::Folded(form_.number);
  accept();
}

}  // namespace invoicing::ui
