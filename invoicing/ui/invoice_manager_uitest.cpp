#include "invoicing/ui/invoice_manager.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/browser_source.h"
#include "engine/ui/fvc_browser.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/testing/company_folder.h"
#include "invoicing/ui/customer_data.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/ui/prod_inv.h"
#include "invoicing/ui/view_invoice.h"
#include "model/side_files.h"
#include "platform/qt/help_key.h"
#include "shell/ui/customer_manager.h"
#include "shell/ui/manager_frame.h"
#include "invoicing/ui/testing/keyboard.h"
#include "invoicing/ui/testing/invoice_window_fixture.h"
#include "shell/ui/testing/window_fixture.h"

namespace invoicing::ui {
namespace {

using platform::Answer;

using testing::Click;
using testing::Press;
using testing::Settle;
using testing::Type;
using testing::WhenModalShows;


class InvoiceManagerTest : public testing::InvoiceWindowFixture {
 protected:
  void SetUp() override {
    WriteHarborSupply([](model::CompanyRecord& company) {
      company.CalcTaxes = true;
      company.TaxRate = "8.125";
      company.NextInvoiceNo = "1043";
      company.DefaultQuantity = "1";
      company.DefaultTerms = "Net 30 Days";
      company.DefaultPrintFlag = false;
    });
    ASSERT_TRUE(model::SaveTerms({"Net 30 Days"}));
    for (files::CompanyFile file : {files::CompanyFile::kTransactions, files::CompanyFile::kDetails,
                                    files::CompanyFile::kMemos}) {
      ASSERT_TRUE(services_.FileOf(file).Create());
    }
    AddDocksideMarine();
    AddProducts();
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  void AddProducts() {
    files::KeyedFile file = services_.FileOf(files::CompanyFile::kProducts);
    ASSERT_TRUE(file.Create() && file.Open());
    for (auto [code, description, price, taxable] :
         {std::tuple{"A1", "Anchor", "2.50", true}, std::tuple{"B2", "Bolt", "0.75", false}}) {
      model::ProductRecord product{};
      product.ProductCode = code;
      product.ProdDesc = description;
      product.UnitPrice = price;
      product.Taxable = taxable;
      engine::RecordNumber added = 0;
      ASSERT_TRUE(file.Add(product, added));
    }
  }

  std::string CurrentRow() const {
    const engine::BrowserSource* source = manager_.Frame()->Browser()->DataSource();
    return source->CurrentRow() < 0 ? std::string() : source->Row(source->CurrentRow()).elements.at(0);
  }

  void Show() {
    manager_.show();
    Settle();
  }

  // The user's way through New: the customer from the picker, then two lines typed
  // into the grid, then Ok.
  void EnterTwoLineInvoice() {
    WhenModalShows([this] {
      TProdInv& entry = *manager_.EntryWindow();
      WhenModalShows([] {
        auto* picker = qobject_cast<shell::ui::TCustManager*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        Press(*picker, Qt::Key_Return);
      });
      entry.BitBtn3()->click();
      Settle();
      QApplication::setActiveWindow(&entry);
      entry.StringGrid1()->setFocus();
      entry.StringGrid1()->setCurrentCell(0, 1);
      for (const char* code : {"a1", "b2"}) {
        Type(entry, code);
        Press(entry, Qt::Key_Return);
        Press(entry, Qt::Key_Right);
        Type(entry, "4");
        Press(entry, Qt::Key_Return);
        Press(entry, Qt::Key_Down);
        Press(entry, Qt::Key_Left);
      }
      QTest::mouseClick(entry.OKButton(), Qt::LeftButton);
      if (entry.isVisible()) entry.InvClose()->click();
    });
    manager_.Action(InvoiceCommand::kNew)->trigger();
    Settle();
  }

  // The invoice's header as stored; the manager keeps the file open.
  model::TransactionRecord StoredInvoice() {
    const auto found = FindInvoice(manager_.Frame()->File(), "1043");
    EXPECT_TRUE(found.has_value());
    return found ? found->record : model::TransactionRecord{};
  }

  // The text of a PDF as the poppler tools read it.
  static std::string PdfText(const std::string& path) {
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
    std::string text;
    if (FILE* pipe = popen(("pdftotext -layout '" + path + "' -").c_str(), "r")) {
      char buffer[4096];
      for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, read);
      pclose(pipe);
    }
    return text;
  }

