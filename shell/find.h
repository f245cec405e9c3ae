// The find box's search: which fields of each file are searched and which are shown,
// and one pass over a file in record-slot order collecting a list row for every
// record that holds the search text.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/keyed_file.h"
#include "model/records.h"

namespace shell {

enum class FindMode { kTransactions, kCustomers, kProducts, kCompanies };

constexpr std::size_t kFindColumnCount = 7;
// The box takes 15 characters but only the first 10 are looked for.
constexpr int kFindTextMaxLength = 15;
constexpr std::size_t kSearchTextLength = 10;

using FindHeadings = std::array<std::string_view, kFindColumnCount>;

// Blank headings stand for columns the mode leaves empty.
const FindHeadings& FindColumnHeadings(FindMode mode);

// The typed text as it is looked for: trimmed, its first 10 characters, in the
// files' encoding and folded (upper case, accents taken off) the way fields are
// folded when they are compared.
std::string SearchTextOf(std::string_view typed);

// One line of the result list: the first column's text, then the other columns'.
// Modes with fewer than seven columns have fewer sub-items.
struct FoundRow {
  std::string caption;
  std::vector<std::string> subItems;
  friend bool operator==(const FoundRow&, const FoundRow&) = default;
};

// The record's row when one of its searched fields, upper-cased, contains
// `searchText` (already made by SearchTextOf); nullopt otherwise.
std::optional<FoundRow> MatchingRow(const model::TransactionRecord& transaction, std::string_view searchText);
std::optional<FoundRow> MatchingRow(const model::CustomerRecord& customer, std::string_view searchText);
std::optional<FoundRow> MatchingRow(const model::ProductRecord& product, std::string_view searchText);
std::optional<FoundRow> MatchingRow(const model::CompanyRecord& company, std::string_view searchText);

// Reads every record of the open file (of the mode's record kind) in slot order and
// returns the rows of those that match; the list ends where the file can no longer
// be read.
std::vector<FoundRow> FindRows(files::KeyedFile& file, FindMode mode, std::string_view searchText);

}  // namespace shell
