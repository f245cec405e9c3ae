#include "reports/letter_merge.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "model/text.h"

namespace reports {
namespace {

constexpr std::array<MergeCode, 31> kCodes{{
    {"QYCSTNO", "Customer Number"},
    {"QYCSTNAME", "Customer Name"},
    {"QYCSTBAL", "Customer Balance"},
    {"QYCSTLPMT", "Customers Last Payment Date"},
    {"QYCSTLSTINV", "Customers Last Invoice Number"},
    {"QYCSTTYPE", "Customer Type"},
    {"QYCSTCREDIT", "Customer Credit Limit"},
    {"QYCSTTERMS", "Customer Payment Terms"},
    {"QYCSTADD1", "Customer Address Line 1"},
    {"QYCSTADD2", "Customer Address Line 2"},
    {"QYCSTADD3", "Customer Address Line 3"},
    {"QYCSTADD4", "Customer Address Line 4"},
    {"QYCSTPHN1", "Customer Billing Address Phone Number"},
    {"QYCSTSHP1", "Customer Shipping Address Line 1"},
    {"QYCSTSHP2", "Customer Shipping Address Line 2"},
    {"QYCSTSHP3", "Customer Shipping Address Line 3"},
    {"QYCSTSHP4", "Customer Shipping Address Line 4"},
    {"QYCSTPHN2", "Customer Shipping Phone Number"},
    {"QYCSTACUR", "Customer Aging Amount (0-30 days)"},
    {"QYCSTA3060", "Customer Aging Amount (30-60 days)"},
    {"QYCSTA6090", "Customer Aging Amount (60-90 days)"},
    {"QYCSTAOV90", "Customer Aging Amount (0ver 90 days)"},
    {"QYCSTNOTES", "Customer Notes"},
    {"QYCSTSNAME", "Customer Short Name"},
    {"QYCSTMLIST", "Customer Mailing List Sort Code"},
    {"QYCMPNAME", "Default Company Name"},
    {"QYCMPADD1", "Default Company Address Line 1"},
    {"QYCMPADD2", "Default Company Address Line 2"},
    {"QYCMPADD3", "Default Company Address Line 3"},
    {"QYCMPADD4", "Default Company Address Line 4"},
    {"QYCMPADD5", ""},
}};

// The codes' places in kCodes, longest code first.
std::array<std::size_t, kCodes.size()> LongestFirst() {
  std::array<std::size_t, kCodes.size()> order{};
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [](std::size_t a, std::size_t b) { return kCodes[a].code.size() > kCodes[b].code.size(); });
  return order;
}

struct CodeAt {
  std::size_t start;
  std::size_t length;
  std::size_t code;
};

// The code that starts at `at`, the longest one when several do.
std::optional<CodeAt> CodeStartingAt(std::string_view text, std::size_t at) {
  static const auto kOrder = LongestFirst();
  if (text.compare(at, 2, "QY") != 0) return std::nullopt;
  for (const std::size_t code : kOrder) {
    if (text.substr(at).starts_with(kCodes[code].code)) return CodeAt{at, kCodes[code].code.size(), code};
  }
  return std::nullopt;
}

std::vector<CodeAt> CodesIn(std::string_view text) {
  std::vector<CodeAt> found;
  for (std::size_t at = 0; at < text.size();) {
    if (const std::optional<CodeAt> code = CodeStartingAt(text, at)) {
      found.push_back(*code);
      at += code->length;
    } else {
      ++at;
    }
  }
  return found;
}

const std::string& ValueOf(const CodeAt& code, const std::vector<std::string>& values) {
  static const std::string kNone;
  return code.code < values.size() ? values[code.code] : kNone;
}

std::string Trimmed(std::string_view text) { return std::string(model::TrimBlanks(text)); }

// Each run keeps its text outside the codes; a code's value goes into the run where
// the code starts, and a code running on into later runs takes its rest from them.
void MergeParagraph(documents::Paragraph& paragraph, const std::vector<std::string>& values) {
  std::string whole;
  for (const documents::TextRun& run : paragraph.runs) whole += run.text;
  const std::vector<CodeAt> codes = CodesIn(whole);
  if (codes.empty()) return;
  std::size_t next = 0;        // the first code not yet placed
  std::size_t skipUntil = 0;   // the end of the code being replaced
  std::size_t runStart = 0;
  for (documents::TextRun& run : paragraph.runs) {
    const std::size_t runEnd = runStart + run.text.size();
    std::string merged;
    for (std::size_t at = runStart; at < runEnd; ++at) {
      if (next < codes.size() && codes[next].start == at) {
        merged += ValueOf(codes[next], values);
        skipUntil = at + codes[next].length;
        ++next;
      }
      if (at >= skipUntil) merged += whole[at];
    }
    run.text = std::move(merged);
    runStart = runEnd;
  }
}

}  // namespace

std::span<const MergeCode> MergeCodes() { return kCodes; }

std::vector<std::string> KeywordListEntries() {
  std::vector<std::string> entries;
  for (const MergeCode& code : kCodes) {
    if (!code.description.empty()) entries.push_back(std::string(code.code) + " - " + std::string(code.description));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::vector<std::string> MergeValuesFor(const model::CustomerRecord& customer, const model::CompanyRecord& company) {
  return {
      Trimmed(customer.CustNo.str()),     Trimmed(customer.CustName.str()),  Trimmed(customer.Balance.str()),
      customer.LastPaymentDate.str(),     Trimmed(customer.LastInvoiceNo.str()), Trimmed(customer.CustType.str()),
      Trimmed(customer.CreditLimit.str()), Trimmed(customer.Terms.str()),     Trimmed(customer.BillAddr1.str()),
      Trimmed(customer.BillAddr2.str()),  Trimmed(customer.BillAddr3.str()), Trimmed(customer.BillAddr4.str()),
      Trimmed(customer.Phone1.str()),     Trimmed(customer.ShipAddr1.str()), Trimmed(customer.ShipAddr2.str()),
      Trimmed(customer.ShipAddr3.str()),  Trimmed(customer.ShipAddr4.str()), Trimmed(customer.Phone2.str()),
      Trimmed(customer.AgeCurrent.str()), Trimmed(customer.Age31to60.str()), Trimmed(customer.Age61to90.str()),
      Trimmed(customer.AgeOver90.str()),  Trimmed(customer.CustNotes.str()), Trimmed(customer.ShortName.str()),
      Trimmed(customer.MailListCode.str()), Trimmed(company.CompanyName.str()), Trimmed(company.CoAddr1.str()),
      Trimmed(company.CoAddr2.str()),     Trimmed(company.CoAddr3.str()),    Trimmed(company.CoAddr4.str()),
      Trimmed(company.CoAddr5.str()),
  };
}

std::string MergeText(std::string_view text, const std::vector<std::string>& values) {
  documents::Paragraph paragraph;
  paragraph.runs.push_back({.text = std::string(text)});
  MergeParagraph(paragraph, values);
  return paragraph.runs.front().text;
}

documents::RtfDocument MergeLetter(const documents::RtfDocument& letter, const std::vector<std::string>& values) {
  documents::RtfDocument merged = letter;
  for (documents::Paragraph& paragraph : merged.paragraphs) MergeParagraph(paragraph, values);
  return merged;
}

}  // namespace reports
