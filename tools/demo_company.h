// The demo data folder: company 1 as a first start leaves it, and company 2, a
// wholesale supplier with customers, products, fifteen months of invoices and the
// payments received on them, all stored through the program's own bookkeeping, so it
// shows what the program does.
#pragma once

#include <string>
#include <vector>

#include "files/services.h"

namespace tools {

struct DemoReport {
  int customers = 0;
  int products = 0;
  int invoices = 0;
  int repeatMasters = 0;
  int payments = 0;  // postings of the payment wizard
  std::vector<std::string> problems;  // messages the bookkeeping raised; empty when all went well
};

constexpr std::string_view kDemoCompanyName = "Harbor Supply Co.";
constexpr std::string_view kDemoCompanyNo = "2";

// Fills the working directory, which must already be set up as a data folder (see
// SetUpDataFolder), with the engine started, and makes company 2 the current one. Dates run back from the
// clock's today, so every aging bucket has amounts in it.
DemoReport BuildDemoCompany(const files::Services& services);

}  // namespace tools
