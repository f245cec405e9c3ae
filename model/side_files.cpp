#include "model/side_files.h"

#include <cstring>
#include <filesystem>

#include "model/fields.h"
#include "model/text.h"

namespace model {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

#pragma pack(push, 1)
struct PasswordRecord {
  ShortString<kPasswordCapacity> Password;
};
#pragma pack(pop)
static_assert(sizeof(PasswordRecord) == 21);

template <class Record>
std::string_view BytesOf(const Record& record) {
  return {reinterpret_cast<const char*>(&record), sizeof record};
}

// Reads the first record of a file of fixed-length records.
template <class Record>
FileOutcome ReadFirstRecord(std::string_view fileName, Record& record) {
  std::string bytes;
  if (FileOutcome read = ReadWholeFile(fileName, bytes); !read) return read;
  if (bytes.size() < sizeof record) {
    return FileOutcome::Failure("The file \"" + std::string(fileName) + "\" is too short to hold its record.");
  }
  std::memcpy(&record, bytes.data(), sizeof record);
  return {};
}

}  // namespace

FileOutcome LoadTerms(std::vector<std::string>& terms) {
  terms.clear();
  if (!std::filesystem::exists(kTermsFileName)) return {};
  std::string text;
  if (FileOutcome read = ReadWholeFile(kTermsFileName, text); !read) return read;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    terms.push_back(FromWindows1252(line));
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  }
  return {};
}

FileOutcome SaveTerms(const std::vector<std::string>& terms) {
  std::string text;
  for (const std::string& term : terms) text.append(ToWindows1252(term)).append(kLineEnd);
  return WriteWholeFile(kTermsFileName, text);
}

FileOutcome WriteLastCompany(const CompanyRecord& edit, CompanyRecord& current) {
  current = edit;
  return WriteWholeFile(kLastCompanyFileName, BytesOf(current));
}

FileOutcome ReadLastCompany(CompanyRecord& current) { return ReadFirstRecord(kLastCompanyFileName, current); }

bool LastCompanyFileExists() {
  std::error_code ignored;
  return std::filesystem::is_regular_file(kLastCompanyFileName, ignored);
}

FileOutcome ReadPassword(std::optional<std::string>& password) {
  password.reset();
  if (!std::filesystem::exists(kPasswordFileName)) return {};
  PasswordRecord record{};
  if (FileOutcome read = ReadFirstRecord(kPasswordFileName, record); !read) return read;
  password = record.Password.str();
  return {};
}

FileOutcome WritePassword(std::string_view entry) {
  const std::string password = PasswordOfEntry(entry);
  if (CharacterCount(password) < 2) return RemovePassword();
  PasswordRecord record{};
  record.Password = password;
  return WriteWholeFile(kPasswordFileName, BytesOf(record));
}

FileOutcome RemovePassword() { return RemoveFile(kPasswordFileName); }

std::string PasswordOfEntry(std::string_view entry) {
  return std::string(FirstCharacters(TrimBlanks(entry), kPasswordCapacity));
}

bool PasswordMatches(std::string_view entry, std::string_view stored) { return TrimBlanks(entry) == stored; }

}  // namespace model
