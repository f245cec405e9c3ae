#include "shell/ui/product_manager.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "engine/test_support.h"
#include "engine/ui/fvc_browser.h"
#include "files/company_files.h"
#include "files/testing/company_folder.h"
#include "platform/testing/fake_desktop.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/ui/find_box.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/product_edit.h"
#include "shell/ui/product_list_window.h"
#include "shell/ui/testing/window_fixture.h"

namespace shell::ui {
namespace {


using platform::Answer;

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

class ProductManagerTest : public shell::testing::WindowFixture {
 protected:
  ProductManagerTest() {
    engine_.InitEngine(30);
    session_.CurrentCompany = files::testing::NamedCompany("Harbor Supply");
    session_.CurrentCompany.CompanyNo = "1";
  }

  // A product file holding these (code, description) pairs.
  void MakeProducts(std::initializer_list<std::pair<const char*, const char*>> products) {
    platform::SilentProgress progress;
    files::KeyedFile file(engine_, dialogs_, progress, files::DescribeFile(files::CompanyFile::kProducts, "1"));
    ASSERT_TRUE(file.Create());
    ASSERT_TRUE(file.Open());
    for (const auto& [code, description] : products) {
      model::ProductRecord product{};
      product.ProductCode = code;
      product.ProdDesc = description;
      product.UnitPrice = "2.50";
      product.SetupDate = "01/02/2026";
      engine::RecordNumber added = 0;
      ASSERT_TRUE(file.Add(product, added));
    }
  }
  TProdManager& Show() {
    manager_.show();
    Settle();
    return manager_;
  }
  // Runs `fill` on the edit dialog once it is up, while `command` holds it open.
  void WithEditDialog(ProductCommand command, const std::function<void(TEditProduct&)>& fill) {
    QTimer::singleShot(0, [this, fill] { fill(*manager_.EditDialog()); });
    manager_.Action(command)->trigger();
  }
  std::string CurrentRow() {
    const engine::BrowserSource* source = manager_.Frame()->Browser()->DataSource();
    return source->CurrentRow() < 0 ? std::string() : source->Row(source->CurrentRow()).elements.at(0);
  }

  TProdManager manager_{services_};
};

TEST_F(ProductManagerTest, EmptyCompanyGetsANewProductFileAfterTheNotice) {
  dialogs_.Answer(Answer::kOk);
  Show();
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "New Company");
  EXPECT_EQ(dialogs_.Log()[0].text, "I am going to create a new, empty product file for this company.");
  EXPECT_TRUE(manager_.Frame()->IsOpen());
  EXPECT_EQ(manager_.Frame()->CountText(), "Products: 0");
  EXPECT_EQ(manager_.Frame()->Browser()->Header().toStdString(), ProductHeader());
  EXPECT_FALSE(manager_.isMaximized());
}

TEST_F(ProductManagerTest, RefusedNoticeEndsTheProgram) {
  bool mustEnd = false;
  QObject::connect(&manager_, &TProdManager::programMustEnd, [&mustEnd] { mustEnd = true; });
  dialogs_.Answer(Answer::kCancel);
  Show();
  EXPECT_TRUE(mustEnd);
  EXPECT_EQ(dialogs_.Log().back().text, "Unable to open database");
  EXPECT_FALSE(manager_.isVisible());
}

TEST_F(ProductManagerTest, AddsAProductThroughItsDialogAfterARefusedCode) {
  MakeProducts({{"A1", "Anchor"}, {"B2", "Bolt"}});
  session_.CurrentCompany.MaxProductWindow = true;
  Show();
  EXPECT_TRUE(manager_.isMaximized());
  EXPECT_EQ(manager_.Frame()->CountText(), "Products: 2");

  bool refusalKeptItOpen = false;
  bool priceRefusalKeptItOpen = false;
  WithEditDialog(ProductCommand::kNew, [&](TEditProduct& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Add Product");
    EXPECT_EQ(dialog.PSell()->text(), "0.00");
    EXPECT_EQ(dialog.SetupDateText(), "Setup Date: 12/08/2026");
    EXPECT_EQ(dialog.LastChangedText(), "Last Changed:");
    dialog.HelpButton()->click();
    dialog.PNum()->setText("b2");
    dialog.PDesc()->setText("Cable");
    dialog.OKButton()->click();
    refusalKeptItOpen = dialog.isVisible();
    dialog.PNum()->setText("c3");
    dialog.PSell()->setText("lots");
    dialog.Taxable()->setChecked(true);
    dialog.OKButton()->click();
    priceRefusalKeptItOpen = dialog.isVisible() && dialog.focusWidget() == dialog.PSell();
    dialog.PSell()->setText("12.5");
    dialog.OKButton()->click();
  });
  EXPECT_TRUE(refusalKeptItOpen);
  EXPECT_TRUE(priceRefusalKeptItOpen);
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"NewProduct"}));
  EXPECT_EQ(dialogs_.Texts(),
            (std::vector<std::string>{
                "This Product Code already exists for: Bolt. Use a different code.",
                "The Sales Price \"lots\" is not an amount. Type it with digits and a decimal point, such as 12.50."}));
  EXPECT_EQ(manager_.Frame()->CountText(), "Products: 3");
  EXPECT_EQ(CurrentRow(), "c3         Cable                                   12.50 12/08/2026");
}

