#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/table.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/ui/invoice_manager.h"
#include "invoicing/ui/repeat_form.h"
#include "invoicing/ui/select_repeat.h"
#include "invoicing/ui/testing/invoice_window_fixture.h"
#include "invoicing/ui/testing/keyboard.h"
#include "platform/qt/help_key.h"
#include "shell/customers.h"
#include "shell/ui/manager_frame.h"

namespace invoicing::ui {
namespace {

using testing::Click;
using testing::Settle;
using testing::WhenModalShows;

using Texts = std::vector<std::string>;

const char* const kIntervalMissing = "You must enter the number of days/months in order to generate invoices.";

// Harbor Supply with invoice 1043 of Dockside Marine for 100.00, dated 11/08/2026.
class RepeatWindowTest : public testing::InvoiceWindowFixture {
 protected:
  void SetUp() override {
    WriteHarborSupply();
    AddDocksideMarine();
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    files::KeyedFile details = services_.FileOf(files::CompanyFile::kDetails);
    files::KeyedFile memos = services_.FileOf(files::CompanyFile::kMemos);
    for (files::KeyedFile* file : {&transactions, &details, &memos}) ASSERT_TRUE(file->Create() && file->Open());
    InvoiceFiles files{transactions, details, memos};
    InvoiceForm form;
    form.number = "1043";
    form.date = "11/08/2026";
    form.customer = Customer();
    form.net = form.total = "100.00";
    form.tax = form.paid = "0.00";
    form.Line(1) = GridLine{"SV", "1", "Monthly service visit", "100.00", "N", "100.00"};
    const AddOutcome added = AddInvoice(services_, files, form, labelQueue_);
    ASSERT_TRUE(added.added);
    invoice_ = added.number;
  }
  void TearDown() override { EXPECT_TRUE(dialogs_.AllAnswersUsed()); }

  // Makes 1043 a master due on `nextDue` without a window.
  void MakeMaster(const model::Date& nextDue) {
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    files::KeyedFile details = services_.FileOf(files::CompanyFile::kDetails);
    files::KeyedFile memos = services_.FileOf(files::CompanyFile::kMemos);
    ASSERT_TRUE(transactions.Open() && details.Open() && memos.Open());
    InvoiceFiles files{transactions, details, memos};
    const model::TransactionRecord header = Stored(transactions, invoice_);
    ASSERT_TRUE(StoreRepeatMaster(services_, files, invoice_, header, {1, true, nextDue}));
  }

  static model::TransactionRecord Stored(files::KeyedFile& transactions, files::RecordNumber slot) {
    return files::Table<model::TransactionRecord>(transactions).Read(slot).value();
  }
  model::TransactionRecord Stored(std::string_view number) {
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    EXPECT_TRUE(transactions.Open());
    const auto found = FindInvoice(transactions, number);
    EXPECT_TRUE(found) << number;
    return found ? found->record : model::TransactionRecord{};
  }

  files::RecordNumber invoice_ = 0;
};

// --- TRepeatForm -------------------------------------------------------------------

class RepeatFormTest : public RepeatWindowTest {
 protected:
  // Runs the dialog for 1043 as a new master; `steps` act once it is up, then OK.
  std::optional<RepeatSchedule> Run(const std::function<void(TRepeatForm&)>& steps) {
    const model::TransactionRecord header = Stored("1043");
    WhenModalShows([&] {
      steps(form_);
      if (form_.isVisible()) form_.reject();
    });
    return form_.Execute(header, RepeatSetupStateOf(header, {2026, 12, 8}, model::DateOrder::kMonthFirst));
  }

  TRepeatForm form_{services_};
};

TEST_F(RepeatFormTest, NewMasterWaitsForTheBoxThenChecksEachEntryInTurn) {
  std::vector<std::string> focused;
  const std::optional<RepeatSchedule> schedule = Run([&](TRepeatForm& form) {
    EXPECT_EQ(form.windowTitle().toStdString(), "Repeat Invoice Setup");
    EXPECT_EQ(form.EndDate()->text().toStdString(), "12/08/2026");  // the invoice's date + 1 month
    EXPECT_EQ(form.NumDays()->text().toStdString(), "1");
    EXPECT_TRUE(form.RBMonths()->isChecked());
    EXPECT_FALSE(form.CheckBox1()->isChecked());
    EXPECT_FALSE(form.NumDays()->isEnabled());
    EXPECT_FALSE(form.OKButton()->isEnabled());
    EXPECT_TRUE(form.Panel2()->isVisible());
    EXPECT_EQ(form.Label8()->text().toStdString(), "");

    Click(form.CheckBox1());
    EXPECT_TRUE(form.NumDays()->isEnabled());
    EXPECT_TRUE(form.OKButton()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), form.NumDays());

    for (const char* interval : {"", "x"}) {
      form.NumDays()->setText(interval);
      Click(form.OKButton());
      EXPECT_TRUE(form.isVisible());
    }
    form.NumDays()->setText("3");
    form.EndDate()->setText("02/30/2027");
    Click(form.OKButton());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), form.EndDate());

