#include "invoicing/ui/pay_box.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/table.h"
#include "files/testing/company_folder.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/ui/ppmt_dialog.h"
#include "invoicing/ui/testing/keyboard.h"
#include "model/field_values.h"
#include "platform/qt/help_key.h"
#include "shell/customers.h"
#include "shell/ui/customer_manager.h"
#include "invoicing/ui/testing/invoice_window_fixture.h"
#include "shell/ui/testing/window_fixture.h"

namespace invoicing::ui {
namespace {

using testing::Click;
using testing::Press;
using testing::Settle;
using testing::WhenModalShows;


QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
  return lines;
}

class PayBoxTest : public testing::InvoiceWindowFixture {
 protected:
  void SetUp() override {
    WriteHarborSupply();
    AddDocksideMarine();
    AddInvoices();
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  // 1001 for 100.00 dated 11/08, 1002 for 40.00 dated 12/01, through the bookkeeping.
  void AddInvoices() {
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    files::KeyedFile details = services_.FileOf(files::CompanyFile::kDetails);
    files::KeyedFile memos = services_.FileOf(files::CompanyFile::kMemos);
    for (files::KeyedFile* file : {&transactions, &details, &memos}) ASSERT_TRUE(file->Create() && file->Open());
    InvoiceFiles files{transactions, details, memos};
    const model::CustomerRecord customer = Customer();
    for (auto [number, date, total] : {std::tuple{"1001", "11/08/2026", "100.00"},
                                       std::tuple{"1002", "12/01/2026", "40.00"}}) {
      InvoiceForm form;
      form.number = number;
      form.date = date;
      form.customer = customer;
      form.net = total;
      form.total = total;
      form.tax = "0.00";
      form.paid = "0.00";
      ASSERT_TRUE(AddInvoice(services_, files, form, labelQueue_).added);
    }
  }

  void Show() {
    wizard_.show();
    Settle();
  }

  // Chooses Dockside Marine in the customer picker, as the user does with Enter.
  void ChooseCustomer() {
    WhenModalShows([] {
      auto* picker = qobject_cast<shell::ui::TCustManager*>(QApplication::activeModalWidget());
      ASSERT_NE(picker, nullptr);
      Press(*picker, Qt::Key_Return);
    });
    Click(wizard_.BitBtn3());
    QApplication::setActiveWindow(&wizard_);
  }

  void TypePaid(const char* amount) {
    wizard_.PAmt()->selectAll();
    QTest::keyClick(wizard_.PAmt(), Qt::Key_Backspace);
    QTest::keyClicks(wizard_.PAmt(), amount);
    Settle();
  }

  // Answers the partial payment dialog with `amount` once it is up.
  void AnswerPartDialog(const char* amount, std::string* caption = nullptr, std::string* label = nullptr) {
    WhenModalShows([=, this] {
      TPPmtDialog& dialog = *wizard_.PPmtDialog();
      if (caption) *caption = dialog.windowTitle().toStdString();
      if (label) *label = dialog.Label1()->text().toStdString();
      dialog.PPAmt()->setText(amount);
      Click(dialog.OKBtn());
      if (dialog.isVisible()) dialog.reject();
    });
  }

  model::TransactionRecord Invoice(std::string_view number) {
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    EXPECT_TRUE(transactions.Open());
    return FindInvoice(transactions, number).value().record;
  }

  TPayBox wizard_{services_};
};

TEST_F(PayBoxTest, PaymentOfAChosenInvoiceIsPostedToTheBooks) {
  Show();
  EXPECT_EQ(wizard_.windowTitle().toStdString(), "Payment Wizard - Harbor Supply");
  EXPECT_EQ(wizard_.PmtDate()->text().toStdString(), "12/08/2026");
  EXPECT_EQ(wizard_.PAmt()->text().toStdString(), "0.00");
  EXPECT_EQ(wizard_.PCustBal()->text().toStdString(), "0.00");
  for (QPushButton* button : {wizard_.OKBtn(), wizard_.PPmtBtn(), wizard_.AccountDep()}) {
    EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
  }

  ChooseCustomer();
  EXPECT_EQ(wizard_.PCustName()->text().toStdString() + "|" + wizard_.PCustNum()->text().toStdString() + "|" +
                wizard_.PCustPhone()->text().toStdString() + "|" + wizard_.Sname()->text().toStdString() + "|" +
                wizard_.PCustBal()->text().toStdString(),
            "Dockside Marine|C100|(207) 555-0100|DMarine|140.00");
  EXPECT_EQ(Lines(wizard_.SrcList()),
            (QStringList{"1001      11/08/26       100.00 ", "1002      12/01/26        40.00 "}));
  EXPECT_TRUE(wizard_.AccountDep()->isEnabled());

  wizard_.SrcList()->setCurrentRow(0);
  Click(wizard_.IncludeBtn());
  EXPECT_EQ(Lines(wizard_.DstList()), QStringList{"1001      11/08/26       100.00 "});
  EXPECT_EQ(wizard_.SrcList()->currentRow(), 0);
  EXPECT_EQ(wizard_.IPostedAmt()->text().toStdString(), "100.00");
  EXPECT_FALSE(wizard_.OKBtn()->isEnabled());

  TypePaid("100");
  EXPECT_TRUE(wizard_.OKBtn()->isEnabled());
  wizard_.PNotes()->setText("Cheque 10234");
  Click(wizard_.OKBtn());

  EXPECT_FALSE(wizard_.isVisible());
  const model::TransactionRecord paid = Invoice("1001");
  EXPECT_EQ(paid.PaidFlag.str() + "|" + paid.BalanceDue.str() + "|" + paid.PaidAmount.str() + "|" +
                paid.PaidSortDate.str() + "|" + paid.StatementNote.str(),
            "P|0.00|100.00|2026/12/08|Cheque 10234");
  EXPECT_EQ(Customer().Balance.str() + "|" + Customer().LastPaymentDate.str(), "40.00|12/08/2026");
  EXPECT_EQ(session_.CurrentCompany.TotalAR.str(), "40.00");
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(PayBoxTest, PartialPaymentAndDepositComeFromTheSmallDialog) {
  Show();
  ChooseCustomer();
  wizard_.SrcList()->setCurrentRow(1);
  ASSERT_TRUE(wizard_.PPmtBtn()->isEnabled());
  std::string caption, label;
  AnswerPartDialog("40.00", &caption, &label);  // all that is due: refused
  Click(wizard_.PPmtBtn());
  EXPECT_EQ(caption + "|" + label, "Partial Payment|Invoice: 1002       Date: 12/01/26");
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"The partial payment amount must be less than amount due."});
  EXPECT_TRUE(wizard_.DstList()->count() == 0);

