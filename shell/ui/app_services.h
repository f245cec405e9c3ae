// What the windows work with, made once by the program and shared by reference: the
// logic's services and what only windows need (help, the calculator, the printer set
// up in the printer dialog, the label queue).
#pragma once

#include <functional>
#include <string>

#include "documents/label_queue.h"
#include "files/services.h"
#include "platform/help.h"
#include "model/records.h"
#include "platform/launcher.h"

class QPrinter;
class QWidget;

namespace shell::ui {

struct AppServices : files::Services {
  platform::Help& help;
  platform::Launcher& launcher;
  QPrinter& printer;
  documents::LabelQueue& labelQueue;
  // The statement windows belong to a later library, so the program hands them in;
  // the customer manager's statement commands stay disabled without them.
  std::function<void(QWidget& parent, const model::CustomerRecord& customer)> showStatement{};
  // The batch run over the manager's open customer file; returns the manager's status
  // text, empty when nothing was printed.
  std::function<std::string(QWidget& parent, const files::Services& logic, files::KeyedFile& customers)>
      batchStatements{};
};

}  // namespace shell::ui
