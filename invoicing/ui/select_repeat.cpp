#include "invoicing/ui/select_repeat.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "model/company_session.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/storable_text.h"

namespace invoicing::ui {
namespace {

using platform::qt::ToQString;

constexpr std::string_view kHelpKeyword = "GetRepeat";
constexpr int kDateLength = 10;

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

QLineEdit* DateField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setFixedWidth(field->fontMetrics().horizontalAdvance("00/00/00000") + 16);
  return field;
}

QPushButton* CalendarButton(QWidget* parent) {
  auto* button = new QPushButton(QObject::tr("..."), parent);
  button->setToolTip(QObject::tr("Calendar"));
  button->setFixedWidth(button->fontMetrics().horizontalAdvance("...") + 24);
  return button;
}

QHBoxLayout* DateRow(QLineEdit* field, QPushButton* button) {
  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  row->addWidget(field);
  row->addWidget(button);
  row->addStretch();
  return row;
}

}  // namespace

TSelectRepeat::TSelectRepeat(shell::ui::AppServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      EndDate_(DateField(this)),
      Calbutton_(CalendarButton(this)),
      NewInvDate_(DateField(this)),
      CalButton2_(CalendarButton(this)),
      InvComm_(new QLineEdit(this)),
      Headings_(new QLabel(ToQString(DueListHeading()), this)),
      RichEdit1_(new QPlainTextEdit(this)),
      Label3_(new QLabel(this)),
      ProgressBar1_(new QProgressBar(this)),
      SearchBtn_(new QPushButton(tr("&Search"), this)),
      CreateBtn_(new QPushButton(tr("Create In&voices"), this)),
      ExitButn_(new QPushButton(tr("&Cancel"), this)),
      HelpBtn_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(tr("Repeat Billing Wizard"));
  platform::qt::SetHelpKeyword(*this, kHelpKeyword);
  InvComm_->setMaxLength(kRepeatReferenceCapacity);
  InvComm_->setText(ToQString(kDefaultRepeatReference));
  shell::ui::KeepTextStorable(InvComm_);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSizeF(RichEdit1_->font().pointSizeF());
  RichEdit1_->setFont(fixed);
  RichEdit1_->setReadOnly(true);
  RichEdit1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  Headings_->setFont(fixed);
  Headings_->setContentsMargins(RichEdit1_->frameWidth() + 4, 0, 0, 0);
  // Enter in a field searches rather than creating invoices by accident.
  for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) button->setAutoDefault(false);
  BuildLayout();
  connect(SearchBtn_, &QPushButton::clicked, this, &TSelectRepeat::SearchBtnClick);
  connect(Calbutton_, &QPushButton::clicked, this, &TSelectRepeat::CalbuttonClick);
  connect(CalButton2_, &QPushButton::clicked, this, &TSelectRepeat::CalButton2Click);
  connect(CreateBtn_, &QPushButton::clicked, this, &TSelectRepeat::CreateBtnClick);
  connect(ExitButn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn_, &QPushButton::clicked, this, &TSelectRepeat::HelpBtnClick);
}

void TSelectRepeat::BuildLayout() {
  auto* fields = new QGridLayout;
  const auto addRow = [&](int row, const QString& caption, QWidget* field, QLayout* layout) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    fields->addWidget(label, row, 0);
    fields->addLayout(layout, row, 1);
  };
  addRow(0, tr("Search for invoices due to be created through this date:"), EndDate_, DateRow(EndDate_, Calbutton_));
  addRow(1, tr("Invoice Date:"), NewInvDate_, DateRow(NewInvDate_, CalButton2_));
  auto* comments = new QHBoxLayout;
  comments->addWidget(InvComm_);
  addRow(2, tr("Billing Reference/Comments:"), InvComm_, comments);
  fields->setColumnStretch(1, 1);
  InvComm_->setMinimumWidth(InvComm_->fontMetrics().horizontalAdvance(QString(44, QLatin1Char('x'))));

  const QString widestLine(Headings_->text().size() + 2, QLatin1Char('x'));
  const int lineWidth = RichEdit1_->fontMetrics().horizontalAdvance(widestLine);
  RichEdit1_->setMinimumWidth(lineWidth + 2 * RichEdit1_->frameWidth() + 24);
  RichEdit1_->setMinimumHeight(RichEdit1_->fontMetrics().height() * 12);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SearchBtn_);
  buttons->addWidget(CreateBtn_);
  buttons->addStretch();
  buttons->addWidget(ExitButn_);
  buttons->addWidget(HelpBtn_);
  for (QPushButton* button : {SearchBtn_, CreateBtn_, ExitButn_, HelpBtn_}) button->setMinimumWidth(96);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(6);
  layout->addWidget(Headings_);
  layout->setSpacing(4);
  layout->addWidget(RichEdit1_, 1);
  layout->addWidget(Label3_);
  layout->addWidget(ProgressBar1_);
  layout->addLayout(buttons);
}

