#include "invoicing/ui/prod_inv.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/testing/company_folder.h"
#include "model/side_files.h"
#include "invoicing/ui/testing/keyboard.h"
#include "shell/ui/testing/window_fixture.h"

namespace invoicing::ui {
namespace {

using platform::Icon;

using testing::Click;
using testing::Press;
using testing::Settle;
using testing::Type;

class ProdInvTest : public shell::testing::WindowFixture {
 protected:
  ProdInvTest() {
    engine_.InitEngine(30);
    model::CompanyRecord& company = session_.CurrentCompany;
    company = files::testing::NamedCompany("Harbor Supply");
    company.CompanyNo = "1";
    company.TaxRate = "8.125";
    company.NextInvoiceNo = "1043";
    company.DefaultQuantity = "1";
    company.DefaultPrintFlag = false;
    EXPECT_TRUE(model::SaveTerms({"Net 30 Days", "COD"}));
    MakeProducts();
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  void MakeProducts() {
    files::KeyedFile file(engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kProducts, "1"));
    ASSERT_TRUE(file.Create());
    ASSERT_TRUE(file.Open());
    const struct {
      const char* code;
      const char* description;
      const char* price;
      bool taxable;
    } products[] = {{"A1", "Anchor", "2.50", true}, {"B2", "Bolt", "0.75", false}};
    for (const auto& p : products) {
      model::ProductRecord product{};
      product.ProductCode = p.code;
      product.ProdDesc = p.description;
      product.UnitPrice = p.price;
      product.Taxable = p.taxable;
      engine::RecordNumber added = 0;
      ASSERT_TRUE(file.Add(product, added));
    }
  }

  // A new invoice as the invoice manager prepares it, with the customer already chosen.
  InvoiceForm NewInvoice() {
    InvoiceForm form;
    form.lines.fill(BlankLine(session_.CurrentCompany));
    form.date = "12/08/2026";
    model::CustomerRecord customer{};
    customer.CustNo = "C100";
    customer.CustName = "Dockside Marine";
    customer.ShortName = "DOCKSIDE";
    customer.Balance = "-12.00";
    form.customer = customer;
    return form;
  }

  // Runs `steps` once the window is up, while Execute holds it open.
  bool Execute(InvoiceForm& form, const std::function<void()>& steps) {
    QTimer::singleShot(0, [this, steps] {
      Settle();
      steps();
      if (window_.isVisible()) window_.InvClose()->click();
    });
    return window_.Execute(form, "Add Invoice - Company: Harbor Supply - #1",
                           [](std::string_view number) { return number == "1042"; });
  }

