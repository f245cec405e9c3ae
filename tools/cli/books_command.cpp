#include "tools/cli/books_command.h"

#include <algorithm>
#include <array>
#include <functional>
#include <iomanip>
#include <span>

#include "books/aging.h"
#include "books/aging_as_of.h"
#include "books/integrity.h"
#include "files/company_files.h"
#include "invoicing/invoice_books.h"
#include "invoicing/repeat_billing.h"
#include "model/company_session.h"
#include "model/money.h"
#include "model/side_files.h"
#include "model/text.h"
#include "platform/qt/printer_canvas.h"
#include "reports/report_generators.h"
#include "reports/report_grid.h"
#include "reports/report_output.h"
#include "reports/statement_batch.h"
#include "shell/backup.h"
#include "shell/companies.h"
#include "shell/startup.h"

namespace tools {
namespace {

constexpr std::string_view kCaption = "quillary-books";

// What a command takes: how many words of its own, which options carry a value, which
// are flags, and which must be given.
struct CommandShape {
  std::string_view name;
  std::size_t arguments;
  std::vector<std::string_view> valued;
  std::vector<std::string_view> flags;
  std::vector<std::string_view> required;
};

const std::vector<CommandShape>& Shapes() {
  static const std::vector<CommandShape> kShapes{
      {"check", 0, {}, {}, {}},
      {"repair", 0, {}, {}, {}},
      {"age", 0, {"--as-of"}, {}, {}},
      {"repeat", 0, {"--through", "--invoice-date", "--reference"}, {}, {"--through"}},
      {"statements", 0, {"--selection", "--pdf"}, {"--unpaid"}, {"--selection", "--pdf"}},
      {"report", 1, {"--from", "--to", "--csv"}, {}, {"--from", "--to", "--csv"}},
      {"backup", 1, {}, {}, {}},
  };
  return kShapes;
}

const CommandShape* ShapeOf(std::string_view name) {
  const auto& shapes = Shapes();
  const auto found = std::find_if(shapes.begin(), shapes.end(), [name](const auto& shape) { return shape.name == name; });
  return found == shapes.end() ? nullptr : &*found;
}

bool Contains(const std::vector<std::string_view>& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

// The command's own words and options, from `next` on; false with the reason.
bool ReadCommandWords(const CommandShape& shape, std::span<const std::string> words, BooksCommand& command,
                      std::string& error) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!word.starts_with("--")) {
      command.arguments.push_back(word);
    } else if (Contains(shape.flags, word)) {
      command.options[word] = "";
    } else if (Contains(shape.valued, word) && i + 1 < words.size()) {
      command.options[word] = words[++i];
    } else {
      error = Contains(shape.valued, word) ? word + " needs a value." : "The " + command.name + " command has no " + word + ".";
      return false;
    }
  }
  if (command.arguments.size() != shape.arguments) {
    error = "The " + command.name + " command takes " + std::to_string(shape.arguments) + " word(s) besides its options.";
    return false;
  }
  for (std::string_view required : shape.required) {
    if (!command.Has(required)) {
      error = "The " + command.name + " command needs " + std::string(required) + ".";
      return false;
    }
  }
  return true;
}

// --- The commands ----------------------------------------------------------------

struct CommandRun {
  const BooksCommand& command;
  const files::Services& services;
  documents::LabelQueue& queue;
  std::ostream& out;
};

void Fail(const CommandRun& run, std::string_view text) {
  run.services.dialogs.inform(kCaption, text, platform::Icon::kError);
}

std::string Amount(model::Money money) { return model::FormatMoney(money, ",0.00"); }

// The date of an option in the company's order; told when it is no date.
std::optional<std::string> DateOption(const CommandRun& run, std::string_view option) {
  const std::string written = run.command.Option(option);
  std::optional<std::string> date = CompanyDateText(written, run.services.session.DateOrder());
  if (!date) Fail(run, "\"" + written + "\" given for " + std::string(option) + " is no date.");
  return date;
}

void PrintAgingTotals(std::ostream& out, const books::AgingTotals& totals) {
  using books::AgingBucket;
  out << "0-30 days:    " << std::setw(14) << Amount(totals[AgingBucket::kCurrent]) << '\n'
      << "31-60 days:   " << std::setw(14) << Amount(totals[AgingBucket::kDays31to60]) << '\n'
      << "61-90 days:   " << std::setw(14) << Amount(totals[AgingBucket::kDays61to90]) << '\n'
      << "Over 90 days: " << std::setw(14) << Amount(totals[AgingBucket::kOver90]) << '\n'
      << "Total A/R:    " << std::setw(14) << Amount(totals.Grand()) << '\n';
}

