// Form letters: the merge codes a letter may hold and their replacement by one
// customer's (and the company's) data.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "documents/rtf_document.h"
#include "model/records.h"

namespace reports {

struct MergeCode {
  std::string_view code;
  std::string_view description;  // empty for a code the keyword list leaves out
};

// Every code, in the order the table of codes gives them.
std::span<const MergeCode> MergeCodes();

// The keyword list: "CODE - Description", sorted.
std::vector<std::string> KeywordListEntries();

// One value per code of MergeCodes(), in the same order: the trimmed field (the last
// payment date as stored).
std::vector<std::string> MergeValuesFor(const model::CustomerRecord& customer, const model::CompanyRecord& company);

// Replaces every code in `text` by its value. At each place the longest code wins, so
// "QYCSTNOTES" is never read as "QYCSTNO" + "TES"; an inserted value is never searched
// again, so a value that holds a code stays as it is.
std::string MergeText(std::string_view text, const std::vector<std::string>& values);

// The letter with every code replaced, each value in the format of the code's first
// character; paragraphs, and so blank address lines, keep their place.
documents::RtfDocument MergeLetter(const documents::RtfDocument& letter, const std::vector<std::string>& values);

inline constexpr std::string_view kLetterWizardCaption = "Form Letter Wizard";
inline constexpr std::string_view kLetterMessageCaption = "Letter Wizard";
inline constexpr std::string_view kLetterTemplateFile = "QYLetter.TMP";

}  // namespace reports
