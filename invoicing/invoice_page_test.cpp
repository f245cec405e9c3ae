#include "invoicing/invoice_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/company_defaults.h"
#include "platform/testing/recording_canvas.h"

namespace invoicing {
namespace {

using platform::testing::DrawnText;
using platform::testing::RecordingCanvas;

// The recording canvas's body font (Arial 10) is 100 dots a line on a page of 6300;
// ruled lines are a quarter line further apart.
constexpr int kLine = 100;
constexpr int kRuledRow = 125;
constexpr int kPageHeight = 6300;

model::Money M(std::string_view text) { return model::ParseMoney(text).value(); }

PrintLine Line(int n) {
  const std::string count = std::to_string(n);
  return PrintLine{"P" + count, count, "Part number " + count, "1.00", "N", count + ".00"};
}

class InvoicePageTest : public ::testing::Test {
 protected:
  InvoicePageTest() {
    company_ = model::StarterCompany();
    company_.CompanyName = "Harbor Supply";
    company_.CoAddr1 = "1 Main St";
    company_.SalesMsg1 = "Thank you for your business";
    record_.number = "1043";
    record_.date = "12/08/2026";
    record_.terms = "Net 30 Days";
    record_.customer.name = "Dockside Marine";
    record_.customer.number = "C100";
    record_.customer.billing = {"4 Quay Street", "Portsmouth", "", ""};
    record_.customer.aging = {"      120.00", "        0.00", "        0.00", "        0.00"};
    record_.total = M("120.00");
    record_.lines = {Line(1), Line(2)};
  }

  const RecordingCanvas& Print(CopyKind copy = CopyKind::kInvoice) {
    canvas_ = RecordingCanvas();
    EXPECT_TRUE(PrintInvoiceCopy(record_, copy, company_, canvas_));
    return canvas_;
  }
  bool Drew(std::string_view text) const { return canvas_.Find(text) != nullptr; }
  int YOf(std::string_view text) const {
    const DrawnText* drawn = canvas_.Find(text);
    EXPECT_NE(drawn, nullptr) << text;
    return drawn ? drawn->y : -1;
  }
  std::vector<int> PagesOf(std::string_view text) const {
    std::vector<int> pages;
    for (const DrawnText& drawn : canvas_.texts) {
      if (drawn.text == text) pages.push_back(drawn.page);
    }
    return pages;
  }