// The aging as it stood on a past day: each customer who owed then, and the totals.
int RunAgeAsOf(const CommandRun& run) {
  const std::optional<std::string> written = DateOption(run, "--as-of");
  if (!written) return kBooksUsage;
  const model::DateOrder order = run.services.session.DateOrder();
  const std::optional<books::CompanyAgingAsOf> aging =
      books::AgeCompanyAsOf(run.services, *model::ParseDisplayDate(*written, order));
  if (!aging) return kBooksFailed;
  run.out << "Aging as of " << *written << "\n";
  for (const books::CustomerAgingAsOf& customer : aging->customers) {
    run.out << std::left << std::setw(9) << customer.number << std::setw(36) << customer.name << std::right;
    for (const model::Money amount : customer.totals.amounts) run.out << std::setw(13) << Amount(amount);
    run.out << std::setw(14) << Amount(customer.totals.Grand()) << '\n';
  }
  PrintAgingTotals(run.out, aging->totals);
  return kBooksDone;
}

int RunAge(const CommandRun& run) {
  if (run.command.Has("--as-of")) return RunAgeAsOf(run);
  const books::AgingResult result = books::RunAging(run.services, true);
  if (!result.ran) return kBooksFailed;
  PrintAgingTotals(run.out, result.totals);
  return kBooksDone;
}

int RunRepeat(const CommandRun& run) {
  const std::optional<std::string> through = DateOption(run, "--through");
  const std::optional<std::string> invoiceDate =
      run.command.Has("--invoice-date") ? DateOption(run, "--invoice-date") : through;
  if (!through || !invoiceDate) return kBooksUsage;
  files::KeyedFile transactions = run.services.FileOf(files::CompanyFile::kTransactions);
  files::KeyedFile details = run.services.FileOf(files::CompanyFile::kDetails);
  files::KeyedFile memos = run.services.FileOf(files::CompanyFile::kMemos);
  if (!transactions.Open() || !details.Open() || !memos.Open()) return kBooksFailed;
  const invoicing::RepeatSearch search = invoicing::SearchRepeatBillings(run.services, transactions, *through);
  if (!search.searched) return kBooksFailed;
  run.out << search.status << '\n';
  if (search.due.empty()) return kBooksDone;
  invoicing::InvoiceFiles files{transactions, details, memos};
  const invoicing::RepeatOutcome outcome =
      invoicing::CreateRepeatInvoices(run.services, files, search.due, {*invoiceDate, run.command.Option("--reference")});
  if (!outcome.ran) return kBooksFailed;
  run.out << outcome.generated << " invoice(s) generated, " << Amount(outcome.total) << ".\n";
  return kBooksDone;
}

std::optional<reports::BalanceSelection> SelectionOf(std::string_view written) {
  using reports::BalanceSelection;
  if (written == "all") return BalanceSelection::kAllNonZero;
  if (written == "30") return BalanceSelection::kOver30;
  if (written == "60") return BalanceSelection::kOver60;
  if (written == "90") return BalanceSelection::kOver90;
  return std::nullopt;
}

int RunStatements(const CommandRun& run) {
  const std::optional<reports::BalanceSelection> selection = SelectionOf(run.command.Option("--selection"));
  if (!selection) {
    Fail(run, "--selection takes all, 30, 60 or 90.");
    return kBooksUsage;
  }
  const std::filesystem::path folder = run.command.Option("--pdf");
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  files::KeyedFile customers = run.services.FileOf(files::CompanyFile::kCustomers);
  if (error || !customers.Open()) {
    Fail(run, "The statements cannot be written to " + folder.string() + ".");
    return kBooksFailed;
  }
  const reports::BatchChoice choice{*selection,
                                    run.command.Has("--unpaid") ? reports::Activity::kUnpaidOnly : reports::Activity::kAll};
  platform::qt::PrinterCanvas canvas(nullptr, platform::qt::PrintDestination::kPdf, QString::fromStdString(folder.string()));
  const std::string status = reports::PrintStatementBatch(run.services, customers, choice, run.queue, canvas);
  run.out << (status.empty() ? "No statements were printed." : status) << '\n';
  return kBooksDone;
}

// A report's name as the wizard lists it, in any case, with "-" or "_" for blanks.
const reports::ReportKind* ReportNamed(std::string_view written) {
  std::string wanted(written);
  std::replace_if(wanted.begin(), wanted.end(), [](char c) { return c == '-' || c == '_'; }, ' ');
  for (const reports::ReportKind& kind : reports::AllReports()) {
    if (model::Folded(kind.name) == model::Folded(wanted)) return &kind;
  }
  return nullptr;
}

std::string ReportNames() {
  std::string names;
  for (const reports::ReportKind& kind : reports::AllReports()) names += "\"" + std::string(kind.name) + "\" ";
  return names;
}

