#include "bench/books_company.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <queue>
#include <vector>

#include "platform/quiet_dialogs.h"
#include "books/aging.h"
#include "books/integrity.h"
#include "documents/label_queue.h"
#include "files/table.h"
#include "invoicing/invoice_books.h"
#include "invoicing/invoice_entry.h"
#include "invoicing/invoice_manager.h"
#include "invoicing/payments.h"
#include "invoicing/transaction_types.h"
#include "model/company_session.h"
#include "model/keys.h"
#include "model/side_files.h"
#include "model/text.h"
#include "shell/companies.h"
#include "shell/customers.h"
#include "shell/products.h"
#include "shell/startup.h"
#include "tools/data_folder.h"

namespace bench::books {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDaysCovered = 3652;  // ten years
constexpr int kProducts = 60;
constexpr int kMostLines = 9;
constexpr const char* kSizeFileName = "books-bench.size";
// Invoices make about two thirds of the transactions; partial payments, deposits and
// their offsets the rest.
constexpr double kInvoiceShare = 0.64;
// The company's A/R total is kept in ten characters: prices, quantities and the share
// of invoices left unpaid are such that what is owed stays well below 10,000,000.00.
constexpr int kMostQuantity = 4;
constexpr int kLeftUnpaidPercent = 1;
// The statement customer takes one invoice in this many: about a thousand records.
constexpr int kStatementEvery = 1140;

class Random {
 public:
  int Below(int bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(bound));
  }
  int Between(int low, int high) { return low + Below(high - low + 1); }

 private:
  std::uint64_t state_ = 20261201;
};

enum class EventKind { kPayInFull, kPayInPart, kDeposit, kOffsetDeposit };

// A payment the customer makes on a later day of the history.
struct Event {
  int day = 0;
  EventKind kind{};
  int customer = 0;
  std::string invoiceNo;  // kPayInFull, kPayInPart
  int amount = 0;         // kPayInPart: percent; kDeposit: whole currency units
  bool operator>(const Event& other) const { return day > other.day; }
};

std::string CustomerNumberOf(int index) { return std::to_string(10001 + index); }

class Builder {
 public:
  Builder(const files::Services& services, const CompanyShape& shape, platform::QuietDialogs& dialogs)
      : services_(services),
        shape_(shape),
        dialogs_(dialogs),
        invoiceCount_(static_cast<int>(shape.transactions * kInvoiceShare)) {}

  bool Run(CompanySize& size) {
    if (!AddCompany() || !AddCustomers() || !AddProducts()) return Failed("the company, customers or products");
    // The bench company is current only now: its files are named after it.
    transactions_ = KeptFile(services_, files::CompanyFile::kTransactions);
    details_ = KeptFile(services_, files::CompanyFile::kDetails);
    memos_ = KeptFile(services_, files::CompanyFile::kMemos);
    if (!transactions_->Open() || !details_->Open() || !memos_->Open()) {
      return Failed("opening the invoice files");
    }
    AddHistory();
    if (!AddRepeatMasters()) return Failed("the repeat billing masters");
    for (auto* file : {&transactions_, &details_, &memos_}) file->reset();
    ::books::RunAging(services_, false);
    return Balanced() && Measure(size);
  }

 private:
  bool Failed(std::string_view what) const {
    std::fprintf(stderr, "books_bench: building failed at %.*s\n", static_cast<int>(what.size()), what.data());
    for (const std::string& problem : dialogs_.problems) std::fprintf(stderr, "  %s\n", problem.c_str());
    return false;
  }

  model::Date DateOfDay(int day) const { return model::AddDays(today_, day - kDaysCovered); }
  std::string TextOfDay(int day) const {
    return model::FormatDisplayDate(DateOfDay(day), services_.session.DateOrder());
  }

  bool AddCompany() {
    files::KeyedFile list = services_.FileOf(files::CompanyFile::kCompanyList);
    if (!list.Open()) return false;
    shell::CompanyEdit edit = shell::BeginNewCompany(list, services_.session.CurrentCompany);
    shell::CompanyOptions options = shell::OptionsOf(edit.record);
    options.CName = "Bench Wholesale Co.";
    options.CoNumb = kCompanyNo;
    options.CAdd1 = "1 Warehouse Row";
    options.CAdd2 = "Port Haven, ME 04101";
    options.CalcTaxes = true;
    options.TaxCRate = "8.125";
    options.NextIno = "100001";
    options.DFTerms = "Net 30 Days";
    const bool saved = shell::SaveCompany(list, services_.dialogs, options, edit).saved;
    list.Close();
    if (!saved || shell::MakeCompanyCurrent(services_, edit.record).state != shell::StartState::kReady) return false;
    model::SetTodayText(services_.session, services_.clock);
    today_ = model::TodayOf(services_.clock);
    return true;
  }

