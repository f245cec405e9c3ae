// The three small files beside the keyed files in the data folder: the payment terms
// list shared by all companies, the copy of the last company chosen, and the
// start-up password.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"
#include "model/whole_file.h"

namespace model {

constexpr std::string_view kTermsFileName = "QYTERMS.DAT";
constexpr std::string_view kLastCompanyFileName = "LastCo.Dat";
constexpr std::string_view kPasswordFileName = "qy1confg.dat";
constexpr std::size_t kTermCapacity = 35;
constexpr std::size_t kPasswordCapacity = 20;

// One term per line, lines ended by CR LF. A missing file is an empty list.
FileOutcome LoadTerms(std::vector<std::string>& terms);
FileOutcome SaveTerms(const std::vector<std::string>& terms);

// Copies `edit` into `current` and replaces "LastCo.Dat" with that one record.
FileOutcome WriteLastCompany(const CompanyRecord& edit, CompanyRecord& current);
FileOutcome ReadLastCompany(CompanyRecord& current);
// Its presence says the data files are in this folder.
bool LastCompanyFileExists();

// `password` is nullopt when no password is set (no file).
FileOutcome ReadPassword(std::optional<std::string>& password);
// Stores the entry trimmed and cut to 20 characters; an entry shorter than 2
// characters removes the password instead.
FileOutcome WritePassword(std::string_view entry);
FileOutcome RemovePassword();
// What an entry stores: trimmed and cut to 20 characters.
std::string PasswordOfEntry(std::string_view entry);
// An entry matches when, trimmed, it equals the stored password exactly (case counts).
bool PasswordMatches(std::string_view entry, std::string_view stored);

}  // namespace model
