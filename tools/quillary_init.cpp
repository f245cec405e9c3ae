// quillary-init [--demo] DIR: prepares DIR as a data folder for a first start of the
// program, with the demo company in it when asked.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "engine/engine.h"
#include "tools/console_dialogs.h"
#include "tools/data_folder.h"
#include "tools/demo_company.h"
#include "model/company_session.h"
#include "platform/clock.h"
#include "platform/progress.h"

namespace {

constexpr int kPageBuffers = 30;

int Usage() {
  std::cerr << "usage: quillary-init [--demo] DIR\n"
               "Creates DIR if needed and puts there what a first start needs: the company list\n"
               "with company 1, LastCo.Dat, the payment terms list and the background picture.\n"
               "With --demo it also adds company 2, a supplier with customers, products and\n"
               "fifteen months of invoices and the payments on them, and makes it the current\n"
               "company.\n"
               "A folder that already holds LastCo.Dat is left as it is.\n";
  return 2;
}

bool EnterFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!error) std::filesystem::current_path(folder, error);
  if (!error) return true;
  std::cerr << "quillary-init: cannot use the folder " << folder << ": " << error.message() << "\n";
  return false;
}

}  // namespace

// Adds the demo company to the freshly set-up folder; false when it went wrong.
bool AddDemo(engine::Engine& engine, platform::Dialogs& dialogs) {
  platform::SystemClock clock;
  platform::SilentProgress progress;
  model::CompanySession session;
  const tools::DemoReport demo = tools::BuildDemoCompany({engine, dialogs, progress, clock, session});
  for (const std::string& problem : demo.problems) std::cerr << "quillary-init: " << problem << "\n";
  std::cout << "Demo company " << tools::kDemoCompanyNo << ", " << tools::kDemoCompanyName << ": " << demo.customers
            << " customers, " << demo.products << " products, " << demo.invoices << " invoices, "
            << demo.repeatMasters << " repeat billings, " << demo.payments << " payments.\n"
            << "For mailings: a label layout, a list of customers over 90 days and a reminder letter.\n";
  return demo.problems.empty();
}

int SetUp(const std::filesystem::path& folder, engine::Engine& engine, platform::Dialogs& dialogs, bool demo) {
  const tools::SetUpReport report = tools::SetUpDataFolder(engine, dialogs);
  if (report.alreadySetUp) {
    std::cout << folder.string() << " already holds a data folder (LastCo.Dat is there); nothing was changed.\n";
    return 0;
  }
  for (const std::string& name : report.created) std::cout << "Created " << (folder / name).string() << "\n";
  if (!report.error.empty()) {
    std::cerr << "quillary-init: " << report.error << "\n";
    return 1;
  }
  if (demo && !AddDemo(engine, dialogs)) return 1;
  std::cout << "The data folder " << folder.string() << " is ready.\n";
  return 0;
}

int main(int argc, char** argv) {
  const bool demo = argc == 3 && std::string_view(argv[1]) == "--demo";
  if (argc != 2 + (demo ? 1 : 0) || std::string_view(argv[argc - 1]).starts_with('-')) return Usage();
  const std::filesystem::path folder = std::filesystem::absolute(argv[argc - 1]);
  if (!EnterFolder(folder)) return 1;

  engine::Engine engine;
  engine.InitEngine(kPageBuffers);
  tools::ConsoleDialogs dialogs;
  const int status = SetUp(folder, engine, dialogs, demo);
  engine.ExitEngine();
  return status;
}
