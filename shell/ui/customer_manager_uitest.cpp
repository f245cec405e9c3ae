#include "shell/ui/customer_manager.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "engine/ui/fvc_browser.h"
#include "files/company_files.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "platform/testing/fake_desktop.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/customers.h"
#include "shell/ui/customer_edit.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/testing/window_fixture.h"

namespace shell::ui {
namespace {


using platform::Answer;

model::CustomerRecord Customer(std::string_view number, std::string_view name) {
  model::CustomerRecord customer{};
  customer.CustNo = number;
  customer.CustName = name;
  customer.Balance = "0.00";
  return customer;
}

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

// Runs `step` once the modal dialog the next action opens is showing.
void WhenModalShows(std::function<void()> step) {
  QTimer::singleShot(0, [step = std::move(step)] { step(); });
}

class CustomerManagerTest : public shell::testing::WindowFixture {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    session_.CurrentCompany = files::testing::NamedCompany("Harbor Supply");
    session_.CurrentCompany.NextCustNo = "1001";
    files::testing::WriteCompanyFolder(session_.CurrentCompany, session_.CurrentCompany);
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  void FileCustomers(std::initializer_list<model::CustomerRecord> customers) {
    platform::SilentProgress progress;
    files::KeyedFile file(engine_, dialogs_, progress, files::DescribeFile(files::CompanyFile::kCustomers, "1"));
    ASSERT_TRUE(file.Create());
    ASSERT_TRUE(file.Open());
    for (const auto& customer : customers) {
      engine::RecordNumber number = 0;
      ASSERT_TRUE(file.Add(customer, number));
    }
  }
  void Show() {
    manager_.show();
    QApplication::processEvents();
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    const engine::BrowserSource* source = manager_.Frame()->Browser()->DataSource();
    for (int row = 0; source != nullptr && row < source->RowCount(); ++row) {
      if (source->Row(row).number > 0) rows.push_back(source->Row(row).elements.at(0));
    }
    return rows;
  }

  TCustManager manager_{services_};
};

TEST_F(CustomerManagerTest, OpensOnAnEmptyCompanyAfterTheNotice) {
  dialogs_.Answer(Answer::kOk);
  Show();
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "New Company");
  EXPECT_EQ(dialogs_.Log()[0].text, "I am going to create a new, empty customer file for this company.");
  EXPECT_EQ(manager_.Frame()->CountText(), "Customers: 0");
  EXPECT_EQ(manager_.Frame()->CompanyCaption(), "Harbor Supply   #1");
  // Without the statement windows handed in, none of their commands can be chosen.
  for (QAction* statement : {manager_.ViewPrintItem(), manager_.StatementItem(), manager_.BatchPrintItem()}) {
    EXPECT_FALSE(statement->isEnabled()) << statement->text().toStdString();
  }
  manager_.CloseItem()->trigger();
  EXPECT_FALSE(manager_.Frame()->IsOpen());
}

TEST_F(CustomerManagerTest, FileThatCannotBeOpenedEndsTheProgram) {
  bool mustEnd = false;
  QObject::connect(&manager_, &TCustManager::programMustEnd, [&mustEnd] { mustEnd = true; });
  dialogs_.Answer(Answer::kCancel);
  Show();
  QApplication::processEvents();
  EXPECT_TRUE(mustEnd);
  EXPECT_EQ(dialogs_.Log().back().text, "Unable to open database");
  EXPECT_FALSE(manager_.isVisible());
}

TEST_F(CustomerManagerTest, ListsAFilledCompanyByNameOrNumber) {
  FileCustomers({Customer("20", "Dockside Cafe"), Customer("10", "Ship Chandlers")});
  Show();
  EXPECT_EQ(manager_.Frame()->CountText(), "Customers: 2");
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0], CustomerRow(Customer("20", "Dockside Cafe")));
  EXPECT_TRUE(manager_.ByNameItem()->isChecked());

  manager_.ByNumberItem()->trigger();
  EXPECT_EQ(Rows()[0], CustomerRow(Customer("10", "Ship Chandlers")));
  manager_.CloseItem()->trigger();

  // The order holds for the rest of the run.
  TCustManager again(services_);
  again.show();
  QApplication::processEvents();
  EXPECT_TRUE(again.ByNumberItem()->isChecked());
  again.ByNameItem()->trigger();
  EXPECT_EQ(TCustManager::ChosenOrder(), 1);
}

