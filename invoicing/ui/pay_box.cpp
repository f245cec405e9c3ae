#include "invoicing/ui/pay_box.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "files/company_files.h"
#include "invoicing/ui/ppmt_dialog.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/text.h"
#include "platform/qt/help_key.h"
#include "platform/qt/progress_window.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/storable_text.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "PaymentWizard";
constexpr int kPaidAmountLength = 10;
constexpr int kNotesLength = static_cast<int>(kPaymentNoteLength);
constexpr int kDateLength = 10;

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLabel* ValueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QPushButton* MoveButton(const QString& caption, const QString& hint, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setToolTip(hint);
  button->setFixedWidth(48);
  return button;
}

QListWidget* ItemList(QWidget* parent) {
  auto* list = new QListWidget(parent);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(list->font().pointSizeF());
  list->setFont(fixed);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setUniformItemSizes(true);
  list->setAlternatingRowColors(true);
  const int lineWidth = list->fontMetrics().horizontalAdvance(QString(34, QLatin1Char('0')));
  list->setMinimumWidth(lineWidth + list->verticalScrollBar()->sizeHint().width() + 8);
  list->setMinimumHeight(list->fontMetrics().height() * 10);
  return list;
}

// The columns of the list lines, as a heading over a list in the lines' font.
QLabel* ColumnHeading(const QListWidget* list, QWidget* parent) {
  auto* label = new QLabel(ToQString(PaymentListHeading()), parent);
  label->setFont(list->font());
  label->setContentsMargins(list->frameWidth() + 3, 0, 0, 0);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, palette.color(QPalette::Disabled, QPalette::WindowText));
  label->setPalette(palette);
  return label;
}

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

