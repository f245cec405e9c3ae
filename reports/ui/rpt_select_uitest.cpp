#include "reports/ui/rpt_select.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "files/testing/company_folder.h"
#include "reports/ui/rt_report.h"
#include "shell/ui/testing/window_fixture.h"

namespace reports::ui {
namespace {

using platform::testing::LoggedMessage;

// What the wizard handed to the report window, read while the window was up.
struct ShownReport {
  QString caption, head1, head2, head3;
  QStringList invoices;
};

// Harbor Supply's invoices of November and December 2026; today is 12/08/2026.
class RptSelectTest : public shell::testing::WindowFixture {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    session_.CurrentCompany = files::testing::NamedCompany("Harbor Supply");
    session_.CurrentCompany.CompanyNo = "1";
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    ASSERT_TRUE(transactions.Create() && transactions.Open());
    Add(transactions, "1001", "2026/12/02", "EAST", "100.00");
    Add(transactions, "1002", "2026/11/15", "WEST", "40.00");
    Add(transactions, "1003", "2026/12/08", "WEST", "12.50");
  }

  static void Add(files::KeyedFile& file, std::string_view number, std::string_view date, std::string_view keyCode,
                  std::string_view total) {
    model::TransactionRecord record{};
    record.InvoiceNo = number;
    record.TransType = "I";
    record.CustNo = "10";
    record.ShortName = "Short 10";
    record.SortDate = date;
    record.KeyCode = keyCode;
    record.NetAmount = total;
    record.TaxAmount = "0.00";
    record.TotalAmount = total;
    record.PaidAmount = "0.00";
    record.BalanceDue = total;
    record.PaidSortDate = " ";
    files::RecordNumber added = 0;
    ASSERT_TRUE(file.Add(record, added));
  }

  // Opens the wizard as the main window does, with the report window looked at
  // instead of run.
  void Open() {
    window_.showReport = [this](QDialog& shown) {
      auto& report = dynamic_cast<Trtreport&>(shown);
      ShownReport seen{report.windowTitle(), report.Head1()->text(), report.Head2()->text(), report.Head3()->text(),
                       {}};
      for (int row = 0; row < report.RptGrid()->rowCount(); ++row) {
        const QTableWidgetItem* item = report.RptGrid()->item(row, 1);
        if (item != nullptr && item->text().startsWith("100")) seen.invoices << item->text();
      }
      shown_.push_back(seen);
    };
    window_.show();
  }

  void ChooseDates(const char* choice) {
    QComboBox* combo = window_.ComboBox1();
    combo->setCurrentIndex(combo->findText(choice));
    emit combo->textActivated(combo->currentText());
  }
  QString Dates() const { return window_.IDate()->text() + " - " + window_.EndDt()->text(); }

  void ClickReport(const char* name) {
    QListWidget* list = window_.ListBox1();
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
  }

  void View(const QString& from, const QString& to) {
    window_.IDate()->setText(from);
    window_.EndDt()->setText(to);
    window_.Button1()->click();
  }

