#include "shell/ui/date_sel.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/text.h"
#include "platform/qt/help_key.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/date_selection.h"

namespace shell::ui {
namespace {

using platform::qt::ToQString;

QDate ToQDate(const model::Date& date) { return QDate(date.year, date.month, date.day); }
model::Date FromQDate(const QDate& date) { return {date.year(), date.month(), date.day()}; }

}  // namespace

TDateSel::TDateSel(const model::CompanySession& session, platform::Help& help, QWidget* parent)
    : QDialog(parent),
      session_(session),
      help_(help),
      Heading_(new QLabel(this)),
      Calendar1_(new QCalendarWidget(this)),
      CBMonth_(new QComboBox(this)),
      CBYear_(new QComboBox(this)),
      NDate_(new QLabel(this)),
      StrDay_(new QLabel(this)),
      OKButton_(new QPushButton(tr("&Ok"), this)),
      CancelButton_(new QPushButton(tr("&Cancel"), this)),
      HelpButton_(new QPushButton(tr("Help"), this)) {
  setWindowTitle(tr("Date Selection"));
  platform::qt::SetHelpKeyword(*this, "VTCalendar");
  // The dates the program can store; the pick lists do the paging.
  Calendar1_->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
  Calendar1_->setNavigationBarVisible(false);
  for (std::string_view month : kMonthEntries) CBMonth_->addItem(ToQString(month));
  CBYear_->setEditable(true);
  OKButton_->setDefault(true);
  BuildLayout();
  ConnectSignals();
}

void TDateSel::BuildLayout() {
  QFont bold = Heading_->font();
  bold.setBold(true);
  Heading_->setFont(bold);
  NDate_->setFont(bold);

  auto* picks = new QHBoxLayout;
  picks->addWidget(CBMonth_, 1);
  picks->addWidget(CBYear_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton_);
  buttons->addWidget(CancelButton_);
  buttons->addWidget(HelpButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading_);
  layout->addLayout(picks);
  layout->addWidget(Calendar1_);
  layout->addWidget(NDate_, 0, Qt::AlignHCenter);
  layout->addWidget(StrDay_, 0, Qt::AlignHCenter);
  layout->addLayout(buttons);
}

void TDateSel::ConnectSignals() {
  connect(Calendar1_, &QCalendarWidget::selectionChanged, this, &TDateSel::UpdateLabels);
  connect(Calendar1_, &QCalendarWidget::activated, this, &TDateSel::Calendar1DblClick);
  connect(Calendar1_, &QCalendarWidget::currentPageChanged, this, &TDateSel::Calendar1PageChange);
  // Only the user's choices: the dialog sets both lists itself on show.
  connect(CBMonth_, &QComboBox::activated, this, &TDateSel::CBMonthChange);
  connect(CBYear_, &QComboBox::textActivated, this, &TDateSel::CBYearChange);
  connect(CBYear_->lineEdit(), &QLineEdit::textEdited, this, &TDateSel::CBYearChange);
  connect(OKButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton_, &QPushButton::clicked, this, &TDateSel::HelpButtonClick);
}

void TDateSel::SetHeading(const QString& heading) { Heading_->setText(heading); }

void TDateSel::SetDate(const model::Date& date) {
  Calendar1_->setSelectedDate(ToQDate(date));
  UpdateLabels();
}

model::Date TDateSel::CalendarDate() const { return FromQDate(Calendar1_->selectedDate()); }

void TDateSel::CentreOn(const QWidget& window) {
  adjustSize();
  QRect placed = frameGeometry();
  placed.moveCenter(window.frameGeometry().center());
  move(placed.topLeft());
}

std::string TDateSel::DateText() const { return NDate_->text().toStdString(); }

std::optional<std::string> TDateSel::SelectDate(const model::CompanySession& session, platform::Help& help,
                                                QWidget& caller, const QString& caption, const QString& heading,
                                                const model::Date& start) {
  TDateSel dialog(session, help, &caller);
  dialog.setWindowTitle(caption);
  dialog.SetHeading(heading);
  dialog.SetDate(start);
  dialog.CentreOn(caller);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.DateText();
}

bool TDateSel::SelectIntoField(const model::CompanySession& session, const platform::Clock& clock,
                               platform::Help& help, QLineEdit& field, const QString& heading) {
  const std::string typed(model::TrimBlanks(field.text().toStdString()));
  constexpr std::size_t kWholeDate = 10;
  const std::optional<model::Date> shown =
      typed.size() >= kWholeDate ? model::ParseDisplayDate(typed, session.DateOrder()) : std::nullopt;
  const std::optional<std::string> chosen =
      SelectDate(session, help, *field.window(), tr("Date Selection"), heading, shown.value_or(model::TodayOf(clock)));
  if (!chosen) return false;
  field.setText(ToQString(*chosen));
  return true;
}

void TDateSel::ViewCalendar(const model::CompanySession& session, const platform::Clock& clock, platform::Help& help,
                            QWidget* mainWindow) {
  TDateSel dialog(session, help, mainWindow);
  dialog.setWindowTitle(tr("View Calendar"));
  dialog.SetDate(model::TodayOf(clock));
  if (mainWindow != nullptr) dialog.CentreOn(*mainWindow);
  dialog.exec();
}

void TDateSel::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TDateSel::FormShow() {
  ShowPicks(true);
  UpdateLabels();
  Calendar1_->setFocus();
}

void TDateSel::ShowPicks(bool refillYears) {
  const model::Date date = CalendarDate();
  const QString year = QString::number(date.year);
  const QSignalBlocker monthBlocker(CBMonth_);
  const QSignalBlocker yearBlocker(CBYear_);
  CBMonth_->setCurrentIndex(date.month - 1);
  if (refillYears || CBYear_->findText(year) < 0) {
    CBYear_->clear();
    for (int choice : YearChoices(date.year)) CBYear_->addItem(QString::number(choice));
  }
  if (CBYear_->currentText() != year) CBYear_->setEditText(year);
}

// Paging the calendar (Page Up or Down, the mouse wheel, a day of the next month)
// takes the chosen day along, cut to the month's last day, so that the lists, the
// labels and the calendar show one date.
void TDateSel::Calendar1PageChange(int year, int month) {
  const QDate chosen = Calendar1_->selectedDate();
  const int months = (year - chosen.year()) * 12 + (month - chosen.month());
  if (months != 0) Calendar1_->setSelectedDate(chosen.addMonths(months));
  ShowPicks(false);
}

void TDateSel::UpdateLabels() {
  const DateLabels labels = LabelsFor(CalendarDate(), session_.DateOrder());
  NDate_->setText(ToQString(labels.nDate));
  StrDay_->setText(ToQString(labels.strDay));
}

void TDateSel::CBMonthChange(int index) { SetDate(WithMonthPicked(CalendarDate(), index)); }

void TDateSel::CBYearChange(const QString& text) {
  const YearEntry entry = ReadYearEntry(text.toStdString(), CalendarDate().year);
  switch (entry.action) {
    case YearEntry::Action::kIgnore: break;
    case YearEntry::Action::kSetYear: SetDate(WithYear(CalendarDate(), entry.year)); break;
    case YearEntry::Action::kRestoreText: CBYear_->setEditText(QString::number(entry.year)); break;
  }
}

void TDateSel::Calendar1DblClick() { accept(); }

void TDateSel::HelpButtonClick() { help_.ShowTopic(platform::qt::HelpKeywordOf(this)); }

}  // namespace shell::ui
