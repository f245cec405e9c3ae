// The records of the company list file and of each company's five files, byte for
// byte as they lie on disk. Every record starts with the engine's 4-byte deletion
// field (0 while in use); a new record starts as all zero bytes (`Record{}`), and an
// edited one is read whole and written back whole, so unknown bytes survive.
#pragma once

#include <cstddef>
#include <type_traits>

#include "model/fields.h"

namespace model {

#pragma pack(push, 1)

// "Mark Invoices as Printed", terms, days choice ("3", "6", "9": over 30, 60, 90 days),
// minimum charge and monthly percentage of the interest run.
struct InterestSettingsBlock {
  BoolByte MarkPrinted;
  ShortString<35> Terms;
  ShortString<1> DaysChoice;
  ShortString<5> MinimumCharge;
  ShortString<5> MonthlyRate;
  Reserved<1> reserved;
};

// One per company, in the company list file "Company" and in "LastCo.Dat".
struct CompanyRecord {
  LeInt32 DeletionField;
  ShortString<35> CompanyName;
  ShortString<5> CompanyNo;
  MoneyField<10> TotalAR;
  ShortString<35> CoAddr1;
  ShortString<35> CoAddr2;
  ShortString<35> CoAddr3;
  ShortString<35> CoAddr4;
  ShortString<35> CoAddr5;
  FontBlock<32, 2> ScreenFont;
  BoolByte UseBackground;
  ShortString<250> BackgroundFile;
  ShortString<78> SalesMsg1;
  ShortString<78> SalesMsg2;
  ShortString<78> SalesMsg3;
  ShortString<78> SalesMsg4;
  ShortString<9> NextInvoiceNo;
  ShortString<9> DefaultQuantity;
  BoolByte PrintDuplicate;
  BoolByte DefaultPrintFlag;
  BoolByte CalcTaxes;
  Reserved<2> reserved872;
  ShortString<6> TaxRate;
  ShortString<35> DefaultTerms;
  LetterCode DateOrder;
  YesNoFlag PrefixInvoiceNo;
  ShortString<8> NextCustNo;
  BoolByte MaxProductWindow;
  BoolByte MaxInvoiceWindow;
  BoolByte MaxCustomerWindow;
  DisplayDate LastAgingDate;
  BoolByte ShowAgingChart;
  Reserved<6> reserved945;
  LetterCode DefaultBodyStyle;
  BoolByte AutoCopyBilling;
  FontBlock<40, 1> ManagerFont;
  BoolByte PrintVerticalLines;
  BoolByte PrintHorizontalLines;
  ShortString<1> LineWidth;
  BoolByte BoxStatements;
  BoolByte BoxInvoices;
  BoolByte PrintCustomerAging;
  BoolByte PrintShading;
  BoolByte LetterheadStyle;
  BoolByte PrintSalesMessage;
  BoolByte PrintProductCodes;
  BoolByte MoveDownTotals;
  ShortString<2> BoxTop;
  ShortString<2> TopMargin;
  ShortString<2> LeftMargin;
  BoolByte PrintLogo;
  ShortString<250> LogoFile;
  ShortString<25> InvoiceCaption;
  ShortString<25> StatementCaption;
  ShortString<25> PackingSlipCaption;
  ShortString<25> FileCopyCaption;
  ShortString<15> CodeHeading;
  ShortString<15> QuantityHeading;
  ShortString<32> DescHeading;
  ShortString<15> PriceHeading;
  ShortString<15> ExtensionHeading;
  ShortString<10> TaxHeading;
  ShortString<80> DefaultStatementNote;
  BoolByte PrintPackingSlip;
  BoolByte PrintFileCopy;
  BoolByte ShowHints;
  ShortString<9> LastSavedInvoiceNo;
  // Invoice body, captions, customer heading, company heading, column headings,
  // sales message.
  FontBlock<35, 0, 3> FormFonts[6];
  ShortString<80> MemoHeading;
  ShortString<2> MaxLines;
  DisplayDate LastInterestDate;
  DisplayDate LastStatementDate;
  DisplayDate LastRepeatDate;
  Reserved<11> reserved1989;
  InterestSettingsBlock InterestSettings;
  FontBlock<32, 3, 3> EnvelopeFont;
  ShortString<3> EnvLineSpacing;
  ShortString<4> EnvLeftMargin;
  ShortString<4> EnvTopMargin;
  ShortString<4> EnvSendLeft;
  LetterCode EnvOrientation;
  LetterCode EnvAddress;
  YesNoFlag CopyToLabelQueue;
  YesNoFlag BatchToLabelQueue;
  ShortString<1> InvoiceCopies;
  ShortString<10> AddressIndent;
  YesNoFlag PrintReturnAddress;
  Reserved<11> reserved2142;
  YesNoFlag OmitCompanyOnForms;
  Reserved<1> reserved2155;
  YesNoFlag AuditTrail;
  Reserved<2> reserved2158;
};

// Indexes into CompanyRecord::FormFonts.
enum FormFont { kBodyFont, kCaptionFont, kCustomerHeadingFont, kCompanyHeadingFont, kColumnHeadingFont,
                kSalesMessageFont };

// File CompanyNo + "C".
struct CustomerRecord {
  LeInt32 DeletionField;
  ShortString<8> CustNo;
  ShortString<35> CustName;
  MoneyField<12> Balance;
  DisplayDate LastPaymentDate;
  ShortString<9> LastInvoiceNo;
  ShortString<25> CustType;
  YesNoFlag TaxExempt;
  MoneyField<10> CreditLimit;
  ShortString<35> Terms;
  ShortString<35> BillAddr1;
  ShortString<35> BillAddr2;
  ShortString<35> BillAddr3;
  ShortString<35> BillAddr4;
  ShortString<25> Phone1;
  ShortString<35> ShipAddr1;
  ShortString<35> ShipAddr2;
  ShortString<35> ShipAddr3;
  ShortString<35> ShipAddr4;
  ShortString<25> Phone2;
  MoneyField<10> AgeCurrent;
  MoneyField<10> Age31to60;
  MoneyField<10> Age61to90;
  MoneyField<10> AgeOver90;
  ShortString<200> CustNotes;
  YesNoFlag NotesOnInvoice;
  YesNoFlag NotesOnStatement;
  Reserved<13> reserved747;
  ShortString<10> ShortName;
  ShortString<15> MailListCode;
  Reserved<26> reserved787;
  YesNoFlag CreditHold;
  Reserved<1> reserved815;
};

// File CompanyNo + "I": invoices, repeat-billing masters, payments, deposits.
struct TransactionRecord {
  LeInt32 DeletionField;
  ShortString<9> InvoiceNo;
  LetterCode TransType;
  ShortString<8> KeyCode;
  ShortString<8> CustNo;
  ShortString<5> CompanyNo;
  DisplayDate TransDate;
  YesNoFlag PrintedFlag;
  ShortString<2> DateMonth;
  ShortString<2> DateDay;
  ShortString<4> DateYear;
  SortableDateText SortDate;
  ShortString<80> InvNotes;
  ShortString<35> Terms;
  ShortString<35> StatementNote;
  LetterCode BodyStyle;
  ShortString<10> ShortName;
  MoneyField<10> NetAmount;
  MoneyField<10> TaxAmount;
  MoneyField<10> TotalAmount;
  MoneyField<10> PaidAmount;
  MoneyField<10> BalanceDue;
  SortableDateText PaidSortDate;
  LetterCode RepeatCycle;
  LetterCode PaidFlag;
  ShortString<10> NextDueDate;  // always "mm/dd/yyyy"
  ShortString<3> RepeatInterval;
  ShortString<3> RepeatCount;
  Reserved<2> reserved330;
};

// File CompanyNo + "D": one invoice line. LineText holds quantity (10), description
// (32), unit price (10), tax flag (1) and extension (10) without separators.
struct DetailRecord {
  LeInt32 DeletionField;
  ShortString<65> LineText;
  LetterCode BodyStyle;
  ShortString<5> CompanyNo;
  ShortString<9> InvoiceNo;
  SortableDateText SortDate;
  ShortString<10> ProductCode;
  ShortString<8> CustNo;
  ShortString<10> ShortName;
  Reserved<2> reserved130;
};

// File CompanyNo + "M": the body of a memo invoice.
struct MemoRecord {
  static constexpr int kLines = 25;

  LeInt32 DeletionField;
  ShortString<9> InvoiceNo;
  ShortString<74> MemoLine[kLines];
  Reserved<3> reserved1889;
};

// File CompanyNo + "P".
struct ProductRecord {
  LeInt32 DeletionField;
  ShortString<10> ProductCode;
  ShortString<32> ProdDesc;
  Reserved<11> reserved48;
  BoolByte Taxable;
  MoneyField<10> UnitPrice;
  Reserved<11> reserved71;
  ShortString<150> ProdNotes;
  DisplayDate SetupDate;
  DisplayDate LastChanged;
  Reserved<17> reserved255;
};

#pragma pack(pop)

template <class Record>
constexpr bool kIsRecordLayout = std::is_trivially_copyable_v<Record> && std::is_standard_layout_v<Record>;

static_assert(kIsRecordLayout<CompanyRecord> && kIsRecordLayout<CustomerRecord> &&
              kIsRecordLayout<TransactionRecord> && kIsRecordLayout<DetailRecord> &&
              kIsRecordLayout<MemoRecord> && kIsRecordLayout<ProductRecord>);

}  // namespace model
