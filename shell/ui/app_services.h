// What the windows work with, made once by the program and shared by reference.
#pragma once

#include "engine/engine.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/launcher.h"
#include "shell/company_session.h"

class QPrinter;

namespace shell::ui {

struct AppServices {
  engine::Engine& engine;
  platform::Dialogs& dialogs;
  platform::Help& help;
  const platform::Clock& clock;
  platform::Launcher& launcher;
  QPrinter& printer;
  CompanySession& session;
};

}  // namespace shell::ui