// Switching the order used to take the key from the last row the new order had read,
// so the manager jumped from the chosen customer to another.
TEST_F(CustomerManagerTest, SwitchingTheOrderKeepsTheCurrentCustomer) {
  FileCustomers({Customer("10", "Ship Chandlers"), Customer("20", "Dockside Cafe"), Customer("30", "Anchor Works")});
  Show();
  manager_.ByNameItem()->trigger();
  PressKey(manager_.Frame()->Browser(), Qt::Key_Down);
  const auto current = [this] {
    manager_.LabelQueueItem()->trigger();
    return manager_.Frame()->Message().toStdString();
  };
  ASSERT_EQ(current(), "Dockside Cafe added to label queue.");
  manager_.ByNumberItem()->trigger();
  EXPECT_EQ(current(), "Dockside Cafe added to label queue.");
  manager_.ByNameItem()->trigger();
  EXPECT_EQ(current(), "Dockside Cafe added to label queue.");
}

TEST_F(CustomerManagerTest, PrintoutsOverwriteNothingAndTheStatusSaysWhereEachWent) {
  FileCustomers({Customer("10", "Ship Chandlers")});
  Show();
  QStringList statuses;
  for (int envelope = 0; envelope < 2; ++envelope) {
    manager_.EnvelopeItem()->trigger();
    statuses << manager_.Frame()->Message();
  }
  dialogs_.Answer(Answer::kNo).Answer(Answer::kNo);
  manager_.CustomerListItem()->trigger();
  statuses << manager_.Frame()->Message();

  const QString printouts = QDir::current().absoluteFilePath("Printouts/");
  EXPECT_EQ(statuses, (QStringList{"Envelope for Ship Chandlers sent to " + printouts + "Envelope.pdf.",
                                   "Envelope for Ship Chandlers sent to " + printouts + "Envelope (2).pdf.",
                                   "Printed to " + printouts + "Customer List by Name.pdf"}));
  for (const char* file : {"Envelope.pdf", "Envelope (2).pdf", "Customer List by Name.pdf"}) {
    EXPECT_TRUE(QFile::exists(printouts + file)) << file;
  }
}

TEST_F(CustomerManagerTest, AddsACustomerThroughItsDialog) {
  FileCustomers({Customer("10", "Ship Chandlers")});
  Show();
  TEditRecord* edit = manager_.EditRecord();
  bool keptOpenOnName = false;
  WhenModalShows([&] {
    EXPECT_EQ(edit->windowTitle(), "Add Customer");
    EXPECT_EQ(edit->CNo()->text(), "1001");
    EXPECT_EQ(edit->CNo()->maxLength(), 8);
    EXPECT_EQ(edit->CName()->maxLength(), 35);
    edit->OKButton()->click();
    keptOpenOnName = edit->isVisible() && edit->focusWidget() == edit->CName();
    edit->CName()->setText("Harbor Lights");
    edit->CAddEdit(0)->setText("1 Quay Street");
    edit->CopyButton()->click();
    edit->OKButton()->click();
  });
  manager_.NewItem()->trigger();

  EXPECT_TRUE(keptOpenOnName);
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"You must enter a customer name."}));
  EXPECT_EQ(manager_.Frame()->CountText(), "Customers: 2");
  model::CustomerRecord added = Customer("1001", "Harbor Lights");
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0], CustomerRow(added));
  EXPECT_EQ(session_.CurrentCompany.NextCustNo.str(), "1002");

  // The new customer is the current row, and its shipping address was copied.
  ASSERT_TRUE(manager_.Frame()->ReadCurrent());
  manager_.LabelQueueItem()->trigger();
  EXPECT_EQ(manager_.Frame()->Message(), "Harbor Lights added to label queue.");
  EXPECT_EQ(labelQueue_.Entries().at(0).caption, "1001");
}

// Restoring the minimised manager used to reopen its file under the open dialog, whose
// checks then looked in a file object that was gone: two customers got one number.
TEST_F(CustomerManagerTest, RestoringTheManagerUnderAnOpenDialogStillRefusesADuplicateNumber) {
  FileCustomers({Customer("10", "Ship Chandlers")});
  Show();
  TEditRecord* edit = manager_.EditRecord();
  WhenModalShows([&] {
    manager_.showMinimized();
    manager_.showNormal();
    QShowEvent restored;
    QCoreApplication::sendEvent(&manager_, &restored);
    edit->CNo()->setText("10");
    edit->CName()->setText("Harbor Lights");
    edit->OKButton()->click();
    EXPECT_TRUE(edit->isVisible());
    edit->CancelButton()->click();
  });
  manager_.NewItem()->trigger();
  EXPECT_EQ(dialogs_.Texts(),
            std::vector<std::string>{"That customer number already exists. You will need to use a different number."});
  EXPECT_EQ(manager_.Frame()->CountText(), "Customers: 1");
}

