#include "reports/letter_merge.h"

#include <gtest/gtest.h>

namespace reports {
namespace {

model::CustomerRecord Customer() {
  model::CustomerRecord customer{};
  customer.CustNo = "C100";
  customer.CustName = "Harbor Supply  ";
  customer.Balance = "   1249.50";
  customer.LastPaymentDate = "03/04/2026";
  customer.BillAddr1 = "12 Quay Street";
  customer.BillAddr2 = "";
  customer.BillAddr3 = "Portsmouth";
  customer.CustNotes = "Pays by QYCSTBAL cheque";
  return customer;
}

model::CompanyRecord Company() {
  model::CompanyRecord company{};
  company.CompanyName = "Seaside Traders";
  company.CoAddr5 = "VAT 123";
  return company;
}

std::string Merged(std::string_view text) { return MergeText(text, MergeValuesFor(Customer(), Company())); }

TEST(LetterMerge, EveryCodeHasItsValueAndTheListShowsAllButTheFifthCompanyLine) {
  const std::vector<std::string> values = MergeValuesFor(Customer(), Company());
  ASSERT_EQ(values.size(), MergeCodes().size());
  EXPECT_EQ(MergeCodes().size(), 31u);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(MergeText(MergeCodes()[i].code, values), values[i]) << MergeCodes()[i].code;
  }
  const std::vector<std::string> list = KeywordListEntries();
  EXPECT_EQ(list.size(), 30u);
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
  EXPECT_NE(std::find(list.begin(), list.end(), "QYCSTBAL - Customer Balance"), list.end());
  EXPECT_EQ(Merged("QYCMPADD5"), "VAT 123");
}

TEST(LetterMerge, ValuesAreTrimmedAndRepeatedCodesAllReplaced) {
  EXPECT_EQ(Merged("Dear QYCSTNAME, QYCSTNAME owes QYCSTBAL."), "Dear Harbor Supply, Harbor Supply owes 1249.50.");
  EXPECT_EQ(Merged("Paid QYCSTLPMT"), "Paid 03/04/2026");
}

TEST(LetterMerge, TheLongestCodeWinsSoNotesAreNotReadAsTheNumber) {
  EXPECT_EQ(Merged("QYCSTNO/QYCSTNOTES"), "C100/Pays by QYCSTBAL cheque");
  EXPECT_EQ(Merged("QYCSTNOX"), "C100X");
}

TEST(LetterMerge, AValueHoldingACodeIsInsertedAsText) {
  EXPECT_EQ(Merged("QYCSTNOTES QYCSTNOTES"), "Pays by QYCSTBAL cheque Pays by QYCSTBAL cheque");
}

TEST(LetterMerge, ABlankAddressLineKeepsItsParagraph) {
  documents::RtfDocument letter;
  for (const char* line : {"QYCSTADD1", "QYCSTADD2", "QYCSTADD3"}) letter.paragraphs.push_back({.runs = {{.text = line}}});
  const documents::RtfDocument merged = MergeLetter(letter, MergeValuesFor(Customer(), Company()));
  ASSERT_EQ(merged.paragraphs.size(), 3u);
  EXPECT_EQ(merged.paragraphs[0].runs[0].text, "12 Quay Street");
  EXPECT_EQ(merged.paragraphs[1].runs[0].text, "");
  EXPECT_EQ(merged.paragraphs[2].runs[0].text, "Portsmouth");
}

TEST(LetterMerge, AValueTakesTheFormatOfItsCodeEvenWhenTheCodeSpansRuns) {
  documents::Paragraph paragraph{.alignment = documents::Alignment::kCentre};
  paragraph.runs = {{.text = "To QYCST", .bold = true}, {.text = "NAME today"}};
  documents::RtfDocument letter{{paragraph}};
  const documents::RtfDocument merged = MergeLetter(letter, MergeValuesFor(Customer(), Company()));
  const documents::Paragraph& result = merged.paragraphs[0];
  EXPECT_EQ(result.alignment, documents::Alignment::kCentre);
  EXPECT_EQ(result.runs[0].text, "To Harbor Supply");
  EXPECT_TRUE(result.runs[0].bold);
  EXPECT_EQ(result.runs[1].text, " today");
  EXPECT_EQ(MergeLetter(letter, {}).paragraphs[0].runs[0].text, "To ");
}

}  // namespace
}  // namespace reports
