#include "tools/data_folder.h"

#include <filesystem>

#include "files/company_files.h"
#include "files/keyed_file.h"
#include "files/table.h"
#include "model/company_defaults.h"
#include "model/keys.h"
#include "model/side_files.h"
#include "platform/progress.h"
#include "tools/background_picture.h"

namespace tools {
namespace {

bool Exists(std::string_view name) {
  std::error_code ignored;
  return std::filesystem::exists(name, ignored);
}

std::string EngineFailure(std::string_view doing, int status) {
  return "Could not " + std::string(doing) + " (status " + std::to_string(status) + ").";
}

// The company that comes first by number, if the list holds any.
bool FirstCompany(files::KeyedFile& list, model::CompanyRecord& company) {
  bool found = false;
  files::Table<model::CompanyRecord>(list).ForEach(model::company_key::kNumber, [&](const auto& row) {
    company = row.record;
    found = true;
    return false;
  });
  return found;
}

// Leaves the company to remember as the last one in `company`.
bool EnsureCompanyList(engine::Engine& engine, platform::Dialogs& dialogs, model::CompanyRecord& company,
                       SetUpReport& report) {
  platform::SilentProgress progress;
  files::KeyedFile list(engine, dialogs, progress, files::DescribeFile(files::CompanyFile::kCompanyList));
  const bool existed = Exists(engine::FileSetPath(files::kCompanyListName, "DAT"));
  if (!existed && !list.Create()) {
    report.error = EngineFailure("create the company list", engine.Status());
    return false;
  }
  if (!list.Open()) {
    report.error = EngineFailure("open the company list", list.FailureStatus());
    return false;
  }
  if (!existed) {
    report.created.push_back(engine::FileSetPath(files::kCompanyListName, "DAT"));
    report.created.push_back(engine::FileSetPath(files::kCompanyListName, "IX"));
  }
  if (FirstCompany(list, company)) return true;
  company = model::StarterCompany();
  engine::RecordNumber added = 0;
  if (list.Add(company, added)) return true;
  report.error = EngineFailure("add company 1 to the company list", list.FailureStatus());
  return false;
}

bool EnsureFile(std::string_view name, const model::FileOutcome& written, SetUpReport& report) {
  if (!written) {
    report.error = written.error;
    return false;
  }
  report.created.emplace_back(name);
  return true;
}

}  // namespace

std::vector<std::string> StarterTerms() {
  return {"1% 10 Net 30", "2% 10 Net 30",   "C.O.D.",      "Due Upon Receipt", "Net 10 Days", "Net 15 Days",
          "Net 30 Days",  "Net 45 Days",    "Net 60 Days", "Net 90 Days",      "Prepaid"};
}

SetUpReport SetUpDataFolder(engine::Engine& engine, platform::Dialogs& dialogs) {
  SetUpReport report;
  if (model::LastCompanyFileExists()) {
    report.alreadySetUp = true;
    return report;
  }
  model::CompanyRecord company{};
  if (!EnsureCompanyList(engine, dialogs, company, report)) return report;
  if (!Exists(model::kTermsFileName) &&
      !EnsureFile(model::kTermsFileName, model::SaveTerms(StarterTerms()), report)) {
    return report;
  }
  if (!Exists(model::kDefaultBackground) &&
      !EnsureFile(model::kDefaultBackground, model::WriteWholeFile(model::kDefaultBackground, BackgroundBitmap()),
                  report)) {
    return report;
  }
  // Last, because its presence marks a finished data folder.
  model::CompanyRecord current{};
  EnsureFile(model::kLastCompanyFileName, model::WriteLastCompany(company, current), report);
  return report;
}

}  // namespace tools
