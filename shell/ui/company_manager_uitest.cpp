#include "shell/ui/company_manager.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "engine/test_support.h"
#include "engine/ui/fvc_browser.h"
#include "files/testing/company_folder.h"
#include "model/keys.h"
#include "platform/testing/fake_desktop.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/companies.h"
#include "shell/ui/company_options.h"
#include "shell/ui/headers_dialog.h"
#include "shell/ui/manager_frame.h"
#include "shell/ui/testing/window_fixture.h"

namespace shell::ui {
namespace {


using platform::Answer;
using files::testing::NamedCompany;

model::CompanyRecord Numbered(std::string_view name, std::string_view number) {
  model::CompanyRecord company = NamedCompany(name);
  company.CompanyNo = number;
  return company;
}

// Options whose check boxes and radio pairs are not all alike, so a control read
// into the wrong field shows.
model::CompanyRecord MixedOptions() {
  model::CompanyRecord company = Numbered("Harbor Supply", "1");
  company.CoAddr3 = "Pier 3";
  company.TaxRate = "8.125";
  company.DefaultTerms = "Due on Receipt";
  company.DefaultBodyStyle = "M";
  company.DateOrder = "D";
  company.EnvAddress = "S";
  company.EnvOrientation = "P";
  company.PrintHorizontalLines = false;
  company.PrintShading = true;
  model::SetYes(company.BatchToLabelQueue, true);
  model::SetYes(company.OmitCompanyOnForms, true);
  company.InvoiceCopies = "4";
  company.LogoFile = "logo.bmp";
  company.SalesMsg2 = "Thank you!";
  company.TotalAR = "812.40";
  company.LastAgingDate = "12/01/2026";
  company.StatementCaption = "ACCOUNT";
  company.DefaultStatementNote = "Please pay promptly";
  return company;
}

class CompanyManagerTest : public shell::testing::WindowFixture {
 protected:
  CompanyManagerTest() { engine_.InitEngine(30); }

