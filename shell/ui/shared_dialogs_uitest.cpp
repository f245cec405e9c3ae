#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "model/side_files.h"
#include "platform/qt/help_key.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/ui/date_sel.h"
#include "shell/ui/terms_edit.h"

namespace shell::ui {
namespace {

using Terms = std::vector<std::string>;

class RecordingHelp final : public platform::Help {
 public:
  void ShowTopic(std::string_view keyword) override { topics.emplace_back(keyword); }
  void ShowContents() override {}
  std::vector<std::string> topics;
};

// Types as the user does, replacing what the edit holds.
void TypeInto(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QCoreApplication::sendEvent(edit, &erase);
  for (const QChar c : text) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(edit, &key);
  }
}

class DateSelTest : public ::testing::Test {
 protected:
  TDateSel& ShowOn(const model::Date& date) {
    dialog_.SetDate(date);
    dialog_.show();
    return dialog_;
  }

  model::CompanySession session_;
  RecordingHelp help_;
  TDateSel dialog_{session_, help_};
};

TEST_F(DateSelTest, OkReturnsTheDateInTheCompanysOrder) {
  session_.CurrentCompany.DateOrder = "D";
  ShowOn({2026, 7, 4}).OKButton()->click();
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_EQ(dialog_.DateText(), "04/07/2026");
  EXPECT_EQ(dialog_.StrDay()->text(), "Saturday, July 4, 2026");
}

TEST_F(DateSelTest, DoubleClickedDayIsAcceptedMonthFirst) {
  session_.CurrentCompany.DateOrder = "M";
  ShowOn({2026, 7, 4});
  dialog_.Calendar1()->setSelectedDate(QDate(2026, 7, 9));
  emit dialog_.Calendar1()->activated(QDate(2026, 7, 9));
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
  EXPECT_EQ(dialog_.DateText(), "07/09/2026");
}

TEST_F(DateSelTest, ShowingOffersThreeYearsEitherSide) {
  ShowOn({2026, 3, 15});
  ASSERT_EQ(dialog_.CBYear()->count(), 7);
  EXPECT_EQ(dialog_.CBYear()->itemText(0), "2023");
  EXPECT_EQ(dialog_.CBYear()->itemText(6), "2029");
  EXPECT_EQ(dialog_.CBYear()->currentText(), "2026");
  EXPECT_EQ(dialog_.CBMonth()->itemText(0), "January");
  EXPECT_EQ(dialog_.CBMonth()->itemText(11), "December");
}

TEST_F(DateSelTest, PickingAMonthOnThe31stMovesToThe1st) {
  ShowOn({2026, 1, 31});
  dialog_.CBMonth()->setCurrentIndex(1);
  emit dialog_.CBMonth()->activated(1);
  EXPECT_EQ(dialog_.Calendar1()->selectedDate(), QDate(2026, 2, 1));
  EXPECT_EQ(dialog_.NDate()->text(), "02/01/2026");
}

TEST_F(DateSelTest, TypedYearMovesTheCalendarAndNonsenseGivesWay) {
  ShowOn({2026, 5, 20});
  QLineEdit* year = dialog_.CBYear()->lineEdit();
  TypeInto(year, "2031");
  EXPECT_EQ(dialog_.Calendar1()->selectedDate(), QDate(2031, 5, 20));
  TypeInto(year, "");
  EXPECT_EQ(dialog_.Calendar1()->selectedDate(), QDate(2031, 5, 20));
  TypeInto(year, "x");
  EXPECT_EQ(year->text(), "2031");
  EXPECT_EQ(dialog_.NDate()->text(), "05/20/2031");
}

TEST_F(DateSelTest, MonthAndYearListsFollowTheCalendarWhenItIsPaged) {
  ShowOn({2026, 12, 31});
  QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QCoreApplication::sendEvent(dialog_.Calendar1()->focusProxy(), &pageDown);
  EXPECT_EQ(dialog_.CBMonth()->currentText(), "January");
  EXPECT_EQ(dialog_.CBYear()->currentText(), "2027");
  EXPECT_EQ(dialog_.NDate()->text(), "01/31/2027");

  dialog_.Calendar1()->showNextMonth();  // as the mouse wheel pages
  EXPECT_EQ(dialog_.CBMonth()->currentText(), "February");
  EXPECT_EQ(dialog_.NDate()->text(), "02/28/2027");
  dialog_.Calendar1()->setCurrentPage(2031, 6);
  EXPECT_EQ(dialog_.CBYear()->currentText(), "2031");
  EXPECT_EQ(dialog_.CBYear()->itemText(0), "2028");
  EXPECT_EQ(dialog_.NDate()->text(), "06/28/2031");
}

class TermsEditTest : public ::testing::Test {
 protected:
  TTermsEdit& ShowWith(const Terms& terms) {
    EXPECT_TRUE(model::SaveTerms(terms));
    editor_.show();
    return editor_;
  }
  void Add(const QString& term) {
    editor_.AddButton()->click();
    editor_.Edit1()->setText(term);
    editor_.OkButton()->click();
  }
  Terms FileTerms() {
    Terms terms;
    EXPECT_TRUE(model::LoadTerms(terms));
    return terms;
  }
  QStringList Listed() {
    QStringList texts;
    for (int row = 0; row < editor_.ListBox1()->count(); ++row) texts.append(editor_.ListBox1()->item(row)->text());
    return texts;
  }

