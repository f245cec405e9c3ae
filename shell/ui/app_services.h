// What the windows work with, made once by the program and shared by reference: the
// logic's services and what only windows need (help, the calculator, the printer set
// up in the printer dialog, the label queue).
#pragma once

#include "documents/label_queue.h"
#include "files/services.h"
#include "platform/help.h"
#include "platform/launcher.h"

class QPrinter;

namespace shell::ui {

struct AppServices : files::Services {
  platform::Help& help;
  platform::Launcher& launcher;
  QPrinter& printer;
  documents::LabelQueue& labelQueue;
};

}  // namespace shell::ui