void TSelectRepeat::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window shows it again as it was.
  if (!event->spontaneous()) FormShow();
}

void TSelectRepeat::FormShow() {
  const QString today =
      ToQString(model::FormatDisplayDate(model::TodayOf(services_.clock), services_.session.DateOrder()));
  for (QLineEdit* date : {EndDate_, NewInvDate_}) {
    date->setInputMask(QStringLiteral("99/99/9999;_"));
    date->setText(today);
  }
  due_.clear();
  RichEdit1_->clear();
  Label3_->setText(tr("Last generated invoices were dated: ") +
                   ToQString(services_.session.CurrentCompany.LastRepeatDate.str()));
  CreateBtn_->setEnabled(false);
  ProgressBar1_->reset();
  EndDate_->setFocus();
}

std::unique_ptr<files::KeyedFile> TSelectRepeat::OpenFile(files::CompanyFile kind) {
  auto file = std::make_unique<files::KeyedFile>(
      services_.engine, services_.dialogs, services_.progress,
      files::DescribeFile(kind, services_.session.CurrentCompany.CompanyNo.str()));
  if (file->Open()) return file;
  services_.dialogs.inform(windowTitle().toStdString(),
                           "Unable to open databases: " + std::to_string(file->FailureStatus()),
                           platform::Icon::kError);
  return nullptr;
}

void TSelectRepeat::ShowDue() {
  QStringList lines;
  for (const DueMaster& due : due_) lines << ToQString(DueMasterLine(due));
  RichEdit1_->setPlainText(lines.join('\n'));
}

void TSelectRepeat::SearchBtnClick() {
  const QString before = Label3_->text();
  Label3_->setText(tr("Working..."));
  due_.clear();
  RichEdit1_->clear();
  CreateBtn_->setEnabled(false);
  const std::unique_ptr<files::KeyedFile> transactions = OpenFile(files::CompanyFile::kTransactions);
  if (!transactions) {
    Label3_->setText(before);
    return;
  }
  const RepeatSearch search = SearchRepeatBillings(services_, *transactions, Text(EndDate_));
  transactions->Close();
  if (!search.searched) {
    Label3_->setText(before);
    EndDate_->setFocus();
    return;
  }
  due_ = search.due;
  ShowDue();
  Label3_->setText(ToQString(search.status));
  NewInvDate_->setText(EndDate_->text());
  TellWhenNothingDue(search, services_.dialogs);
  CreateBtn_->setEnabled(!due_.empty());
  (due_.empty() ? static_cast<QWidget*>(ExitButn_) : InvComm_)->setFocus();
}

void TSelectRepeat::CalbuttonClick() {
  if (shell::ui::TDateSel::SelectIntoField(services_.session, services_.clock, services_.help, *EndDate_,
                                           tr("Search Through"))) {
    SearchBtnClick();
  }
}

void TSelectRepeat::CalButton2Click() {
  shell::ui::TDateSel::SelectIntoField(services_.session, services_.clock, services_.help, *NewInvDate_,
                                       tr("Invoice Date"));
  NewInvDate_->setFocus();
}

void TSelectRepeat::CreateBtnClick() {
  CreateBtn_->setEnabled(false);
  const QString listed = Label3_->text();
  const auto transactions = OpenFile(files::CompanyFile::kTransactions);
  const auto details = transactions ? OpenFile(files::CompanyFile::kDetails) : nullptr;
  const auto memos = details ? OpenFile(files::CompanyFile::kMemos) : nullptr;
  if (!memos) {
    CreateBtn_->setEnabled(true);
    return;
  }
  ProgressBar1_->setRange(0, static_cast<int>(due_.size()));
  ProgressBar1_->setValue(0);
  Label3_->setText(tr("Working..."));
  InvoiceFiles files{*transactions, *details, *memos};
  const RepeatOutcome outcome =
      CreateRepeatInvoices(services_, files, due_, {Text(NewInvDate_), Text(InvComm_)}, [this](std::size_t done) {
        ProgressBar1_->setValue(static_cast<int>(done));
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      });
  for (files::KeyedFile* file : {transactions.get(), details.get(), memos.get()}) file->Close();
  if (!outcome.ran) {
    Label3_->setText(listed);
    ProgressBar1_->reset();
    CreateBtn_->setEnabled(true);
    NewInvDate_->setFocus();
    return;
  }
  Label3_->setText(tr("Complete."));
  ProgressBar1_->setValue(ProgressBar1_->maximum());
  TellRunComplete(outcome, services_.dialogs);
  accept();
}

void TSelectRepeat::HelpBtnClick() { services_.help.ShowTopic(kHelpKeyword); }

}  // namespace invoicing::ui