    form.EndDate()->setText("01/31/2027");
    Click(form.RBDays());
    Click(form.OKButton());
    EXPECT_FALSE(form.isVisible());
  });
  EXPECT_EQ(dialogs_.Texts(),
            (Texts{kIntervalMissing, "You must enter a valid NUMBER of days/months.", "You must enter a valid date."}));
  EXPECT_EQ(dialogs_.Log()[2].caption, "Start Date");
  ASSERT_TRUE(schedule);
  EXPECT_EQ(schedule->interval, 3);
  EXPECT_FALSE(schedule->months);
  EXPECT_EQ(schedule->nextDue, (model::Date{2027, 1, 31}));
}

TEST_F(RepeatFormTest, MasterThatHasCreatedInvoicesShowsTheirCountInsteadOfTheBox) {
  model::TransactionRecord master = Stored("1043");
  master.TransType = "R";
  master.RepeatCycle = "D";
  master.RepeatInterval = "14";
  master.RepeatCount = "5";
  master.NextDueDate = "01/31/2027";
  session_.CurrentCompany.DateOrder = "D";
  WhenModalShows([this] {
    EXPECT_TRUE(form_.CheckBox1()->isChecked());
    EXPECT_FALSE(form_.CheckBox1()->isEnabled());
    EXPECT_FALSE(form_.Panel2()->isVisible());
    EXPECT_TRUE(form_.NumDays()->isEnabled());
    EXPECT_TRUE(form_.RBDays()->isChecked());
    EXPECT_EQ(form_.EndDate()->text().toStdString(), "31/01/2027");
    EXPECT_EQ(form_.Label8()->text().toStdString(), "Invoices Generated to Date: 5");
    form_.reject();
  });
  EXPECT_FALSE(form_.Execute(master, RepeatSetupStateOf(master, {2026, 12, 8}, model::DateOrder::kDayFirst)));
}

// --- Tinvlist's command ------------------------------------------------------------

TEST_F(RepeatWindowTest, InvoiceManagerMakesTheCurrentInvoiceAMaster) {
  Tinvlist manager(services_);
  manager.show();
  Settle();
  EXPECT_EQ(manager.ArTotalText().toStdString(), "100.00");
  WhenModalShows([&manager] {
    TRepeatForm& form = *manager.RepeatWindow();
    Click(form.CheckBox1());
    Click(form.OKButton());
    if (form.isVisible()) form.reject();
  });
  manager.Action(InvoiceCommand::kRepeatSetup)->trigger();
  Settle();
  EXPECT_EQ(manager.ArTotalText().toStdString(), "0.00");
  const model::TransactionRecord master =
      files::Table<model::TransactionRecord>(manager.Frame()->File()).Read(invoice_).value();
  EXPECT_EQ(master.TransType.str() + "|" + master.NextDueDate.str() + "|" + master.RepeatCount.str(),
            "R|12/08/2026|0");
  manager.reject();
}

TEST_F(RepeatWindowTest, InvoiceManagerRefusesAPaidInvoiceBeforeTheDialog) {
  {
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    ASSERT_TRUE(transactions.Open());
    model::TransactionRecord paid = Stored(transactions, invoice_);
    paid.PaidAmount = "10.00";
    ASSERT_TRUE(transactions.Update(invoice_, paid));
  }
  Tinvlist manager(services_);
  manager.show();
  Settle();
  manager.Action(InvoiceCommand::kRepeatSetup)->trigger();
  Settle();
  EXPECT_FALSE(manager.RepeatWindow()->isVisible());
  ASSERT_EQ(dialogs_.Log().size(), 1u);
  EXPECT_EQ(dialogs_.Log()[0].caption, "Payment Acivity");
  manager.reject();
}

// --- TSelectRepeat ------------------------------------------------------------------

class SelectRepeatTest : public RepeatWindowTest {
 protected:
  void Show() {
    wizard_.show();
    Settle();
  }
  TSelectRepeat wizard_{services_};
};