  TProdInv window_{services_};
};

TEST_F(ProdInvTest, TwoLinesTypedByKeysComeBackWithTheirTotals) {
  InvoiceForm form = NewInvoice();
  bool shownAsNew = false;
  const bool accepted = Execute(form, [&] {
    shownAsNew = window_.INum()->text() == "1043" && window_.IMode()->text() == "Add Mode" &&
                 window_.windowTitle() == "Add Invoice - Company: Harbor Supply - #1" &&
                 window_.CBal()->text() == "-12.00" && window_.CheckBox2()->text() == "Calc. Tax at 8.125%";
    window_.StringGrid1()->setFocus();
    Type(window_, "a1");

    Press(window_, Qt::Key_Return);  // looks the product up
    Press(window_, Qt::Key_Right);
    Type(window_, "3");
    Press(window_, Qt::Key_Return);
    Press(window_, Qt::Key_Down);
    Press(window_, Qt::Key_Left);
    Type(window_, "b2");
    Press(window_, Qt::Key_Return);
    Press(window_, Qt::Key_Right);
    Type(window_, "4");
    Press(window_, Qt::Key_Return);
    Click(window_.OKButton());
  });
  EXPECT_TRUE(shownAsNew);
  ASSERT_TRUE(accepted);
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_EQ(form.number, "1043");
  EXPECT_EQ(form.terms, "Net 30 Days");
  EXPECT_EQ(form.Line(1), (GridLine{"A1", "3", "Anchor", "2.50", "Y", "7.50"}));
  EXPECT_EQ(form.Line(2), (GridLine{"B2", "4", "Bolt", "0.75", "N", "3.00"}));
  EXPECT_EQ(form.Line(3), BlankLine(session_.CurrentCompany));
  EXPECT_EQ(form.net, "10.50");
  EXPECT_EQ(form.tax, "0.61");  // 8.125 % of 7.50 is 0.609375
  EXPECT_EQ(form.total, "11.11");
  EXPECT_EQ(form.paid, "0.00");
  EXPECT_EQ(form.balanceDue, "11.11");
}

TEST_F(ProdInvTest, RefusedNumbersKeepTheWindowOpenOnTheNumber) {
  InvoiceForm form = NewInvoice();
  std::vector<bool> focusOnNumber;
  dialogs_.onMessage = [&](const platform::testing::LoggedMessage&) {
    // The box is up: the window is still open behind it.
    EXPECT_TRUE(window_.isVisible());
  };
  const bool accepted = Execute(form, [&] {
    window_.StringGrid1()->setFocus();
    Type(window_, "zz");
    dialogs_.Answer(platform::Answer::kNo);
    Press(window_, Qt::Key_Return);  // not on file, and not to be added
    window_.INum()->setFocus();
    Press(window_, Qt::Key_A, Qt::ControlModifier);
    Press(window_, Qt::Key_Backspace);
    Click(window_.OKButton());
    focusOnNumber.push_back(window_.focusWidget() == window_.INum());
    Type(window_, "10 43");
    Click(window_.OKButton());
    focusOnNumber.push_back(window_.focusWidget() == window_.INum());
  });
  EXPECT_FALSE(accepted);
  EXPECT_EQ(focusOnNumber, (std::vector<bool>{true, true}));
  ASSERT_EQ(dialogs_.Log().size(), 3u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Product Code");
  EXPECT_EQ(dialogs_.Log()[0].text, "That product code was not found. Would you like to add it now?");
  EXPECT_EQ(dialogs_.Log()[1].caption, "Invoice Number");
  EXPECT_EQ(dialogs_.Log()[1].text, "You need an invoice number.");
  EXPECT_EQ(dialogs_.Log()[1].icon, Icon::kWarning);
  EXPECT_EQ(dialogs_.Log()[2].text, "An invoice number may not contain blanks.");
  EXPECT_EQ(form.number, "");  // Close hands nothing back
}

TEST_F(ProdInvTest, MemoInvoiceTakesTypedAmountsAndTheTimerRunsOnBetweenInvoices) {
  InvoiceForm form = NewInvoice();
  QString taxLabel;
  QString balance;
  QPalette::ColorRole unused = QPalette::WindowText;
  QColor balanceColour;
  bool gridHidden = false;
  Execute(form, [&] {
    Click(window_.RadioButton2());
    gridHidden = !window_.StringGrid1()->isVisible() && window_.Memo1()->isVisible() &&
                 !window_.CheckBox2()->isVisible() && !window_.INet()->isReadOnly();
    window_.INet()->setFocus();
    Press(window_, Qt::Key_A, Qt::ControlModifier);
    Type(window_, "1,000");
    window_.IPaid()->setFocus();
    Press(window_, Qt::Key_A, Qt::ControlModifier);
    Type(window_, "1200");
    taxLabel = window_.TaxLbl()->text();
    balance = window_.BalDue()->text();
    balanceColour = window_.BalDue()->palette().color(unused);
    window_.TimeBtn()->click();
    clock_.Set({2026, 12, 8, 15, 35, 0});
    QTest::qWait(1100);
  });
  EXPECT_TRUE(gridHidden);
  EXPECT_EQ(taxLabel, "Tax on 1,000.00 is 81.25.");
  EXPECT_EQ(balance, "-200.00");
  EXPECT_EQ(balanceColour, QColor(Qt::red));
  EXPECT_TRUE(window_.TimerRunning());
  EXPECT_EQ(window_.TimeBtn()->text(), "&Stop");
  EXPECT_EQ(window_.StartTime()->text(), "14:05:00");
  EXPECT_EQ(window_.ElapsedTime()->text(), "01:30:00");
  EXPECT_EQ(window_.ToHours()->text(), "01.500");

  // Shown again for the next invoice, the timer has kept its start.
  Execute(form, [&] { EXPECT_EQ(window_.StartTime()->text(), "14:05:00"); });
  window_.TimeBtn()->click();
  EXPECT_FALSE(window_.TimerRunning());
  EXPECT_EQ(window_.TimeBtn()->text(), "&Start");
}

}  // namespace
}  // namespace invoicing::ui
