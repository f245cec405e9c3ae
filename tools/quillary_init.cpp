// quillary-init DIR: prepares DIR as a data folder for a first start of the program.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "engine/engine.h"
#include "tools/console_dialogs.h"
#include "tools/data_folder.h"

namespace {

constexpr int kPageBuffers = 30;

int Usage() {
  std::cerr << "usage: quillary-init DIR\n"
               "Creates DIR if needed and puts there what a first start needs: the company list\n"
               "with company 1, LastCo.Dat, the payment terms list and the background picture.\n"
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

int main(int argc, char** argv) {
  if (argc != 2 || std::string_view(argv[1]).starts_with('-')) return Usage();
  const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
  if (!EnterFolder(folder)) return 1;

  engine::Engine engine;
  engine.InitEngine(kPageBuffers);
  tools::ConsoleDialogs dialogs;
  const tools::SetUpReport report = tools::SetUpDataFolder(engine, dialogs);
  engine.ExitEngine();

  if (report.alreadySetUp) {
    std::cout << folder.string() << " already holds a data folder (LastCo.Dat is there); nothing was changed.\n";
    return 0;
  }
  for (const std::string& name : report.created) std::cout << "Created " << (folder / name).string() << "\n";
  if (!report.error.empty()) {
    std::cerr << "quillary-init: " << report.error << "\n";
    return 1;
  }
  std::cout << "The data folder " << folder.string() << " is ready.\n";
  return 0;
}