  Tinvlist manager_{services_};
};

TEST_F(InvoiceManagerTest, InvoiceTypedInTheEntryWindowIsListedWithItsTotals) {
  Show();
  EXPECT_EQ(manager_.Frame()->CompanyCaption().toStdString(), "Harbor Supply - #1");
  EXPECT_EQ(manager_.Frame()->CountText().toStdString(), "Records: 0");
  EXPECT_EQ(manager_.FilterText().toStdString(), "Filter Closed");
  EXPECT_EQ(manager_.TimerText().toStdString(), "Timer off");

  EnterTwoLineInvoice();

  // 4 x 2.50 taxed at 8.125 % and 4 x 0.75 untaxed: 13.00 net, 0.81 tax.
  const std::string expected =
      "2026/12/08 I 1043      C100     DMarine           13.81        13.81         0.00 None                1";
  EXPECT_EQ(CurrentRow().substr(0, expected.size()), expected);
  EXPECT_EQ(manager_.Frame()->CountText().toStdString(), "Records: 1");
  EXPECT_EQ(manager_.Frame()->Message().toStdString(), "Added invoice 1043 containing 2 line item(s).");
  EXPECT_EQ(manager_.ArTotalText().toStdString(), "13.81");
  EXPECT_EQ(session_.CurrentCompany.NextInvoiceNo.str(), "1044");
}

TEST_F(InvoiceManagerTest, QuickViewShowsTheRecordAndItsCustomer) {
  Show();
  EnterTwoLineInvoice();
  WhenModalShows([this] {
    const QStringList lines = manager_.QuickViewWindow()->Lines();
    EXPECT_EQ(lines.mid(0, 3), (QStringList{"I - Regular Invoice", "(Product Invoice)", "1043"}));
    EXPECT_TRUE(lines.contains("Dockside Marine"));
    EXPECT_TRUE(lines.contains("13.81"));
    EXPECT_TRUE(lines.contains("(207) 555-0100"));
    manager_.QuickViewWindow()->reject();
  });
  emit manager_.Frame()->rowChosen();
}

TEST_F(InvoiceManagerTest, FilterPassesOnlyTheSelectedCustomersRows) {
  Show();
  EnterTwoLineInvoice();
  manager_.Action(InvoiceCommand::kFilter)->trigger();
  EXPECT_EQ(manager_.FilterText().toStdString(), "Filtering Customer#: C100");
  EXPECT_EQ(manager_.Frame()->Message().toStdString(), "Click filter button again to clear filter.");
  EXPECT_TRUE(manager_.Frame()->Browser()->FilterEnabled());
  manager_.Action(InvoiceCommand::kFilter)->trigger();
  EXPECT_EQ(manager_.FilterText().toStdString(), "Filter Closed");
  EXPECT_EQ(manager_.Frame()->Message().toStdString(), "Filter closed.");
}

TEST_F(InvoiceManagerTest, DeletingAfterTheQuestionEmptiesTheListAndTheTotal) {
  Show();
  EnterTwoLineInvoice();
  dialogs_.Answer(Answer::kYes);
  manager_.Action(InvoiceCommand::kDelete)->trigger();
  EXPECT_EQ(dialogs_.Log().back().caption, "Delete Invoice#: 1043");
  EXPECT_EQ(manager_.Frame()->CountText().toStdString(), "Records: 0");
  EXPECT_EQ(manager_.Frame()->Message().toStdString(), "Deleted invoice 1043 containing 2 line item(s).");
  EXPECT_EQ(manager_.ArTotalText().toStdString(), "0.00");
}

TEST_F(InvoiceManagerTest, EveryInvoiceCommandIsAvailable) {
  for (InvoiceCommand command : {InvoiceCommand::kView, InvoiceCommand::kPrint, InvoiceCommand::kBatchPrint,
                                 InvoiceCommand::kRepeatSetup}) {
    EXPECT_TRUE(manager_.Action(command)->isEnabled());
  }
  EXPECT_EQ(manager_.ViewAction(3)->text(), "By Invoice &Date");
}

TEST_F(InvoiceManagerTest, PrintedInvoiceIsAPdfWithItsNumberLinesAndTotals) {
  Show();
  EnterTwoLineInvoice();
  manager_.Action(InvoiceCommand::kPrint)->trigger();

  const std::string message = manager_.Frame()->Message().toStdString();
  EXPECT_TRUE(message.starts_with("Invoice 1043 sent to print queue. Printed to ")) << message;
  EXPECT_TRUE(message.ends_with("Invoice - 1043.pdf")) << message;
  const std::string text = PdfText("Printouts/Invoice - 1043.pdf");
  for (const char* shown : {"INVOICE", "Harbor Supply", "Dockside Marine", "Number: 1043", "Anchor", "Bolt", "2.50",
                            "10.00", "Grand Total:", "13.81", "Balance Due:"}) {
    EXPECT_NE(text.find(shown), std::string::npos) << shown << " in:\n" << text;
  }
  EXPECT_TRUE(model::IsYes(StoredInvoice().PrintedFlag));
}

TEST_F(InvoiceManagerTest, InvoicePrintsAsSoonAsItIsAddedWhenThePrintBoxIsTicked) {
  session_.CurrentCompany.DefaultPrintFlag = true;
  Show();
  EnterTwoLineInvoice();
  const std::string message = manager_.Frame()->Message().toStdString();
  EXPECT_TRUE(message.starts_with("Added invoice 1043 containing 2 line item(s). Printed to ")) << message;
  EXPECT_TRUE(std::filesystem::exists("Printouts/Invoice - 1043.pdf"));
  EXPECT_TRUE(model::IsYes(StoredInvoice().PrintedFlag));
}

TEST_F(InvoiceManagerTest, ViewShowsTheSelectedInvoiceAndAnyKeyClosesIt) {
  Show();
  EnterTwoLineInvoice();
  bool shown = false;
  WhenModalShows([&] {
    Trtedit& view = *manager_.ViewWindow();
    shown = view.isVisible();
    EXPECT_EQ(view.windowTitle().toStdString(), "View Invoice# 1043");
    EXPECT_TRUE(view.Texts().contains("Grand Total:13.81"));
    EXPECT_EQ(view.LineList()->topLevelItemCount(), 2);
    Press(view, Qt::Key_Space);
    EXPECT_FALSE(view.isVisible());
  });
  manager_.Action(InvoiceCommand::kView)->trigger();
  EXPECT_TRUE(shown);
}

TEST_F(InvoiceManagerTest, DepositIsViewedInsteadOfPrinted) {
  model::TransactionRecord deposit{};
  deposit.InvoiceNo = "DP1";
  deposit.TransType = deposit.BodyStyle = "D";
  deposit.CustNo = "C100";
  deposit.TransDate = "12/01/2026";
  deposit.PaidAmount = "50.00";
  {
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    engine::RecordNumber added = 0;
    ASSERT_TRUE(transactions.Open() && transactions.Add(deposit, added));
  }
  Show();
  QString banner;
  WhenModalShows([&] {
    const QStringList texts = manager_.ViewWindow()->Texts();
    banner = texts.filter("DEPOSIT ON ACCOUNT OF").value(0);
    manager_.ViewWindow()->CloseButton()->click();
  });
  manager_.Action(InvoiceCommand::kPrint)->trigger();
  EXPECT_EQ(dialogs_.Log().back().caption, "Deposit Transaction");
  EXPECT_EQ(dialogs_.Log().back().text,
            "This record is a deposit. Unable to print. I am going to use the view option instead.");
  EXPECT_EQ(banner.toStdString(), "DEPOSIT ON ACCOUNT OF 50.00. (A zero amount indicates deposit has been offset).");
  EXPECT_FALSE(std::filesystem::exists("Printouts"));
}

TEST_F(InvoiceManagerTest, BatchPrintAsksAndPrintsEveryInvoiceNotPrintedYet) {
  Show();
  EnterTwoLineInvoice();
  dialogs_.Answer(Answer::kYes);
  manager_.Action(InvoiceCommand::kBatchPrint)->trigger();
  EXPECT_EQ(dialogs_.Texts().back(), "Batch Print complete. 1 invoices sent to spooler.");
  EXPECT_TRUE(manager_.Frame()->Message().startsWith("Batch Print complete. 1 invoices sent to spooler. Printed to "));
  EXPECT_TRUE(std::filesystem::exists("Printouts/Invoice - 1043.pdf"));

  manager_.Action(InvoiceCommand::kBatchPrint)->trigger();
  EXPECT_EQ(dialogs_.Log().back().caption, "Batch Print");
  EXPECT_EQ(dialogs_.Log().back().text, "There are no invoices to print.");
}

TEST_F(InvoiceManagerTest, HelpOfEachWindowOpensItsTopic) {
  platform::qt::HelpKey helpKey{help_};
  for (auto [window, keyword] : {std::pair<QWidget*, const char*>{&manager_, "InvoiceManager"},
                                 {manager_.EntryWindow(), "NewInvoice"},
                                 {manager_.QuickViewWindow(), "InvoiceManager"},
                                 {manager_.ViewWindow(), "ViewInvoice"}}) {
    help_.topics.clear();
    testing::PressF1(window);
    EXPECT_EQ(help_.topics, std::vector<std::string>{keyword});
  }
}

}  // namespace
}  // namespace invoicing::ui