  AnswerPartDialog("15");
  Click(wizard_.PPmtBtn());
  EXPECT_EQ(Lines(wizard_.SrcList()).at(1).toStdString(), "1002      12/01/26        25.00 ");
  EXPECT_EQ(wizard_.SrcList()->currentRow(), 1);

  AnswerPartDialog("50", &caption, &label);
  Click(wizard_.AccountDep());
  EXPECT_EQ(caption + "|" + label, "Deposit on Account|Invoice: DEPOSIT     Date: 12/08/2026");
  EXPECT_EQ(Lines(wizard_.DstList()),
            (QStringList{"1002      12/01/26        15.00P", "DEPOSIT   12/08/26        50.00 "}));
  EXPECT_EQ(wizard_.IPostedAmt()->text().toStdString(), "65.00");

  TypePaid("65.00");
  Click(wizard_.OKBtn());
  EXPECT_FALSE(wizard_.isVisible());
  EXPECT_EQ(Invoice("1002").TransType.str() + "|" + Invoice("1002").BalanceDue.str(), "Z|25.00");
  EXPECT_EQ(Invoice("DP3").BalanceDue.str(), "-50.00");
  EXPECT_EQ(Customer().Balance.str(), "75.00");
}

TEST_F(PayBoxTest, DoubleClickAndEnterMoveALineAndTheWholeBalanceMovesThemAll) {
  Show();
  ChooseCustomer();
  QListWidget* source = wizard_.SrcList();
  const QPoint second = source->visualItemRect(source->item(1)).center();
  QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(source->viewport(), Qt::LeftButton, {}, second);
  Settle();
  EXPECT_EQ(Lines(wizard_.DstList()), QStringList{"1002      12/01/26        40.00 "});
  wizard_.DstList()->setFocus();
  wizard_.DstList()->setCurrentRow(0);
  Press(wizard_, Qt::Key_Return);
  EXPECT_EQ(wizard_.DstList()->count(), 0);
  EXPECT_EQ(wizard_.SrcList()->count(), 2);

  TypePaid("140.00");
  EXPECT_EQ(wizard_.SrcList()->count(), 0);
  EXPECT_EQ(wizard_.DstList()->count(), 2);
  EXPECT_TRUE(wizard_.OKBtn()->isEnabled());
  EXPECT_EQ(wizard_.PAmt()->cursorPosition(), 6);
  EXPECT_FALSE(wizard_.IncludeBtn()->isEnabled());
  wizard_.reject();
}

TEST_F(PayBoxTest, HelpOfEachWindowOpensItsTopic) {
  platform::qt::HelpKey helpKey{help_};
  for (auto [window, keyword] : {std::pair<QWidget*, const char*>{&wizard_, "PaymentWizard"},
                                 {wizard_.PPmtDialog(), "PartialPayment"}}) {
    help_.topics.clear();
    testing::PressF1(window);
    EXPECT_EQ(help_.topics, std::vector<std::string>{keyword});
  }
  help_.topics.clear();
  wizard_.HelpBtn()->click();
  EXPECT_EQ(help_.topics, std::vector<std::string>{"PaymentWizard"});
}

}  // namespace
}  // namespace invoicing::ui