TEST_F(CustomerManagerTest, TabOrderInTheCustomerDialogFollowsTheLayout) {
  TEditRecord edit(help_);
  edit.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
  std::vector<QWidget*> expected = {edit.CNo(),      edit.CName(),  edit.ShortName(), edit.CustType(),
                                    edit.TaxExempt(), edit.CLimit(), edit.CTerms(),    edit.CPhone1(),
                                    edit.CPhone2(),   edit.MListCode()};
  for (int line = 0; line < kAddressLines; ++line) expected.push_back(edit.CAddEdit(line));
  expected.push_back(edit.AutoCopy());
  for (int line = 0; line < kAddressLines; ++line) expected.push_back(edit.CShip(line));
  expected.insert(expected.end(), {edit.CopyButton(), edit.ClearButton(), edit.CstNote(), edit.NotesOnInv(),
                                   edit.NotesOnStmnt(), edit.CRHold(), edit.OKButton(), edit.CancelButton(),
                                   edit.HelpButton(), edit.CNo()});
  edit.CNo()->setFocus();
  std::vector<QWidget*> visited = {QApplication::focusWidget()};
  for (std::size_t tab = 1; tab < expected.size(); ++tab) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(visited, expected);
}

TEST_F(CustomerManagerTest, RenamedCustomerGetsTheShortNameOfItsNewName) {
  model::CustomerRecord stored = Customer("10", "Harbor Supply Company");
  stored.ShortName = "HSupply Co";
  FileCustomers({stored});
  Show();
  TEditRecord* edit = manager_.EditRecord();
  WhenModalShows([&] {
    edit->CName()->setText(QString::fromUtf8("Hafen Bäckerei"));
    edit->OKButton()->click();
  });
  manager_.EditItem()->trigger();
  ASSERT_TRUE(manager_.Frame()->ReadCurrent());
  EXPECT_EQ(Rows().at(0).substr(0, 15), "Hafen Bäckerei");
  files::KeyedFile file(engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCustomers, "1"));
  manager_.CloseItem()->trigger();
  ASSERT_TRUE(file.Open());
  EXPECT_EQ(files::Table<model::CustomerRecord>(file).Read(1)->ShortName.str(), "HBäckerei");
}

TEST_F(CustomerManagerTest, AutoCopyFollowsTheBillingLinesAsTyped) {
  session_.CurrentCompany.AutoCopyBilling = true;
  FileCustomers({});
  Show();
  TEditRecord* edit = manager_.EditRecord();
  WhenModalShows([&] {
    EXPECT_TRUE(edit->AutoCopy()->isChecked());
    edit->CAddEdit(1)->setFocus();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "A");
    QCoreApplication::sendEvent(edit->CAddEdit(1), &key);
    EXPECT_EQ(edit->CShip(1)->text(), "A");
    edit->ClearButton()->click();
    EXPECT_EQ(edit->CShip(1)->text(), "");
    edit->CancelButton()->click();
  });
  manager_.NewItem()->trigger();
  EXPECT_EQ(manager_.Frame()->CountText(), "Customers: 0");
}

TEST_F(CustomerManagerTest, PickerOpensOnTheGivenCustomerAndReturnsTheChosenOne) {
  FileCustomers({Customer("10", "Anchor Works"), Customer("20", "Dockside Cafe"), Customer("30", "Ship Chandlers")});
  manager_.SetPickerMode(true, "20");
  Show();
  EXPECT_EQ(manager_.Frame()->Message(), "Double-click or press <enter> to select.");
  PressKey(manager_.Frame()->Browser(), Qt::Key_Down);
  PressKey(manager_.Frame()->Browser(), Qt::Key_Return);
  EXPECT_EQ(manager_.result(), QDialog::Accepted);
  ASSERT_TRUE(manager_.Picked());
  EXPECT_EQ(manager_.Picked()->CustNo.str(), "30");
  EXPECT_EQ(manager_.Picked()->CustName.str(), "Ship Chandlers");
}

// Leaving picker mode used to forget the pick before it was handed back.
TEST_F(CustomerManagerTest, PickCustomerHandsBackTheChosenCustomer) {
  FileCustomers({Customer("10", "Anchor Works"), Customer("20", "Dockside Cafe"), Customer("30", "Ship Chandlers")});
  WhenModalShows([&] {
    PressKey(manager_.Frame()->Browser(), Qt::Key_Down);
    PressKey(manager_.Frame()->Browser(), Qt::Key_Return);
  });
  const std::optional<model::CustomerRecord> picked = manager_.PickCustomer("20");
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->CustNo.str(), "30");
  EXPECT_FALSE(manager_.PickerMode());
}

}  // namespace
}  // namespace shell::ui
