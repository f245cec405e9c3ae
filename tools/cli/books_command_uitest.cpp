#include "tools/cli/books_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

#include "engine/engine.h"
#include "model/company_session.h"
#include "files/company_files.h"
#include "files/table.h"
#include "model/field_values.h"
#include "model/whole_file.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/qt/single_instance.h"
#include "platform/testing/temp_folder.h"
#include "tools/console_dialogs.h"
#include "tools/data_folder.h"
#include "tools/demo_company.h"

namespace tools {
namespace {

std::optional<BooksCommand> Parsed(std::vector<std::string> words, std::string* error = nullptr) {
  std::string ignored;
  return ParseBooksCommand(words, error ? *error : ignored);
}

TEST(BooksCommandLine, ReadsTheFolderTheCompanyTheCommandAndItsOptions) {
  const auto command = Parsed({"/data", "--company", "2", "repeat", "--through", "2026-12-31", "--reference", "Dec"});
  ASSERT_TRUE(command);
  EXPECT_EQ(command->dataFolder, "/data");
  EXPECT_EQ(command->company, "2");
  EXPECT_EQ(command->name, "repeat");
  EXPECT_EQ(command->Option("--through"), "2026-12-31");
  EXPECT_EQ(command->Option("--reference"), "Dec");
  EXPECT_FALSE(command->Has("--invoice-date"));

  const auto statements = Parsed({"/data", "statements", "--unpaid", "--selection", "90", "--pdf", "out"});
  ASSERT_TRUE(statements);
  EXPECT_TRUE(statements->Has("--unpaid"));
  EXPECT_EQ(Parsed({"/data", "report", "Tax Report", "--from", "a", "--to", "b", "--csv", "f"})->arguments,
            std::vector<std::string>{"Tax Report"});
  EXPECT_EQ(Parsed({"/data", "check", "--help"})->name, "help");
}

TEST(BooksCommandLine, RefusesWhatIsNoCommandAndSaysWhy) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{}, "Name a data folder and a command."},
      {{"/data"}, "Name a command: check, repair, age, repeat, statements, report or backup."},
      {{"/data", "audit"}, "There is no command \"audit\"."},
      {{"/data", "repeat"}, "The repeat command needs --through."},
      {{"/data", "age", "--as-of"}, "--as-of needs a value."},
      {{"/data", "check", "--fast"}, "The check command has no --fast."},
      {{"/data", "backup"}, "The backup command takes 1 word(s) besides its options."},
      {{"/data", "--company"}, "--company needs a company number."},
  };
  for (const auto& [words, reason] : cases) {
    std::string error;
    EXPECT_FALSE(Parsed(words, &error));
    EXPECT_EQ(error, reason);
  }
}

TEST(BooksCommandLine, DatesAreReadIsoOrInTheCompanysOrder) {
  EXPECT_EQ(CompanyDateText("2026-12-08", model::DateOrder::kMonthFirst), "12/08/2026");
  EXPECT_EQ(CompanyDateText("2026-12-08", model::DateOrder::kDayFirst), "08/12/2026");
  EXPECT_EQ(CompanyDateText("12/08/2026", model::DateOrder::kMonthFirst), "12/08/2026");
  EXPECT_EQ(CompanyDateText("2026-13-40", model::DateOrder::kMonthFirst), std::nullopt);
  EXPECT_EQ(CompanyDateText("soon", model::DateOrder::kMonthFirst), std::nullopt);
}

// The demo company in a folder of its own, and the command's services over it.
class BooksCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.InitEngine(30);
    ASSERT_EQ(SetUpDataFolder(engine_, dialogs_).error, "");
    ASSERT_TRUE(BuildDemoCompany(Services()).problems.empty());
  }
  void TearDown() override { engine_.ExitEngine(); }

  files::Services Services() { return {engine_, dialogs_, progress_, clock_, session_}; }

  int Run(std::vector<std::string> words) {
    words.insert(words.begin(), std::filesystem::current_path().string());
    std::string error;
    const std::optional<BooksCommand> command = ParseBooksCommand(words, error);
    EXPECT_TRUE(command) << error;
    if (!command || !SelectCompany(Services(), command->company)) return kBooksFailed;
    return RunBooksCommand(*command, Services(), queue_, out_);
  }

  platform::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  std::ostringstream messages_;
  ConsoleDialogs dialogs_{messages_};
  platform::SilentProgress progress_;
  platform::FixedClock clock_{{2026, 12, 8, 22, 0, 0}};
  model::CompanySession session_;
  documents::LabelQueue queue_;
  std::ostringstream out_;
};

TEST_F(BooksCommandTest, AgeStoresTheAgingAndPrintsTheCompanyTotal) {
  EXPECT_EQ(Run({"age"}), kBooksDone);
  const std::string total = model::AmountText(session_.CurrentCompany.TotalAR);
  EXPECT_NE(out_.str().find("Total A/R:"), std::string::npos);
  EXPECT_NE(out_.str().find(total), std::string::npos) << out_.str();
}