  TRptSelect window_{services_};
  std::vector<ShownReport> shown_;
};

TEST_F(RptSelectTest, OpensOnTheFirstReportAndShowsTheDescriptionOfTheOneClicked) {
  Open();
  EXPECT_EQ(window_.windowTitle(), "Report Wizard");
  EXPECT_EQ(window_.ListBox1()->count(), 7);
  EXPECT_EQ(window_.ListBox1()->currentRow(), 0);
  EXPECT_TRUE(window_.RType()->text().startsWith("Lists all invoices created in the selected period."));

  ClickReport("Sales Report");
  EXPECT_EQ(window_.RType()->text(), "Shows all products you have sold in the selected period.");
  ClickReport("Tax Report");
  EXPECT_EQ(window_.RType()->text(),
            "Lists all invoices PAID in the selected period.  Unlike the Payment Register, this report shows the Tax "
            "and Key Code columns. Use to view taxes collected or collections by Key Code.");
}

TEST_F(RptSelectTest, DateChoicesFillBothDatesFromTheFixedDay) {
  Open();
  EXPECT_EQ(window_.DateLabel()->text(), "Date Selection:");
  EXPECT_EQ(window_.ComboBox1()->currentText(), "Month to Date");
  EXPECT_EQ(Dates(), "12/01/2026 - 12/08/2026");

  ChooseDates("Previous Month");
  EXPECT_EQ(Dates(), "11/01/2026 - 11/30/2026");
  ChooseDates("Last 30 Days");
  EXPECT_EQ(Dates(), "11/08/2026 - 12/08/2026");
  window_.IDate()->setText("10/05/2026");
  ChooseDates("Custom Dates");
  EXPECT_EQ(Dates(), "10/05/2026 - 12/08/2026");
  ChooseDates("Current Year");
  EXPECT_EQ(Dates(), "01/01/2026 - 12/31/2026");
}

TEST_F(RptSelectTest, DayFirstCompanyGetsItsLabelAndSwappedDates) {
  session_.CurrentCompany.DateOrder = "D";
  Open();
  EXPECT_EQ(window_.DateLabel()->text(), "Date Selection (dd/mm/yyyy):");
  EXPECT_EQ(Dates(), "01/12/2026 - 08/12/2026");
}

TEST_F(RptSelectTest, EachDateCheckRefusesWithItsMessageAndShowsNoReport) {
  struct Case {
    const char *from, *to, *caption, *text;
    bool focusOnFrom;
  };
  const Case cases[] = {
      {"13/01/2026", "12/08/2026", "FROM Date",
       "You have an invalid beginning date. You can clear the date and then select the calendar button.", true},
      {"12/01/2026", "12/32/2026", "TO Date",
       "You have an invalid ending date. You can clear the date and then select the calendar button.", false},
      {"12/08/2026", "12/07/2026", "FROM Date", "Your beginning date is not older than your ending date.", true},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    window_.ListBox1()->setFocus();
    const std::size_t before = dialogs_.Log().size();
    View(c.from, c.to);
    ASSERT_EQ(dialogs_.Log().size(), before + 1);
    const LoggedMessage& message = dialogs_.Log().back();
    EXPECT_EQ(message.caption, c.caption);
    EXPECT_EQ(message.text, c.text);
    EXPECT_EQ(message.icon, platform::Icon::kWarning);
    EXPECT_EQ(window_.focusWidget(), c.focusOnFrom ? window_.IDate() : window_.EndDt());
  }
  EXPECT_TRUE(shown_.empty());
}

TEST_F(RptSelectTest, RangeWithoutInvoicesIsToldAndKeepsTheWizardOpen) {
  Open();
  window_.EndDt()->setFocus();
  View("01/01/2020", "01/31/2020");
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Invoice Register");
  EXPECT_EQ(dialogs_.Log()[0].text, "No matching records found for the dates entered.");
  EXPECT_EQ(window_.focusWidget(), window_.IDate());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(RptSelectTest, ViewShowsTheReportWithItsCaptionAndHeads) {
  Open();
  View("12/01/2026", "12/08/2026");
  ASSERT_EQ(shown_.size(), 1u);
  const ShownReport& shown = shown_[0];
  EXPECT_EQ(shown.caption, "Invoice Register by Date");
  EXPECT_EQ(shown.head1, "Harbor Supply");
  EXPECT_EQ(shown.head2, "Date: Tuesday, December 8, 2026, 02:05 PM");
  EXPECT_EQ(shown.head3, "Selected records from 12/01/2026 to 12/08/2026");
  // The range's last day is in; November is not.
  EXPECT_EQ(shown.invoices, (QStringList{"1001", "1003"}));
  EXPECT_TRUE(dialogs_.Log().empty());
}

// Only the Accounts Receivable report offers it; ticked, the report is as of the To date.
TEST_F(RptSelectTest, AccountsReceivableCanBeTakenAsOfTheToDate) {
  Open();
  EXPECT_FALSE(window_.AsOfBox()->isVisible());
  ClickReport("Accounts Receivable");
  ASSERT_TRUE(window_.AsOfBox()->isVisible());
  window_.AsOfBox()->setChecked(true);
  View("11/01/2026", "12/05/2026");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].head3, "Records unpaid at the end of 12/05/2026.");
  // 1003 of 12/08 was not yet billed.
  EXPECT_EQ(shown_[0].invoices, (QStringList{"1001", "1002"}));
}

TEST_F(RptSelectTest, DoubleClickingAReportViewsIt) {
  Open();
  QListWidget* list = window_.ListBox1();
  const QPoint keyCode = list->visualItemRect(list->item(4)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, keyCode);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, keyCode);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].caption, "Key Code Inquiry by Key Code");
}

}  // namespace
}  // namespace reports::ui