TPayBox::TPayBox(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      ProgressWindow_(new platform::qt::TProgressWindow(this)),
      PPmtDialog_(new TPPmtDialog(services.dialogs, services.help, this)),
      BitBtn3_(new QPushButton(tr("C&ustomers..."), this)),
      PCustName_(ValueLabel(this)),
      PCustNum_(ValueLabel(this)),
      PCustPhone_(ValueLabel(this)),
      Sname_(ValueLabel(this)),
      PCustBal_(ValueLabel(this)),
      PmtDate_(new QLineEdit(this)),
      CalButton_(new QPushButton(tr("..."), this)),
      PAmt_(new QLineEdit(this)),
      PNotes_(new QLineEdit(this)),
      SrcList_(ItemList(this)),
      DstList_(ItemList(this)),
      IncludeBtn_(MoveButton(tr(">"), tr("Move one record right"), this)),
      IncAllBtn_(MoveButton(tr(">>"), tr("Move all records right"), this)),
      ExcludeBtn_(MoveButton(tr("<"), tr("Move one record left"), this)),
      ExAllBtn_(MoveButton(tr("<<"), tr("Move all records left"), this)),
      PPmtBtn_(new QPushButton(tr("Partial Pay&ment"), this)),
      AccountDep_(new QPushButton(tr("Add &Deposit on Account"), this)),
      IPostedAmt_(BoldLabel(QString(), this)),
      OKBtn_(new QPushButton(tr("&Post"), this)),
      CancelBtn_(new QPushButton(tr("&Cancel"), this)),
      HelpBtn_(new QPushButton(tr("Help"), this)) {
  setObjectName("PayBox");
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  PmtDate_->setMaxLength(kDateLength);
  PAmt_->setMaxLength(kPaidAmountLength);
  PAmt_->setAlignment(Qt::AlignRight);
  PNotes_->setMaxLength(kNotesLength);
  CalButton_->setToolTip(tr("Choose the date in the calendar"));
  CalButton_->setFixedWidth(CalButton_->fontMetrics().horizontalAdvance("...") + 24);
  QFont bold = PCustName_->font();
  bold.setBold(true);
  PCustName_->setFont(bold);
  PCustBal_->setFont(bold);
  PCustBal_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  IPostedAmt_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Enter belongs to the lists (it moves a line) and the fields: no button answers it,
  // so a paid amount confirmed with Enter is not posted by accident. The amount
  // dialog's own buttons are not the window's.
  for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  BuildLayout();
  ConnectSignals();
  shell::ui::KeepTextStorable(PNotes_);
}

TPayBox::~TPayBox() = default;

void TPayBox::BuildLayout() {
  auto* customer = new QGroupBox(tr("Customer"), this);
  auto* customerGrid = new QGridLayout(customer);
  customerGrid->addWidget(BitBtn3_, 0, 0, Qt::AlignTop);
  customerGrid->addWidget(PCustName_, 0, 1, 1, 4);
  customerGrid->addWidget(new QLabel(tr("Cust #:"), customer), 1, 1, Qt::AlignRight);
  customerGrid->addWidget(PCustNum_, 1, 2);
  customerGrid->addWidget(new QLabel(tr("Short Name:"), customer), 1, 3, Qt::AlignRight);
  customerGrid->addWidget(Sname_, 1, 4);
  customerGrid->addWidget(new QLabel(tr("Phone:"), customer), 2, 1, Qt::AlignRight);
  customerGrid->addWidget(PCustPhone_, 2, 2, 1, 3);
  customerGrid->addWidget(new QLabel(tr("Balance:"), customer), 0, 6, Qt::AlignRight | Qt::AlignBottom);
  customerGrid->addWidget(PCustBal_, 1, 6);
  customerGrid->setColumnMinimumWidth(2, PCustNum_->fontMetrics().horizontalAdvance("WWWWWWWW") + 8);
  customerGrid->setColumnMinimumWidth(4, Sname_->fontMetrics().horizontalAdvance("WWWWWWWWWW"));
  customerGrid->setColumnStretch(5, 1);
  customerGrid->setColumnMinimumWidth(6, PCustBal_->fontMetrics().horizontalAdvance("0,000,000.00") + 24);
  BitBtn3_->setMinimumWidth(120);

  auto* payment = new QGroupBox(tr("Payment"), this);
  auto* paymentGrid = new QGridLayout(payment);
  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(2);
  dateRow->addWidget(PmtDate_);
  dateRow->addWidget(CalButton_);
  PmtDate_->setFixedWidth(PmtDate_->fontMetrics().horizontalAdvance("00/00/00000") + 16);
  PAmt_->setFixedWidth(PAmt_->fontMetrics().horizontalAdvance("0000000000000") + 16);
  const auto addField = [&](int row, int column, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, payment);
    label->setBuddy(field);
    paymentGrid->addWidget(label, row, column, Qt::AlignRight);
  };
  addField(0, 0, tr("Payment Da&te:"), PmtDate_);
  paymentGrid->addLayout(dateRow, 0, 1, Qt::AlignLeft);
  addField(0, 2, tr("Paid &Amount:"), PAmt_);
  paymentGrid->addWidget(PAmt_, 0, 3, Qt::AlignLeft);
  addField(1, 0, tr("Statement &Note:"), PNotes_);
  paymentGrid->addWidget(PNotes_, 1, 1, 1, 3);
  paymentGrid->setColumnStretch(4, 1);
  PNotes_->setMinimumWidth(PNotes_->fontMetrics().horizontalAdvance(QString(kNotesLength + 4, QLatin1Char('x'))));

  auto* sourceButtons = new QHBoxLayout;
  sourceButtons->setSpacing(6);
  sourceButtons->addWidget(PPmtBtn_);
  sourceButtons->addWidget(AccountDep_);
  sourceButtons->addStretch();

  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* button : {IncludeBtn_, IncAllBtn_}) moves->addWidget(button);
  moves->addSpacing(16);
  for (QPushButton* button : {ExcludeBtn_, ExAllBtn_}) moves->addWidget(button);
  moves->addStretch();

  auto* posted = new QHBoxLayout;
  posted->addStretch();
  posted->addWidget(new QLabel(tr("Posted:"), this));
  IPostedAmt_->setMinimumWidth(IPostedAmt_->fontMetrics().horizontalAdvance("0,000,000.00") + 16);
  IPostedAmt_->setFrameShape(QFrame::StyledPanel);
  IPostedAmt_->setFrameShadow(QFrame::Sunken);
  posted->addWidget(IPostedAmt_);

  // The two lists side by side, level with each other, the move buttons between.
  auto* lists = new QGridLayout;
  lists->setVerticalSpacing(2);
  lists->addWidget(BoldLabel(tr("Open Invoices / Deposits:"), this), 0, 0);
  lists->addWidget(BoldLabel(tr("Items you are posting as paid:"), this), 0, 2);
  lists->addWidget(ColumnHeading(SrcList_, this), 1, 0);
  lists->addWidget(ColumnHeading(DstList_, this), 1, 2);
  lists->addWidget(SrcList_, 2, 0);
  lists->addLayout(moves, 2, 1);
  lists->addWidget(DstList_, 2, 2);
  lists->addLayout(sourceButtons, 3, 0);
  lists->addLayout(posted, 3, 2);
  lists->setColumnStretch(0, 1);
  lists->setColumnStretch(2, 1);
  lists->setRowStretch(2, 1);
  lists->setRowMinimumHeight(3, PPmtBtn_->sizeHint().height() + 6);

  // The two lines that say when Post can be pressed, beside the buttons.
  auto* rule = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(24, 24));
  rule->addWidget(icon, 0, Qt::AlignTop);
  auto* ruleText = new QVBoxLayout;
  ruleText->setSpacing(0);
  ruleText->addWidget(new QLabel(tr("The Post Button will activate when the PAID amount"), this));
  ruleText->addWidget(new QLabel(tr("matches the POSTED amount."), this));
  rule->addLayout(ruleText);
  rule->addStretch();
  for (QPushButton* button : {OKBtn_, CancelBtn_, HelpBtn_}) {
    button->setMinimumWidth(90);
    rule->addWidget(button, 0, Qt::AlignBottom);
  }

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(customer);
  layout->addWidget(payment);
  layout->addSpacing(4);
  layout->addLayout(lists, 1);
  layout->addWidget(line);
  layout->addLayout(rule);
  resize(780, 600);

  QWidget* const order[] = {BitBtn3_, PmtDate_,  CalButton_, PAmt_,      PNotes_,     SrcList_,
                            IncludeBtn_, IncAllBtn_, ExcludeBtn_, ExAllBtn_, DstList_, PPmtBtn_,
                            AccountDep_, OKBtn_,   CancelBtn_, HelpBtn_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TPayBox::ConnectSignals() {
  connect(BitBtn3_, &QPushButton::clicked, this, &TPayBox::BitBtn3Click);
  connect(AccountDep_, &QPushButton::clicked, this, &TPayBox::AccountDepClick);
  connect(PPmtBtn_, &QPushButton::clicked, this, &TPayBox::PPmtBtnClick);
  connect(IncludeBtn_, &QPushButton::clicked, this, &TPayBox::IncludeBtnClick);
  connect(IncAllBtn_, &QPushButton::clicked, this, &TPayBox::IncAllBtnClick);
  connect(ExcludeBtn_, &QPushButton::clicked, this, &TPayBox::ExcludeBtnClick);
  connect(ExAllBtn_, &QPushButton::clicked, this, &TPayBox::ExAllBtnClick);
  connect(SrcList_, &QListWidget::itemSelectionChanged, this, &TPayBox::SrcListClick);
  connect(SrcList_, &QListWidget::itemDoubleClicked, this, &TPayBox::SrcListDblClick);
  connect(DstList_, &QListWidget::itemDoubleClicked, this, &TPayBox::DstListDblClick);
  connect(PAmt_, &QLineEdit::textEdited, this, &TPayBox::PAmtChange);
  connect(CalButton_, &QPushButton::clicked, this, &TPayBox::CalButtonClick);
  connect(OKBtn_, &QPushButton::clicked, this, &TPayBox::OKBtnClick);
  connect(CancelBtn_, &QPushButton::clicked, this, &TPayBox::CancelBtnClick);
  connect(HelpBtn_, &QPushButton::clicked, this, &TPayBox::HelpBtnClick);
  SrcList_->installEventFilter(this);
  DstList_->installEventFilter(this);
}

bool TPayBox::eventFilter(QObject* watched, QEvent* event) {
  if (IsEnter(event) && (watched == SrcList_ || watched == DstList_)) {
    watched == SrcList_ ? IncludeBtnClick() : ExcludeBtnClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TPayBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window shows it again: its lists stay as they are.
  if (!transactions_) FormShow();
}

void TPayBox::FormShow() {
  setWindowTitle(tr("Payment Wizard - ") + ToQString(services_.session.CurrentCompany.CompanyName.str()));
  if (!OpenInvoiceFile()) return;
  customer_.reset();
  ShowCustomer();
  // The model knows the two orders that put the year last, and so does the mask.
  PmtDate_->setInputMask(QStringLiteral("99/99/9999;_"));
  ResetPayment();
  AccountDep_->setEnabled(false);
  BitBtn3_->setFocus();
}

bool TPayBox::OpenInvoiceFile() {
  transactions_ = std::make_unique<files::KeyedFile>(
      services_.engine, services_.dialogs, *ProgressWindow_,
      files::DescribeFile(files::CompanyFile::kTransactions, services_.session.CurrentCompany.CompanyNo.str()));
  if (transactions_->Open()) return true;
  services_.dialogs.inform(windowTitle().toStdString(),
                           "Unable to open databases: " + std::to_string(transactions_->FailureStatus()),
                           platform::Icon::kError);
  emit programMustEnd();
  QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
  return false;
}

void TPayBox::done(int result) {
  if (transactions_) transactions_->Close();
  transactions_.reset();
  lists_ = {};
  QDialog::done(result);
}

// Both lists emptied, the payment date today, the paid amount zero, no note.
void TPayBox::ResetPayment() {
  lists_ = {};
  PmtDate_->setText(ToQString(model::FormatDisplayDate(model::TodayOf(services_.clock), services_.session.DateOrder())));
  PAmt_->setText(QStringLiteral("0.00"));
  PNotes_->clear();
  ShowLists(-1, -1);
}

void TPayBox::ShowCustomer() {
  const model::CustomerRecord blank{};
  const model::CustomerRecord& customer = customer_ ? *customer_ : blank;
  PCustName_->setText(ToQString(customer.CustName.str()));
  PCustNum_->setText(ToQString(customer.CustNo.str()));
  PCustPhone_->setText(ToQString(customer.Phone1.str()));
  Sname_->setText(ToQString(customer.ShortName.str()));
  PCustBal_->setText(ToQString(customer_ ? model::AmountText(customer.Balance, "#,0.00") : std::string("0.00")));
}

model::Money TPayBox::CustomerBalance() const {
  return customer_ ? model::ReadMoney(customer_->Balance).value_or(model::Money()) : model::Money();
}

files::Services TPayBox::Logic() const { return services_.WithProgress(*ProgressWindow_); }

void TPayBox::ShowLists(int srcRow, int dstRow) {
  const auto fill = [](QListWidget* list, const std::vector<PaymentLine>& lines, int row) {
    list->clear();
    for (const PaymentLine& line : lines) list->addItem(ToQString(PaymentLineText(line)));
    row = std::min(row, list->count() - 1);
    if (row >= 0) list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  };
  fill(SrcList_, lists_.open, srcRow);
  fill(DstList_, lists_.posted, dstRow);
  ShowButtons();
}

void TPayBox::ShowButtons() {
  IPostedAmt_->setText(ToQString(model::FormatMoney(PostedSum(lists_), "#,0.00")));
  IncludeBtn_->setEnabled(!lists_.open.empty());
  IncAllBtn_->setEnabled(!lists_.open.empty());
  ExcludeBtn_->setEnabled(!lists_.posted.empty());
  ExAllBtn_->setEnabled(!lists_.posted.empty());
  OKBtn_->setEnabled(MayPost(lists_, Text(PAmt_)));
  SrcListClick();
}

std::vector<std::size_t> TPayBox::SelectedRows(const QListWidget* list) const {
  std::vector<std::size_t> rows;
  for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
    rows.push_back(static_cast<std::size_t>(index.row()));
  }
  if (rows.empty() && list->currentRow() >= 0) rows.push_back(static_cast<std::size_t>(list->currentRow()));
  return rows;
}

void TPayBox::MoveSelected(PaymentList from) {
  QListWidget* list = from == PaymentList::kOpen ? SrcList_ : DstList_;
  const std::vector<std::size_t> rows = SelectedRows(list);
  if (!MoveLines(lists_, from, rows, services_.dialogs)) return;
  // The selection stays where it was, on the line that took the moved one's place.
  const int row = rows.empty() ? list->currentRow() : static_cast<int>(*std::min_element(rows.begin(), rows.end()));
  if (from == PaymentList::kOpen) {
    ShowLists(row, static_cast<int>(lists_.posted.size()) - 1);
  } else {
    ShowLists(static_cast<int>(lists_.open.size()) - 1, row);
  }
}

void TPayBox::MoveAll(PaymentList from) {
  if (!MoveAllLines(lists_, from, services_.dialogs)) return;
  ShowLists(0, 0);
}

void TPayBox::BitBtn3Click() {
  const std::string current = customer_ ? customer_->CustNo.str() : std::string();
  const std::optional<model::CustomerRecord> chosen = shell::ui::TCustManager(services_, this).PickCustomer(current);
  if (!chosen) return;
  customer_ = chosen;
  ShowCustomer();
  ResetPayment();
  lists_ = ListsForCustomer(*transactions_, *customer_, services_.session.DateOrder(), services_.dialogs);
  ShowLists(0, -1);
  AccountDep_->setEnabled(true);
  NoteWhenNothingIsDue(*customer_, services_.dialogs);
  SrcList_->setFocus();
}

void TPayBox::AccountDepClick() {
  const std::optional<model::Money> amount = PPmtDialog_->AskDeposit(Text(PmtDate_));
  if (!amount) return;
  AddDepositLine(lists_, *amount, Text(PmtDate_), services_.session.DateOrder());
  ShowLists(SrcList_->currentRow(), static_cast<int>(lists_.posted.size()) - 1);
}

void TPayBox::PPmtBtnClick() {
  if (lists_.open.empty()) {
    QApplication::beep();
    PPmtBtn_->setEnabled(false);
    return;
  }
  const int row = SrcList_->currentRow();
  if (row < 0 || !PartialPaymentAllowed(lists_.open[static_cast<std::size_t>(row)])) return;
  const std::optional<model::Money> amount = PPmtDialog_->AskPartialPayment(lists_.open[static_cast<std::size_t>(row)]);
  if (!amount) return;
  TakePartialPayment(lists_, static_cast<std::size_t>(row), *amount);
  ShowLists(row, static_cast<int>(lists_.posted.size()) - 1);
}

void TPayBox::IncludeBtnClick() { MoveSelected(PaymentList::kOpen); }
void TPayBox::IncAllBtnClick() { MoveAll(PaymentList::kOpen); }
void TPayBox::ExcludeBtnClick() { MoveSelected(PaymentList::kPosted); }
void TPayBox::ExAllBtnClick() { MoveAll(PaymentList::kPosted); }

void TPayBox::SrcListClick() {
  const int row = SrcList_->currentRow();
  const bool oneLine = row >= 0 && static_cast<std::size_t>(row) < lists_.open.size() &&
                       SrcList_->selectionModel()->selectedIndexes().size() <= 1;
  PPmtBtn_->setEnabled(oneLine && PartialPaymentAllowed(lists_.open[static_cast<std::size_t>(row)]));
}

// A double-click moves the line clicked, whatever else is selected.
void TPayBox::SrcListDblClick() {
  SrcList_->setCurrentRow(SrcList_->currentRow(), QItemSelectionModel::ClearAndSelect);
  IncludeBtnClick();
}

void TPayBox::DstListDblClick() {
  DstList_->setCurrentRow(DstList_->currentRow(), QItemSelectionModel::ClearAndSelect);
  ExcludeBtnClick();
}

void TPayBox::PAmtChange(const QString& text) {
  const PaidAmountTyped typed = TypePaidAmount(lists_, text.toStdString(), CustomerBalance(), services_.dialogs);
  if (typed.paysAll) {
    ShowLists(-1, 0);
    PAmt_->setFocus();
    PAmt_->end(false);
  }
  ShowButtons();
}

void TPayBox::CalButtonClick() {
  const model::DateOrder order = services_.session.DateOrder();
  const std::string typed(model::TrimBlanks(Text(PmtDate_)));
  std::optional<model::Date> date =
      typed.size() >= static_cast<std::size_t>(kDateLength) ? model::ParseDisplayDate(typed, order) : std::nullopt;
  if (!date) {
    date = model::TodayOf(services_.clock);
    PmtDate_->setText(ToQString(model::FormatDisplayDate(*date, order)));
  }
  shell::ui::TDateSel calendar(services_.session, services_.help, this);
  calendar.setWindowTitle(tr("Date Selection"));
  calendar.SetHeading(tr("Payment Date"));
  calendar.SetDate(*date);
  calendar.adjustSize();
  calendar.move(PmtDate_->mapToGlobal(QPoint(0, PmtDate_->height())));
  if (calendar.exec() == QDialog::Accepted) {
    PmtDate_->setText(ToQString(calendar.DateText()));
    PAmt_->setFocus();
  } else {
    PmtDate_->setFocus();
  }
}

void TPayBox::OKBtnClick() {
  if (!customer_ || !transactions_) return;
  const Payment payment{customer_->CustNo.str(), Text(PmtDate_), Text(PAmt_), Text(PNotes_), lists_.posted};
  const PostOutcome outcome = PostPayment(Logic(), *transactions_, payment);
  if (outcome.badDate) {
    PmtDate_->setFocus();
    return;
  }
  if (outcome.result == PostResult::kNotPosted) return;
  services_.ShowStatus("Posted " + std::to_string(lists_.posted.size()) + " item(s) for " +
                       customer_->CustName.str() + ", paid " + model::FormatMoney(outcome.posted, ",0.00") + ".");
  accept();
}

void TPayBox::CancelBtnClick() { reject(); }

void TPayBox::HelpBtnClick() { services_.help.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