// The demo's books balance; a balance changed behind the program's back is found,
// repaired after a backup, and then they balance again.
TEST_F(BooksCommandTest, CheckFindsAPlantedDifferenceAndRepairMendsIt) {
  EXPECT_EQ(Run({"check"}), kBooksDone) << out_.str();
  EXPECT_NE(out_.str().find("balance."), std::string::npos);
  {
    files::KeyedFile customers = Services().FileOf(files::CompanyFile::kCustomers);
    ASSERT_TRUE(customers.Open());
    files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
      if (model::AmountText(row.record.Balance) == "0.00") return true;
      model::CustomerRecord changed = row.record;
      changed.Balance = "1.00";
      EXPECT_TRUE(customers.Update(row.number, changed));
      return false;
    });
  }
  out_.str("");
  EXPECT_EQ(Run({"check"}), kBooksDiffer);
  EXPECT_NE(out_.str().find("balance 1.00"), std::string::npos) << out_.str();
  out_.str("");
  EXPECT_EQ(Run({"repair"}), kBooksDone) << out_.str() << messages_.str();
  EXPECT_NE(out_.str().find("Backups"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists("Backups"));
  EXPECT_EQ(Run({"check"}), kBooksDone);
}

// As of today the past-day aging gives the stored totals; it writes nothing.
TEST_F(BooksCommandTest, AgeAsOfTodayPrintsTheSameTotalsAndAnEarlierDayLess) {
  ASSERT_EQ(Run({"age"}), kBooksDone);
  const std::string stored = out_.str();
  const std::string storedTotal = stored.substr(stored.find("Total A/R:"));
  out_.str("");
  EXPECT_EQ(Run({"age", "--as-of", "2026-12-08"}), kBooksDone);
  EXPECT_NE(out_.str().find("Aging as of 12/08/2026"), std::string::npos);
  EXPECT_NE(out_.str().find(storedTotal), std::string::npos) << out_.str();
  out_.str("");
  EXPECT_EQ(Run({"age", "--as-of", "2025-09-01"}), kBooksDone);
  EXPECT_EQ(out_.str().find(storedTotal), std::string::npos);
  EXPECT_EQ(Run({"age", "--as-of", "yesterday"}), kBooksUsage);
}

TEST_F(BooksCommandTest, ReportWritesTheCsvFileAndAnUnknownReportIsNamed) {
  EXPECT_EQ(Run({"report", "invoice-register", "--from", "2026-01-01", "--to", "2026-12-31", "--csv", "inv.csv"}),
            kBooksDone);
  std::string csv;
  ASSERT_TRUE(model::ReadWholeFile("inv.csv", csv));
  EXPECT_GT(std::count(csv.begin(), csv.end(), '\n'), 10);
  EXPECT_EQ(Run({"report", "Profit", "--from", "2026-01-01", "--to", "2026-12-31", "--csv", "p.csv"}), kBooksUsage);
  EXPECT_NE(messages_.str().find("There is no report \"Profit\""), std::string::npos);
}

TEST_F(BooksCommandTest, StatementsArePdfFilesInTheFolderAsked) {
  EXPECT_EQ(Run({"statements", "--selection", "90", "--unpaid", "--pdf", "out"}), kBooksDone);
  std::size_t pdfs = 0;
  for (const auto& entry : std::filesystem::directory_iterator("out")) pdfs += entry.path().extension() == ".pdf";
  EXPECT_GT(pdfs, 0u);
  EXPECT_FALSE(std::filesystem::exists("Printouts"));
}

TEST_F(BooksCommandTest, RepeatCreatesTheDueInvoicesOnce) {
  EXPECT_EQ(Run({"repeat", "--through", "2026-12-31", "--reference", "December"}), kBooksDone);
  EXPECT_NE(out_.str().find("invoice(s) generated"), std::string::npos) << out_.str();
  out_.str("");
  EXPECT_EQ(Run({"repeat", "--through", "2026-12-08"}), kBooksDone);
  EXPECT_EQ(out_.str().find("invoice(s) generated"), std::string::npos) << out_.str();
  EXPECT_EQ(Run({"repeat", "--through", "someday"}), kBooksUsage);
}

TEST_F(BooksCommandTest, BackupCopiesTheDataFilesAndAnUnknownCompanyIsRefused) {
  const platform::testing::TempDir elsewhere;
  EXPECT_EQ(Run({"backup", elsewhere.path().string()}), kBooksDone);
  EXPECT_TRUE(std::filesystem::exists(elsewhere.path() / "2C.DAT"));
  EXPECT_EQ(Run({"backup", "inside"}), kBooksFailed);
  EXPECT_EQ(Run({"--company", "9", "age"}), kBooksFailed);
  EXPECT_NE(messages_.str().find("There is no company 9"), std::string::npos);
}

// The program itself: --help, and a folder the program has open.
int Program(const std::string& arguments) {
  const int status = std::system((std::string(QY_BOOKS_PROGRAM) + " " + arguments + " >out.txt 2>err.txt").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(BooksCommandTest, TheProgramExplainsItselfAndLeavesAFolderInUseAlone) {
  EXPECT_EQ(Program("--help"), kBooksDone);
  std::string help;
  ASSERT_TRUE(model::ReadWholeFile("out.txt", help));
  for (const char* command : {"check", "repair", "age", "repeat", "statements", "report", "backup"}) {
    EXPECT_NE(help.find(std::string("  ") + command), std::string::npos) << command;
  }
  EXPECT_EQ(Program("."), kBooksUsage);

  const std::string folder = std::filesystem::current_path().string();
  platform::qt::SingleInstance running(QString::fromStdString(folder));
  ASSERT_TRUE(running.Lock());
  EXPECT_EQ(Program(folder + " age"), kBooksFolderInUse);
  std::string error;
  ASSERT_TRUE(model::ReadWholeFile("err.txt", error));
  EXPECT_NE(error.find("open"), std::string::npos);
}

}  // namespace
}  // namespace tools
