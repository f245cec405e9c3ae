#include "files/company_files.h"

#include <cstring>

#include "files/table.h"
#include "model/keys.h"
#include "model/records.h"
#include "model/text.h"

namespace files {
namespace {

using model::CompanyRecord;
using model::CustomerRecord;
using model::DetailRecord;
using model::IsBlankOrControl;
using model::MemoRecord;
using model::ProductRecord;
using model::TransactionRecord;
using model::TrimBlanks;

struct FileLayout {
  std::string_view letter;  // appended to the company number; empty for the company list
  int recordLength;
  std::vector<engine::IndexSpec> indexes;
  std::string_view noticeWord;  // "customer" and so on; empty: created silently
  std::string_view rebuildCaption;
};

// Reads the record out of the engine's buffer (which need not be aligned or hold a
// live object) and builds the key the one way the file knows.
template <class Record>
files::KeyBuilder KeyBuilderFor() {
  return [](std::span<const std::byte> bytes, engine::KeyNumber key) {
    Record record{};
    std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
    return model::BuildKey(record, key);
  };
}

FileLayout LayoutOf(CompanyFile file) {
  switch (file) {
    case CompanyFile::kCompanyList:
      return {"", sizeof(CompanyRecord), {{5, false}, {30, true}}, "", "Companies"};
    case CompanyFile::kCustomers:
      return {"C", sizeof(CustomerRecord), {{30, false}, {8, true}}, "customer", "Customers"};
    case CompanyFile::kTransactions:
      return {"I", sizeof(TransactionRecord), {{9, true}, {8, true}, {10, true}, {10, true}, {10, true}, {10, true}},
              "invoice", "Invoices"};
    case CompanyFile::kDetails:
      return {"D", sizeof(DetailRecord), {{10, true}, {9, true}}, "", "Invoice Lines"};
    case CompanyFile::kMemos:
      return {"M", sizeof(MemoRecord), {{9, false}}, "", "Memos"};
    case CompanyFile::kProducts:
      return {"P", sizeof(ProductRecord), {{10, false}, {30, true}}, "product", "Products"};
  }
  return {};
}

files::KeyBuilder KeyBuilderOf(CompanyFile file) {
  switch (file) {
    case CompanyFile::kCompanyList: return KeyBuilderFor<CompanyRecord>();
    case CompanyFile::kCustomers: return KeyBuilderFor<CustomerRecord>();
    case CompanyFile::kTransactions: return KeyBuilderFor<TransactionRecord>();
    case CompanyFile::kDetails: return KeyBuilderFor<DetailRecord>();
    case CompanyFile::kMemos: return KeyBuilderFor<MemoRecord>();
    case CompanyFile::kProducts: return KeyBuilderFor<ProductRecord>();
  }
  return {};
}

std::string CreationNotice(CompanyFile file, std::string_view word) {
  if (file == CompanyFile::kCompanyList) return "I am going to create a new, empty company file.";
  if (word.empty()) return {};
  return "I am going to create a new, empty " + std::string(word) + " file for this company.";
}

bool IsWildcard(char c) { return c == '*' || c == '?' || c == '[' || c == ']'; }
bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string CompanyFilePrefix(std::string_view companyNo) { return std::string(TrimBlanks(companyNo)); }

std::string CompanyNumberProblem(std::string_view companyNo) {
  const std::string prefix = CompanyFilePrefix(companyNo);
  const std::string quoted = "\"" + prefix + "\"";
  if (prefix.empty()) return "A company needs a number: its files are named after it.";
  for (char c : prefix) {
    if (IsPathSeparator(c)) return "The company number " + quoted + " may not contain \"/\" or \"\\\".";
    if (IsWildcard(c)) return "The company number " + quoted + " may not contain \"*\", \"?\", \"[\" or \"]\".";
    if (IsBlankOrControl(c) && c != ' ') return "The company number may not contain control characters.";
  }
  // A dot would be taken for the start of the file extension, and all five files of
  // the company would share one name.
  if (prefix.find('.') != std::string::npos) return "The company number " + quoted + " may not contain \".\".";
  return {};
}

files::FileDescription DescribeFile(CompanyFile file, std::string_view companyNo) {
  FileLayout layout = LayoutOf(file);
  files::FileDescription description;
  if (file == CompanyFile::kCompanyList) {
    description.name = kCompanyListName;
  } else {
    description.name = CompanyFilePrefix(companyNo) + std::string(layout.letter);
    description.nameRefusal = CompanyNumberProblem(companyNo);
  }
  description.recordLength = layout.recordLength;
  description.indexes = std::move(layout.indexes);
  description.buildKey = KeyBuilderOf(file);
  description.creationNotice = CreationNotice(file, layout.noticeWord);
  description.rebuildCaption = layout.rebuildCaption;
  return description;
}

bool FindCompanyByNumber(KeyedFile& list, const model::CompanyRecord& wanted, RecordNumber& number,
                         model::CompanyRecord& found) {
  const Table<CompanyRecord> companies(list);
  const auto row = companies.FindExact(model::company_key::kNumber, companies.KeyOf(wanted, model::company_key::kNumber));
  if (!row) return false;
  number = row->number;
  found = row->record;
  return true;
}

std::array<std::string, 10> CompanyDataFiles(std::string_view companyNo) {
  const std::string prefix = CompanyFilePrefix(companyNo);
  std::array<std::string, 10> names;
  std::size_t next = 0;
  for (const char* letter : {"P", "C", "D", "I", "M"}) {
    for (const char* extension : {".DAT", ".IX"}) names[next++] = prefix + letter + extension;
  }
  return names;
}

}  // namespace files