  // Runs `step` once the next modal window is up.
  static void WhenModal(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

  TCoManager& ShowManager() {
    manager_.show();
    return manager_;
  }
  QStringList Rows() const {
    QStringList rows;
    const engine::BrowserSource* source = manager_.Frame()->Browser()->DataSource();
    for (int i = 0; source != nullptr && i < source->RowCount(); ++i) {
      rows.append(QString::fromStdString(source->Row(i).elements.at(0)));
    }
    return rows;
  }
  // A company numbered after those on file, added to the manager's open list.
  CompanyEdit AddBehindTheWindow(std::string_view name) {
    CompanyEdit edit = BeginNewCompany(manager_.Frame()->File(), session_.CurrentCompany);
    CompanyOptions options = OptionsOf(edit.record);
    options.CName = name;
    EXPECT_TRUE(SaveCompany(manager_.Frame()->File(), dialogs_, options, edit));
    return edit;
  }
  // Read through the manager's file while it is open (files are opened exclusively).
  model::CompanyRecord StoredCompany(engine::RecordNumber number) {
    files::KeyedFile list(engine_, dialogs_, progress_, files::DescribeFile(files::CompanyFile::kCompanyList));
    const bool ownList = !manager_.Frame()->IsOpen();
    if (ownList) {
      EXPECT_TRUE(list.Open());
    }
    model::CompanyRecord company{};
    engine_.GetRecord((ownList ? list : manager_.Frame()->File()).Block(), number, engine::RecordBytes(company));
    return company;
  }

  platform::SilentProgress progress_;
  TCoManager manager_{services_};
};

TEST_F(CompanyManagerTest, NoAltKeyIsTakenTwice) {
  std::map<QString, QString> taken;  // key → the button that has it
  for (QAbstractButton* button : manager_.findChildren<QAbstractButton*>()) {
    const QString key = QKeySequence::mnemonic(button->text()).toString();
    if (button->window() != &manager_ || key.isEmpty()) continue;
    const auto [earlier, added] = taken.emplace(key, button->text());
    EXPECT_TRUE(added) << key.toStdString() << ": " << earlier->second.toStdString() << " and "
                       << button->text().toStdString();
  }
  EXPECT_EQ(taken.size(), 10u);
}

TEST_F(CompanyManagerTest, OpensOnAFolderWithoutACompanyListByCreatingIt) {
  dialogs_.Answer(Answer::kOk);
  ShowManager();
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "New Company");
  EXPECT_EQ(dialogs_.Log()[0].text, "I am going to create a new, empty company file.");
  EXPECT_TRUE(manager_.Frame()->IsOpen());
  EXPECT_EQ(manager_.Frame()->CountText(), "Companies: 0");
  EXPECT_TRUE(std::filesystem::exists("Company.DAT"));
  manager_.CloseButton()->click();
  EXPECT_FALSE(manager_.Frame()->IsOpen());
  EXPECT_EQ(manager_.result(), QDialog::Rejected);
}

TEST_F(CompanyManagerTest, RefusedCreationMeansTheManagerDoesNotShowAndTheProgramEnds) {
  dialogs_.Answer(Answer::kCancel);
  bool mustEnd = false;
  QObject::connect(&manager_, &TCoManager::programMustEnd, [&mustEnd] { mustEnd = true; });
  EXPECT_EQ(manager_.exec(), QDialog::Rejected);
  EXPECT_EQ(dialogs_.Texts().back(), "Unable to open company database");
  EXPECT_FALSE(manager_.isVisible());
  EXPECT_TRUE(mustEnd);
}

TEST_F(CompanyManagerTest, ListsTheCompaniesInTheChosenOrder) {
  files::testing::WriteCompanyFolder(Numbered("Zephyr Imports", "1"), Numbered("Zephyr Imports", "1"));
  ShowManager();
  AddBehindTheWindow("Anchor Ltd");
  manager_.Frame()->Refresh();
  EXPECT_EQ(manager_.Frame()->CountText(), "Companies: 2");
  EXPECT_EQ(manager_.Frame()->Browser()->Header(), QString::fromStdString(CompanyBrowserHeader()));
  ASSERT_EQ(Rows().size(), 2);
  EXPECT_TRUE(Rows()[0].startsWith("Zephyr Imports"));
  manager_.ByName()->click();
  EXPECT_TRUE(Rows()[0].startsWith("Anchor Ltd"));
}

TEST_F(CompanyManagerTest, RefusedNumberTakesTheUserToItsFieldOnItsTab) {
  files::testing::WriteCompanyFolder(Numbered("Harbor Supply", "1"), Numbered("Harbor Supply", "1"));
  session_.CurrentCompany = MixedOptions();
  ShowManager();
  QString tabShown;
  bool focused = false;
  WhenModal([&] {
    TCoOptions* options = manager_.OptionsDialog();
    options->PageControl1()->setCurrentIndex(options->PageControl1()->count() - 1);
    auto* quantity = options->findChild<QLineEdit*>("DefInvQuan");
    quantity->setText("-5x");
    options->SaveButton()->click();
    tabShown = options->PageControl1()->tabText(options->PageControl1()->currentIndex());
    focused = options->focusWidget() == quantity;
    options->CancelButton()->click();
  });
  manager_.AddButton()->click();
  EXPECT_EQ(tabShown, "Invoice Options");
  EXPECT_TRUE(focused);
  EXPECT_EQ(dialogs_.Log().back().caption, "Default Invoice Quantity");
  EXPECT_EQ(manager_.Frame()->CountText(), "Companies: 1");
}

TEST_F(CompanyManagerTest, AddedCompanyIsShownInTheBrowser) {
  files::testing::WriteCompanyFolder(Numbered("Harbor Supply", "1"), Numbered("Harbor Supply", "1"));
  session_.CurrentCompany = MixedOptions();
  ShowManager();
  QString offeredNumber;
  bool numberEnabled = false;
  WhenModal([&] {
    TCoOptions* options = manager_.OptionsDialog();
    QLineEdit* number = options->findChild<QLineEdit*>("CoNumb");
    offeredNumber = number->text();
    numberEnabled = number->isEnabled();
    options->findChild<QLineEdit*>("CName")->setText("Bay Traders");
    options->SaveButton()->click();
  });
  manager_.AddButton()->click();
  EXPECT_EQ(offeredNumber, "2");
  EXPECT_TRUE(numberEnabled);
  EXPECT_EQ(manager_.Frame()->CountText(), "Companies: 2");
  EXPECT_TRUE(Rows().contains(QString::fromStdString(CompanyBrowserRow(manager_.OptionsDialog()->Edit().record))));
  const model::CompanyRecord& stored = manager_.OptionsDialog()->Edit().record;
  EXPECT_EQ(stored.CompanyName.str(), "Bay Traders");
  EXPECT_EQ(stored.DateOrder.str(), "M");   // a new company's value
  EXPECT_EQ(stored.EnvAddress.str(), "S");  // kept from the current one
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(CompanyManagerTest, OptionsAreCaptionedEditCompanyWhenEditing) {
  files::testing::WriteCompanyFolder(Numbered("Harbor Supply", "1"), Numbered("Harbor Supply", "1"));
  session_.CurrentCompany = Numbered("Harbor Supply", "1");
  ShowManager();
  QStringList captions;
  const auto noteCaptionAndCancel = [&] {
    captions << manager_.OptionsDialog()->windowTitle();
    manager_.OptionsDialog()->CancelButton()->click();
  };
  for (QPushButton* button : {manager_.EditButton(), manager_.AddButton(), manager_.EditButton()}) {
    WhenModal(noteCaptionAndCancel);
    button->click();
  }
  EXPECT_EQ(captions, (QStringList{"Edit Company", "Company Options", "Edit Company"}));
}

TEST_F(CompanyManagerTest, DuplicateNumberKeepsTheOptionsOpenWithWhatWasTyped) {
  files::testing::WriteCompanyFolder(Numbered("Harbor Supply", "1"), Numbered("Harbor Supply", "1"));
  session_.CurrentCompany = Numbered("Harbor Supply", "1");
  ShowManager();
  bool stillOpen = false;
  WhenModal([&] {
    TCoOptions* options = manager_.OptionsDialog();
    options->findChild<QLineEdit*>("CoNumb")->setText("1");
    options->findChild<QLineEdit*>("CName")->setText("Bay Traders");
    options->SaveButton()->click();
    stillOpen = options->isVisible() && options->findChild<QLineEdit*>("CName")->text() == "Bay Traders";
    options->CancelButton()->click();
  });
  manager_.AddButton()->click();
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"Add operation failed"}));
  EXPECT_EQ(manager_.Frame()->CountText(), "Companies: 1");
}

