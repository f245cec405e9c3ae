#include "reports/ui/interest_wizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "invoicing/invoice_books.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/ui/testing/invoice_window_fixture.h"
#include "shell/customers.h"

namespace reports::ui {
namespace {

QStringList Headings(const QTableWidget* grid) {
  QStringList headings;
  for (int column = 0; column < grid->columnCount(); ++column) headings << grid->horizontalHeaderItem(column)->text();
  return headings;
}

QStringList Row(const QTableWidget* grid, int row) {
  QStringList cells;
  for (int column = 0; column < grid->columnCount(); ++column) {
    const QTableWidgetItem* item = grid->item(row, column);
    cells << (item != nullptr ? item->text() : QString());
  }
  return cells;
}

// Dockside Marine owes 100.00 on an invoice of 10/01/2026, 68 days before today.
class InterestWizardTest : public invoicing::ui::testing::InvoiceWindowFixture {
 protected:
  void SetUp() override {
    WriteHarborSupply([](model::CompanyRecord& company) {
      company.InterestSettings.DaysChoice = "6";
      company.InterestSettings.MonthlyRate = "2.000";
      company.InterestSettings.MinimumCharge = "1.00";
      company.InterestSettings.Terms = "Due Upon Receipt";
      company.InterestSettings.MarkPrinted = true;
      company.LastInterestDate = "11/30/2026";
      company.NextInvoiceNo = "1002";
    });
    AddDocksideMarine();
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    files::KeyedFile details = services_.FileOf(files::CompanyFile::kDetails);
    files::KeyedFile memos = services_.FileOf(files::CompanyFile::kMemos);
    for (files::KeyedFile* file : {&transactions, &details, &memos}) ASSERT_TRUE(file->Create() && file->Open());
    invoicing::InvoiceForm form;
    form.number = "1001";
    form.date = "10/01/2026";
    form.customer = Customer();
    form.net = form.total = "100.00";
    invoicing::InvoiceFiles files{transactions, details, memos};
    ASSERT_TRUE(invoicing::AddInvoice(services_, files, form, labelQueue_).added);
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  model::CustomerRecord Customer() {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    engine::RecordNumber slot = 0;
    model::CustomerRecord customer{};
    EXPECT_TRUE(customers.Open() && shell::FindCustomerByNumber(customers, "C100", slot, customer));
    return customer;
  }

  static void Scan(TInterestWiz& window) { QTest::mouseClick(window.Button1(), Qt::LeftButton); }
};

TEST_F(InterestWizardTest, OpensOnTheStoredSettingsWithNothingToGenerate) {
  TInterestWiz window(services_);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Interest Wizard");
  EXPECT_TRUE(window.days60()->isChecked());
  EXPECT_EQ(window.IPct()->text() + "|" + window.MinChg()->text(), "2.000|1.00");
  EXPECT_FALSE(window.FlatCB()->isChecked());
  EXPECT_FALSE(window.FlatRate()->isEnabled());
  EXPECT_EQ(window.IDate()->text(), "12/08/2026");
  EXPECT_EQ(window.InvComm()->text() + "|" + window.StmntNote()->text() + "|" + window.ITerms()->currentText(),
            "Interest Charges|Interest Charges|Due Upon Receipt");
  EXPECT_TRUE(window.IPrin()->isChecked());
  EXPECT_EQ(window.LastRun()->text(), "Last Interest Invoices: 11/30/2026");
  EXPECT_EQ(window.Label3()->text(), "Enter above options then select scan button...");
  EXPECT_EQ(Headings(window.CustGrid()),
            (QStringList{"Customer Name", "Customer#", "Over 60 Days", "Interest Chg."}));
  EXPECT_EQ(window.CustGrid()->rowCount(), 0);
  EXPECT_TRUE(window.Button1()->isEnabled());
  EXPECT_FALSE(window.GenInv()->isEnabled());

  QTest::mouseClick(window.Button2(), Qt::LeftButton);
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"InterestWizard"}));
}

