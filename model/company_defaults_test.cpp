#include "model/company_defaults.h"

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(CompanyDefaultsTest, NewCompanyKeepsFormsAndEnvelopeButNotAddressesMessagesOrDates) {
  CompanyRecord current = StarterCompany();
  current.CompanyName = "Harbor Supply";
  current.CoAddr1 = "1 Dock Road";
  current.SalesMsg2 = "Thank you!";
  current.LastAgingDate = "12/01/2026";
  current.TotalAR = "500.00";
  current.TopMargin = "77";
  current.InvoiceCaption = "BILL";
  current.EnvSendLeft = "1999";
  SetFont(current.FormFonts[kBodyFont], "Times", 9, 0, 0);
  current.DateOrder = "D";

  CompanyRecord added = current;
  ApplyNewCompanyValues(added, 4);
  EXPECT_EQ(added.CompanyNo.str(), "5");
  EXPECT_TRUE(added.CompanyName.empty());
  EXPECT_TRUE(added.CoAddr1.empty());
  EXPECT_TRUE(added.SalesMsg2.empty());
  EXPECT_EQ(added.LastAgingDate.str(), " ");
  EXPECT_EQ(added.DefaultStatementNote.str(), " ");
  EXPECT_EQ(added.TotalAR.str(), "0.00");
  EXPECT_EQ(added.DateOrder.str(), "M");
  EXPECT_EQ(added.TopMargin.str(), "77");
  EXPECT_EQ(added.InvoiceCaption.str(), "BILL");
  EXPECT_EQ(added.EnvSendLeft.str(), "1999");
  EXPECT_EQ(added.FormFonts[kBodyFont].Name.str(), "Times");
}

TEST(CompanyDefaultsTest, StarterCompanyIsNumberOneWithTheDocumentedNewCompanyValues) {
  const CompanyRecord company = StarterCompany();
  EXPECT_EQ(company.CompanyNo.str(), "1");
  EXPECT_TRUE(company.CompanyName.empty());
  EXPECT_EQ(company.DefaultTerms.str(), "Net 30 Days");
  EXPECT_EQ(company.NextInvoiceNo.str(), "100");
  EXPECT_EQ(company.DefaultQuantity.str(), "1.00");
  EXPECT_EQ(company.TaxRate.str(), "0.000");
  EXPECT_EQ(company.BackgroundFile.str(), "vtt8.bmp");
  EXPECT_TRUE(company.UseBackground);
  EXPECT_EQ(company.ScreenFont.Name.str(), "Arial");
  EXPECT_EQ(static_cast<std::int32_t>(company.ScreenFont.Color), 0xFF0000);
  EXPECT_EQ(company.ManagerFont.Name.str(), "Courier New");
  EXPECT_EQ(company.PrintReturnAddress.str(), "Y");
  EXPECT_EQ(company.InvoiceCopies.str(), "1");
  // What a new company would keep is filled in, so the first forms print.
  EXPECT_EQ(company.InvoiceCaption.str(), "INVOICE");
  EXPECT_FALSE(company.MaxLines.empty());
  EXPECT_FALSE(company.EnvelopeFont.Name.empty());
  EXPECT_GT(static_cast<std::int32_t>(company.FormFonts[kCaptionFont].Size), 0);
}

}  // namespace
}  // namespace model
