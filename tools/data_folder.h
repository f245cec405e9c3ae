// Setting up a data folder for a first start: what an installer would put there.
// Works on the current working directory, which is the data folder.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/dialogs.h"

namespace tools {

struct SetUpReport {
  bool alreadySetUp = false;         // "LastCo.Dat" was there: nothing was touched
  std::vector<std::string> created;  // file names, in the order they were made
  std::string error;                 // empty on success
};

// Creates whatever is missing: the company list with company 1, "LastCo.Dat", the
// payment terms list and the background picture. A folder that already has
// "LastCo.Dat" is left exactly as it is.
SetUpReport SetUpDataFolder(engine::Engine& engine, platform::Dialogs& dialogs);

// The payment terms a new installation offers, sorted as the terms editor keeps them.
std::vector<std::string> StarterTerms();

}  // namespace tools
