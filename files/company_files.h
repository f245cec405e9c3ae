// Which keyed files exist and how each is described: the company list file for the
// whole installation and five files per company, named after the company number.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "files/keyed_file.h"
#include "model/records.h"

namespace files {

enum class CompanyFile { kCompanyList, kCustomers, kTransactions, kDetails, kMemos, kProducts };

constexpr std::string_view kCompanyListName = "Company";

// Why a company number cannot name files (empty when it can): it must hold something
// besides blanks, and may not reach outside the data folder, match other files or
// hold a dot (which would start the file extension).
std::string CompanyNumberProblem(std::string_view companyNo);

// The company number as its files are named: blanks and control characters at either
// end removed.
std::string CompanyFilePrefix(std::string_view companyNo);

// The description the file-set routines work from. For a company number that cannot
// name files the description carries the refusal, and no routine touches a file.
FileDescription DescribeFile(CompanyFile file, std::string_view companyNo = {});

// The company with `wanted`'s number (as the list's unique index compares it) into
// `found`, and its record number; false when the list holds no such company or it
// cannot be read. The one way a company is re-read before it is changed.
bool FindCompanyByNumber(KeyedFile& list, const model::CompanyRecord& wanted, RecordNumber& number,
                         model::CompanyRecord& found);

// The ten files removed with a company, in the order they are deleted.
std::array<std::string, 10> CompanyDataFiles(std::string_view companyNo);

}  // namespace files
