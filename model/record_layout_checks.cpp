// Compile-time proof that every record struct lies on disk exactly as documented:
// each field at its byte offset and each record at its length.
#include <cstddef>

#include "model/records.h"

namespace model {
namespace {

#define QY_FIELD_AT(Record, field, offset) static_assert(offsetof(Record, field) == (offset), #Record "::" #field)

static_assert(sizeof(CompanyRecord) == 2160);
QY_FIELD_AT(CompanyRecord, DeletionField, 0);
QY_FIELD_AT(CompanyRecord, CompanyName, 4);
QY_FIELD_AT(CompanyRecord, CompanyNo, 40);
QY_FIELD_AT(CompanyRecord, TotalAR, 46);
QY_FIELD_AT(CompanyRecord, CoAddr1, 57);
QY_FIELD_AT(CompanyRecord, CoAddr2, 93);
QY_FIELD_AT(CompanyRecord, CoAddr3, 129);
QY_FIELD_AT(CompanyRecord, CoAddr4, 165);
QY_FIELD_AT(CompanyRecord, CoAddr5, 201);
QY_FIELD_AT(CompanyRecord, ScreenFont, 237);
QY_FIELD_AT(CompanyRecord, ScreenFont.Size, 272);
QY_FIELD_AT(CompanyRecord, ScreenFont.Color, 276);
QY_FIELD_AT(CompanyRecord, ScreenFont.Style, 280);
QY_FIELD_AT(CompanyRecord, UseBackground, 281);
QY_FIELD_AT(CompanyRecord, BackgroundFile, 282);
QY_FIELD_AT(CompanyRecord, SalesMsg1, 533);
QY_FIELD_AT(CompanyRecord, SalesMsg2, 612);
QY_FIELD_AT(CompanyRecord, SalesMsg3, 691);
QY_FIELD_AT(CompanyRecord, SalesMsg4, 770);
QY_FIELD_AT(CompanyRecord, NextInvoiceNo, 849);
QY_FIELD_AT(CompanyRecord, DefaultQuantity, 859);
QY_FIELD_AT(CompanyRecord, PrintDuplicate, 869);
QY_FIELD_AT(CompanyRecord, DefaultPrintFlag, 870);
QY_FIELD_AT(CompanyRecord, CalcTaxes, 871);
QY_FIELD_AT(CompanyRecord, TaxRate, 874);
QY_FIELD_AT(CompanyRecord, DefaultTerms, 881);
QY_FIELD_AT(CompanyRecord, DateOrder, 917);
QY_FIELD_AT(CompanyRecord, PrefixInvoiceNo, 919);
QY_FIELD_AT(CompanyRecord, NextCustNo, 921);
QY_FIELD_AT(CompanyRecord, MaxProductWindow, 930);
QY_FIELD_AT(CompanyRecord, MaxInvoiceWindow, 931);
QY_FIELD_AT(CompanyRecord, MaxCustomerWindow, 932);
QY_FIELD_AT(CompanyRecord, LastAgingDate, 933);
QY_FIELD_AT(CompanyRecord, ShowAgingChart, 944);
QY_FIELD_AT(CompanyRecord, DefaultBodyStyle, 951);
QY_FIELD_AT(CompanyRecord, AutoCopyBilling, 953);
QY_FIELD_AT(CompanyRecord, ManagerFont, 954);
QY_FIELD_AT(CompanyRecord, ManagerFont.Size, 996);
QY_FIELD_AT(CompanyRecord, ManagerFont.Color, 1000);
QY_FIELD_AT(CompanyRecord, ManagerFont.Style, 1004);
QY_FIELD_AT(CompanyRecord, PrintVerticalLines, 1005);
QY_FIELD_AT(CompanyRecord, PrintHorizontalLines, 1006);
QY_FIELD_AT(CompanyRecord, LineWidth, 1007);
QY_FIELD_AT(CompanyRecord, BoxStatements, 1009);
QY_FIELD_AT(CompanyRecord, BoxInvoices, 1010);
QY_FIELD_AT(CompanyRecord, PrintCustomerAging, 1011);
QY_FIELD_AT(CompanyRecord, PrintShading, 1012);
QY_FIELD_AT(CompanyRecord, LetterheadStyle, 1013);
QY_FIELD_AT(CompanyRecord, PrintSalesMessage, 1014);
QY_FIELD_AT(CompanyRecord, PrintProductCodes, 1015);
QY_FIELD_AT(CompanyRecord, MoveDownTotals, 1016);
QY_FIELD_AT(CompanyRecord, BoxTop, 1017);
QY_FIELD_AT(CompanyRecord, TopMargin, 1020);
QY_FIELD_AT(CompanyRecord, LeftMargin, 1023);
QY_FIELD_AT(CompanyRecord, PrintLogo, 1026);
QY_FIELD_AT(CompanyRecord, LogoFile, 1027);
QY_FIELD_AT(CompanyRecord, InvoiceCaption, 1278);
QY_FIELD_AT(CompanyRecord, StatementCaption, 1304);
QY_FIELD_AT(CompanyRecord, PackingSlipCaption, 1330);
QY_FIELD_AT(CompanyRecord, FileCopyCaption, 1356);
QY_FIELD_AT(CompanyRecord, CodeHeading, 1382);
QY_FIELD_AT(CompanyRecord, QuantityHeading, 1398);
QY_FIELD_AT(CompanyRecord, DescHeading, 1414);
QY_FIELD_AT(CompanyRecord, PriceHeading, 1447);
QY_FIELD_AT(CompanyRecord, ExtensionHeading, 1463);
QY_FIELD_AT(CompanyRecord, TaxHeading, 1479);
QY_FIELD_AT(CompanyRecord, DefaultStatementNote, 1490);
QY_FIELD_AT(CompanyRecord, PrintPackingSlip, 1571);
QY_FIELD_AT(CompanyRecord, PrintFileCopy, 1572);
QY_FIELD_AT(CompanyRecord, ShowHints, 1573);
QY_FIELD_AT(CompanyRecord, LastSavedInvoiceNo, 1574);
QY_FIELD_AT(CompanyRecord, FormFonts, 1584);
QY_FIELD_AT(CompanyRecord, FormFonts[1], 1632);
QY_FIELD_AT(CompanyRecord, FormFonts[2], 1680);
QY_FIELD_AT(CompanyRecord, FormFonts[3], 1728);
QY_FIELD_AT(CompanyRecord, FormFonts[4], 1776);
QY_FIELD_AT(CompanyRecord, FormFonts[5], 1824);
QY_FIELD_AT(CompanyRecord, FormFonts[0].Size, 1584 + 36);
QY_FIELD_AT(CompanyRecord, FormFonts[0].Color, 1584 + 40);
QY_FIELD_AT(CompanyRecord, FormFonts[0].Style, 1584 + 44);
QY_FIELD_AT(CompanyRecord, MemoHeading, 1872);
QY_FIELD_AT(CompanyRecord, MaxLines, 1953);
QY_FIELD_AT(CompanyRecord, LastInterestDate, 1956);
QY_FIELD_AT(CompanyRecord, LastStatementDate, 1967);
QY_FIELD_AT(CompanyRecord, LastRepeatDate, 1978);
QY_FIELD_AT(CompanyRecord, InterestSettings, 2000);
QY_FIELD_AT(CompanyRecord, InterestSettings.Terms, 2001);
QY_FIELD_AT(CompanyRecord, InterestSettings.DaysChoice, 2037);
QY_FIELD_AT(CompanyRecord, InterestSettings.MinimumCharge, 2039);
QY_FIELD_AT(CompanyRecord, InterestSettings.MonthlyRate, 2045);
QY_FIELD_AT(CompanyRecord, EnvelopeFont, 2052);
QY_FIELD_AT(CompanyRecord, EnvelopeFont.Size, 2088);
QY_FIELD_AT(CompanyRecord, EnvelopeFont.Color, 2092);
QY_FIELD_AT(CompanyRecord, EnvelopeFont.Style, 2096);
QY_FIELD_AT(CompanyRecord, EnvLineSpacing, 2100);
QY_FIELD_AT(CompanyRecord, EnvLeftMargin, 2104);
QY_FIELD_AT(CompanyRecord, EnvTopMargin, 2109);
QY_FIELD_AT(CompanyRecord, EnvSendLeft, 2114);
QY_FIELD_AT(CompanyRecord, EnvOrientation, 2119);
QY_FIELD_AT(CompanyRecord, EnvAddress, 2121);
QY_FIELD_AT(CompanyRecord, CopyToLabelQueue, 2123);
QY_FIELD_AT(CompanyRecord, BatchToLabelQueue, 2125);
QY_FIELD_AT(CompanyRecord, InvoiceCopies, 2127);
QY_FIELD_AT(CompanyRecord, AddressIndent, 2129);
QY_FIELD_AT(CompanyRecord, PrintReturnAddress, 2140);
QY_FIELD_AT(CompanyRecord, OmitCompanyOnForms, 2153);
QY_FIELD_AT(CompanyRecord, AuditTrail, 2156);

static_assert(sizeof(CustomerRecord) == 816);
QY_FIELD_AT(CustomerRecord, DeletionField, 0);
QY_FIELD_AT(CustomerRecord, CustNo, 4);
QY_FIELD_AT(CustomerRecord, CustName, 13);
QY_FIELD_AT(CustomerRecord, Balance, 49);
QY_FIELD_AT(CustomerRecord, LastPaymentDate, 62);
QY_FIELD_AT(CustomerRecord, LastInvoiceNo, 73);
QY_FIELD_AT(CustomerRecord, CustType, 83);
QY_FIELD_AT(CustomerRecord, TaxExempt, 109);
QY_FIELD_AT(CustomerRecord, CreditLimit, 111);
QY_FIELD_AT(CustomerRecord, Terms, 122);
QY_FIELD_AT(CustomerRecord, BillAddr1, 158);
QY_FIELD_AT(CustomerRecord, BillAddr2, 194);
QY_FIELD_AT(CustomerRecord, BillAddr3, 230);
QY_FIELD_AT(CustomerRecord, BillAddr4, 266);
QY_FIELD_AT(CustomerRecord, Phone1, 302);
QY_FIELD_AT(CustomerRecord, ShipAddr1, 328);
QY_FIELD_AT(CustomerRecord, ShipAddr2, 364);
QY_FIELD_AT(CustomerRecord, ShipAddr3, 400);
QY_FIELD_AT(CustomerRecord, ShipAddr4, 436);
QY_FIELD_AT(CustomerRecord, Phone2, 472);
QY_FIELD_AT(CustomerRecord, AgeCurrent, 498);
QY_FIELD_AT(CustomerRecord, Age31to60, 509);
QY_FIELD_AT(CustomerRecord, Age61to90, 520);
QY_FIELD_AT(CustomerRecord, AgeOver90, 531);
QY_FIELD_AT(CustomerRecord, CustNotes, 542);
QY_FIELD_AT(CustomerRecord, NotesOnInvoice, 743);
QY_FIELD_AT(CustomerRecord, NotesOnStatement, 745);
QY_FIELD_AT(CustomerRecord, ShortName, 760);
QY_FIELD_AT(CustomerRecord, MailListCode, 771);
QY_FIELD_AT(CustomerRecord, CreditHold, 813);

static_assert(sizeof(TransactionRecord) == 332);
QY_FIELD_AT(TransactionRecord, DeletionField, 0);
QY_FIELD_AT(TransactionRecord, InvoiceNo, 4);
QY_FIELD_AT(TransactionRecord, TransType, 14);
QY_FIELD_AT(TransactionRecord, KeyCode, 16);
QY_FIELD_AT(TransactionRecord, CustNo, 25);
QY_FIELD_AT(TransactionRecord, CompanyNo, 34);
QY_FIELD_AT(TransactionRecord, TransDate, 40);
QY_FIELD_AT(TransactionRecord, PrintedFlag, 51);
QY_FIELD_AT(TransactionRecord, DateMonth, 53);
QY_FIELD_AT(TransactionRecord, DateDay, 56);
QY_FIELD_AT(TransactionRecord, DateYear, 59);
QY_FIELD_AT(TransactionRecord, SortDate, 64);
QY_FIELD_AT(TransactionRecord, InvNotes, 75);
QY_FIELD_AT(TransactionRecord, Terms, 156);
QY_FIELD_AT(TransactionRecord, StatementNote, 192);
QY_FIELD_AT(TransactionRecord, BodyStyle, 228);
QY_FIELD_AT(TransactionRecord, ShortName, 230);
QY_FIELD_AT(TransactionRecord, NetAmount, 241);
QY_FIELD_AT(TransactionRecord, TaxAmount, 252);
QY_FIELD_AT(TransactionRecord, TotalAmount, 263);
QY_FIELD_AT(TransactionRecord, PaidAmount, 274);
QY_FIELD_AT(TransactionRecord, BalanceDue, 285);
QY_FIELD_AT(TransactionRecord, PaidSortDate, 296);
QY_FIELD_AT(TransactionRecord, RepeatCycle, 307);
QY_FIELD_AT(TransactionRecord, PaidFlag, 309);
QY_FIELD_AT(TransactionRecord, NextDueDate, 311);
QY_FIELD_AT(TransactionRecord, RepeatInterval, 322);
QY_FIELD_AT(TransactionRecord, RepeatCount, 326);

static_assert(sizeof(DetailRecord) == 132);
QY_FIELD_AT(DetailRecord, DeletionField, 0);
QY_FIELD_AT(DetailRecord, LineText, 4);
QY_FIELD_AT(DetailRecord, BodyStyle, 70);
QY_FIELD_AT(DetailRecord, CompanyNo, 72);
QY_FIELD_AT(DetailRecord, InvoiceNo, 78);
QY_FIELD_AT(DetailRecord, SortDate, 88);
QY_FIELD_AT(DetailRecord, ProductCode, 99);
QY_FIELD_AT(DetailRecord, CustNo, 110);
QY_FIELD_AT(DetailRecord, ShortName, 119);

static_assert(sizeof(MemoRecord) == 1892);
QY_FIELD_AT(MemoRecord, DeletionField, 0);
QY_FIELD_AT(MemoRecord, InvoiceNo, 4);
QY_FIELD_AT(MemoRecord, MemoLine, 14);
QY_FIELD_AT(MemoRecord, MemoLine[1], 14 + 75);
QY_FIELD_AT(MemoRecord, MemoLine[24], 14 + 75 * 24);

static_assert(sizeof(ProductRecord) == 272);
QY_FIELD_AT(ProductRecord, DeletionField, 0);
QY_FIELD_AT(ProductRecord, ProductCode, 4);
QY_FIELD_AT(ProductRecord, ProdDesc, 15);
QY_FIELD_AT(ProductRecord, Taxable, 59);
QY_FIELD_AT(ProductRecord, UnitPrice, 60);
QY_FIELD_AT(ProductRecord, ProdNotes, 82);
QY_FIELD_AT(ProductRecord, SetupDate, 233);
QY_FIELD_AT(ProductRecord, LastChanged, 244);

#undef QY_FIELD_AT

}  // namespace
}  // namespace model
