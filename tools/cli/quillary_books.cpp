// quillary-books DATA_DIR [--company N] COMMAND: the books of a data folder from the
// command line. See tools/cli/books_command.h, or run it with --help.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "engine/engine.h"
#include "model/company_session.h"
#include "platform/clock.h"
#include "platform/progress.h"
#include "platform/qt/single_instance.h"
#include "tools/cli/books_command.h"
#include "tools/console_dialogs.h"

namespace {

constexpr int kPageBuffers = 30;

bool EnterFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::current_path(folder, error);
  if (!error) return true;
  std::cerr << "quillary-books: cannot use the data folder " << folder << ": " << error.message() << "\n";
  return false;
}

int Run(const tools::BooksCommand& command) {
  engine::Engine engine;
  engine.InitEngine(kPageBuffers);
  tools::ConsoleDialogs dialogs;
  platform::SilentProgress progress;
  platform::SystemClock clock;
  model::CompanySession session;
  const files::Services services{engine, dialogs, progress, clock, session};
  documents::LabelQueue queue;  // statements may add to it; nobody prints it here
  int status = tools::kBooksFailed;
  if (tools::SelectCompany(services, command.company)) status = tools::RunBooksCommand(command, services, queue, std::cout);
  engine.ExitEngine();
  return status;
}

// Qt's notes about the desktop session (no runtime folder under cron, no screen) are
// not the command's business; its own messages go to standard error.
void KeepOnlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  std::string error;
  const std::optional<tools::BooksCommand> command = tools::ParseBooksCommand(words, error);
  if (!command) {
    std::cerr << "quillary-books: " << error << "\n" << tools::BooksUsage();
    return tools::kBooksUsage;
  }
  if (command->name == "help") {
    std::cout << tools::BooksUsage();
    return tools::kBooksDone;
  }
  // Statements are drawn with Qt's printing, which needs an application but no screen.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(KeepOnlyQtErrors);
  QApplication application(argc, argv);
  const std::filesystem::path folder = std::filesystem::absolute(command->dataFolder);
  // Held for the whole command, so the program cannot open the folder meanwhile.
  platform::qt::SingleInstance guard(QString::fromStdString(folder.string()));
  if (!guard.Lock()) {
    std::cerr << "quillary-books: the program has the data folder " << folder.string()
              << " open; close it there and run the command again.\n";
    return tools::kBooksFolderInUse;
  }
  if (!EnterFolder(folder)) return tools::kBooksFailed;
  return Run(*command);
}