  shell::CustomerEntry EntryOf(int index) const {
    static constexpr const char* kTerms[] = {"Net 30 Days", "Net 15 Days", "2% 10 Net 30", "Net 45 Days",
                                             "Due Upon Receipt"};
    shell::CustomerEntry entry = shell::NewCustomerEntry(services_.session.CurrentCompany);
    entry.number = CustomerNumberOf(index);
    entry.name = "Customer " + std::to_string(index * 7919 % shape_.customers) + " Trading";
    entry.billing = {std::to_string(1 + index % 900) + " Market Street", "Port Haven, ME 04101", "", ""};
    entry.shipping = entry.billing;
    entry.phone1 = "(207) 555-" + std::to_string(1000 + index % 9000);
    entry.terms = kTerms[index % 5];
    entry.creditLimit = std::to_string(1000 * (1 + index % 20)) + ".00";
    entry.type = index % 2 == 0 ? "Retail" : "Commercial";
    entry.taxExempt = index % 17 == 0 ? "Y" : "N";
    entry.shortName = shell::ShortNameOf(entry.name);
    return entry;
  }

  bool AddCustomers() {
    files::KeyedFile file = services_.FileOf(files::CompanyFile::kCustomers);
    if (!file.Open()) return false;
    for (int index = 0; index < shape_.customers; ++index) {
      model::CustomerRecord customer{};
      engine::RecordNumber number = 0;
      if (!shell::AddCustomer(services_, file, EntryOf(index), customer, number)) return false;
      customers_.push_back(customer);
    }
    std::fprintf(stderr, "  %d customers added\n", shape_.customers);
    return true;
  }

  bool AddProducts() {
    files::KeyedFile file = services_.FileOf(files::CompanyFile::kProducts);
    if (!file.Open()) return false;
    const std::string setUp = TextOfDay(0);
    for (int index = 0; index < kProducts; ++index) {
      const bool taxable = index % 4 != 3;
      char code[16], description[32], price[16];
      std::snprintf(code, sizeof code, "P%d", 1000 + index);
      std::snprintf(description, sizeof description, "Stock item %d", index);
      std::snprintf(price, sizeof price, "%d.%02d", 2 + index * 7 % 38, 10 + index % 90);
      const model::ProductRecord product = shell::NewProduct({code, description, price, taxable, ""}, setUp);
      engine::RecordNumber number = 0;
      if (!shell::AddProduct(file, product, services_.dialogs, number)) return false;
      products_.push_back(product);
    }
    return true;
  }

  // --- The history, day by day ------------------------------------------------------

  void AddHistory() {
    const auto started = Clock::now();
    int nextInvoice = 0;
    for (int day = 0; day < kDaysCovered; ++day) {
      RunEventsThrough(day);
      const int through = static_cast<int>(static_cast<std::int64_t>(invoiceCount_) * (day + 1) / kDaysCovered);
      for (; nextInvoice < through; ++nextInvoice) AddHistoricInvoice(day, nextInvoice);
      if (day % 73 == 72) ReportProgress(day, started);
    }
  }

  void ReportProgress(int day, Clock::time_point started) const {
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const double done = static_cast<double>(day + 1) / kDaysCovered;
    std::fprintf(stderr, "  history %3.0f%%: %d invoices, %d payments posted, %.0f s so far, about %.0f s to go\n",
                 done * 100, invoicesAdded_, paymentsPosted_, seconds, seconds / done - seconds);
  }

  int CustomerFor(int invoiceIndex) {
    if (invoiceIndex % kStatementEvery == 0) return 0;
    return 1 + random_.Below(shape_.customers - 1);
  }

