#include "shell/startup.h"

#include <filesystem>

#include "files/keyed_file.h"
#include "files/company_files.h"
#include "model/side_files.h"
#include "model/text.h"
#include "shell/company_list.h"

namespace shell {
namespace {

constexpr std::string_view kNoDataFiles =
    "I do not find the billing data files. The data files must be in the same directory as the billing program.";
constexpr std::string_view kBackgroundGone =
    "Background bitmap image no longer exists. Unable to load background picture.";

}  // namespace

bool RereadCurrentCompany(engine::Engine& engine, platform::Dialogs& dialogs, platform::ProgressSink& progress,
                          CompanySession& session) {
  files::KeyedFile list(engine, dialogs, progress, files::DescribeFile(files::CompanyFile::kCompanyList));
  if (!list.Open()) return false;
  engine::RecordNumber number = 0;
  model::CompanyRecord stored{};
  if (!FindCompanyByNumber(list, session.CurrentCompany, number, stored)) return false;
  session.CurrentCompany = stored;
  return true;
}

bool BackgroundFileMissing(const model::CompanyRecord& company) {
  const std::string background = company.BackgroundFile.str();
  std::error_code ignored;
  return background.size() > 1 && !std::filesystem::is_regular_file(background, ignored);
}

StartResult ApplyCompany(platform::Dialogs& dialogs, const platform::Clock& clock, CompanySession& session) {
  StartResult result;
  result.state = StartState::kReady;
  model::CompanyRecord& company = session.CurrentCompany;
  if (model::TrimBlanks(company.CompanyName.view()).size() < 2) {
    company.UseBackground = false;
    company.CompanyName = kSetUpCompanyName;
  } else {
    result.companySetUp = true;
    if (BackgroundFileMissing(company)) {
      company.UseBackground = false;
      dialogs.inform(kProgramCaption, kBackgroundGone, platform::Icon::kWarning);
    } else if (company.BackgroundFile.view().size() > 1) {
      result.backgroundFile = company.BackgroundFile.str();
    }
  }
  if (!company.UseBackground) result.backgroundFile.clear();
  SetTodayText(session, clock);
  return result;
}

StartResult LoadStartingCompany(engine::Engine& engine, platform::Dialogs& dialogs, platform::ProgressSink& progress,
                                const platform::Clock& clock, CompanySession& session) {
  if (!model::LastCompanyFileExists()) {
    dialogs.inform(kProgramCaption, kNoDataFiles, platform::Icon::kWarning);
    return {};
  }
  engine.InitEngine(kPageBuffers);
  if (!engine.Ok()) {
    StartResult stopped;
    stopped.state = StartState::kEngineStopped;
    return stopped;
  }
  if (const model::FileOutcome read = model::ReadLastCompany(session.CurrentCompany); !read) {
    dialogs.inform(kProgramCaption, read.error, platform::Icon::kError);
  }
  RereadCurrentCompany(engine, dialogs, progress, session);
  return ApplyCompany(dialogs, clock, session);
}

StartResult MakeEditedCompanyCurrent(platform::Dialogs& dialogs, const platform::Clock& clock,
                                     CompanySession& session) {
  // Written before ApplyCompany, which may put the set-up reminder in the name.
  if (const model::FileOutcome written = model::WriteLastCompany(session.EditCompany, session.CurrentCompany);
      !written) {
    dialogs.inform(kProgramCaption, written.error, platform::Icon::kError);
  }
  return ApplyCompany(dialogs, clock, session);
}

StartResult ReloadCurrentCompany(engine::Engine& engine, platform::Dialogs& dialogs,
                                 platform::ProgressSink& progress, const platform::Clock& clock,
                                 CompanySession& session) {
  session.EditCompany = session.CurrentCompany;
  RereadCurrentCompany(engine, dialogs, progress, session);
  session.EditCompany = session.CurrentCompany;
  return MakeEditedCompanyCurrent(dialogs, clock, session);
}

bool AgingDueToday(const CompanySession& session) {
  return session.CurrentCompany.LastAgingDate.view() != session.TodayText;
}

}  // namespace shell