TEST_F(ProductManagerTest, EditKeepsTheSetupDateAndDeleteAsks) {
  MakeProducts({{"A1", "Anchor"}, {"B2", "Bolt"}});
  Show();
  WithEditDialog(ProductCommand::kEdit, [](TEditProduct& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Edit Product");
    EXPECT_EQ(dialog.PNum()->text(), "A1");
    dialog.PDesc()->setText("Anchor, large");
    dialog.OKButton()->click();
  });
  EXPECT_EQ(CurrentRow(), "A1         Anchor, large                            2.50 01/02/2026");

  dialogs_.Answer(Answer::kYes);
  manager_.Action(ProductCommand::kDelete)->trigger();
  EXPECT_EQ(dialogs_.Log().back().caption, "Delete Product Code: A1");
  EXPECT_EQ(manager_.Frame()->CountText(), "Products: 1");
}

TEST_F(ProductManagerTest, DisplayMenuSwitchesTheOrderKeepingTheProduct) {
  MakeProducts({{"A1", "Zinc"}, {"B2", "Bolt"}});
  Show();
  manager_.Action(ProductCommand::kByDescription)->trigger();
  EXPECT_EQ(manager_.Frame()->Order(), 2);
  EXPECT_EQ(CurrentRow().substr(0, 2), "A1");
  manager_.Action(ProductCommand::kByCode)->trigger();
  EXPECT_EQ(manager_.Frame()->Order(), 1);
}

TEST_F(ProductManagerTest, FoundProductBecomesTheCurrentRow) {
  MakeProducts({{"A1", "Anchor"}, {"B2", "Bolt"}, {"C3", "Cable"}});
  Show();
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<shell::ui::TFindBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Find Product");
    box->FindText()->setText("cab");
    box->FindButton()->click();
    ASSERT_EQ(box->ListView1()->topLevelItemCount(), 1);
    box->ListView1()->topLevelItem(0)->setSelected(true);
    box->done(shell::ui::TFindBox::kRowChosen);
  });
  manager_.Action(ProductCommand::kFind)->trigger();
  EXPECT_EQ(CurrentRow().substr(0, 2), "C3");
}

TEST_F(ProductManagerTest, PickerOpensOnTheStartCodeAndHandsTheChosenProductBack) {
  MakeProducts({{"A1", "Anchor"}, {"B2", "Bolt"}, {"C3", "Cable"}});
  manager_.PickProduct("b2");
  Show();
  EXPECT_EQ(CurrentRow().substr(0, 2), "B2");
  EXPECT_EQ(manager_.Frame()->Message(), "Double-click or press <enter> to select.");
  emit manager_.Frame()->rowChosen();
  EXPECT_EQ(manager_.result(), QDialog::Accepted);
  EXPECT_FALSE(manager_.isVisible());
  EXPECT_FALSE(manager_.Frame()->IsOpen());
  EXPECT_EQ(manager_.ChosenProduct().ProdDesc.str(), "Bolt");
}

TEST_F(ProductManagerTest, ProductListShowsTheReportAndSavesItAsRichText) {
  MakeProducts({{"B2", "Anchor"}, {"A1", "Bolt"}});
  Show();
  dialogs_.Answer(Answer::kYes);
  manager_.Action(ProductCommand::kList)->trigger();
  EXPECT_EQ(dialogs_.Log().back().caption, "Product List");
  EXPECT_EQ(dialogs_.Log().back().text,
            "The products will be sorted by description. Would you rather sort by product code?");
  TProdList& list = *manager_.ProductList();
  ASSERT_TRUE(list.isVisible());
  EXPECT_EQ(list.windowTitle(), "Product List by Code");
  const QString shown = list.RichEdit1()->toPlainText();
  EXPECT_TRUE(shown.contains("Product List for Harbor Supply"));
  EXPECT_TRUE(shown.contains("Date: Tuesday, December 8, 2026, 02:05 PM"));
  EXPECT_LT(shown.indexOf("Bolt"), shown.indexOf("Anchor"));

  list.ChooseFont = [](const QFont&) { return QFont("Courier New", 12); };
  list.FontButton()->click();
  QString suggested;
  list.ChooseSaveFile = [&suggested](const QString& name) {
    suggested = name;
    return QString("products.RTF");
  };
  list.SaveButton()->click();
  EXPECT_EQ(suggested, "Product List by Code.RTF");
  QFile saved("products.RTF");
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray rtf = saved.readAll();
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
  EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}"));
  EXPECT_TRUE(rtf.contains("\\b Product List by Code}"));
  EXPECT_EQ(rtf.toStdString(), documents::WriteRtf(list.Document()));
}

TEST_F(ProductManagerTest, PrintoutsGoToAPdfWithoutAPrinter) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed";
  MakeProducts({{"A1", "Anchor"}});
  Show();
  manager_.Action(ProductCommand::kPrintWindow)->trigger();
  EXPECT_TRUE(QFile::exists("Printouts/Product Manager.pdf"));
  EXPECT_TRUE(manager_.Frame()->Message().startsWith("Printed to "));
  dialogs_.Answer(Answer::kNo);
  manager_.Action(ProductCommand::kList)->trigger();
  manager_.ProductList()->PrintButton()->click();
  EXPECT_TRUE(QFile::exists("Printouts/Product List by Description.pdf"));
}

}  // namespace
}  // namespace shell::ui
