// The base of the window tests: a data folder of their own as the working directory,
// and the services every window takes, with scripted dialogs, recorded help, a fixed
// clock and no calculator.
#pragma once

#include <QPrinter>

#include <gtest/gtest.h>

#include "documents/label_queue.h"
#include "engine/engine.h"
#include "engine/test_support.h"
#include "model/company_session.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/testing/fake_desktop.h"
#include "platform/testing/scripted_dialogs.h"
#include "shell/ui/app_services.h"

namespace shell::testing {

class WindowFixture : public ::testing::Test {
 protected:
  engine::testing::ScopedWorkingFolder folder_;
  engine::Engine engine_;
  platform::testing::ScriptedDialogs dialogs_;
  platform::testing::RecordingHelp help_;
  platform::FixedClock clock_{{2026, 12, 8, 14, 5, 0}};
  platform::testing::NoCalculator launcher_;
  QPrinter printer_;
  model::CompanySession session_;
  platform::SilentProgress progress_;
  documents::LabelQueue labelQueue_;
  ui::AppServices services_{{engine_, dialogs_, progress_, clock_, session_}, help_, launcher_, printer_, labelQueue_};
};

}  // namespace shell::testing
