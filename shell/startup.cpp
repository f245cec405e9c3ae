#include "shell/startup.h"

#include <filesystem>

#include "files/company_files.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "model/side_files.h"
#include "model/text.h"

namespace shell {
namespace {

constexpr std::string_view kNoDataFiles =
    "I do not find the billing data files. The data files must be in the same directory as the billing program.";
constexpr std::string_view kBackgroundGone =
    "Background bitmap image no longer exists. Unable to load background picture.";

}  // namespace

bool RereadCurrentCompany(const files::Services& services) {
  files::KeyedFile list = services.FileOf(files::CompanyFile::kCompanyList);
  if (!list.Open()) return false;
  engine::RecordNumber number = 0;
  model::CompanyRecord stored{};
  if (!files::FindCompanyByNumber(list, services.session.CurrentCompany, number, stored)) return false;
  services.session.CurrentCompany = stored;
  return true;
}

bool BackgroundFileMissing(const model::CompanyRecord& company) {
  const std::string background = company.BackgroundFile.str();
  std::error_code ignored;
  return background.size() > 1 && !std::filesystem::is_regular_file(background, ignored);
}

StartResult ApplyCompany(const files::Services& services) {
  StartResult result;
  result.state = StartState::kReady;
  model::CompanyRecord& company = services.session.CurrentCompany;
  if (model::TrimBlanks(company.CompanyName.raw()).size() < 2) {
    company.UseBackground = false;
    company.CompanyName = kSetUpCompanyName;
  } else {
    result.companySetUp = true;
    if (BackgroundFileMissing(company)) {
      company.UseBackground = false;
      services.dialogs.inform(kProgramCaption, kBackgroundGone, platform::Icon::kWarning);
    } else if (company.BackgroundFile.raw().size() > 1) {
      result.backgroundFile = company.BackgroundFile.str();
    }
  }
  if (!company.UseBackground) result.backgroundFile.clear();
  model::SetTodayText(services.session, services.clock);
  return result;
}

StartResult LoadStartingCompany(const files::Services& services) {
  if (!model::LastCompanyFileExists()) {
    services.dialogs.inform(kProgramCaption, kNoDataFiles, platform::Icon::kWarning);
    return {};
  }
  services.engine.InitEngine(kPageBuffers);
  if (!services.engine.Ok()) {
    StartResult stopped;
    stopped.state = StartState::kEngineStopped;
    return stopped;
  }
  if (const model::FileOutcome read = model::ReadLastCompany(services.session.CurrentCompany); !read) {
    services.dialogs.inform(kProgramCaption, read.error, platform::Icon::kError);
  }
  RereadCurrentCompany(services);
  return ApplyCompany(services);
}

StartResult MakeCompanyCurrent(const files::Services& services, const model::CompanyRecord& chosen) {
  // Written before ApplyCompany, which may put the set-up reminder in the name.
  if (const model::FileOutcome written = model::WriteLastCompany(chosen, services.session.CurrentCompany); !written) {
    services.dialogs.inform(kProgramCaption, written.error, platform::Icon::kError);
  }
  return ApplyCompany(services);
}

StartResult ReloadCurrentCompany(const files::Services& services) {
  RereadCurrentCompany(services);
  const model::CompanyRecord reread = services.session.CurrentCompany;
  return MakeCompanyCurrent(services, reread);
}

bool AgingDueToday(const model::CompanySession& session) {
  return session.CurrentCompany.LastAgingDate.raw() != session.TodayText;
}

}  // namespace shell
