// quillary-books killed in the middle of billing the repeat billings: whatever it had
// written, the next start rebuilds the files it left open, the check either finds the
// books balanced or lists what differs, and repair makes the kept figures agree again.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "books/integrity.h"
#include "books/testing/books_balance.h"
#include "engine/engine.h"
#include "files/company_files.h"
#include "invoicing/invoice_books.h"
#include "files/table.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/testing/temp_folder.h"
#include "tools/cli/books_command.h"
#include "tools/console_dialogs.h"
#include "tools/data_folder.h"
#include "tools/demo_company.h"

namespace tools {
namespace {

constexpr int kRuns = 12;
constexpr int kMasters = 120;  // so that most of a run is spent writing

// Runs `work` with `folder` as the working directory and an engine of its own, as the
// program does; the dialogs say yes to rebuilding what a killed run left open.
template <class Work>
void InFolder(const std::filesystem::path& folder, Work work) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  engine::Engine engine;
  engine.InitEngine(30);
  std::ostringstream messages;
  ConsoleDialogs dialogs(messages);
  platform::SilentProgress progress;
  platform::FixedClock clock({2026, 12, 8, 23, 0, 0});
  model::CompanySession session;
  work(files::Services{engine, dialogs, progress, clock, session});
  engine.ExitEngine();
  std::filesystem::current_path(previous);
}

// Starts the command line's repeat run on `folder`, its output thrown away.
pid_t StartRepeat(const std::filesystem::path& folder) {
  const pid_t child = fork();
  if (child == 0) {
    const int nowhere = open("/dev/null", O_WRONLY);
    dup2(nowhere, STDOUT_FILENO);
    dup2(nowhere, STDERR_FILENO);
    execl(QY_BOOKS_PROGRAM, "quillary-books", folder.c_str(), "repeat", "--through", "2027-06-30", "--reference",
          "Killed run", static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

std::chrono::microseconds WholeRunTime(const std::filesystem::path& demo) {
  const platform::testing::TempDir folder;
  std::filesystem::copy(demo, folder.path(), std::filesystem::copy_options::recursive);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  waitpid(StartRepeat(folder.path()), &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kBooksDone);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

// Makes the first kMasters invoices nobody has paid on into monthly repeat billings
// due now, as the repeat set-up does.
void AddRepeatMasters(const files::Services& services) {
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  files::KeyedFile details = services.FileOf(files::CompanyFile::kDetails);
  files::KeyedFile memos = services.FileOf(files::CompanyFile::kMemos);
  ASSERT_TRUE(transactions.Open() && details.Open() && memos.Open());
  std::vector<files::Row<model::TransactionRecord>> unpaid;
  files::Table<model::TransactionRecord>(transactions).ForEachRecord([&](const auto& row) {
    if (row.record.TransType == "I" && model::ReadMoney(row.record.PaidAmount) == model::Money()) unpaid.push_back(row);
    return unpaid.size() < kMasters;
  });
  invoicing::InvoiceFiles files{transactions, details, memos};
  for (const auto& row : unpaid) {
    ASSERT_TRUE(invoicing::StoreRepeatMaster(services, files, row.number, row.record, {1, true, {2026, 12, 1}}));
  }
}

// The invoices the killed run had written.
int InvoicesOfTheRun(const files::Services& services) {
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  int written = 0;
  if (!transactions.Open()) return -1;
  files::Table<model::TransactionRecord>(transactions).ForEachRecord([&](const auto& row) {
    written += row.record.InvNotes == "Killed run";
    return true;
  });
  return written;
}

bool AnyRepairable(const books::BooksCheck& check) {
  return std::any_of(check.findings.begin(), check.findings.end(),
                     [](const books::Finding& finding) { return books::IsRepairable(finding.kind); });
}

// The company's A/R total, the customers' balances and the open balances due agree.
void ExpectBooksBalance(const files::Services& services) {
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  ASSERT_TRUE(customers.Open() && transactions.Open());
  const model::Money total = books::testing::AmountOf(services.session.CurrentCompany.TotalAR);
  books::testing::ExpectBooksBalance(customers, transactions, total, total);
}

TEST(BooksCrashTest, RepeatKilledAnywhereLeavesBooksThatCheckAndRepair) {
  const platform::testing::TempDir demo;
  InFolder(demo.path(), [](const files::Services& services) {
    ASSERT_EQ(SetUpDataFolder(services.engine, services.dialogs).error, "");
    ASSERT_TRUE(BuildDemoCompany(services).problems.empty());
    AddRepeatMasters(services);
  });
  const std::chrono::microseconds whole = WholeRunTime(demo.path());
  std::mt19937 random(20261208);
  std::uniform_int_distribution<long long> when(0, whole.count());
  int cutShort = 0;
  for (int run = 0; run < kRuns; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const platform::testing::TempDir folder;
    std::filesystem::copy(demo.path(), folder.path(), std::filesystem::copy_options::recursive);
    const pid_t child = StartRepeat(folder.path());
    std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    InFolder(folder.path(), [&cutShort](const files::Services& services) {
      ASSERT_TRUE(SelectCompany(services, ""));
      const int written = InvoicesOfTheRun(services);
      cutShort += written > 0 && written < kMasters;
      const books::BooksCheck check = books::CheckBooks(services);
      ASSERT_TRUE(check.readAll) << check.failure;
      if (AnyRepairable(check)) {
        const books::RepairResult repair = books::RepairBooks(services, check);
        ASSERT_EQ(repair.failure, "");
      }
      const books::BooksCheck after = books::CheckBooks(services);
      ASSERT_TRUE(after.readAll) << after.failure;
      EXPECT_FALSE(AnyRepairable(after)) << after.findings.front().sentence;
      ExpectBooksBalance(services);
    });
  }
  // The delays are random, but most of a run is writing: some runs die part-way.
  EXPECT_GT(cutShort, 0);
}

}  // namespace
}  // namespace tools
