// books_bench: what a user waits for on a company with a million transactions. Builds
// the company once (bench/books_company.h) and keeps it in a cache folder, then times
// the windows' and runs' logic on a copy of it: the median of several runs of each,
// against the time a user will put up with, with the heap each needed at its peak.
// Exit status 0 when every target is met, 1 when one is not, 2 when it could not run.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/books_company.h"
#include "bench/heap_meter.h"
#include "bench/machine_limits.h"
#include "platform/quiet_dialogs.h"
#include "books/aging.h"
#include "books/integrity.h"
#include "documents/label_queue.h"
#include "files/table.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_entry.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/payments.h"
#include "invoicing/repeat_billing.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/keys.h"
#include "model/side_files.h"
#include "model/text.h"
#include "reports/report_generators.h"
#include "reports/report_grid.h"
#include "reports/statement.h"
#include "shell/customers.h"
#include "shell/startup.h"

namespace bench::books {
namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

constexpr int kPageBuffers = 30;
constexpr int kVisibleRows = 25;  // the rows a manager window shows when it opens
constexpr int kBrowserRows = 50;  // the rows its data source holds, as the manager frame asks
constexpr double kMiB = 1024.0 * 1024.0;

struct Options {
  fs::path cache;
  CompanyShape shape;
  int runs = 5;
  int longRuns = 3;
  std::string only;  // times only the rows whose name holds this, for profiling one
  bool help = false;
};

std::string UsageText() {
  return "usage: books_bench [--cache DIR] [--runs N] [--only WORDS] [--transactions N] [--customers N]\n"
         "Builds a company of 10,000 customers and 1,000,000 transactions once (kept in DIR,\n"
         "by default $HOME/.cache/quillary-bench/books-v<version>), then times on a copy of it\n"
         "what a user waits for: the median of N runs (5; the long runs 3), with peak heap.\n"
         "--only times just the rows whose name holds WORDS (to profile one); --transactions and\n"
         "--customers build (and keep) a company of another size.\n"
         "Exit status 0 when every target is met, 1 otherwise, 2 when it could not run.\n";
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    const bool valued = i + 1 < argc;
    if (word == "--help" || word == "-h") {
      options.help = true;
    } else if (word == "--cache" && valued) {
      options.cache = argv[++i];
    } else if (word == "--runs" && valued) {
      options.runs = std::max(1, std::atoi(argv[++i]));
      options.longRuns = std::min(options.longRuns, options.runs);
    } else if (word == "--only" && valued) {
      options.only = argv[++i];
    } else if (word == "--transactions" && valued) {
      options.shape.transactions = std::max(1000, std::atoi(argv[++i]));
    } else if (word == "--customers" && valued) {
      options.shape.customers = std::max(kRepeatMasters + 1, std::atoi(argv[++i]));
    } else {
      error = "unknown option or missing value: " + std::string(word);
      return std::nullopt;
    }
  }
  if (options.cache.empty()) {
    const char* home = std::getenv("HOME");
    std::string name = "books-v" + std::to_string(kGeneratorVersion);
    const CompanyShape standard;
    if (options.shape.transactions != standard.transactions || options.shape.customers != standard.customers) {
      name += "-" + std::to_string(options.shape.customers) + "-" + std::to_string(options.shape.transactions);
    }
    options.cache = fs::path(home != nullptr ? home : "/tmp") / ".cache" / "quillary-bench" / name;
  }
  return options;
}

// --- The company and its copies -----------------------------------------------------

bool EnsureCompany(const Options& options, CompanySize& size) {
  if (ReadCompanySize(options.cache, options.shape, size)) return true;
  std::fprintf(stderr, "Building the bench company in %s (this takes many minutes)...\n", options.cache.c_str());
  std::error_code error;
  fs::remove_all(options.cache, error);
  const fs::path building = options.cache.string() + ".building";
  fs::remove_all(building, error);
  if (!BuildCompany(building, options.shape, size)) return false;
  fs::rename(building, options.cache, error);
  if (error) {
    std::fprintf(stderr, "books_bench: cannot move the company to %s\n", options.cache.c_str());
    return false;
  }
  std::fprintf(stderr, "Built in %.0f s.\n", size.buildSeconds);
  return true;
}

