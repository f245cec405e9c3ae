// The company the books benchmark times its operations on: ten years of a busy
// supplier's receivables (customers, invoices, payments, deposits, repeat billing),
// written through the program's own bookkeeping so the files hold exactly what a user
// of the program would have. Building takes many minutes, so it is made once and kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "files/services.h"
#include "platform/clock.h"

namespace bench::books {

// Raised whenever what the generator writes changes: an older company is rebuilt.
inline constexpr int kGeneratorVersion = 2;

// The day every company of this generator is "today", so that aging, due dates and
// the timings do not drift with the calendar.
inline constexpr platform::LocalDateTime kBenchToday{2026, 12, 1, 9, 0, 0};

inline constexpr std::string_view kCompanyNo = "2";
inline constexpr int kRepeatMasters = 1000;

struct CompanyShape {
  int customers = 10000;
  int transactions = 1000000;  // about: invoices and the payment records they lead to
};

// What was built, as the benchmark's header reports it; read back from the folder.
struct CompanySize {
  std::int64_t customers = 0;
  std::int64_t transactions = 0;
  std::int64_t detailLines = 0;
  std::string statementCustomer;  // the customer with about a thousand records
  std::int64_t statementRecords = 0;
  double buildSeconds = 0;
};

// One of the current company's files, not yet opened, kept where it can stay open
// while the company is worked on.
inline std::unique_ptr<files::KeyedFile> KeptFile(const files::Services& services, files::CompanyFile which) {
  return std::make_unique<files::KeyedFile>(
      services.engine, services.dialogs, services.progress,
      files::DescribeFile(which, services.session.CurrentCompany.CompanyNo.str()));
}

// Sets up `folder` (which must be empty or missing) as a data folder with the bench
// company in it, current. Progress goes to standard error. False after telling why.
bool BuildCompany(const std::filesystem::path& folder, const CompanyShape& shape, CompanySize& size);

// The size recorded with a company built by this generator version and shape;
// false when there is none (missing, older, or of another shape).
bool ReadCompanySize(const std::filesystem::path& folder, const CompanyShape& shape, CompanySize& size);

}  // namespace bench::books