TEST_F(CompanyManagerTest, EditingSavesEveryControlBackToItsOwnField) {
  const model::CompanyRecord company = MixedOptions();
  files::testing::WriteCompanyFolder(company, company);
  session_.CurrentCompany = company;
  ShowManager();
  dialogs_.Answer(Answer::kOk);  // "logo.bmp" is not there; the background is not either
  WhenModal([&] { manager_.OptionsDialog()->SaveButton()->click(); });
  manager_.EditButton()->click();
  EXPECT_EQ(dialogs_.Texts(), (std::vector<std::string>{"Background bitmap image no longer exists. Use the "
                                                        "Graphics tab to select another bitmap if desired."}));
  EXPECT_TRUE(manager_.CurrentCompanyEdited());
  manager_.CloseButton()->click();
  const model::CompanyRecord stored = StoredCompany(1);
  EXPECT_EQ(std::memcmp(&stored, &company, sizeof company), 0);
}

TEST_F(CompanyManagerTest, EveryControlTakesAsManyCharactersAsItsField) {
  TCoOptions& options = *manager_.OptionsDialog();
  for (const auto& control : CompanyTextControls()) {
    QLineEdit* edit = TextEditNamed(options, control.name);
    ASSERT_NE(edit, nullptr) << control.name;
    EXPECT_EQ(edit->maxLength(), control.capacity) << control.name;
    EXPECT_EQ(qobject_cast<const QRegularExpressionValidator*>(edit->validator()) != nullptr, control.digitsOnly)
        << control.name;
  }
  for (const auto& control : CompanyCheckControls()) {
    EXPECT_NE(options.findChild<QAbstractButton*>(QString::fromUtf8(control.name)), nullptr) << control.name;
  }
  for (const auto& control : HeaderTextControls()) {
    QLineEdit* edit = TextEditNamed(*options.HeadersDialog(), control.name);
    ASSERT_NE(edit, nullptr) << control.name;
    EXPECT_EQ(edit->maxLength(), control.capacity) << control.name;
  }
  QStringList tabs;
  for (int i = 0; i < options.PageControl1()->count(); ++i) tabs.append(options.PageControl1()->tabText(i));
  EXPECT_EQ(tabs, (QStringList{"Address/Taxes", "Invoice Options", "General", "Forms Setup", "Sales Message",
                               "System Graphics", "Envelopes"}));
}

TEST_F(CompanyManagerTest, HeadersAreKeptOnlyWhenTheOptionsAreSaved) {
  const model::CompanyRecord company = Numbered("Harbor Supply", "1");
  files::testing::WriteCompanyFolder(company, company);
  session_.CurrentCompany = Numbered("Other", "9");
  ShowManager();
  for (const bool save : {false, true}) {
    WhenModal([&] {
      TCoOptions* options = manager_.OptionsDialog();
      WhenModal([options] {
        TextEditNamed(*options->HeadersDialog(), "InvCapData")->setText("BILL");
        options->HeadersDialog()->OKButton()->click();
      });
      options->HeadersButton()->click();
      (save ? options->SaveButton() : options->CancelButton())->click();
    });
    manager_.EditButton()->click();
    EXPECT_EQ(StoredCompany(1).InvoiceCaption.str(), save ? "BILL" : "INVOICE");
  }
  EXPECT_FALSE(manager_.CurrentCompanyEdited());
}

TEST_F(CompanyManagerTest, SetAsDefaultReturnsTheChosenCompany) {
  files::testing::WriteCompanyFolder(Numbered("Harbor Supply", "1"), Numbered("Harbor Supply", "1"));
  session_.CurrentCompany = Numbered("Harbor Supply", "1");
  ShowManager();
  const CompanyEdit edit = AddBehindTheWindow("Bay Traders");
  manager_.Frame()->PositionOn(edit.number, model::BuildKey(edit.record, model::company_key::kNumber));

  manager_.SetDefaultButton()->click();
  EXPECT_EQ(manager_.result(), QDialog::Accepted);
  EXPECT_FALSE(manager_.isVisible());
  EXPECT_FALSE(manager_.Frame()->IsOpen());
  EXPECT_EQ(manager_.ChosenCompany().CompanyName.str(), "Bay Traders");
  EXPECT_EQ(manager_.ChosenCompany().CompanyNo.str(), "2");
}

TEST_F(CompanyManagerTest, EachWindowOpensItsOwnHelpTopic) {
  manager_.HelpButton()->click();
  manager_.OptionsDialog()->HelpButton()->click();
  manager_.OptionsDialog()->HeadersDialog()->HelpButton()->click();
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"CompanyManager", "CompanyOptions", "HeadersFontsColors"}));
}

}  // namespace
}  // namespace shell::ui
