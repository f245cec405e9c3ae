// The date selection dialog: a month calendar with month and year pick lists that
// returns one date as display-date text in the company's date order. Also shown, for
// looking only, by "&View Calendar".
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "model/company_session.h"
#include "model/dates.h"
#include "platform/clock.h"
#include "platform/help.h"

class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shell::ui {

class TDateSel : public QDialog {
  Q_OBJECT

 public:
  // The date order is read from `session` at each change, so a company change is
  // followed without making the dialog again.
  TDateSel(const model::CompanySession& session, platform::Help& help, QWidget* parent = nullptr);

  void SetHeading(const QString& heading);
  void SetDate(const model::Date& date);
  model::Date CalendarDate() const;
  void CentreOn(const QWidget& window);
  // The chosen date as `NDate` shows it; read it after OK.
  std::string DateText() const;

  // Captioned, headed, set to `start` and centred on `caller`; the date text after
  // OK, nullopt after Cancel.
  static std::optional<std::string> SelectDate(const model::CompanySession& session, platform::Help& help, QWidget& caller,
                                               const QString& caption, const QString& heading,
                                               const model::Date& start);
  // "Date Selection" for a date field, headed `heading`: it opens on the field's date
  // (today when the field holds no whole date) and writes the date chosen into the
  // field. False after Cancel.
  static bool SelectIntoField(const model::CompanySession& session, const platform::Clock& clock,
                              platform::Help& help, QLineEdit& field, const QString& heading);
  // "&View Calendar": today, centred on the main window.
  static void ViewCalendar(const model::CompanySession& session, const platform::Clock& clock, platform::Help& help,
                           QWidget* mainWindow);

  QCalendarWidget* Calendar1() const { return Calendar1_; }
  QComboBox* CBMonth() const { return CBMonth_; }
  QComboBox* CBYear() const { return CBYear_; }
  QLabel* NDate() const { return NDate_; }
  QLabel* StrDay() const { return StrDay_; }
  QLabel* Heading() const { return Heading_; }
  QPushButton* OKButton() const { return OKButton_; }
  QPushButton* HelpButton() const { return HelpButton_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLayout();
  void ConnectSignals();
  void FormShow();
  // The month and year lists set to the calendar's date; the year list is filled
  // afresh when asked or when it lacks the year.
  void ShowPicks(bool refillYears);
  void UpdateLabels();
  void Calendar1PageChange(int year, int month);
  void CBMonthChange(int index);
  void CBYearChange(const QString& text);
  void Calendar1DblClick();
  void HelpButtonClick();

  const model::CompanySession& session_;
  platform::Help& help_;
  QLabel* Heading_;
  QCalendarWidget* Calendar1_;
  QComboBox* CBMonth_;
  QComboBox* CBYear_;
  QLabel* NDate_;
  QLabel* StrDay_;
  QPushButton* OKButton_;
  QPushButton* CancelButton_;
  QPushButton* HelpButton_;
};

}  // namespace shell::ui
