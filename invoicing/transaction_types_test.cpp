#include "invoicing/transaction_types.h"

#include <gtest/gtest.h>

namespace invoicing {
namespace {

model::TransactionRecord Invoice() {
  model::TransactionRecord header{};
  header.SortDate = "2026/12/08";
  header.TransDate = "12/08/2026";
  header.TransType = "I";
  header.InvoiceNo = "1043";
  header.CustNo = "10";
  header.ShortName = "DMarine";
  header.TotalAmount = "1234.50";
  header.BalanceDue = "1000.00";
  header.PaidAmount = "234.50";
  header.KeyCode = "None";
  header.CompanyNo = "1";
  header.BodyStyle = "P";
  return header;
}

struct Column {
  std::size_t offset, width;
};
// Eleven columns with one blank between each, then blanks to the row's width.
constexpr Column kColumns[] = {{0, 10}, {11, 1},  {13, 9},  {23, 8},  {32, 10}, {43, 12},
                               {56, 12}, {69, 12}, {82, 8}, {91, 10}, {102, 5}};

void ExpectColumns(const std::string& row, const std::vector<std::string>& expected) {
  ASSERT_EQ(row.size(), kInvoiceRowWidth);
  std::string blanks(kInvoiceRowWidth, ' ');
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    const Column column = kColumns[i];
    EXPECT_EQ(row.substr(column.offset, column.width), expected[i]) << "column " << i + 1;
    blanks.replace(column.offset, column.width, row.substr(column.offset, column.width));
  }
  EXPECT_EQ(row, blanks) << "separators and the rest of the row are blank";
}

TEST(InvoiceRowTest, ColumnsStandWhereTheHeadingSaysTheyDo) {
  ExpectColumns(InvoiceHeading(), {"Year/Mo/Dy", "T", "Invoice# ", "Cust#   ", "Short Name", " Grand Total",
                                   "  Amount Due", " Paid Amount", "Key Code", "Date Paid ", "CO#  "});
  ExpectColumns(InvoiceRow(Invoice()), {"2026/12/08", "I", "1043     ", "10      ", "DMarine   ", "    1,234.50",
                                        "    1,000.00", "      234.50", "None    ", "          ", "1    "});
  // The widest amounts fill their columns; text that is no amount is shown as stored.
  model::TransactionRecord header = Invoice();
  header.TotalAmount = "9999999.99";
  header.BalanceDue = "-999999.99";
  header.PaidAmount = "12,5x";
  header.PaidSortDate = "2026/12/09";
  ExpectColumns(InvoiceRow(header), {"2026/12/08", "I", "1043     ", "10      ", "DMarine   ", "9,999,999.99",
                                     " -999,999.99", "       12,5x", "None    ", "2026/12/09", "1    "});
}

TEST(QuickViewTest, TypeAndStyleTexts) {
  struct Case {
    std::string_view type, bodyStyle, typeText, styleText;
  };
  const Case cases[] = {
      {"I", "P", "I - Regular Invoice", "(Product Invoice)"},
      {"i", "m", "I - Regular Invoice", "(Memo Invoice)"},
      {"G", "P", "G - Repeat Billing Generated Invoice", "(Product Invoice)"},
      {"X", "X", "X - Partial Payment Record against Type Z", "(Payment Record)"},
      {"Z", "P", "Z - Invoice has Partial Payment(s) of Type X", "(Product Invoice)"},
      {"D", "D", "D - Deposit on Account", "(Payment Record)"},
      {"T", "P", "T - Deposit Taken (offsets type D)", "(Applied Deposit)"},
      {"R", "M", "R - Repeat Billing Master Record (Created: 3)", "(Memo Invoice)"},
  };
  for (const Case& c : cases) {
    model::TransactionRecord header = Invoice();
    header.TransType = c.type;
    header.BodyStyle = c.bodyStyle;
    header.RepeatCount = " 3 ";
    const QuickView view = QuickViewOf(header, std::nullopt, model::DateOrder::kMonthFirst);
    EXPECT_EQ(view.typeText, c.typeText);
    EXPECT_EQ(view.styleText, c.styleText) << c.type;
    EXPECT_EQ(view.repeatMark, c.type == "R" ? "* Repeat *" : "") << c.type;
  }
}

TEST(QuickViewTest, RepeatMasterShowsItsNextDueDateInTheCompanysOrder) {
  model::TransactionRecord master = Invoice();
  master.TransType = "R";
  master.TransDate = "08/12/2026";
  master.NextDueDate = "01/08/2027";  // kept month first
  master.PrintedFlag = "Y";
  model::CustomerRecord customer{};
  customer.CustName = "Dockside Marine";
  customer.CustNo = "10";
  customer.Balance = "12345.60";
  customer.Phone1 = "555-0100";

  const QuickView view = QuickViewOf(master, customer, model::DateOrder::kDayFirst);
  EXPECT_EQ(view.date, "08/12/2026\n - Next Due: 08/01/2027");
  EXPECT_EQ(QuickViewDate(master, model::DateOrder::kMonthFirst), "08/12/2026\n - Next Due: 01/08/2027");
  EXPECT_EQ(view.total + "|" + view.paid + "|" + view.balance, "1,234.50|234.50|1,000.00");
  EXPECT_EQ(view.printedMark, "* Printed *");
  EXPECT_EQ(view.customerName + "|" + view.customerNumber + "|" + view.customerBalance + "|" + view.customerPhone,
            "Dockside Marine|10|12,345.60|555-0100");
  EXPECT_EQ(QuickViewDate(Invoice(), model::DateOrder::kDayFirst), "12/08/2026");
}

TEST(BatchPrintTest, WhichRecordsArePrinted) {
  struct Case {
    std::string_view type, printed;
    bool selected;
  };
  const Case cases[] = {{"I", "", true},  {"I", "Y", false}, {"G", "N", true},  {"Z", " ", true}, {"M", "", true},
                        {"R", "", false}, {"X", "", false},  {"D", "", false}, {"T", "", false}};
  for (const Case& c : cases) {
    model::TransactionRecord header = Invoice();
    header.TransType = c.type;
    header.PrintedFlag = c.printed;
    EXPECT_EQ(SelectedForBatchPrint(header), c.selected) << c.type << " printed '" << c.printed << "'";
  }
}

TEST(BatchPrintTest, QuestionNotesPackingSlipsAndFileCopies) {
  struct Case {
    bool packingSlip, fileCopy;
    std::string_view question;
  };
  const Case cases[] = {
      {false, false, "There are 3 invoice(s) to print.\nDo you want to continue?"},
      {true, true,
       "There are 3 invoice(s) to print.\nNote: Packing Slips will be printed.\nNote: File Copies will be "
       "printed.\nDo you want to continue?"},
  };
  for (const Case& c : cases) {
    model::CompanyRecord company{};
    company.PrintPackingSlip = c.packingSlip;
    company.PrintFileCopy = c.fileCopy;
    EXPECT_EQ(BatchPrintQuestion(3, company), c.question);
  }
}

TEST(RepeatSetupTest, RefusalsInTheirOrder) {
  const Refusal payment{"Payment Acivity",
                        "This invoice has payment activity. To create a repeat billing, the invoice must not have any "
                        "payments."};
  const Refusal type{"Transaction Type",
                     "This record must be Type Code \"I\" or \"R\" in order to change repeat billing information."};
  const Refusal length{"Repeat Billing Setup",
                       "The invoice number is too long. A repeat billing invoice number must be 5 or less "
                       "characters. Please change the invoice number and try again."};
  struct Case {
    std::string_view type, paid, number;
    std::optional<Refusal> refusal;
  };
  const Case cases[] = {
      {"I", "0.00", "12345", std::nullopt}, {"R", "", " 12345 ", std::nullopt}, {"G", "5.00", "123456", payment},
      {"G", "0.00", "123456", type},        {"I", "0.00", "123456", length},
  };
  for (const Case& c : cases) {
    model::TransactionRecord header = Invoice();
    header.TransType = c.type;
    header.PaidAmount = c.paid;
    header.InvoiceNo = c.number;
    const std::optional<Refusal> refusal = RepeatSetupRefusal(header);
    ASSERT_EQ(refusal.has_value(), c.refusal.has_value()) << c.type << " " << c.number;
    if (refusal) {
      EXPECT_EQ(refusal->caption, c.refusal->caption);
      EXPECT_EQ(refusal->text, c.refusal->text);
    }
  }
}

}  // namespace
}  // namespace invoicing