TEST_F(InterestWizardTest, GenerateStaysDisabledUntilAScanFindsSomeoneAndAnyOptionChangeAsksForANewOne) {
  TInterestWiz window(services_);
  window.show();
  window.days90()->click();
  Scan(window);
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"No records were found."});
  EXPECT_EQ(window.Label3()->text(), "No records found.");
  EXPECT_FALSE(window.GenInv()->isEnabled());
  EXPECT_FALSE(window.Button1()->isEnabled());

  window.days30()->click();
  EXPECT_TRUE(window.Button1()->isEnabled());
  Scan(window);
  EXPECT_EQ(Headings(window.CustGrid()), (QStringList{"Customer Name", "Customer#", "Over 30 Days", "Interest Chg."}));
  ASSERT_EQ(window.CustGrid()->rowCount(), 2);
  EXPECT_EQ(Row(window.CustGrid(), 0), (QStringList{"Dockside Marine", "C100", "100.00", "2.00"}));
  EXPECT_EQ(Row(window.CustGrid(), 1), (QStringList{"Totals:", "", "100.00", "2.00"}));
  EXPECT_EQ(window.Label3()->text(), "1 found. Complete data below then select generate button...");
  EXPECT_TRUE(window.GenInv()->isEnabled());

  window.MinChg()->selectAll();
  QTest::keyClicks(window.MinChg(), "2");
  EXPECT_FALSE(window.GenInv()->isEnabled());
  EXPECT_TRUE(window.Button1()->isEnabled());
}

TEST_F(InterestWizardTest, FlatFeeTakesOverFromThePercentageAndItsBoxIsChecked) {
  TInterestWiz window(services_);
  window.show();
  window.FlatCB()->click();
  EXPECT_TRUE(window.FlatRate()->isEnabled());
  EXPECT_FALSE(window.IPct()->isEnabled());
  EXPECT_FALSE(window.MinChg()->isEnabled());

  QTest::keyClicks(window.FlatRate(), "-");
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"You should not enter a negative number in the flat rate box."});
  window.FlatRate()->clear();
  Scan(window);
  EXPECT_EQ(dialogs_.Texts().back(), "No flat rate is specified.");
  EXPECT_FALSE(window.GenInv()->isEnabled());

  QTest::keyClicks(window.FlatRate(), "7.5");
  Scan(window);
  EXPECT_EQ(Row(window.CustGrid(), 0), (QStringList{"Dockside Marine", "C100", "100.00", "7.50"}));
  EXPECT_TRUE(window.GenInv()->isEnabled());
}

TEST_F(InterestWizardTest, GenerateFilesTheInvoicesClosesAndOffersTheReport) {
  TInterestWiz window(services_);
  window.show();
  window.days30()->click();
  Scan(window);
  dialogs_.Answer(platform::Answer::kNo);
  QTest::mouseClick(window.GenInv(), Qt::LeftButton);

  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(Headings(window.CustGrid()).back(), "Invoice#");
  EXPECT_EQ(Row(window.CustGrid(), 0).back(), "1002");
  EXPECT_EQ(dialogs_.Texts(),
            std::vector<std::string>{"1 invoices were created. Would you like to send a report to the printer?"});
  files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
  ASSERT_TRUE(transactions.Open());
  const auto invoice = invoicing::FindInvoice(transactions, "1002");
  ASSERT_TRUE(invoice);
  EXPECT_EQ(invoice->record.KeyCode.str() + "|" + invoice->record.PrintedFlag.str(), "Interest|Y");
  EXPECT_EQ(Customer().Balance.str(), "102.00");
  EXPECT_EQ(session_.CurrentCompany.TotalAR.str() + "|" + session_.CurrentCompany.NextInvoiceNo.str() + "|" +
                session_.CurrentCompany.InterestSettings.DaysChoice.str(),
            "102.00|1003|3");
}

}  // namespace
}  // namespace reports::ui
