#include "shell/maintenance.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "books/purge.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/table.h"
#include "model/dates.h"
#include "model/keys.h"
#include "model/records.h"
#include "model/text.h"
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

void ReportFailure(const files::Services& services, std::string_view text) {
  services.dialogs.inform(kPurgeCaption, text, platform::Icon::kError);
}

bool UserAgrees(const files::Services& services) {
  return CheckPassword(services.dialogs) &&
         services.dialogs.confirm(kPurgeCaption, kPurgeQuestion, platform::Answer::kNo);
}

struct ChosenDate {
  std::string text;
  model::Date date;
};

std::optional<ChosenDate> ChooseCutOff(const files::Services& services, const DateChooser& chooseDate) {
  std::optional<std::string> text = chooseDate ? chooseDate() : std::nullopt;
  if (!text) return std::nullopt;
  const std::optional<model::Date> date = model::ParseDisplayDate(*text, services.session.DateOrder());
  if (!date) {
    ReportFailure(services, "\"" + *text + "\" is not a date.");
    return std::nullopt;
  }
  // A mistyped year far ahead would take every paid record with it.
  if (model::TodayOf(services.clock) < *date) {
    services.dialogs.inform(kPurgeCaption,
                            *text + " is after today. Only records paid before a day that has come can be removed; "
                                    "choose today or an earlier day.",
                            platform::Icon::kWarning);
    return std::nullopt;
  }
  return ChosenDate{std::move(*text), *date};
}

// --- Rebuild --------------------------------------------------------------------

constexpr std::string_view kRebuiltCaption = "Rebuild Complete";
constexpr std::string_view kRebuildFailedCaption = "Rebuild Failed";
constexpr std::array kFilesInRebuildOrder = {files::CompanyFile::kCompanyList, files::CompanyFile::kCustomers,
                                             files::CompanyFile::kTransactions, files::CompanyFile::kDetails,
                                             files::CompanyFile::kMemos,       files::CompanyFile::kProducts};

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

void ReportRebuildFailure(const files::Services& services, const files::FileDescription& description, int status) {
  services.dialogs.inform(kRebuildFailedCaption,
                         "The " + description.rebuildCaption + " file " + description.name +
                             " could not be rebuilt (status " + std::to_string(status) + ").",
                         platform::Icon::kError);
}

// A file set with neither a data file nor a saved copy has nothing to rebuild; the
// engine would only refuse, and creating it is the managers' business.
bool RebuildFile(const files::Services& services, const files::FileDescription& description) {
  if (!FileExists(engine::FileSetPath(description.name, "DAT")) &&
      !FileExists(engine::FileSetPath(description.name, "SAV")))
    return true;
  files::KeyedFile file(services.engine, services.dialogs, services.progress, description);
  if (file.Rebuild()) return true;
  ReportRebuildFailure(services, description, services.engine.Status());
  return false;
}

}  // namespace

bool DeletePaidInvoices(const files::Services& services, const DateChooser& chooseDate) {
  if (!UserAgrees(services)) return false;
  const std::optional<ChosenDate> cutOff = ChooseCutOff(services, chooseDate);
  if (!cutOff) return false;
  if (!services.dialogs.confirm(kConfirmCaption,
                                "All paid records older than " + cutOff->text + " will be removed. Continue?",
                                platform::Answer::kNo))
    return false;
  services.ShowStatus("Removing Records...");
  // The cut-off is compared as a date, so no date format has to be switched meanwhile.
  const books::PurgeResult purged = books::RemovePaidBefore(services, cutOff->date);
  if (!purged.opened) {
    services.ShowStatus(files::kStatusReady);
    return false;
  }
  const std::string count = std::to_string(purged.removed);
  services.dialogs.inform(kRemovedCaption, count + " paid records older than " + cutOff->text + " were removed.");
  services.ShowStatus(count + " records were removed.");
  return true;
}

bool RebuildDataFiles(const files::Services& services) {
  const std::string companyNo = services.session.CurrentCompany.CompanyNo.str();
  const bool companyFilesNamed = files::CompanyNumberProblem(companyNo).empty();
  bool allRebuilt = true;
  for (const files::CompanyFile file : kFilesInRebuildOrder) {
    if (file != files::CompanyFile::kCompanyList && !companyFilesNamed) continue;
    if (!RebuildFile(services, files::DescribeFile(file, companyNo))) allRebuilt = false;
  }
  // After a reported failure the closing message would contradict it.
  if (allRebuilt) services.dialogs.inform(kRebuiltCaption, "The data files have been rebuilt.");
  return allRebuilt;
}

}  // namespace shell
