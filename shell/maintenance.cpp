#include "shell/maintenance.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/file_format.h"
#include "engine/keyed_file.h"
#include "model/company_files.h"
#include "model/dates.h"
#include "model/keys.h"
#include "model/records.h"
#include "model/text.h"
#include "shell/aging.h"
#include "shell/password.h"

namespace shell {
namespace {

// --- Purge ----------------------------------------------------------------------

constexpr std::string_view kPurgeCaption = "Delete Paid Records";
constexpr std::string_view kPurgeQuestion =
    "This option will remove only PAID transactions older than the date you select. Once removed, they will no "
    "longer appear on any reports or system options. We suggest you leave 3 years on file and print reports for "
    "what you are about to remove. Continue?";
constexpr std::string_view kConfirmCaption = "Please Confirm";
constexpr std::string_view kRemovedCaption = "Records Removed";

struct PurgeFiles {
  engine::KeyedFile memos;
  engine::KeyedFile transactions;
  engine::KeyedFile details;

  bool Open() { return memos.Open() && transactions.Open() && details.Open(); }
  void Close() {
    memos.Close();
    transactions.Close();
    details.Close();
  }
};

engine::KeyedFile CompanyKeyedFile(const PurgeContext& context, model::CompanyFile file) {
  return {context.engine, context.dialogs, context.progress,
          model::DescribeFile(file, context.session.CurrentCompany.CompanyNo.view())};
}

void SetStatus(const PurgeContext& context, std::string_view text) {
  if (context.setStatus) context.setStatus(text);
}

void ReportFailure(const PurgeContext& context, std::string_view text) {
  context.dialogs.inform(kPurgeCaption, text, platform::Icon::kError);
}

bool HasCode(const model::LetterCode& field, std::string_view code) { return model::TrimBlanks(field.view()) == code; }

// Both dates are read as dates, so the removal does not depend on the display format
// in force. A paid date that is no date cannot be shown to be old: the record stays.
bool PaidBefore(const model::TransactionRecord& transaction, const model::Date& cutOff) {
  if (!HasCode(transaction.PaidFlag, "P")) return false;
  const std::optional<model::Date> paid = model::ParseSortableDate(transaction.PaidSortDate.view());
  return paid && *paid < cutOff;
}

// The lines are collected before any is deleted, so the index walk never has to find
// its place again in an index it has just changed.
std::vector<engine::RecordNumber> LinesOfInvoice(engine::KeyedFile& details, const engine::KeyString& invoiceKey) {
  std::vector<engine::RecordNumber> lines;
  engine::Engine& engine = details.engine();
  engine::RecordNumber number = 0;
  engine::KeyString key = invoiceKey;
  bool found = details.Search(model::detail_key::kInvoiceNo, number, key);
  while (found && key == invoiceKey) {
    lines.push_back(number);
    engine.NextKey(details.Block(), model::detail_key::kInvoiceNo, number, key);
    found = engine.Ok();
  }
  return lines;
}

void DeleteDetailLines(const PurgeContext& context, engine::KeyedFile& details,
                       const model::TransactionRecord& transaction) {
  model::DetailRecord probe{};
  probe.InvoiceNo = transaction.InvoiceNo.view();
  const engine::KeyString invoiceKey = model::BuildKey(probe, model::detail_key::kInvoiceNo);
  for (const engine::RecordNumber number : LinesOfInvoice(details, invoiceKey)) {
    model::DetailRecord line{};
    context.engine.GetRecord(details.Block(), number, engine::RecordBytes(line));
    if (!context.engine.Ok() || !details.Delete(number, line)) ReportFailure(context, "Delete detail recs failed");
  }
}

void DeleteMemo(const PurgeContext& context, engine::KeyedFile& memos, const model::TransactionRecord& transaction) {
  model::MemoRecord probe{};
  probe.InvoiceNo = transaction.InvoiceNo.view();
  const engine::KeyString wanted = model::BuildKey(probe, model::memo_key::kInvoiceNo);
  engine::KeyString key = wanted;
  engine::RecordNumber number = 0;
  if (!memos.Search(model::memo_key::kInvoiceNo, number, key) || !(key == wanted)) {
    ReportFailure(context, "Memo search failed");
    return;
  }
  model::MemoRecord memo{};
  context.engine.GetRecord(memos.Block(), number, engine::RecordBytes(memo));
  if (!context.engine.Ok() || !memos.Delete(number, memo)) ReportFailure(context, "Memo record deletion failed");
}

// A transaction that could not be deleted keeps its lines and memo: without it they
// would belong to nothing, with it they still serve its reports.
bool RemoveTransaction(const PurgeContext& context, PurgeFiles& files, engine::RecordNumber number,
                       const model::TransactionRecord& transaction) {
  if (!files.transactions.Delete(number, transaction)) {
    ReportFailure(context, "Delete Failed.");
    return false;
  }
  DeleteDetailLines(context, files.details, transaction);
  if (HasCode(transaction.BodyStyle, "M")) DeleteMemo(context, files.memos, transaction);
  return true;
}

int RemovePaidBefore(const PurgeContext& context, PurgeFiles& files, const model::Date& cutOff) {
  engine::Engine& engine = context.engine;
  int removed = 0;
  engine::RecordNumber number = 0;
  for (;;) {
    engine.NextUsedRecord(files.transactions.Block(), number);
    if (!engine.Ok()) break;
    model::TransactionRecord transaction{};
    engine.GetRecord(files.transactions.Block(), number, engine::RecordBytes(transaction));
    if (!engine.Ok()) break;
    context.progress.KeepResponsive();
    if (PaidBefore(transaction, cutOff) && RemoveTransaction(context, files, number, transaction)) ++removed;
  }
  if (engine.Status() != engine::status::kNoUsedRecord) {
    ReportFailure(context, "The transactions could not all be read (status " + std::to_string(engine.Status()) +
                               "); the purge stopped there.");
  }
  return removed;
}

bool UserAgrees(const PurgeContext& context) {
  return CheckPassword(context.dialogs) &&
         context.dialogs.confirm(kPurgeCaption, kPurgeQuestion, platform::Answer::kNo);
}

struct ChosenDate {
  std::string text;
  model::Date date;
};

std::optional<ChosenDate> ChooseCutOff(const PurgeContext& context) {
  std::optional<std::string> text = context.chooseDate ? context.chooseDate() : std::nullopt;
  if (!text) return std::nullopt;
  const std::optional<model::Date> date = model::ParseDisplayDate(*text, context.session.DateOrder());
  if (!date) {
    ReportFailure(context, "\"" + *text + "\" is not a date.");
    return std::nullopt;
  }
  return ChosenDate{std::move(*text), *date};
}

// --- Rebuild --------------------------------------------------------------------

constexpr std::string_view kRebuiltCaption = "Rebuild Complete";
constexpr std::string_view kRebuildFailedCaption = "Rebuild Failed";
constexpr std::array kFilesInRebuildOrder = {model::CompanyFile::kCompanyList, model::CompanyFile::kCustomers,
                                             model::CompanyFile::kTransactions, model::CompanyFile::kDetails,
                                             model::CompanyFile::kMemos,       model::CompanyFile::kProducts};

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

// With N.SAV present, N.DAT is the interrupted rebuild's own copy when it is shorter
// than a data header or its header lists no index: the program creates no file
// without indexes, and the rebuild gives its copy the indexes only after N.SAV is
// gone. Every record in such a copy is also in N.SAV.
bool IsCopyOfInterruptedRebuild(const std::string& dataPath, int recordLength) {
  std::ifstream data(dataPath, std::ios::binary);
  if (!data) return false;
  std::array<std::byte, engine::format::kDataHeaderSize> bytes{};
  data.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (data.gcount() < static_cast<std::streamsize>(bytes.size())) return true;
  const engine::format::DataHeader header = engine::format::DataHeader::Load(bytes.data());
  return header.nrOfKeys == 0 && header.lenRec == recordLength;
}

void ReportLeftoverOfInterruptedRebuild(const RebuildContext& context, const std::string& name) {
  const std::string data = engine::FileSetPath(name, "DAT");
  const std::string saved = engine::FileSetPath(name, "SAV");
  context.dialogs.inform(kRebuildFailedCaption,
                         "The file " + name + " was not rebuilt: an earlier rebuild of it was interrupted and left " +
                             data + " and " + saved + " side by side. " + saved +
                             " is the complete copy of the data from before that rebuild. Move " + data +
                             " out of the data folder (keep it until the data have been checked), then choose "
                             "Rebuild Data Files again: the rebuild will start from " +
                             saved + ".",
                         platform::Icon::kWarning);
}

void ReportRebuildFailure(const RebuildContext& context, const engine::FileDescription& description, int status) {
  context.dialogs.inform(kRebuildFailedCaption,
                         "The " + description.rebuildCaption + " file " + description.name +
                             " could not be rebuilt (status " + std::to_string(status) + ").",
                         platform::Icon::kError);
}

// Clears the way for the engine's own resumption from N.SAV, or explains why not.
bool LeftoverCleared(const RebuildContext& context, const engine::FileDescription& description) {
  const std::string dataPath = engine::FileSetPath(description.name, "DAT");
  if (!FileExists(engine::FileSetPath(description.name, "SAV")) || !FileExists(dataPath)) return true;
  std::error_code error;
  if (IsCopyOfInterruptedRebuild(dataPath, description.recordLength) && std::filesystem::remove(dataPath, error))
    return true;
  ReportLeftoverOfInterruptedRebuild(context, description.name);
  return false;
}

// A file set with neither a data file nor a saved copy has nothing to rebuild; the
// engine would only refuse, and creating it is the managers' business.
bool RebuildFile(const RebuildContext& context, const engine::FileDescription& description) {
  if (!FileExists(engine::FileSetPath(description.name, "DAT")) &&
      !FileExists(engine::FileSetPath(description.name, "SAV")))
    return true;
  if (!LeftoverCleared(context, description)) return false;
  engine::KeyedFile file(context.engine, context.dialogs, context.progress, description);
  if (file.Rebuild()) return true;
  ReportRebuildFailure(context, description, context.engine.Status());
  return false;
}

}  // namespace

bool DeletePaidInvoices(const PurgeContext& context) {
  if (!UserAgrees(context)) return false;
  const std::optional<ChosenDate> cutOff = ChooseCutOff(context);
  if (!cutOff) return false;
  if (!context.dialogs.confirm(kConfirmCaption,
                               "All paid records older than " + cutOff->text + " will be removed. Continue?",
                               platform::Answer::kNo))
    return false;
  SetStatus(context, "Removing Records...");
  // The cut-off is compared as a date, so no date format has to be switched meanwhile.
  PurgeFiles files{CompanyKeyedFile(context, model::CompanyFile::kMemos),
                   CompanyKeyedFile(context, model::CompanyFile::kTransactions),
                   CompanyKeyedFile(context, model::CompanyFile::kDetails)};
  if (!files.Open()) {
    files.Close();
    ReportFailure(context, "The invoice files could not be opened. Nothing was removed.");
    SetStatus(context, kStatusReady);
    return false;
  }
  const int removed = RemovePaidBefore(context, files, cutOff->date);
  files.Close();
  const std::string count = std::to_string(removed);
  context.dialogs.inform(kRemovedCaption,
                         count + " paid records older than " + cutOff->text + " were removed.");
  SetStatus(context, count + " records were removed.");
  return true;
}

bool RebuildDataFiles(const RebuildContext& context) {
  const std::string_view companyNo = context.session.CurrentCompany.CompanyNo.view();
  const bool companyFilesNamed = model::CompanyNumberProblem(companyNo).empty();
  bool allRebuilt = true;
  for (const model::CompanyFile file : kFilesInRebuildOrder) {
    if (file != model::CompanyFile::kCompanyList && !companyFilesNamed) continue;
    if (!RebuildFile(context, model::DescribeFile(file, companyNo))) allRebuilt = false;
  }
  // After a reported failure the closing message would contradict it.
  if (allRebuilt) context.dialogs.inform(kRebuiltCaption, "The data files have been rebuilt.");
  return allRebuilt;
}

}  // namespace shell
