// What a company starts with. A new company is a copy of the current one with the
// new-company values applied; the first company of an empty data folder takes house
// defaults for everything a new company would otherwise keep.
//
// Form and envelope positions are printer dots at 600 dots per inch.
#pragma once

#include <string_view>

#include "model/records.h"

namespace model {

constexpr std::string_view kDefaultTerms = "Net 30 Days";
constexpr std::string_view kDefaultBackground = "vtt8.bmp";

// Applies the new-company values and clears the totals and last-run dates, keeping
// the form layout, fonts and envelope settings already in `company`.
void ApplyNewCompanyValues(CompanyRecord& company, int companiesOnFile);

// Company 1 of a new data folder, with no name yet.
CompanyRecord StarterCompany();

}  // namespace model