int RunReport(const CommandRun& run) {
  const reports::ReportKind* kind = ReportNamed(run.command.arguments.front());
  if (kind == nullptr) {
    Fail(run, "There is no report \"" + run.command.arguments.front() + "\"; the reports are " + ReportNames());
    return kBooksUsage;
  }
  const std::optional<std::string> from = DateOption(run, "--from");
  const std::optional<std::string> to = DateOption(run, "--to");
  if (!from || !to) return kBooksUsage;
  const std::optional<reports::Report> report = reports::GenerateReport(run.services, *kind, {*from, *to});
  if (!report) return kBooksFailed;
  const std::vector<reports::GridRow> grid = reports::WithTotals(*kind, report->table, false);
  const std::string caption = reports::CaptionFor(*kind, report->table.rows.empty() ? "" : report->table.rows.front().at(0));
  const std::string path = run.command.Option("--csv");
  if (!reports::SaveReport(path, reports::SaveFormat::kCsv, {caption, report->head1, report->head2, report->head3}, grid)) {
    Fail(run, "The report could not be written to " + path + ".");
    return kBooksFailed;
  }
  run.out << report->table.rows.size() << " record(s) written to " << path << ".\n";
  return kBooksDone;
}

int RunBackup(const CommandRun& run) {
  const std::filesystem::path folder = std::filesystem::current_path();
  const std::vector<std::string> names = shell::BackupFileList(folder);
  const shell::BackupOutcome outcome =
      shell::BackupFiles(run.services.dialogs, names, folder, run.command.arguments.front(), {});
  if (outcome.state != shell::BackupOutcome::State::kComplete) return kBooksFailed;
  run.out << outcome.copied << " file(s) copied to " << run.command.arguments.front() << ".\n";
  return kBooksDone;
}

// Lists what check found, one sentence a line; true when the books balance.
bool ListFindings(std::ostream& out, const books::BooksCheck& check) {
  for (const books::Finding& finding : check.findings) out << finding.sentence << '\n';
  if (check.findings.empty()) {
    out << "The books of " << check.company << " balance.\n";
  } else {
    out << check.company << ": " << check.findings.size() << " difference(s) found.\n";
  }
  return check.findings.empty();
}

// The check, told when a file could not be read.
std::optional<books::BooksCheck> Checked(const CommandRun& run) {
  books::BooksCheck check = books::CheckBooks(run.services);
  if (!check.readAll) {
    Fail(run, check.failure);
    return std::nullopt;
  }
  return check;
}

int RunCheck(const CommandRun& run) {
  const std::optional<books::BooksCheck> check = Checked(run);
  if (!check) return kBooksFailed;
  return ListFindings(run.out, *check) ? kBooksDone : kBooksDiffer;
}

// Repairs what can be repaired, then checks again: what is left (records without their
// customer or invoice) is listed for the user, with status 1.
int RunRepair(const CommandRun& run) {
  const std::optional<books::BooksCheck> check = Checked(run);
  if (!check) return kBooksFailed;
  const std::string question = books::RepairQuestion(*check);
  if (!question.empty()) {
    if (!run.services.dialogs.confirm(kCaption, question, platform::Answer::kNo)) return kBooksFailed;
    const books::RepairResult repair = books::RepairBooks(run.services, *check);
    if (!repair.failure.empty()) {
      Fail(run, repair.failure);
      return kBooksFailed;
    }
    run.out << "The files as they were are in " << repair.backupFolder.string() << ".\n";
    for (const std::string& sentence : repair.rewritten) run.out << sentence << '\n';
    for (const std::string& sentence : repair.notRewritten) run.out << sentence << '\n';
  }
  const std::optional<books::BooksCheck> after = Checked(run);
  if (!after) return kBooksFailed;
  return ListFindings(run.out, *after) ? kBooksDone : kBooksDiffer;
}

using CommandRunner = std::function<int(const CommandRun&)>;

const std::map<std::string_view, CommandRunner>& Runners() {
  static const std::map<std::string_view, CommandRunner> kRunners{
      {"check", RunCheck}, {"repair", RunRepair}, {"age", RunAge}, {"repeat", RunRepeat}, {"statements", RunStatements}, {"report", RunReport},
      {"backup", RunBackup},
  };
  return kRunners;
}

}  // namespace

std::string BooksCommand::Option(std::string_view option) const {
  const auto found = options.find(option);
  return found == options.end() ? std::string() : found->second;
}

