// quillary-books: the books of a data folder from the command line, for nightly jobs
// and scripts. Reading the command line and running a command are apart from main(),
// so tests drive them on a folder of their own.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "documents/label_queue.h"
#include "files/services.h"

namespace tools {

// The exit statuses; a script tells the cases apart by them.
enum BooksExit : int {
  kBooksDone = 0,         // done; for check: the books balance
  kBooksDiffer = 1,       // check found differences (listed on standard output)
  kBooksUsage = 2,        // the command line is not a command
  kBooksFolderInUse = 3,  // the program has the data folder open
  kBooksFailed = 4,       // the command could not be carried out (told on standard error)
};

struct BooksCommand {
  std::filesystem::path dataFolder;
  std::string company;                 // empty: the company used last
  std::string name;                    // check, repair, age, repeat, statements, report, backup
  std::vector<std::string> arguments;  // the command's own words, in order
  std::map<std::string, std::string, std::less<>> options;  // "--as-of" -> its value; a flag -> ""

  bool Has(std::string_view option) const { return options.contains(option); }
  std::string Option(std::string_view option) const;
};

// What --help prints: every command, its options and the exit statuses.
std::string BooksUsage();

// nullopt, with the reason in `error`, when the words are not a command. "--help"
// anywhere gives a command named "help".
std::optional<BooksCommand> ParseBooksCommand(const std::vector<std::string>& words, std::string& error);

// A date as the user wrote it, "yyyy-mm-dd" or in the company's own order, as the
// company writes it; nullopt when it is no date.
std::optional<std::string> CompanyDateText(std::string_view text, model::DateOrder order);

// Makes company `companyNo` (the one used last when empty) the session's current one;
// false, told through the dialogs, when there is no such company.
bool SelectCompany(const files::Services& services, std::string_view companyNo);

// Runs a parsed command on the current company of `services`, in the data folder (the
// working directory). Results go to `out`, messages through the dialogs.
int RunBooksCommand(const BooksCommand& command, const files::Services& services, documents::LabelQueue& queue,
                    std::ostream& out);

}  // namespace tools
