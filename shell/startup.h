// Loading the company the program starts with: the data-folder check, the engine,
// the last company's settings from the company list, and the checks on its name and
// background picture.
#pragma once

#include <string>
#include <string_view>

#include "files/services.h"
#include "model/company_session.h"

namespace shell {

constexpr std::string_view kProgramCaption = "VT Quillary PRO";
constexpr std::string_view kSetUpCompanyName = "Please Setup Your Company.";
constexpr int kPageBuffers = 30;

enum class StartState {
  kNoDataFiles,    // the program ends
  kEngineStopped,  // the engine could not start: the window shows without a company
  kReady,
};

struct StartResult {
  StartState state = StartState::kNoDataFiles;
  bool companySetUp = false;   // false: the name is the set-up reminder, no background
  std::string backgroundFile;  // to show tiled; empty for none
};

// Reports a missing data folder and a missing background picture itself.
StartResult LoadStartingCompany(const files::Services& services);

// Re-reads the current company from the company list by its number, so its settings
// are the stored ones; false (session unchanged) when it cannot be found.
bool RereadCurrentCompany(const files::Services& services);

// The company names a background picture (more than one character) that is not there.
bool BackgroundFileMissing(const model::CompanyRecord& company);

// Checks the company's name and background picture, as after every company change.
StartResult ApplyCompany(const files::Services& services);

// After the company manager: the company chosen there becomes the current one
// ("LastCo.Dat" rewritten, settings re-applied).
StartResult MakeCompanyCurrent(const files::Services& services, const model::CompanyRecord& chosen);
// After the current company was edited: its stored settings are read back and applied.
StartResult ReloadCurrentCompany(const files::Services& services);

// The daily aging run is due when the last run's date text is not today's.
bool AgingDueToday(const model::CompanySession& session);

}  // namespace shell