  void AddHistoricInvoice(int day, int invoiceIndex) {
    const int customer = CustomerFor(invoiceIndex);
    const int roll = random_.Below(100);
    const bool paidAtEntry = roll < 45;
    const std::optional<std::string> number = AddInvoiceOf(customer, day, paidAtEntry);
    if (!number) return;
    if (roll >= 45 && roll < 72) Schedule({day + random_.Between(10, 50), EventKind::kPayInFull, customer, *number, 0});
    if (roll >= 72 && roll < 100 - kLeftUnpaidPercent) {
      Schedule({day + random_.Between(10, 40), EventKind::kPayInPart, customer, *number, random_.Between(30, 70)});
    }
    if (invoiceIndex % 33 == 0) {
      Schedule({day + random_.Between(0, 5), EventKind::kDeposit, customer, {}, random_.Between(20, 200)});
    }
  }

  void FillLineItems(invoicing::InvoiceForm& form) {
    const int lineCount = 1 + random_.Below(kMostLines);
    for (int row = 1; row <= lineCount; ++row) {
      const model::ProductRecord& product = products_[static_cast<std::size_t>(random_.Below(kProducts))];
      invoicing::FillFromProduct(form.Line(row), product, std::to_string(1 + random_.Below(kMostQuantity)));
      invoicing::ExtendLine(form.Line(row));
    }
  }

  void FillMemo(invoicing::InvoiceForm& form) {
    const model::CompanyRecord& company = services_.session.CurrentCompany;
    form.kind = invoicing::InvoiceKind::kMemo;
    form.memo = "Services as agreed\nSite visit, labour and materials\nas listed on the work order.";
    form.memoDescription = "Services as described";
    form.memoQuantity = "1";
    const model::Money net = model::Money::FromCents((50 + random_.Below(350)) * 100);
    form.net = model::MoneyText(net);
    const std::optional<model::Decimal> rate = model::ParseDecimal(company.TaxRate.raw());
    form.tax = model::MoneyText(form.calcTax && rate ? net.PercentOf(*rate) : model::Money{});
  }

  invoicing::InvoiceForm FormOf(int customer, int day, bool memo) {
    const model::CompanyRecord& company = services_.session.CurrentCompany;
    const model::CustomerRecord& record = customers_[static_cast<std::size_t>(customer)];
    invoicing::InvoiceForm form = invoicing::NewInvoiceForm(company, TextOfDay(day));
    form.number = invoicing::NewInvoiceNumber(company, DateOfDay(day));
    form.customer = record;
    form.terms = record.Terms.empty() ? company.DefaultTerms.str() : record.Terms.str();
    form.calcTax = !model::IsYes(record.TaxExempt);
    form.keyCode = day % 7 == 0 ? "SEASON" : "None";
    if (memo) {
      FillMemo(form);
    } else {
      FillLineItems(form);
    }
    return form;
  }

  // The invoice's number as filed; nullopt when it was not stored.
  std::optional<std::string> AddInvoiceOf(int customer, int day, bool paidAtEntry, bool memo = false) {
    invoicing::InvoiceForm form = FormOf(customer, day, memo || random_.Below(100) < 12);
    const invoicing::Totals totals = invoicing::ComputeTotals(form, services_.session.CurrentCompany);
    if (paidAtEntry) {
      form.paid = model::MoneyText(totals.total);
      invoicing::ComputeTotals(form, services_.session.CurrentCompany);
    }
    invoicing::InvoiceFiles files = Files();
    const invoicing::AddOutcome added = invoicing::AddInvoice(services_, files, form, labelQueue_);
    if (!added.added) return std::nullopt;
    ++invoicesAdded_;
    lastAdded_ = added;
    const std::string filed = added.header.InvoiceNo.str();
    return std::string(model::TrimBlanks(filed));
  }

  // --- Payments ---------------------------------------------------------------------

  void Schedule(Event event) {
    if (event.day < kDaysCovered) events_.push(std::move(event));
  }

  void RunEventsThrough(int day) {
    while (!events_.empty() && events_.top().day <= day) {
      const Event event = events_.top();
      events_.pop();
      RunEvent(event);
    }
  }

  void RunEvent(const Event& event) {
    switch (event.kind) {
      case EventKind::kPayInFull:
        PayInFull(event);
        break;
      case EventKind::kPayInPart:
        if (PayInPart(event)) {
          Schedule({event.day + random_.Between(15, 45), EventKind::kPayInFull, event.customer, event.invoiceNo, 0});
        }
        break;
      case EventKind::kDeposit:
        if (Deposit(event)) Schedule({event.day + random_.Between(10, 30), EventKind::kOffsetDeposit, event.customer, {}, 0});
        break;
      case EventKind::kOffsetDeposit:
        OffsetDeposit(event);
        break;
    }
  }