  model::CompanyRecord company_;
  PrintRecord record_;
  RecordingCanvas canvas_;
};

TEST_F(InvoicePageTest, EachCopyIsItsOwnJobUnderItsHeading) {
  struct Case {
    CopyKind copy;
    const char* title;
    const char* heading;
  };
  for (const Case& c : {Case{CopyKind::kInvoice, "Invoice - 1043", "INVOICE"},
                        Case{CopyKind::kPackingSlip, "Packing Slip - 1043", "PACKING SLIP"},
                        Case{CopyKind::kFileCopy, "File Copy - 1043", "FILE COPY"}}) {
    Print(c.copy);
    EXPECT_EQ(canvas_.documents, std::vector<std::string>{c.title});
    EXPECT_TRUE(Drew(c.heading)) << c.title;
    for (const char* detail : {"Date: 12/08/2026", "Number: 1043", "Account Number: C100", "Payment Terms: Net 30 Days",
                               "Reference: ", "Dockside Marine", "Harbor Supply"}) {
      EXPECT_TRUE(Drew(detail)) << c.title << ": " << detail;
    }
  }
}

TEST_F(InvoicePageTest, NegativeTotalIsHeadedCreditOnTheInvoiceCopyOnly) {
  record_.total = M("-40.00");
  Print(CopyKind::kInvoice);
  EXPECT_TRUE(Drew("C  R  E  D  I  T"));
  EXPECT_FALSE(Drew("INVOICE"));
  Print(CopyKind::kFileCopy);
  EXPECT_TRUE(Drew("FILE COPY"));

  record_.type = TransactionType::kRepeatMaster;
  Print(CopyKind::kInvoice);
  EXPECT_TRUE(Drew("REPEAT MASTER SETUP"));
}

TEST_F(InvoicePageTest, DuplicateMarkOnlyOnAReprintedInvoiceCopyWhenTheCompanyAsks) {
  struct Case {
    bool printed, option;
    CopyKind copy;
    bool marked;
  };
  for (const Case& c : {Case{true, true, CopyKind::kInvoice, true}, Case{true, true, CopyKind::kPackingSlip, false},
                        Case{true, true, CopyKind::kFileCopy, false}, Case{false, true, CopyKind::kInvoice, false},
                        Case{true, false, CopyKind::kInvoice, false}}) {
    record_.printed = c.printed;
    company_.PrintDuplicate = c.option;
    Print(c.copy);
    EXPECT_EQ(Drew("** Duplicate Invoice **"), c.marked) << c.printed << c.option << static_cast<int>(c.copy);
  }
}

TEST_F(InvoicePageTest, LongInvoiceContinuesWithItsHeadRepeated) {
  record_.lines.clear();
  for (int n = 1; n <= 60; ++n) record_.lines.push_back(Line(n));
  company_.PrintHorizontalLines = false;  // lines one line height apart
  Print();
  EXPECT_EQ(canvas_.page, 2);
  EXPECT_EQ(PagesOf("Continued on page number 2 ..."), std::vector<int>{1});
  EXPECT_EQ(PagesOf("page number 2"), std::vector<int>{2});
  for (const char* head : {"INVOICE", "Harbor Supply", "Number: 1043", "Dockside Marine", "Description"}) {
    EXPECT_EQ(PagesOf(head), (std::vector<int>{1, 2})) << head;
  }
  // Every line once, none lower than ten lines above the page bottom.
  for (int n = 1; n <= 60; ++n) {
    const std::string description = "Part number " + std::to_string(n);
    ASSERT_EQ(PagesOf(description).size(), 1u) << description;
    EXPECT_LE(YOf(description) + kLine, kPageHeight - 10 * kLine) << description;
  }
  EXPECT_EQ(PagesOf("Part number 60"), std::vector<int>{2});
  EXPECT_EQ(PagesOf("Grand Total:"), std::vector<int>{2});
}

TEST_F(InvoicePageTest, MemoLinesInTheManagerFaceFoldBlankLinesFromTwenty) {
  record_.memo = true;
  record_.lines.clear();
  for (std::size_t i = 0; i < record_.memoLines.size(); ++i) record_.memoLines[i] = "Memo line " + std::to_string(i + 1);
  for (std::size_t blank : {4, 19, 20, 21}) record_.memoLines[blank] = "";
  model::SetFont(company_.FormFonts[model::kBodyFont], "Arial", 10, 0x000080, model::font_style::kItalic);
  Print();

  EXPECT_TRUE(Drew(company_.MemoHeading.str()));
  const DrawnText* first = canvas_.Find("Memo line 1");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->font.name, "Courier New");
  EXPECT_EQ(first->font.pointSize, 12);
  EXPECT_EQ(first->font.color, 0x000080u);
  EXPECT_TRUE(first->font.italic);
  const int memoLine = 12 * RecordingCanvas::kLineHeightPerPoint;
  // Line 5 keeps its place although blank; lines 20 to 22 take none.
  EXPECT_EQ(YOf("Memo line 6") - YOf("Memo line 4"), 2 * memoLine);
  EXPECT_EQ(YOf("Memo line 23") - YOf("Memo line 19"), memoLine);
  EXPECT_TRUE(Drew("Memo line 25"));
  EXPECT_GE(YOf("Total:"), kPageHeight - 14 * kLine - 100);
}

TEST_F(InvoicePageTest, PackingSlipLeavesOutPricesTotalsAndAging) {
  Print(CopyKind::kPackingSlip);
  EXPECT_TRUE(Drew("Part number 1"));
  EXPECT_TRUE(Drew("This is a packing slip. Please pay from invoice."));
  for (const char* left : {"1.00", "2.00", "Unit Price", "Amount", "Grand Total:", "Balance Due:", "Account Status:"}) {
    EXPECT_FALSE(Drew(left)) << left;
  }
  Print(CopyKind::kInvoice);
  for (const char* shown : {"1.00", "2.00", "Grand Total:", "120.00", "Account Status:", "Current: 120.00"}) {
    EXPECT_TRUE(Drew(shown)) << shown;
  }
}

TEST_F(InvoicePageTest, TotalsMoveDownForTheBlankLinesOfTheForm) {
  company_.MaxLines = "20";
  company_.MoveDownTotals = false;
  Print();
  const int inPlace = YOf("Total:");
  company_.MoveDownTotals = true;
  Print();
  EXPECT_EQ(YOf("Total:") - inPlace, (20 - 2 + 1) * kRuledRow);

  // On a form without rules the lines are one line height apart.
  company_.PrintHorizontalLines = false;
  company_.MoveDownTotals = false;
  Print();
  const int unruled = YOf("Total:");
  EXPECT_EQ(YOf("Part number 2") - YOf("Part number 1"), kLine);
  company_.MoveDownTotals = true;
  Print();
  EXPECT_EQ(YOf("Total:") - unruled, (20 - 2 + 1) * kLine);
}

TEST_F(InvoicePageTest, SalesMessageAndAgingOnlyWhereTheyFit) {
  Print();
  EXPECT_TRUE(Drew("Thank you for your business"));
  EXPECT_TRUE(Drew("Account Status:"));

  // A form of more lines than the page holds keeps its totals on the page; the sales
  // message no longer fits under them, the aging still does.
  company_.MaxLines = "60";
  Print();
  EXPECT_LE(YOf("Balance Due:") + kLine, kPageHeight);
  EXPECT_FALSE(Drew("Thank you for your business"));
  EXPECT_TRUE(Drew("Account Status:"));
  EXPECT_LT(YOf("Balance Due:") + kLine, YOf("Account Status:"));
}

TEST_F(InvoicePageTest, DeliverToOnlyForAShippingAddressMovedRightByTheExtraAmount) {
  record_.customer.shipping = {"Dock 4", "Harbor Road", "", ""};
  Print();
  const DrawnText* deliver = canvas_.Find("Deliver To:");
  ASSERT_NE(deliver, nullptr);
  const int plain = deliver->x;
  company_.AddressIndent = "150";
  Print();
  EXPECT_EQ(canvas_.Find("Deliver To:")->x, plain + 150);
  EXPECT_EQ(canvas_.Find("Dock 4")->x, plain + 150);

  record_.customer.shipping = {" ", "Harbor Road", "", ""};
  Print();
  EXPECT_FALSE(Drew("Deliver To:"));
}

TEST_F(InvoicePageTest, CustomerNotesPrintWhenTheCustomerAsks) {
  record_.customer.notes = "Deliver to the back door";
  Print();
  EXPECT_FALSE(Drew("Deliver to the back door"));
  record_.customer.notesOnInvoice = true;
  Print();
  EXPECT_TRUE(Drew("Deliver to the back door"));
}

}  // namespace
}  // namespace invoicing