std::string BooksUsage() {
  return "usage: quillary-books DATA_DIR [--company N] COMMAND [options]\n"
         "\n"
         "Works on the books of a data folder without the program's windows, for scripts and\n"
         "nightly jobs. The program must not have the folder open while a command runs.\n"
         "Without --company the command works on the company used last.\n"
         "\n"
         "Commands:\n"
         "  check          Compare what is stored with what the transactions say: customer\n"
         "                 balances and aging, the company's A/R total, records without their\n"
         "                 customer or invoice, paid flags, amounts that are no numbers,\n"
         "                 duplicate invoice numbers and the next invoice number. Lists each\n"
         "                 difference; exit status 1 when there is any.\n"
         "  repair         Rewrite the figures check found wrong (balances, aging, the A/R\n"
         "                 total, paid flags, the next invoice number) from the transactions,\n"
         "                 after copying the company's files to Backups/ in the data folder.\n"
         "                 No transaction is deleted; records without their customer or\n"
         "                 invoice are listed for you to deal with.\n"
         "  age [--as-of DATE]\n"
         "                 Age the open balances into 0-30, 31-60, 61-90 and over 90 days and\n"
         "                 store them, as the program does each day. With --as-of, show the\n"
         "                 aging as it stood on that date instead, changing nothing.\n"
         "  repeat --through DATE [--invoice-date DATE] [--reference TEXT]\n"
         "                 Create the invoices of the repeat billings due through DATE, dated\n"
         "                 --invoice-date (DATE when not given), with TEXT as their reference.\n"
         "  statements --selection all|30|60|90 [--unpaid] --pdf DIR\n"
         "                 Print the statements of the customers with a balance (all) or with\n"
         "                 amounts over 30, 60 or 90 days, as PDF files in DIR; --unpaid shows\n"
         "                 only unpaid transactions on them.\n"
         "  report NAME --from DATE --to DATE --csv FILE\n"
         "                 Save a report as a CSV file. NAME is one of \"Invoice Register\",\n"
         "                 \"Payment Register\", \"Accounts Receivable\", \"Sales Report\",\n"
         "                 \"Key Code Inquiry\", \"Tax Report\", \"Repeat Billing List\" (any case;\n"
         "                 - or _ for blanks).\n"
         "  backup DIR     Copy the data files to DIR.\n"
         "\n"
         "Dates are written yyyy-mm-dd or as the company writes them (12/08/2026).\n"
         "Messages go to standard error, results to standard output.\n"
         "\n"
         "Exit status: 0 done (check: the books balance), 1 check found differences,\n"
         "2 the command line is wrong, 3 the program has the folder open, 4 the command failed.\n";
}

std::optional<BooksCommand> ParseBooksCommand(const std::vector<std::string>& words, std::string& error) {
  BooksCommand command;
  if (std::find(words.begin(), words.end(), "--help") != words.end()) {
    command.name = "help";
    return command;
  }
  std::size_t next = 0;
  if (next >= words.size()) {
    error = "Name a data folder and a command.";
    return std::nullopt;
  }
  command.dataFolder = words[next++];
  if (next < words.size() && words[next] == "--company") {
    if (next + 1 >= words.size()) {
      error = "--company needs a company number.";
      return std::nullopt;
    }
    command.company = words[next + 1];
    next += 2;
  }
  if (next >= words.size()) {
    error = "Name a command: check, repair, age, repeat, statements, report or backup.";
    return std::nullopt;
  }
  command.name = words[next++];
  const CommandShape* shape = ShapeOf(command.name);
  if (shape == nullptr) {
    error = "There is no command \"" + command.name + "\".";
    return std::nullopt;
  }
  if (!ReadCommandWords(*shape, std::span(words).subspan(next), command, error)) return std::nullopt;
  return command;
}

std::optional<std::string> CompanyDateText(std::string_view text, model::DateOrder order) {
  text = model::TrimBlanks(text);
  std::string sortable(text);
  std::replace(sortable.begin(), sortable.end(), '-', '/');
  std::optional<model::Date> date = text.size() == 10 && text[4] == '-' ? model::ParseSortableDate(sortable)
                                                                         : model::ParseDisplayDate(text, order);
  if (!date) return std::nullopt;
  return model::FormatDisplayDate(*date, order);
}

bool SelectCompany(const files::Services& services, std::string_view companyNo) {
  if (const model::FileOutcome read = model::ReadLastCompany(services.session.CurrentCompany); !read) {
    services.dialogs.inform(kCaption, read.error, platform::Icon::kError);
    return false;
  }
  if (companyNo.empty()) return shell::RereadCurrentCompany(services);
  files::KeyedFile list = services.FileOf(files::CompanyFile::kCompanyList);
  engine::RecordNumber number = 0;
  model::CompanyRecord found{};
  if (!list.Open() || !shell::LocateCompany(list, companyNo, number, found)) {
    services.dialogs.inform(kCaption, "There is no company " + std::string(companyNo) + " in this data folder.",
                            platform::Icon::kError);
    return false;
  }
  services.session.CurrentCompany = found;
  return true;
}

int RunBooksCommand(const BooksCommand& command, const files::Services& services, documents::LabelQueue& queue,
                    std::ostream& out) {
  return Runners().at(command.name)({command, services, queue, out});
}

}  // namespace tools
