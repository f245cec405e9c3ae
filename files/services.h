// What the logic works with, made once by the program and handed down by reference:
// the engine, the ports to the user and the clock, and the company the program is in.
// It replaces a context struct per command; a window that shows its own progress
// passes a copy that reports there.
#pragma once

#include <functional>
#include <string_view>

#include "engine/engine.h"
#include "files/company_files.h"
#include "files/keyed_file.h"
#include "model/company_session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

namespace files {

// What the main window's first status panel says between runs.
inline constexpr std::string_view kStatusReady = "Ready.";

struct Services {
  engine::Engine& engine;
  platform::Dialogs& dialogs;
  platform::ProgressSink& progress;
  const platform::Clock& clock;
  model::CompanySession& session;
  // Writes the main window's first status panel; empty where nobody shows one.
  std::function<void(std::string_view)> showStatus{};

  Services WithProgress(platform::ProgressSink& shownIn) const {
    return {engine, dialogs, shownIn, clock, session, showStatus};
  }
  void ShowStatus(std::string_view text) const {
    if (showStatus) showStatus(text);
  }
  // One of the current company's files, or the company list, not yet opened.
  KeyedFile FileOf(CompanyFile file) const {
    return KeyedFile(engine, dialogs, progress, DescribeFile(file, session.CurrentCompany.CompanyNo.str()));
  }
};

}  // namespace files