  invoicing::PaymentLists ListsOf(int customer) {
    return invoicing::ListsForCustomer(*transactions_, customers_[static_cast<std::size_t>(customer)],
                                       services_.session.DateOrder(), services_.dialogs);
  }

  static std::optional<std::size_t> IndexOfInvoice(const invoicing::PaymentLists& lists, std::string_view number) {
    for (std::size_t i = 0; i < lists.open.size(); ++i) {
      if (model::TrimBlanks(lists.open[i].number) == number) return i;
    }
    return std::nullopt;
  }

  bool Post(const Event& event, const std::vector<invoicing::PaymentLine>& lines, std::string_view notes) {
    invoicing::PaymentLists lists;
    lists.posted = lines;
    const invoicing::Payment payment{CustomerNumberOf(event.customer), TextOfDay(event.day),
                                     model::FormatMoney(invoicing::PostedSum(lists), "0.00"), std::string(notes),
                                     lines};
    const bool posted =
        invoicing::PostPayment(services_, *transactions_, payment).result == invoicing::PostResult::kPosted;
    paymentsPosted_ += posted;
    return posted;
  }

  bool PayInFull(const Event& event) {
    const invoicing::PaymentLists lists = ListsOf(event.customer);
    const auto index = IndexOfInvoice(lists, event.invoiceNo);
    return index && Post(event, {lists.open[*index]}, "Check");
  }

  bool PayInPart(const Event& event) {
    invoicing::PaymentLists lists = ListsOf(event.customer);
    const auto index = IndexOfInvoice(lists, event.invoiceNo);
    if (!index || lists.open[*index].amount < model::Money::FromCents(500)) return false;
    const model::Money part = model::Money::FromCents(lists.open[*index].amount.Cents() / 100 * event.amount);
    invoicing::TakePartialPayment(lists, *index, part);
    return Post(event, lists.posted, "Part payment");
  }

  bool Deposit(const Event& event) {
    invoicing::PaymentLists lists;
    invoicing::AddDepositLine(lists, model::Money::FromCents(event.amount * 100LL), TextOfDay(event.day),
                              services_.session.DateOrder());
    return Post(event, lists.posted, "Deposit received");
  }

  // The customer's deposit against the same amount of its first invoice owing more.
  bool OffsetDeposit(const Event& event) {
    using invoicing::TransactionType;
    invoicing::PaymentLists lists = ListsOf(event.customer);
    const auto deposit = std::find_if(lists.open.begin(), lists.open.end(), [](const auto& line) {
      return invoicing::TypeOf(line.source->record) == TransactionType::kDeposit;
    });
    if (deposit == lists.open.end()) return false;
    const invoicing::PaymentLine taken = *deposit;
    for (std::size_t i = 0; i < lists.open.size(); ++i) {
      const TransactionType type = invoicing::TypeOf(lists.open[i].source->record);
      if (lists.open[i].amount > -taken.amount &&
          (type == TransactionType::kInvoice || type == TransactionType::kPartlyPaid)) {
        invoicing::TakePartialPayment(lists, i, -taken.amount);
        lists.posted.push_back(taken);
        return Post(event, lists.posted, "Deposit applied");
      }
    }
    return false;
  }

  // --- Repeat billing -----------------------------------------------------------------

  // Each on a customer of its own, monthly or every few weeks, and all due by today.
  bool AddRepeatMasters() {
    const int firstDay = kDaysCovered - 40;
    for (int index = 0; index < kRepeatMasters; ++index) {
      const int customer = 1 + index * (shape_.customers - 1) / kRepeatMasters;
      if (!AddInvoiceOf(customer, firstDay, false, index % 2 == 0)) return false;
      const bool monthly = index % 4 != 0;
      const invoicing::RepeatSchedule schedule{monthly ? 1 : 14, monthly, model::AddDays(today_, -(index % 28))};
      invoicing::InvoiceFiles files = Files();
      if (!invoicing::StoreRepeatMaster(services_, files, lastAdded_.number, lastAdded_.header, schedule)) {
        return false;
      }
    }
    std::fprintf(stderr, "  %d repeat billing masters added\n", kRepeatMasters);
    return true;
  }

  // --- The end --------------------------------------------------------------------------

