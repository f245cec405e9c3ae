#include "books/integrity.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "books/invoice_numbers.h"
#include "books/posting.h"
#include "files/table.h"
#include "model/company_session.h"
#include "model/field_values.h"
#include "model/keys.h"
#include "model/text.h"
#include "model/whole_file.h"

namespace books {
namespace {

namespace fs = std::filesystem;
using model::CompanyRecord;
using model::CustomerRecord;
using model::DetailRecord;
using model::MemoRecord;
using model::Money;
using model::TransactionRecord;

constexpr std::string_view kAmountPicture = ",0.00";
constexpr std::string_view kOneBlank = " ";
constexpr std::string_view kBackupsFolder = "Backups";

std::string Trimmed(std::string_view text) { return std::string(model::TrimBlanks(text)); }
std::string Shown(Money amount) { return model::FormatMoney(amount, kAmountPicture); }
std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A stored figure as the user reads it: an amount formatted, other text as it is.
std::string ShownValue(std::string_view text, const std::optional<Money>& amount) {
  if (amount) return Shown(*amount);
  if (model::TrimBlanks(text).empty()) return "(blank)";
  return Quoted(text);
}

// --- Reading the books -----------------------------------------------------------

// A line or memo as far as the check looks at it: the invoice it belongs to. Keeping
// only this, and not millions of whole lines, keeps the check's memory small.
struct Owned {
  files::RecordNumber number = 0;
  model::ShortString<9> InvoiceNo;
};

struct CompanyBooks {
  CompanyRecord company{};
  files::RecordNumber companySlot = 0;
  std::vector<files::Row<CustomerRecord>> customers;
  std::vector<files::Row<TransactionRecord>> transactions;
  std::vector<Owned> lines;
  std::vector<Owned> memos;
  std::vector<files::Row<model::ProductRecord>> products;
};

// A file the company does not have yet holds no records; a check does not create it.
bool Exists(const files::KeyedFile& file) {
  std::error_code ignored;
  return fs::exists(engine::FileSetPath(file.description().name, "DAT"), ignored);
}

// Each record of the file as `keep` makes it.
template <class Record, class Kept>
bool ReadAll(files::KeyedFile file, std::vector<Kept>& rows, Kept (*keep)(const files::Row<Record>&)) {
  if (!Exists(file)) return true;
  if (!file.Open()) return false;
  rows.reserve(static_cast<std::size_t>(std::max(0, file.UsedRecords())));
  return files::Table<Record>(file).ForEachRecord([&](const files::Row<Record>& row) {
    rows.push_back(keep(row));
    return true;
  });
}

template <class Record>
files::Row<Record> Whole(const files::Row<Record>& row) {
  return row;
}

template <class Record>
Owned OwnerOf(const files::Row<Record>& row) {
  return {row.number, row.record.InvoiceNo};
}

// Empty when every file was read; otherwise what could not be.
std::string ReadBooks(const files::Services& services, CompanyBooks& books) {
  files::KeyedFile list = services.FileOf(files::CompanyFile::kCompanyList);
  if (!list.Open() ||
      !files::FindCompanyByNumber(list, services.session.CurrentCompany, books.companySlot, books.company)) {
    return "The company could not be found in the company list.";
  }
  if (!ReadAll(services.FileOf(files::CompanyFile::kCustomers), books.customers, &Whole<CustomerRecord>)) {
    return "The customer file could not be read.";
  }
  if (!ReadAll(services.FileOf(files::CompanyFile::kTransactions), books.transactions, &Whole<TransactionRecord>)) {
    return "The invoice file could not be read.";
  }
  if (!ReadAll(services.FileOf(files::CompanyFile::kDetails), books.lines, &OwnerOf<DetailRecord>)) {
    return "The invoice line file could not be read.";
  }
  if (!ReadAll(services.FileOf(files::CompanyFile::kMemos), books.memos, &OwnerOf<MemoRecord>)) {
    return "The memo file could not be read.";
  }
  if (!ReadAll(services.FileOf(files::CompanyFile::kProducts), books.products, &Whole<model::ProductRecord>)) {
    return "The product file could not be read.";
  }
  return {};
}

// --- Keys and names ------------------------------------------------------------------

// Records are matched by the keys their indexes file them under, as the aging walk and
// the invoice look-ups match them.
std::string InvoiceKey(std::string_view rawInvoiceNo) {
  TransactionRecord probe{};
  probe.InvoiceNo.SetRaw(rawInvoiceNo);
  return model::BuildKey(probe, model::transaction_key::kInvoiceNo).str();
}

std::string CustomerKey(std::string_view rawCustomerNo) {
  TransactionRecord probe{};
  probe.CustNo.SetRaw(rawCustomerNo);
  return model::BuildKey(probe, model::transaction_key::kCustNo).str();
}

bool IsType(const TransactionRecord& transaction, std::string_view letters) {
  return std::any_of(letters.begin(), letters.end(),
                     [&](char letter) { return model::HoldsLetter(transaction.TransType, letter); });
}

// The records that are invoices of their own: a partly paid invoice (Z) is still one.
bool IsInvoice(const TransactionRecord& transaction) { return IsType(transaction, "IGRZ"); }

std::string CompanySubject(const CompanyRecord& company) {
  return "Company " + Trimmed(company.CompanyNo.str()) + " " + Trimmed(company.CompanyName.str());
}

std::string CustomerSubject(const CustomerRecord& customer) {
  return "Customer " + Trimmed(customer.CustNo.str()) + " " + Trimmed(customer.CustName.str());
}

std::string TransactionSubject(const TransactionRecord& transaction) {
  std::string_view word = "Transaction";
  if (IsType(transaction, "IGZ")) word = "Invoice";
  if (IsType(transaction, "R")) word = "Repeat master";
  if (IsType(transaction, "X")) word = "Partial payment";
  if (IsType(transaction, "D")) word = "Deposit";
  if (IsType(transaction, "T")) word = "Deposit use";
  return std::string(word) + " " + Trimmed(transaction.InvoiceNo.str());
}

std::string InRecord(files::RecordNumber number) { return " (record " + std::to_string(number) + ")"; }

Finding CustomerFinding(FindingKind kind, const files::Row<CustomerRecord>& row) {
  Finding finding;
  finding.kind = kind;
  finding.file = files::CompanyFile::kCustomers;
  finding.record = row.number;
  finding.customerNo = Trimmed(row.record.CustNo.raw());
  finding.subject = CustomerSubject(row.record);
  return finding;
}

Finding TransactionFinding(FindingKind kind, const files::Row<TransactionRecord>& row) {
  Finding finding;
  finding.kind = kind;
  finding.file = files::CompanyFile::kTransactions;
  finding.record = row.number;
  finding.customerNo = Trimmed(row.record.CustNo.raw());
  finding.invoiceNo = Trimmed(row.record.InvoiceNo.raw());
  finding.subject = TransactionSubject(row.record);
  return finding;
}

Finding CompanyFinding(FindingKind kind, const CompanyBooks& books) {
  Finding finding;
  finding.kind = kind;
  finding.file = files::CompanyFile::kCompanyList;
  finding.record = books.companySlot;
  finding.subject = CompanySubject(books.company);
  return finding;
}

// A kept amount against the one the transactions give; nullopt when they agree.
template <std::size_t N>
std::optional<Finding> AmountFinding(Finding finding, std::string_view field, const model::MoneyField<N>& stored,
                                     Money expected, std::string_view reason) {
  finding.storedAmount = model::ReadMoney(stored);
  if (finding.storedAmount == expected) return std::nullopt;
  finding.field = field;
  finding.stored = stored.raw();
  finding.expected = model::MoneyText(expected);
  finding.expectedAmount = expected;
  finding.sentence = finding.subject + ": " + finding.field + " " + ShownValue(finding.stored, finding.storedAmount) +
                     " stored, " + Shown(expected) + " " + std::string(reason) + ".";
  return finding;
}

// --- What the transactions say --------------------------------------------------------

struct Derived {
  model::Date asOf;                                // the aging date buckets are compared at
  model::DateOrder order = model::DateOrder::kMonthFirst;
  // Looked up once per transaction, line and memo: hashed, as a million transactions and
  // three million lines made ordered look-ups the larger part of the check.
  std::unordered_map<std::string, AgingTotals> openByCustomer;  // by customer key
  std::unordered_set<std::string> customerKeys;
  std::unordered_set<std::string> invoiceKeys;  // every transaction's number
  std::unordered_set<std::string> partlyPaidKeys;  // Z
  std::unordered_set<std::string> depositKeys;     // D
  std::unordered_set<std::string> memoKeys;
  std::unordered_map<std::string, std::string> lastPaymentDate;  // by invoice key: the latest X or T record's date
};

// The day the last aging ran, which the stored buckets were computed at; a company
// never aged is taken at today.
model::Date AgingDate(const files::Services& services, const CompanyBooks& books, model::DateOrder order) {
  if (auto date = model::ParseDisplayDate(books.company.LastAgingDate.raw(), order)) return *date;
  return model::TodayOf(services.clock);
}

void NotePaymentDate(Derived& derived, const TransactionRecord& transaction) {
  if (!IsType(transaction, "XT") || !model::ParseSortableDate(transaction.SortDate.raw())) return;
  std::string& latest = derived.lastPaymentDate[InvoiceKey(transaction.InvoiceNo.raw())];
  latest = std::max(latest, std::string(transaction.SortDate.raw()));
}

Derived Derive(const files::Services& services, const CompanyBooks& books) {
  Derived derived;
  derived.order = model::DateOrderFromCode(books.company.DateOrder.raw());
  derived.asOf = AgingDate(services, books, derived.order);
  for (const auto& row : books.customers) derived.customerKeys.insert(CustomerKey(row.record.CustNo.raw()));
  for (const Owned& memo : books.memos) derived.memoKeys.insert(InvoiceKey(memo.InvoiceNo.raw()));
  for (const auto& row : books.transactions) {
    const TransactionRecord& transaction = row.record;
    const std::string key = InvoiceKey(transaction.InvoiceNo.raw());
    AddOpenAmount(derived.openByCustomer[CustomerKey(transaction.CustNo.raw())], transaction, derived.asOf,
                  derived.order);
    derived.invoiceKeys.insert(key);
    if (IsType(transaction, "Z")) derived.partlyPaidKeys.insert(key);
    if (IsType(transaction, "D")) derived.depositKeys.insert(key);
    NotePaymentDate(derived, transaction);
  }
  return derived;
}

AgingTotals OpenOf(const Derived& derived, const CustomerRecord& customer) {
  const auto found = derived.openByCustomer.find(CustomerKey(customer.CustNo.raw()));
  return found == derived.openByCustomer.end() ? AgingTotals() : found->second;
}

// --- Customers and the company -------------------------------------------------------

constexpr std::array<std::string_view, kAgingBucketCount> kBucketNames = {"0-30 days", "31-60 days", "61-90 days",
                                                                          "over 90 days"};

void CheckCustomer(const files::Row<CustomerRecord>& row, const Derived& derived, std::vector<Finding>& findings) {
  const AgingTotals open = OpenOf(derived, row.record);
  if (auto found = AmountFinding(CustomerFinding(FindingKind::kCustomerBalance, row), "balance", row.record.Balance,
                                 open.Grand(), "owed on its transactions")) {
    findings.push_back(*found);
  }
  const std::string asOf = "on its transactions as of " + model::FormatDisplayDate(derived.asOf, derived.order);
  for (std::size_t i = 0; i < kAgingBucketCount; ++i) {
    const auto bucket = static_cast<AgingBucket>(i);
    Finding finding = CustomerFinding(FindingKind::kCustomerAging, row);
    finding.bucket = bucket;
    if (auto found = AmountFinding(finding, kBucketNames[i], BucketField(row.record, bucket), open[bucket], asOf)) {
      findings.push_back(*found);
    }
  }
  if (!model::ReadMoney(row.record.CreditLimit)) {
    Finding finding = CustomerFinding(FindingKind::kUnreadableAmount, row);
    finding.field = "credit limit";
    finding.stored = row.record.CreditLimit.raw();
    finding.sentence = finding.subject + ": the credit limit " + Quoted(finding.stored) + " is no amount.";
    findings.push_back(finding);
  }
}

void CheckCompanyTotal(const CompanyBooks& books, const Derived& derived, std::vector<Finding>& findings) {
  Money owed;
  for (const auto& row : books.customers) owed += OpenOf(derived, row.record).Grand();
  if (auto found = AmountFinding(CompanyFinding(FindingKind::kCompanyTotal, books), "A/R total",
                                 books.company.TotalAR, owed, "owed by its customers on their transactions")) {
    findings.push_back(*found);
  }
}

struct CountedInvoice {
  std::int64_t counter = 0;
  std::string number;
};

// The invoice whose counter is highest; payment records share their invoice's number.
std::optional<CountedInvoice> HighestInvoice(const CompanyBooks& books, bool prefixed) {
  std::optional<CountedInvoice> highest;
  for (const auto& row : books.transactions) {
    const auto counter = IsInvoice(row.record) ? InvoiceCounter(row.record.InvoiceNo.raw(), prefixed) : std::nullopt;
    if (counter && (!highest || *counter > highest->counter)) {
      highest = CountedInvoice{*counter, Trimmed(row.record.InvoiceNo.str())};
    }
  }
  return highest;
}

// The company's next number must count on from the highest invoice on file, or the
// next invoice entered is offered a number already taken.
void CheckNextInvoiceNumber(const CompanyBooks& books, std::vector<Finding>& findings) {
  const bool prefixed = model::IsYes(books.company.PrefixInvoiceNo);
  const std::optional<CountedInvoice> highest = HighestInvoice(books, prefixed);
  const std::optional<std::string> next = highest ? NextInvoiceNumberAfter(highest->number, prefixed) : std::nullopt;
  const auto stored = InvoiceCounter(books.company.NextInvoiceNo.raw(), false);
  if (!next || (stored && *stored > highest->counter)) return;
  Finding finding = CompanyFinding(FindingKind::kNextInvoiceNumber, books);
  finding.invoiceNo = highest->number;
  finding.field = "next invoice number";
  finding.stored = books.company.NextInvoiceNo.raw();
  finding.expected = *next;
  finding.sentence = finding.subject + ": next invoice number " + ShownValue(finding.stored, std::nullopt) +
                     " stored, but invoice " + highest->number + " is on file; the next is " + *next + ".";
  findings.push_back(finding);
}

// --- Transactions --------------------------------------------------------------------

struct AmountField {
  std::string_view name;
  model::MoneyField<10> TransactionRecord::*field;
};
constexpr AmountField kTransactionAmounts[] = {
    {"net amount", &TransactionRecord::NetAmount},   {"tax amount", &TransactionRecord::TaxAmount},
    {"total amount", &TransactionRecord::TotalAmount}, {"paid amount", &TransactionRecord::PaidAmount},
    {"balance due", &TransactionRecord::BalanceDue},
};

void CheckAmountsRead(const files::Row<TransactionRecord>& row, std::vector<Finding>& findings) {
  for (const AmountField& amount : kTransactionAmounts) {
    const model::MoneyField<10>& field = row.record.*amount.field;
    if (model::ReadMoney(field)) continue;
    Finding finding = TransactionFinding(FindingKind::kUnreadableAmount, row);
    finding.field = amount.name;
    finding.stored = field.raw();
    finding.sentence = finding.subject + InRecord(row.number) + ": the " + std::string(amount.name) + " " +
                       Quoted(finding.stored) + " is no amount.";
    findings.push_back(finding);
  }
}

// Whether the record should be marked paid: nothing is due. A repeat master carries no
// balance of its own and is never marked; a balance that does not read is reported as
// such and says nothing about the marks.
std::optional<bool> ShouldBePaid(const TransactionRecord& transaction) {
  if (IsType(transaction, "R")) return std::nullopt;
  const std::optional<Money> due = model::ReadMoney(transaction.BalanceDue);
  if (!due) return std::nullopt;
  return due->IsZero();
}

// A record that shows no date paid was paid by its latest payment record, or else on
// its own date, as an invoice entered paid is.
std::string PaidDateFor(const TransactionRecord& transaction, const Derived& derived) {
  const auto payment = derived.lastPaymentDate.find(InvoiceKey(transaction.InvoiceNo.raw()));
  if (payment != derived.lastPaymentDate.end()) return payment->second;
  return std::string(transaction.SortDate.raw());
}

Finding MarkFinding(FindingKind kind, const files::Row<TransactionRecord>& row, std::string_view field,
                    std::string_view stored, std::string expected, std::string_view why) {
  Finding finding = TransactionFinding(kind, row);
  finding.field = field;
  finding.stored = stored;
  finding.expected = std::move(expected);
  finding.sentence = finding.subject + InRecord(row.number) + ": " + std::string(why) + ".";
  return finding;
}

void CheckPaidMarks(const files::Row<TransactionRecord>& row, const Derived& derived, std::vector<Finding>& findings) {
  const TransactionRecord& transaction = row.record;
  const std::optional<bool> paid = ShouldBePaid(transaction);
  if (!paid) return;
  const std::string due = model::AmountText(transaction.BalanceDue);
  if (*paid != model::HoldsLetter(transaction.PaidFlag, 'P')) {
    findings.push_back(MarkFinding(FindingKind::kPaidFlag, row, "paid mark", transaction.PaidFlag.raw(),
                                   *paid ? "P" : std::string(kOneBlank),
                                   *paid ? "nothing is due but it is not marked paid"
                                         : "marked paid with " + due + " still due"));
  }
  const std::string_view date = transaction.PaidSortDate.raw();
  if (*paid && !model::ParseSortableDate(date)) {
    findings.push_back(MarkFinding(FindingKind::kPaidDate, row, "date paid", date, PaidDateFor(transaction, derived),
                                   "paid without a date paid"));
  }
  // An open deposit carries the day it was taken as its date paid.
  if (!*paid && !IsType(transaction, "D") && !model::TrimBlanks(date).empty()) {
    findings.push_back(MarkFinding(FindingKind::kPaidDate, row, "date paid", date, std::string(kOneBlank),
                                   "open with " + due + " due but dated paid " + std::string(date)));
  }
}

Finding OrphanTransaction(FindingKind kind, const files::Row<TransactionRecord>& row, std::string stored,
                          const std::string& why) {
  Finding finding = TransactionFinding(kind, row);
  finding.stored = std::move(stored);
  finding.sentence = finding.subject + InRecord(row.number) + " " + why + ".";
  return finding;
}

void CheckReferences(const files::Row<TransactionRecord>& row, const Derived& derived,
                     std::vector<Finding>& findings) {
  const TransactionRecord& transaction = row.record;
  const std::string key = InvoiceKey(transaction.InvoiceNo.raw());
  const std::string number = Trimmed(transaction.InvoiceNo.str());
  const std::string customer = Trimmed(transaction.CustNo.str());
  if (!derived.customerKeys.contains(CustomerKey(transaction.CustNo.raw()))) {
    findings.push_back(OrphanTransaction(FindingKind::kTransactionWithoutCustomer, row, customer,
                                         "belongs to customer " + customer + ", who is not on file"));
  }
  if (IsInvoice(transaction) && model::HoldsLetter(transaction.BodyStyle, 'M') && !derived.memoKeys.contains(key)) {
    findings.push_back(
        OrphanTransaction(FindingKind::kMemoInvoiceWithoutMemo, row, number, "is a memo invoice without its memo"));
  }
  if (IsType(transaction, "X") && !derived.partlyPaidKeys.contains(key)) {
    findings.push_back(OrphanTransaction(FindingKind::kPaymentWithoutInvoice, row, number,
                                         "has no invoice " + number + " with partial payments (type Z)"));
  }
  if (IsType(transaction, "T") && !derived.depositKeys.contains(key)) {
    findings.push_back(OrphanTransaction(FindingKind::kDepositUseWithoutDeposit, row, number,
                                         "has no deposit " + number + " (type D)"));
  }
}

// Invoices share a number only by mistake; payment records share their invoice's.
void CheckDuplicates(const CompanyBooks& books, std::vector<Finding>& findings) {
  std::unordered_map<std::string, files::RecordNumber> first;
  for (const auto& row : books.transactions) {
    if (!IsInvoice(row.record)) continue;
    const auto [earlier, isFirst] = first.emplace(InvoiceKey(row.record.InvoiceNo.raw()), row.number);
    if (isFirst) continue;
    const std::string number = Trimmed(row.record.InvoiceNo.str());
    findings.push_back(OrphanTransaction(FindingKind::kDuplicateInvoiceNumber, row, number,
                                         "has the number of the invoice in record " +
                                             std::to_string(earlier->second)));
  }
}

// --- Lines and memos -----------------------------------------------------------------

void CheckOwners(const std::vector<Owned>& rows, const Derived& derived, FindingKind kind, files::CompanyFile file,
                 std::string_view what, std::vector<Finding>& findings) {
  for (const Owned& row : rows) {
    if (derived.invoiceKeys.contains(InvoiceKey(row.InvoiceNo.raw()))) continue;
    Finding finding;
    finding.kind = kind;
    finding.file = file;
    finding.record = row.number;
    finding.invoiceNo = Trimmed(row.InvoiceNo.str());
    finding.stored = finding.invoiceNo;
    finding.subject = std::string(what) + " in record " + std::to_string(row.number);
    finding.sentence = finding.subject + " belongs to invoice " + finding.invoiceNo + ", which is not on file.";
    findings.push_back(finding);
  }
}

// A price that is no amount puts nothing on an invoice line until someone types one.
void CheckPrices(const CompanyBooks& books, std::vector<Finding>& findings) {
  for (const auto& row : books.products) {
    if (model::ReadMoney(row.record.UnitPrice)) continue;
    Finding finding;
    finding.kind = FindingKind::kUnreadableAmount;
    finding.file = files::CompanyFile::kProducts;
    finding.record = row.number;
    finding.subject = "Product " + Trimmed(row.record.ProductCode.str()) + " " + Trimmed(row.record.ProdDesc.str());
    finding.field = "unit price";
    finding.stored = row.record.UnitPrice.raw();
    finding.sentence = finding.subject + ": the unit price " + Quoted(finding.stored) + " is no amount.";
    findings.push_back(finding);
  }
}

std::vector<Finding> FindingsOf(const CompanyBooks& books, const Derived& derived) {
  std::vector<Finding> findings;
  CheckCompanyTotal(books, derived, findings);
  CheckNextInvoiceNumber(books, findings);
  for (const auto& row : books.customers) CheckCustomer(row, derived, findings);
  for (const auto& row : books.transactions) {
    CheckReferences(row, derived, findings);
    CheckAmountsRead(row, findings);
    CheckPaidMarks(row, derived, findings);
  }
  CheckDuplicates(books, findings);
  CheckOwners(books.lines, derived, FindingKind::kLineWithoutInvoice, files::CompanyFile::kDetails, "Invoice line",
              findings);
  CheckOwners(books.memos, derived, FindingKind::kMemoWithoutInvoice, files::CompanyFile::kMemos, "Memo", findings);
  CheckPrices(books, findings);
  return findings;
}

// --- Backup --------------------------------------------------------------------------

// WriteWholeFile goes through a temporary name, so a failed copy leaves no half file.
model::FileOutcome CopyWhole(const fs::path& from, const fs::path& to) {
  std::string bytes;
  if (model::FileOutcome read = model::ReadWholeFile(from, bytes); !read) return read;
  return model::WriteWholeFile(to, bytes);
}

std::vector<std::string> FilesToBackUp(std::string_view companyNo) {
  std::vector<std::string> names = {engine::FileSetPath(files::kCompanyListName, "DAT"),
                                    engine::FileSetPath(files::kCompanyListName, "IX")};
  for (const std::string& name : files::CompanyDataFiles(companyNo)) names.push_back(name);
  return names;
}

// A file the company does not have is not missed: there is nothing in it to lose.
model::FileOutcome BackUpCompanyFiles(std::string_view companyNo, const fs::path& folder) {
  if (const std::string problem = files::CompanyNumberProblem(companyNo); !problem.empty()) {
    return model::FileOutcome::Failure(problem);
  }
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return model::FileOutcome::Failure("Could not create \"" + folder.string() + "\": " + error.message() + ".");
  for (const std::string& name : FilesToBackUp(companyNo)) {
    if (!fs::exists(name, error)) continue;
    if (model::FileOutcome copied = CopyWhole(name, folder / name); !copied) return copied;
  }
  return {};
}

// --- Rewriting -----------------------------------------------------------------------

// Writes the figure the check worked out, but only over the text it found: a figure
// changed since then is someone's newer work.
template <std::size_t N>
bool Rewrite(model::ShortString<N>& field, const Finding& finding) {
  if (field.raw() != finding.stored || finding.expected.size() > N) return false;
  field.SetRaw(finding.expected);
  return true;
}

bool ApplyToCustomer(CustomerRecord& customer, const Finding& finding) {
  if (Trimmed(customer.CustNo.raw()) != finding.customerNo) return false;
  if (finding.kind == FindingKind::kCustomerBalance) return Rewrite(customer.Balance, finding);
  return finding.bucket && Rewrite(BucketField(customer, *finding.bucket), finding);
}

bool ApplyToTransaction(TransactionRecord& transaction, const Finding& finding) {
  if (Trimmed(transaction.InvoiceNo.raw()) != finding.invoiceNo) return false;
  if (finding.kind == FindingKind::kPaidFlag) return Rewrite(transaction.PaidFlag, finding);
  return Rewrite(transaction.PaidSortDate, finding);
}

bool ApplyToCompany(CompanyRecord& company, const Finding& finding) {
  if (finding.kind == FindingKind::kCompanyTotal) return Rewrite(company.TotalAR, finding);
  return Rewrite(company.NextInvoiceNo, finding);
}

using FindingGroups = std::map<files::RecordNumber, std::vector<const Finding*>>;

FindingGroups RepairableIn(const std::vector<Finding>& findings, files::CompanyFile file) {
  FindingGroups groups;
  for (const Finding& finding : findings) {
    if (IsRepairable(finding.kind) && finding.file == file) groups[finding.record].push_back(&finding);
  }
  return groups;
}

void TellNotRewritten(const Finding& finding, std::string_view why, RepairResult& result) {
  result.notRewritten.push_back(RepairSentence(finding) + " Not done: " + std::string(why));
}

// Applies a record's findings to the record and returns those that took; the others
// are told.
template <class Record>
std::vector<const Finding*> ApplyAll(Record& record, const std::vector<const Finding*>& findings,
                                     bool (*apply)(Record&, const Finding&), RepairResult& result) {
  std::vector<const Finding*> applied;
  for (const Finding* finding : findings) {
    if (apply(record, *finding)) {
      applied.push_back(finding);
    } else {
      TellNotRewritten(*finding, "it was changed after the check.", result);
    }
  }
  return applied;
}

void TellStored(const std::vector<const Finding*>& applied, bool stored, RepairResult& result) {
  for (const Finding* finding : applied) {
    if (stored) {
      result.rewritten.push_back(RepairSentence(*finding));
    } else {
      TellNotRewritten(*finding, "the record could not be saved.", result);
    }
  }
}

template <class Record>
void RepairRecords(files::KeyedFile& file, const FindingGroups& groups, bool (*apply)(Record&, const Finding&),
                   RepairResult& result) {
  if (groups.empty()) return;
  const bool opened = file.Open();
  for (const auto& [number, findings] : groups) {
    std::optional<Record> record = opened ? files::Table<Record>(file).Read(number) : std::nullopt;
    if (!record) {
      for (const Finding* finding : findings) TellNotRewritten(*finding, "the record could not be read.", result);
      continue;
    }
    const std::vector<const Finding*> applied = ApplyAll(*record, findings, apply, result);
    if (!applied.empty()) TellStored(applied, file.Update(number, *record), result);
  }
}

// The company record goes through the one path that re-reads it from the list and
// keeps the session's copy in step.
void RepairCompany(const files::Services& services, const std::vector<Finding>& findings, RepairResult& result) {
  const FindingGroups groups = RepairableIn(findings, files::CompanyFile::kCompanyList);
  if (groups.empty()) return;
  std::vector<const Finding*> applied;
  const bool stored = ChangeCurrentCompany(services, [&](CompanyRecord& company) {
    for (const auto& [number, group] : groups) applied = ApplyAll(company, group, &ApplyToCompany, result);
  });
  TellStored(applied, stored, result);
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

bool IsRepairable(FindingKind kind) {
  switch (kind) {
    case FindingKind::kCustomerBalance:
    case FindingKind::kCustomerAging:
    case FindingKind::kCompanyTotal:
    case FindingKind::kPaidFlag:
    case FindingKind::kPaidDate:
    case FindingKind::kNextInvoiceNumber: return true;
    default: return false;
  }
}

BooksCheck CheckBooks(const files::Services& services) {
  BooksCheck check;
  CompanyBooks books;
  check.failure = ReadBooks(services, books);
  check.company = CompanySubject(books.company.CompanyNo.empty() ? services.session.CurrentCompany : books.company);
  if (!check.failure.empty()) return check;
  check.readAll = true;
  check.findings = FindingsOf(books, Derive(services, books));
  return check;
}

std::string RepairSentence(const Finding& finding) {
  return finding.subject + ": " + finding.field + " " + ShownValue(finding.stored, finding.storedAmount) +
         " becomes " + ShownValue(finding.expected, finding.expectedAmount) + ".";
}

std::string RepairQuestion(const BooksCheck& check) {
  std::string figures;
  for (const Finding& finding : check.findings) {
    if (IsRepairable(finding.kind)) figures += "\n" + RepairSentence(finding);
  }
  if (figures.empty()) return {};
  const auto listed = std::count_if(check.findings.begin(), check.findings.end(),
                                    [](const Finding& finding) { return !IsRepairable(finding.kind); });
  std::string question = "Repair the books of " + check.company + "?\n\nThe company's files are first copied into a " +
                         "dated folder under \"" + std::string(kBackupsFolder) +
                         "\". Then these figures are rewritten from the transactions:" + figures + "\n\n" +
                         "No transaction amount is changed and no record is removed.";
  if (listed > 0) {
    question += " The other " + std::to_string(listed) + " finding(s) are only listed, for you to put right.";
  }
  return question;
}

fs::path BackupFolderOf(std::string_view companyNo, const platform::LocalDateTime& now) {
  const std::string stamp = std::to_string(now.year) + "-" + TwoDigits(now.month) + "-" + TwoDigits(now.day) + "-" +
                            TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second);
  return fs::path(kBackupsFolder) / (files::CompanyFilePrefix(companyNo) + "-" + stamp);
}

RepairResult RepairBooks(const files::Services& services, const BooksCheck& check) {
  RepairResult result;
  if (!check.readAll) {
    result.failure = "The books could not all be read, so nothing was rewritten.";
    return result;
  }
  const std::string companyNo = services.session.CurrentCompany.CompanyNo.str();
  const fs::path folder = BackupFolderOf(companyNo, services.clock.Now());
  if (const model::FileOutcome copied = BackUpCompanyFiles(companyNo, folder); !copied) {
    result.failure = "The company's files could not be copied to \"" + folder.string() + "\": " + copied.error +
                     " Nothing was rewritten.";
    return result;
  }
  result.backupFolder = folder;
  files::KeyedFile customers = services.FileOf(files::CompanyFile::kCustomers);
  RepairRecords(customers, RepairableIn(check.findings, files::CompanyFile::kCustomers), &ApplyToCustomer, result);
  files::KeyedFile transactions = services.FileOf(files::CompanyFile::kTransactions);
  RepairRecords(transactions, RepairableIn(check.findings, files::CompanyFile::kTransactions), &ApplyToTransaction,
                result);
  RepairCompany(services, check.findings, result);
  return result;
}

}  // namespace books