// A fresh copy of the cached company, where the timed runs change what they like.
class WorkingCopy {
 public:
  explicit WorkingCopy(fs::path cache) : cache_(std::move(cache)) {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "books-bench-XXXXXX").string();
    if (!error && mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~WorkingCopy() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  WorkingCopy(const WorkingCopy&) = delete;
  WorkingCopy& operator=(const WorkingCopy&) = delete;

  // Replaces whatever is in the copy with the cached company.
  bool Refresh() const {
    if (path_.empty()) return false;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(path_, error)) fs::remove_all(entry.path(), error);
    fs::copy(cache_, path_, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    return !error;
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path cache_;
  fs::path path_;
};

// The program's state while it works in the copy: the engine, the ports, the company.
class Session {
 public:
  Session() : clock_(kBenchToday), services_{engine_, dialogs_, progress_, clock_, session_} {
    engine_.InitEngine(kPageBuffers);
  }
  ~Session() { engine_.ExitEngine(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Reads the current company as the program does at start-up.
  bool Start() {
    return model::ReadLastCompany(session_.CurrentCompany) && shell::RereadCurrentCompany(services_) &&
           session_.CurrentCompany.CompanyNo.str() == kCompanyNo;
  }
  const files::Services& services() const { return services_; }
  platform::QuietDialogs& dialogs() { return dialogs_; }

 private:
  engine::Engine engine_;
  platform::QuietDialogs dialogs_;
  platform::SilentProgress progress_;
  platform::FixedClock clock_;
  model::CompanySession session_;
  files::Services services_;
};

// --- Timing ---------------------------------------------------------------------------

struct Measured {
  double milliseconds = 0;
  std::size_t peakHeap = 0;  // above what was in use when the run began
  bool ok = true;
};

Measured TimeOnce(const std::function<bool()>& work) {
  const std::size_t before = heap::InUse();
  heap::ResetPeak();
  const auto start = SteadyClock::now();
  const bool ok = work();
  Measured measured;
  measured.milliseconds = std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
  measured.peakHeap = heap::Peak() - before;
  measured.ok = ok;
  return measured;
}

struct Row {
  std::string name;
  double targetMilliseconds;
  int runs;
  // Untimed preparation before each run (a fresh copy, open files); false stops the row.
  std::function<bool(int run)> prepare;
  std::function<bool(int run)> work;
  std::function<void()> finish;  // untimed, after each run
};

std::string TimeText(double milliseconds) {
  char text[32];
  if (milliseconds >= 1000) {
    std::snprintf(text, sizeof text, "%.2f s", milliseconds / 1000);
  } else {
    std::snprintf(text, sizeof text, "%.2f ms", milliseconds);
  }
  return text;
}

// Times a row and prints its line; false when it is not met.
bool RunRow(const Row& row) {
  std::vector<double> times;
  std::size_t peak = 0;
  bool ok = true;
  std::fprintf(stderr, "  timing %s...\n", row.name.c_str());
  for (int run = 0; run < row.runs && ok; ++run) {
    if (row.prepare && !row.prepare(run)) {
      ok = false;
      break;
    }
    const Measured measured = TimeOnce([&] { return row.work(run); });
    if (row.finish) row.finish();
    ok = measured.ok;
    times.push_back(measured.milliseconds);
    peak = std::max(peak, measured.peakHeap);
  }
  std::sort(times.begin(), times.end());
  const double median = times.empty() ? 0 : times[times.size() / 2];
  const bool met = ok && median < row.targetMilliseconds;
  std::printf("%-58s %10s  target < %-7s %-8s heap %7.2f MiB  (%zu runs)%s\n", row.name.c_str(),
              TimeText(median).c_str(), TimeText(row.targetMilliseconds).c_str(), met ? "met" : "NOT MET",
              static_cast<double>(peak) / kMiB, times.size(), ok ? "" : "  FAILED");
  std::fflush(stdout);
  return met;
}

// --- What the user waits for ------------------------------------------------------------

// A manager window's file and browser as the window has them after opening.
struct ManagerView {
  std::unique_ptr<files::KeyedFile> file;
  std::unique_ptr<engine::BrowserSource> source;
  std::int32_t count = 0;
  std::int32_t scroll = 0;
};

// What the manager frame does on opening: the file opened, the browser's data source
// over the chosen order filling its first screenful, the scroll bar and the count.
template <class Record>
bool OpenManager(const files::Services& services, files::CompanyFile which, engine::KeyNumber order, Record& record,
                 std::function<std::string()> buildRow, ManagerView& view) {
  view.file = KeptFile(services, which);
  if (!view.file->Open()) return false;
  view.source = view.file->BrowserOver(order, engine::RecordBytes(record), kBrowserRows);
  view.source->OnBuildRow = [buildRow = std::move(buildRow)](engine::RowRec& row) {
    row.elements.assign(1, row.readStatus == 0 ? buildRow() : std::string("****"));
    return 0;
  };
  view.source->SetVisibleRows(kVisibleRows);
  if (engine::Failed(view.source->First())) return false;
  view.source->ScrollPosition(view.scroll);
  view.count = order == 0 ? view.file->UsedRecords() : view.file->KeysInIndex(order);
  return true;
}

class Timings {
 public:
  Timings(const fs::path& cache, const CompanySize& size, const Options& options)
      : copy_(cache), size_(size), options_(options) {}

  int Run() {
    if (copy_.path().empty() || !Fresh()) {
      std::fprintf(stderr, "books_bench: cannot copy the company to a working folder\n");
      return 2;
    }
    bool allMet = true;
    for (const Row& row : Rows()) {
      if (row.name.find(options_.only) != std::string::npos) allMet = RunRow(row) && allMet;
    }
    const std::vector<std::string>& problems = session_->dialogs().problems;
    for (std::size_t i = 0; i < problems.size() && i < 10; ++i) std::printf("told: %s\n", problems[i].c_str());
    session_.reset();
    fs::current_path(startedIn_);
    return allMet ? 0 : 1;
  }

 private:
  const files::Services& services() const { return session_->services(); }
  const model::CompanyRecord& company() const { return services().session.CurrentCompany; }
  model::DateOrder order() const { return services().session.DateOrder(); }

  // A fresh copy of the company, and a program started in it.
  bool Fresh() {
    session_.reset();
    fs::current_path(startedIn_);
    if (!copy_.Refresh()) return false;
    fs::current_path(copy_.path());
    session_ = std::make_unique<Session>();
    return session_->Start();
  }

  std::vector<Row> Rows() {
    const int runs = options_.runs;
    const int longRuns = options_.longRuns;
    return {
        {"invoice manager: first page shown after opening", 50, runs, nullptr,
         [this](int) { return OpenInvoiceManager(); }, [this] { CloseViews(); }},
        {"customer manager: first page shown after opening", 50, runs, nullptr,
         [this](int) { return OpenCustomerManager(); }, [this] { CloseViews(); }},
        {"storing a 5-line invoice", 5, runs, [this](int run) { return PrepareInvoice(run); },
         [this](int) { return StoreInvoice(); }, [this] { CloseInvoiceFiles(); }},
        {"posting a payment over 3 invoices", 10, runs, [this](int run) { return PreparePayment(run); },
         [this](int) { return PostPreparedPayment(); }, [this] { CloseInvoiceFiles(); }},
        {"aging run over every customer", 2000, longRuns, nullptr,
         [this](int) { return ::books::RunAging(services(), false).ran; }, nullptr},
        {"Invoice Register for one year, generated and sorted", 1000, runs, nullptr,
         [this](int) { return InvoiceRegister(); }, nullptr},
        {"statement of a customer with " + std::to_string(size_.statementRecords) + " records, built", 100, runs,
         nullptr, [this](int) { return StatementOfBusyCustomer(); }, nullptr},
        {"repeat billing run over 1,000 due masters", 2000, longRuns, [this](int run) { return run == 0 || Fresh(); },
         [this](int) { return RepeatRun(); }, nullptr},
        {"books-integrity check of the whole company", 10000, longRuns, nullptr,
         [this](int) { return CheckBooks(); }, nullptr},
        {"rebuild of the transaction file set", 60000, longRuns, nullptr, [this](int) { return RebuildTransactions(); },
         nullptr},
    };
  }

  void CloseViews() {
    for (ManagerView* view : {&invoiceView_, &detailView_, &memoView_, &customerView_}) {
      view->source.reset();
      if (view->file) view->file->Close();
      view->file.reset();
    }
  }

  // Tinvlist::FormShow: the invoice file in invoice-number order, its detail and memo
  // files, then the browser moved to the invoice saved last.
  bool OpenInvoiceManager() {
    if (!OpenManager(services(), files::CompanyFile::kTransactions, model::transaction_key::kInvoiceNo, invoiceRow_,
                     [this] { return invoicing::InvoiceRow(invoiceRow_); }, invoiceView_)) {
      return false;
    }
    for (auto [view, which] : {std::pair{&detailView_, files::CompanyFile::kDetails},
                               std::pair{&memoView_, files::CompanyFile::kMemos}}) {
      view->file = KeptFile(services(), which);
      if (!view->file->Open()) return false;
    }
    const auto last = invoicing::FindInvoice(*invoiceView_.file, company().LastSavedInvoiceNo.str());
    if (!last) return false;
    const engine::KeyString key = model::BuildKey(last->record, model::transaction_key::kInvoiceNo);
    if (engine::Failed(invoiceView_.source->PositionAtKey(key, last->number))) return false;
    invoiceView_.source->ScrollPosition(invoiceView_.scroll);
    invoiceView_.count = invoiceView_.file->KeysInIndex(model::transaction_key::kInvoiceNo);
    return true;
  }

  // TCustManager::FormShow: the customer file in name order.
  bool OpenCustomerManager() {
    return OpenManager(services(), files::CompanyFile::kCustomers, model::customer_key::kName, customerRow_,
                       [this] { return shell::CustomerRow(customerRow_); }, customerView_);
  }

  // The invoice manager's files, open as while its window is. Opened and closed around
  // each run: a file is opened for exclusive use, so nothing else could open it meanwhile.
  bool OpenInvoiceFiles() {
    transactions_ = KeptFile(services(), files::CompanyFile::kTransactions);
    details_ = KeptFile(services(), files::CompanyFile::kDetails);
    memos_ = KeptFile(services(), files::CompanyFile::kMemos);
    return transactions_->Open() && details_->Open() && memos_->Open();
  }
  void CloseInvoiceFiles() {
    for (auto* file : {&transactions_, &details_, &memos_}) {
      if (*file) (*file)->Close();
      file->reset();
    }
  }

  std::optional<model::CustomerRecord> CustomerNumbered(std::string_view number) {
    files::KeyedFile customers = services().FileOf(files::CompanyFile::kCustomers);
    model::CustomerRecord customer{};
    engine::RecordNumber slot = 0;
    if (!customers.Open() || !shell::FindCustomerByNumber(customers, number, slot, customer)) return std::nullopt;
    return customer;
  }

  // The entry window's form of a new five-line invoice for one of the customers.
  bool PrepareInvoice(int run) {
    if (!OpenInvoiceFiles()) return false;
    const auto customer = CustomerNumbered(std::to_string(10500 + run));
    if (!customer) return false;
    const model::Date today = model::TodayOf(services().clock);
    invoiceForm_ = invoicing::NewInvoiceForm(company(), model::FormatDisplayDate(today, order()));
    invoiceForm_.number = invoicing::NewInvoiceNumber(company(), today);
    invoiceForm_.customer = *customer;
    invoiceForm_.terms = customer->Terms.str();
    invoiceForm_.calcTax = true;
    files::KeyedFile products = services().FileOf(files::CompanyFile::kProducts);
    if (!products.Open()) return false;
    const files::Table<model::ProductRecord> table(products);
    int row = 0;
    table.ForEach(model::product_key::kCode, [&](const files::Row<model::ProductRecord>& product) {
      ++row;
      invoicing::FillFromProduct(invoiceForm_.Line(row), product.record, std::to_string(row));
      invoicing::ExtendLine(invoiceForm_.Line(row));
      return row < 5;
    });
    invoicing::ComputeTotals(invoiceForm_, company());
    return row == 5;
  }

  bool StoreInvoice() {
    invoicing::InvoiceFiles files{*transactions_, *details_, *memos_};
    return invoicing::AddInvoice(services(), files, invoiceForm_, labelQueue_).added;
  }

  static bool OwesOnInvoice(const invoicing::PaymentLine& line) {
    using invoicing::TransactionType;
    const TransactionType type = invoicing::TypeOf(line.source->record);
    return line.amount > model::Money() && (type == TransactionType::kInvoice ||
                                            type == TransactionType::kPartlyPaid ||
                                            type == TransactionType::kGenerated);
  }

  // The payment wizard with a customer chosen and three of its open invoices moved to
  // the posted list; each run takes the next customer who owes on three.
  bool PreparePayment(int run) {
    if (!OpenInvoiceFiles()) return false;
    if (run == 0) nextPayer_ = 2000 % size_.customers;
    for (; nextPayer_ < size_.customers; ++nextPayer_) {
      const std::int64_t index = nextPayer_;
      const auto customer = CustomerNumbered(std::to_string(10001 + index));
      if (!customer) continue;
      invoicing::PaymentLists lists =
          invoicing::ListsForCustomer(*transactions_, *customer, order(), services().dialogs);
      std::vector<invoicing::PaymentLine> chosen;
      for (const invoicing::PaymentLine& line : lists.open) {
        if (OwesOnInvoice(line)) chosen.push_back(line);
        if (chosen.size() == 3) break;
      }
      if (chosen.size() < 3) continue;
      lists.posted = chosen;
      payment_ = {customer->CustNo.str(), model::FormatDisplayDate(model::TodayOf(services().clock), order()),
                  model::FormatMoney(invoicing::PostedSum(lists), "0.00"), "Check", chosen};
      ++nextPayer_;
      return true;
    }
    std::fprintf(stderr, "books_bench: no customer with three open invoices found\n");
    return false;
  }

  bool PostPreparedPayment() {
    return invoicing::PostPayment(services(), *transactions_, payment_).result == invoicing::PostResult::kPosted;
  }

  // The report wizard's Invoice Register over last year, sorted on its second column
  // with sub-totals, as the report window shows it.
  bool InvoiceRegister() {
    const reports::ReportKind* kind = nullptr;
    for (const reports::ReportKind& candidate : reports::AllReports()) {
      if (candidate.id == reports::ReportId::kInvoiceRegister) kind = &candidate;
    }
    const int year = kBenchToday.year - 1;
    const reports::DateRange range{model::FormatDisplayDate({year, 1, 1}, order()),
                                   model::FormatDisplayDate({year, 12, 31}, order())};
    std::optional<reports::Report> report = reports::GenerateReport(services(), *kind, range);
    if (!report || !reports::SortOnColumn(*kind, report->table, 2)) return false;
    registerRows_ = reports::WithTotals(*kind, report->table, true).size();
    return registerRows_ > 0;
  }

  bool StatementOfBusyCustomer() {
    const auto customer = CustomerNumbered(size_.statementCustomer);
    if (!customer) return false;
    const std::optional<reports::Statement> statement =
        reports::BuildStatement(services(), *customer, reports::Activity::kAll);
    return statement.has_value();
  }

  // The repeat billing wizard: the search through today, then Create over all found.
  bool RepeatRun() {
    CloseInvoiceFiles();
    if (!OpenInvoiceFiles()) return false;
    const std::string through = model::FormatDisplayDate(model::TodayOf(services().clock), order());
    const invoicing::RepeatSearch search = invoicing::SearchRepeatBillings(services(), *transactions_, through);
    if (search.due.size() < static_cast<std::size_t>(kRepeatMasters)) return false;
    invoicing::InvoiceFiles files{*transactions_, *details_, *memos_};
    const invoicing::RepeatOutcome outcome =
        invoicing::CreateRepeatInvoices(services(), files, search.due, {through, "Monthly Service"});
    CloseInvoiceFiles();
    return outcome.ran && outcome.generated == kRepeatMasters;
  }

  bool CheckBooks() {
    CloseInvoiceFiles();
    const ::books::BooksCheck check = ::books::CheckBooks(services());
    return check.readAll;
  }

  // Maintenance's rebuild of one file set: closed first, rebuilt with every index.
  bool RebuildTransactions() {
    CloseInvoiceFiles();
    files::KeyedFile transactions = services().FileOf(files::CompanyFile::kTransactions);
    return transactions.Rebuild();
  }

  WorkingCopy copy_;
  const CompanySize size_;
  const Options options_;
  const fs::path startedIn_ = fs::current_path();
  std::unique_ptr<Session> session_;
  model::TransactionRecord invoiceRow_{};
  model::CustomerRecord customerRow_{};
  ManagerView invoiceView_, detailView_, memoView_, customerView_;
  std::unique_ptr<files::KeyedFile> transactions_, details_, memos_;
  invoicing::InvoiceForm invoiceForm_;
  invoicing::Payment payment_;
  documents::LabelQueue labelQueue_;
  std::size_t registerRows_ = 0;
  std::int64_t nextPayer_ = 0;
};

void PrintHeader(const Options& options, const CompanySize& size) {
  std::printf("Books benchmark: what a user waits for (median of %d runs, %d for the long ones)\n", options.runs,
              options.longRuns);
  std::printf("machine: %s\n", MachineDescription().c_str());
  std::printf("company: %lld customers, %lld transactions, %lld detail lines; built in %.0f s, kept in %s\n",
              static_cast<long long>(size.customers), static_cast<long long>(size.transactions),
              static_cast<long long>(size.detailLines), size.buildSeconds, options.cache.c_str());
  std::printf("today is %04d-%02d-%02d for every run; the runs work on a copy of the company, each repeat billing "
              "run on a fresh one\n\n",
              kBenchToday.year, kBenchToday.month, kBenchToday.day);
  std::fflush(stdout);
}

}  // namespace
}  // namespace bench::books

int main(int argc, char** argv) {
  using namespace bench::books;
  std::string error;
  const std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "books_bench: %s\n%s", error.c_str(), UsageText().c_str());
    return 2;
  }
  if (options->help) {
    std::printf("%s", UsageText().c_str());
    return 0;
  }
  CompanySize size;
  if (!EnsureCompany(*options, size)) return 2;
  PrintHeader(*options, size);
  Timings timings(options->cache, size, *options);
  return timings.Run();
}