  bool Balanced() const {
    const ::books::BooksCheck check = ::books::CheckBooks(services_);
    if (check.readAll && check.findings.empty()) {
      std::fprintf(stderr, "  the books balance\n");
      return true;
    }
    std::fprintf(stderr, "books_bench: the books do not balance: %s %zu finding(s)\n", check.failure.c_str(),
                 check.findings.size());
    for (std::size_t i = 0; i < check.findings.size() && i < 10; ++i) {
      std::fprintf(stderr, "  %s\n", check.findings[i].sentence.c_str());
    }
    return false;
  }

  bool Measure(CompanySize& size) const {
    files::KeyedFile customers = services_.FileOf(files::CompanyFile::kCustomers);
    files::KeyedFile transactions = services_.FileOf(files::CompanyFile::kTransactions);
    files::KeyedFile details = services_.FileOf(files::CompanyFile::kDetails);
    if (!customers.Open() || !transactions.Open() || !details.Open()) return false;
    size.customers = customers.UsedRecords();
    size.transactions = transactions.UsedRecords();
    size.detailLines = details.UsedRecords();
    size.statementCustomer = CustomerNumberOf(0);
    const files::Table<model::TransactionRecord> table(transactions);
    model::TransactionRecord probe{};
    probe.CustNo = size.statementCustomer;
    size.statementRecords = 0;
    table.ForEachEqual(model::transaction_key::kCustNo, table.KeyOf(probe, model::transaction_key::kCustNo),
                       [&](const auto&) {
                         ++size.statementRecords;
                         return true;
                       });
    return true;
  }

  const files::Services& services_;
  const CompanyShape shape_;
  platform::QuietDialogs& dialogs_;
  std::unique_ptr<files::KeyedFile> transactions_, details_, memos_;
  invoicing::InvoiceFiles Files() { return {*transactions_, *details_, *memos_}; }
  documents::LabelQueue labelQueue_;
  const int invoiceCount_;
  model::Date today_{};
  Random random_;
  std::vector<model::CustomerRecord> customers_;
  std::vector<model::ProductRecord> products_;
  std::priority_queue<Event, std::vector<Event>, std::greater<>> events_;
  invoicing::AddOutcome lastAdded_;
  int invoicesAdded_ = 0;
  int paymentsPosted_ = 0;
};

std::string ShapeText(const CompanyShape& shape) {
  return std::to_string(kGeneratorVersion) + " " + std::to_string(shape.customers) + " " +
         std::to_string(shape.transactions);
}

bool WriteCompanySize(const fs::path& folder, const CompanyShape& shape, const CompanySize& size) {
  std::ofstream out(folder / kSizeFileName);
  out << ShapeText(shape) << '\n'
      << size.customers << ' ' << size.transactions << ' ' << size.detailLines << ' ' << size.statementCustomer << ' '
      << size.statementRecords << ' ' << size.buildSeconds << '\n';
  return static_cast<bool>(out);
}

}  // namespace

bool ReadCompanySize(const fs::path& folder, const CompanyShape& shape, CompanySize& size) {
  std::ifstream in(folder / kSizeFileName);
  std::string stamp;
  if (!std::getline(in, stamp) || stamp != ShapeText(shape)) return false;
  in >> size.customers >> size.transactions >> size.detailLines >> size.statementCustomer >> size.statementRecords >>
      size.buildSeconds;
  return static_cast<bool>(in);
}

bool BuildCompany(const fs::path& folder, const CompanyShape& shape, CompanySize& size) {
  const auto started = Clock::now();
  std::error_code error;
  fs::create_directories(folder, error);
  const fs::path startedIn = fs::current_path();
  fs::current_path(folder, error);
  if (error) {
    std::fprintf(stderr, "books_bench: cannot use the folder %s\n", folder.c_str());
    return false;
  }
  engine::Engine engine;
  engine.InitEngine(30);
  platform::QuietDialogs dialogs;
  platform::SilentProgress progress;
  const platform::FixedClock clock(kBenchToday);
  model::CompanySession session;
  const files::Services services{engine, dialogs, progress, clock, session};
  bool built = tools::SetUpDataFolder(engine, dialogs).error.empty() &&
               model::ReadLastCompany(session.CurrentCompany) && shell::RereadCurrentCompany(services);
  if (built) {
    Builder builder(services, shape, dialogs);
    built = builder.Run(size);
  }
  engine.ExitEngine();
  fs::current_path(startedIn, error);
  size.buildSeconds = std::chrono::duration<double>(Clock::now() - started).count();
  return built && WriteCompanySize(folder, shape, size);
}

}  // namespace bench::books