  engine::testing::ScopedWorkingFolder folder_;
  platform::testing::ScriptedDialogs dialogs_;
  TTermsEdit editor_{dialogs_};
};

TEST_F(TermsEditTest, ShowsTheTermsSortedWithNothingPending) {
  ShowWith({"Net 30 Days", "c.o.d.", "Due Upon Receipt"});
  EXPECT_EQ(Listed(), (QStringList{"c.o.d.", "Due Upon Receipt", "Net 30 Days"}));
  EXPECT_EQ(editor_.ListBox1()->currentRow(), 0);
  EXPECT_FALSE(editor_.Edit1()->isEnabled());
  EXPECT_FALSE(editor_.OkButton()->isEnabled());
  EXPECT_EQ(editor_.Edit1()->maxLength(), 35);
}

TEST_F(TermsEditTest, RefusesToDeleteTheLastTerm) {
  ShowWith({"Net 30 Days"});
  editor_.DeleteButton()->click();
  EXPECT_EQ(Listed(), (QStringList{"Net 30 Days"}));
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Delete Payment Term");
  EXPECT_EQ(dialogs_.Log()[0].text, "You must have at least on payment term.");
}

TEST_F(TermsEditTest, AddedTermsAreWrittenSortedOnClose) {
  ShowWith({"Net 30 Days"});
  editor_.AddButton()->click();
  EXPECT_EQ(editor_.Prompt()->text(), "Enter new payment term and select Ok button...");
  EXPECT_TRUE(editor_.Edit1()->isEnabled());
  Add("C.O.D.");
  Add("net 10 days");
  EXPECT_FALSE(editor_.Edit1()->isEnabled());
  EXPECT_EQ(editor_.Prompt()->text(), "");
  editor_.CloseButton()->click();
  EXPECT_FALSE(editor_.isVisible());
  EXPECT_EQ(FileTerms(), (Terms{"C.O.D.", "net 10 days", "Net 30 Days"}));
}

TEST_F(TermsEditTest, EditReplacesTheSelectedTerm) {
  ShowWith({"Alpha", "Beta"});
  editor_.ListBox1()->setCurrentRow(1);
  editor_.EditButton()->click();
  EXPECT_EQ(editor_.Edit1()->text(), "Beta");
  EXPECT_EQ(editor_.Prompt()->text(), "Edit this payment term and select Ok button...");
  editor_.Edit1()->setText("Aardvark");
  editor_.OkButton()->click();
  EXPECT_EQ(Listed(), (QStringList{"Aardvark", "Alpha"}));
}

TEST_F(TermsEditTest, ChoosingInTheListDropsThePendingEdit) {
  ShowWith({"Alpha", "Beta"});
  editor_.EditButton()->click();
  editor_.ListBox1()->setCurrentRow(1);
  EXPECT_FALSE(editor_.Edit1()->isEnabled());
  EXPECT_EQ(editor_.Edit1()->text(), "");
  EXPECT_EQ(editor_.Prompt()->text(), "");
  EXPECT_EQ(Listed(), (QStringList{"Alpha", "Beta"}));
}

TEST_F(TermsEditTest, EveryCloseRewritesTheFileEvenWithoutChanges) {
  for (const bool byEscape : {false, true}) {
    SCOPED_TRACE(byEscape ? "escape" : "close button");
    engine::testing::WriteBytes(model::kTermsFileName, {'Z', '\n', 'a', '\n'});
    editor_.show();
    if (byEscape) {
      editor_.reject();
    } else {
      editor_.CloseButton()->click();
    }
    const auto bytes = engine::testing::ReadBytes(model::kTermsFileName);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "a\r\nZ\r\n");
  }
}

TEST(SharedDialogsHelp, EachDialogOpensItsOwnTopic) {
  engine::testing::ScopedWorkingFolder folder;
  platform::testing::ScriptedDialogs dialogs;
  RecordingHelp help;
  platform::qt::HelpKey helpKey(help);
  model::CompanySession session;
  TDateSel dateSel(session, help);
  dateSel.HelpButton()->click();
  TTermsEdit terms(dialogs);
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(terms.ListBox1(), &f1);
  EXPECT_EQ(help.topics, (Terms{"VTCalendar", "EditTerms"}));
}

}  // namespace
}  // namespace shell::ui