TEST_F(SelectRepeatTest, OpensOnTodayWithNothingToCreate) {
  session_.CurrentCompany.LastRepeatDate = "11/01/2026";
  Show();
  EXPECT_EQ(wizard_.windowTitle().toStdString(), "Repeat Billing Wizard");
  EXPECT_EQ(wizard_.EndDate()->text().toStdString(), "12/08/2026");
  EXPECT_EQ(wizard_.NewInvDate()->text().toStdString(), "12/08/2026");
  EXPECT_EQ(wizard_.InvComm()->text().toStdString(), "Monthly Service");
  EXPECT_EQ(wizard_.InvComm()->maxLength(), 60);
  EXPECT_EQ(wizard_.Label3()->text().toStdString(), "Last generated invoices were dated: 11/01/2026");
  EXPECT_FALSE(wizard_.CreateBtn()->isEnabled());
  EXPECT_TRUE(wizard_.RichEdit1()->toPlainText().isEmpty());

  // 1043 is an invoice, not a master: nothing is due.
  Click(wizard_.SearchBtn());
  EXPECT_EQ(dialogs_.Texts(), Texts{"There are no repeat billings due through the date you selected."});
  EXPECT_FALSE(wizard_.CreateBtn()->isEnabled());
  EXPECT_EQ(wizard_.Label3()->text().toStdString(), "There are 0 invoices selected totaling 0.00.");
  EXPECT_EQ(QApplication::focusWidget(), wizard_.ExitButn());
}

TEST_F(SelectRepeatTest, SearchListsTheDueMasterAndCreateRunsAndCloses) {
  MakeMaster({2026, 12, 1});
  Show();
  wizard_.EndDate()->setText("12/05/2026");
  Click(wizard_.SearchBtn());
  EXPECT_TRUE(dialogs_.Log().empty());
  EXPECT_EQ(wizard_.RichEdit1()->toPlainText().toStdString(),
            "1043      DMarine          100.00 12/01/2026 C100          0");
  EXPECT_EQ(wizard_.Headings()->text().toStdString(), DueListHeading());
  EXPECT_EQ(wizard_.Label3()->text().toStdString(), "There are 1 invoices selected totaling 100.00.");
  EXPECT_EQ(wizard_.NewInvDate()->text().toStdString(), "12/05/2026");
  EXPECT_TRUE(wizard_.CreateBtn()->isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), wizard_.InvComm());

  wizard_.InvComm()->setText("December service");
  Click(wizard_.CreateBtn());
  EXPECT_EQ(dialogs_.Texts(), Texts{"1 invoices were generated. 1 Monthly Setups and 0 Daily Setups."});
  EXPECT_EQ(dialogs_.Log()[0].caption, "Operation Complete!");
  EXPECT_EQ(wizard_.result(), QDialog::Accepted);
  EXPECT_FALSE(wizard_.isVisible());
  EXPECT_EQ(wizard_.Label3()->text().toStdString(), "Complete.");
  EXPECT_EQ(wizard_.ProgressBar1()->value(), 1);

  const model::TransactionRecord generated = Stored("1043G1");
  EXPECT_EQ(generated.TransDate.str() + "|" + generated.InvNotes.str(), "12/05/2026|December service");
  EXPECT_EQ(Stored("1043").NextDueDate.str(), "01/01/2027");
  EXPECT_EQ(session_.CurrentCompany.TotalAR.str(), "100.00");
  EXPECT_EQ(session_.CurrentCompany.LastRepeatDate.str(), "12/05/2026");
}

TEST_F(SelectRepeatTest, InvoiceDateThatDoesNotReadKeepsTheWizardOpen) {
  MakeMaster({2026, 12, 1});
  Show();
  Click(wizard_.SearchBtn());
  wizard_.NewInvDate()->setText("12/45/2026");
  Click(wizard_.CreateBtn());
  EXPECT_EQ(dialogs_.Texts(), Texts{"You must enter a valid date."});
  EXPECT_TRUE(wizard_.isVisible());
  EXPECT_TRUE(wizard_.CreateBtn()->isEnabled());
  EXPECT_EQ(wizard_.Label3()->text().toStdString(), "There are 1 invoices selected totaling 100.00.");
  EXPECT_EQ(Stored("1043").NextDueDate.str(), "12/01/2026");
  wizard_.reject();
}

TEST_F(SelectRepeatTest, HelpOfEachWindowOpensItsTopic) {
  platform::qt::HelpKey helpKey{help_};
  TRepeatForm form(services_);
  for (auto [window, keyword] :
       {std::pair<QWidget*, const char*>{&wizard_, "GetRepeat"}, {&form, "SetRepeat"}}) {
    help_.topics.clear();
    testing::PressF1(window);
    EXPECT_EQ(help_.topics, std::vector<std::string>{keyword});
  }
  help_.topics.clear();
  wizard_.HelpBtn()->click();
  form.HelpButton()->click();
  EXPECT_EQ(help_.topics, (std::vector<std::string>{"GetRepeat", "SetRepeat"}));
}

}  // namespace
}  // namespace invoicing::ui
