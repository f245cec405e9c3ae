#include "model/company_defaults.h"

#include <string>

#include "model/fields.h"

namespace model {
namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBlue = 0xFF0000;  // colours are 0x00BBGGRR
constexpr std::string_view kOneBlank = " ";

void ApplyFormLayout(CompanyRecord& company) {
  company.TaxHeading = "Tax";
  company.DefaultPrintFlag = true;
  SetYes(company.CopyToLabelQueue, false);
  SetYes(company.BatchToLabelQueue, false);
  company.MaxProductWindow = false;
  company.MaxInvoiceWindow = false;
  company.MaxCustomerWindow = false;
  company.PrintVerticalLines = true;
  company.PrintHorizontalLines = true;
  company.LineWidth = "2";
  company.PrintShading = false;
  company.LetterheadStyle = false;
  company.BoxInvoices = true;
  company.BoxStatements = true;
  company.PrintProductCodes = true;
  company.MoveDownTotals = true;
  company.PrintCustomerAging = true;
  company.PrintSalesMessage = true;
  company.BoxTop = "10";
  company.TopMargin = "50";
  company.LeftMargin = "50";
  company.MaxLines = "20";
}

void ApplyFormCaptions(CompanyRecord& company) {
  company.InvoiceCaption = "INVOICE";
  company.StatementCaption = "STATEMENT";
  company.PackingSlipCaption = "PACKING SLIP";
  company.FileCopyCaption = "FILE COPY";
  company.CodeHeading = "Code";
  company.QuantityHeading = "Quantity";
  company.DescHeading = "Description";
  company.PriceHeading = "Unit Price";
  company.ExtensionHeading = "Amount";
  company.MemoHeading = "Description";
}

void ApplyFormFonts(CompanyRecord& company) {
  auto& fonts = company.FormFonts;
  SetFont(fonts[kBodyFont], "Arial", 10, kBlack, 0);
  SetFont(fonts[kCaptionFont], "Arial", 18, kBlack, font_style::kBold);
  SetFont(fonts[kCustomerHeadingFont], "Arial", 10, kBlack, font_style::kBold);
  SetFont(fonts[kCompanyHeadingFont], "Arial", 12, kBlack, font_style::kBold);
  SetFont(fonts[kColumnHeadingFont], "Arial", 9, kBlack, font_style::kBold);
  SetFont(fonts[kSalesMessageFont], "Arial", 10, kBlack, font_style::kItalic);
}

// A #10 envelope fed sideways: return address at the top left, the customer's about
// four inches in and one and a half down.
void ApplyEnvelope(CompanyRecord& company) {
  SetFont(company.EnvelopeFont, "Arial", 12, kBlack, 0);
  company.EnvLineSpacing = "100";
  company.EnvLeftMargin = "150";
  company.EnvTopMargin = "150";
  company.EnvSendLeft = "2400";
  company.EnvOrientation = "L";
  company.EnvAddress = "B";
}

void ApplyInterestSettings(CompanyRecord& company) {
  auto& interest = company.InterestSettings;
  interest.MarkPrinted = false;
  interest.Terms = "Due Upon Receipt";
  interest.DaysChoice = "3";
  interest.MinimumCharge = "1.00";
  interest.MonthlyRate = "1.500";
}

}  // namespace

void ApplyNewCompanyValues(CompanyRecord& company, int companiesOnFile) {
  company.CompanyName = "";
  company.CompanyNo = std::to_string(companiesOnFile + 1);
  for (auto* line : {&company.CoAddr1, &company.CoAddr2, &company.CoAddr3, &company.CoAddr4, &company.CoAddr5}) {
    *line = "";
  }
  company.CalcTaxes = true;
  company.TaxRate = "0.000";
  company.NextInvoiceNo = "100";
  company.DefaultQuantity = "1.00";
  company.DefaultTerms = kDefaultTerms;
  company.PrintDuplicate = false;
  SetYes(company.PrefixInvoiceNo, false);
  company.DefaultBodyStyle = "P";
  company.PrintPackingSlip = false;
  company.PrintFileCopy = false;
  company.InvoiceCopies = "1";
  company.DateOrder = "M";
  company.ShowAgingChart = true;
  company.ShowHints = true;
  company.NextCustNo = "1";
  company.AutoCopyBilling = true;
  SetYes(company.AuditTrail, false);
  company.PrintLogo = false;
  company.LogoFile = "";
  SetYes(company.OmitCompanyOnForms, false);
  company.AddressIndent = "0";
  for (auto* line : {&company.SalesMsg1, &company.SalesMsg2, &company.SalesMsg3, &company.SalesMsg4}) *line = "";
  company.UseBackground = true;
  company.BackgroundFile = kDefaultBackground;
  SetFont(company.ScreenFont, "Arial", 10, kBlue, font_style::kBold);
  SetFont(company.ManagerFont, "Courier New", 10, kBlack, 0);
  SetYes(company.PrintReturnAddress, true);
  company.TotalAR = "0.00";
  for (auto* date : {&company.LastAgingDate, &company.LastInterestDate, &company.LastStatementDate,
                     &company.LastRepeatDate}) {
    *date = kOneBlank;
  }
  company.DefaultStatementNote = kOneBlank;
}

CompanyRecord StarterCompany() {
  CompanyRecord company{};
  ApplyFormLayout(company);
  ApplyFormCaptions(company);
  ApplyFormFonts(company);
  ApplyEnvelope(company);
  ApplyInterestSettings(company);
  ApplyNewCompanyValues(company, 0);
  return company;
}

}  // namespace model
