#include "reports/statement_page.h"

#include <algorithm>
#include <array>
#include <vector>

#include "documents/form_head.h"
#include "model/text.h"

namespace reports {
namespace {

using documents::FormFontOf;
using model::FormFont;

constexpr std::uint32_t kShade = 0xE8E8E8;  // light grey, 0x00BBGGRR

// A row that would start below the page height less this goes to the next page.
constexpr int kRowsEndAboveBottom = 250;
// The foot (sales message, aging) ends this far above the page bottom.
constexpr int kFootSpace = 100;
// The sales message's first line stands this many line heights above the foot.
constexpr int kSalesMessageLines = 7;
// Column widths: these texts in the body font; the gap between columns is "Xl".
constexpr std::string_view kDateWidthText = "XXXXXXXX";
constexpr std::string_view kInvoiceWidthText = "XXXXXXXX";
constexpr int kReferenceChars = 27;
constexpr std::string_view kGapText = "Xl";

// The printed headings differ a little from the window's.
constexpr std::array<std::string_view, kStatementColumns> kPrintedHeadings{
    "Date", "Invoice#", "Reference/Comments", "Total Amount", "Paid Amount", " Balance Due", "C"};

bool IsAmountColumn(int column) { return column >= kTotalColumn && column <= kBalanceColumn; }

std::string Trimmed(std::string_view text) { return std::string(model::TrimBlanks(text)); }

class StatementPage {
 public:
  StatementPage(const Statement& statement, const model::CompanyRecord& company, std::string_view today,
                platform::PageCanvas& canvas)
      : statement_(statement),
        company_(company),
        today_(today),
        canvas_(canvas),
        geometry_(documents::FormGeometryOf(company)) {}

  bool Print() {
    if (!canvas_.BeginDocument(kStatementJobTitle)) return false;
    UseFont(model::kBodyFont);
    lineHeight_ = documents::LineHeight(canvas_);
    MeasureColumns();
    StartPage();
    for (const StatementRow& row : statement_.rows) {
      PrintRow(row);
      if (y_ + lineHeight_ > PageHeight() - kRowsEndAboveBottom) ContinueOnNextPage();
    }
    PrintTotals();
    PrintSalesMessage();
    PrintAging();
    return canvas_.EndDocument();
  }

 private:
  int PageWidth() const { return canvas_.PageWidth(); }
  int PageHeight() const { return canvas_.PageHeight(); }
  int TextLeft() const { return geometry_.TextLeft(); }
  int TextRight() const { return geometry_.TextRight(PageWidth()); }
  int FootBottom() const { return PageHeight() - kFootSpace; }
  void UseFont(FormFont font) { canvas_.SetFont(FormFontOf(company_, font)); }
  void RuleAcross(int y) { canvas_.DrawLine(documents::kFrameInset, y, PageWidth() - documents::kFrameInset, y); }

  void MeasureColumns() {
    widths_[kDateColumn] = canvas_.TextWidth(kDateWidthText);
    widths_[kInvoiceColumn] = canvas_.TextWidth(kInvoiceWidthText);
    widths_[kReferenceColumn] = canvas_.TextWidth(std::string(kReferenceChars, 'X'));
    for (int column = kTotalColumn; column <= kBalanceColumn; ++column) {
      int widest = canvas_.TextWidth(kPrintedHeadings[column]);
      widest = std::max(widest, canvas_.TextWidth(statement_.totals[column]));
      for (const StatementRow& row : statement_.rows) widest = std::max(widest, canvas_.TextWidth(row[column]));
      widths_[column] = widest;
    }
    widths_[kTypeColumn] = canvas_.TextWidth(kPrintedHeadings[kTypeColumn]);
    const int gap = canvas_.TextWidth(kGapText);
    int x = TextLeft();
    for (int column = 0; column < kStatementColumns; ++column) {
      x_[column] = x;
      x += widths_[column] + gap;
    }
  }

  // Amounts end at their column's right edge; the rest starts at its left edge.
  void DrawCell(int column, int y, std::string_view text) {
    if (text.empty()) return;
    const int x = IsAmountColumn(column) ? x_[column] + widths_[column] - canvas_.TextWidth(text) : x_[column];
    canvas_.DrawText(x, y, text);
  }

  void StartPage() {
    canvas_.SetPen(geometry_.lineWidth);
    if (company_.BoxStatements) documents::DrawFrame(canvas_, documents::kFrameInset);
    const std::array<documents::HeadLine, 2> head{{{Trimmed(company_.StatementCaption.str()), model::kCaptionFont},
                                                   {"Page Number: " + std::to_string(page_), model::kBodyFont}}};
    y_ = documents::DrawFormHead(canvas_, company_, geometry_, head);
    PrintCustomerBlock();
    PrintAccountLines();
    PrintHeadings();
  }

  void PrintCustomerBlock() {
    const StatementCustomer& customer = statement_.customer;
    const int x = TextLeft() + geometry_.addressIndent;
    UseFont(model::kCustomerHeadingFont);
    const int height = documents::LineHeight(canvas_);
    const int top = y_;
    const int blockHeight = 5 * height;
    if (company_.PrintShading) {
      canvas_.FillRectangle(documents::kFrameInset, top, PageWidth() - 2 * documents::kFrameInset, blockHeight, kShade,
                            platform::Fill::kHatched);
    }
    if (company_.PrintHorizontalLines) RuleAcross(top);
    canvas_.DrawText(x, y_, Trimmed(customer.name));
    for (const std::string& line : customer.address) {
      y_ += height;
      canvas_.DrawText(x, y_, Trimmed(line));
    }
    y_ = top + blockHeight;
    if (company_.PrintHorizontalLines) RuleAcross(y_);
    UseFont(model::kBodyFont);
    y_ += lineHeight_;
  }

  void PrintAccountLines() {
    canvas_.DrawText(TextLeft(), y_, "Statement Date: " + std::string(today_));
    canvas_.DrawText(PageWidth() / 2, y_, "Account Number: " + Trimmed(statement_.customer.number));
    y_ += lineHeight_;
    canvas_.DrawText(TextLeft(), y_, Trimmed(company_.DefaultStatementNote.str()));
    y_ += 2 * lineHeight_;
  }

  void PrintHeadings() {
    UseFont(model::kColumnHeadingFont);
    for (int column = 0; column < kStatementColumns; ++column) DrawCell(column, y_, kPrintedHeadings[column]);
    y_ += documents::LineHeight(canvas_);
    UseFont(model::kBodyFont);
  }

  void PrintRow(const StatementRow& row) {
    for (int column = 0; column < kStatementColumns; ++column) DrawCell(column, y_, Trimmed(row[column]));
    y_ += lineHeight_;
  }

  void ContinueOnNextPage() {
    canvas_.DrawText(TextLeft(), FootBottom(), "Continued on page " + std::to_string(page_ + 1) + " ...");
    canvas_.NewPage();
    ++page_;
    StartPage();
  }

  void PrintTotals() {
    if (company_.PrintHorizontalLines) RuleAcross(y_);
    y_ += lineHeight_ / 4;
    for (int column = kReferenceColumn; column <= kBalanceColumn; ++column) DrawCell(column, y_, statement_.totals[column]);
    y_ += lineHeight_;
  }

  // Line k of the customer's notes, wrapped to what the longest message leaves of the
  // line, follows message line k.
  std::array<std::string, 4> SalesMessageLines() {
    std::array<std::string, 4> lines{Trimmed(company_.SalesMsg1.str()), Trimmed(company_.SalesMsg2.str()),
                                     Trimmed(company_.SalesMsg3.str()), Trimmed(company_.SalesMsg4.str())};
    const StatementCustomer& customer = statement_.customer;
    if (!customer.notesOnStatement || model::TrimBlanks(customer.notes).empty()) return lines;
    int longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, canvas_.TextWidth(line + " "));
    const std::vector<std::string> notes =
        documents::WrapWords(canvas_, Trimmed(customer.notes), std::max(1, TextRight() - TextLeft() - longest));
    for (std::size_t k = 0; k < lines.size() && k < notes.size(); ++k) {
      lines[k] += (lines[k].empty() ? "" : " ") + notes[k];
    }
    return lines;
  }

  void PrintSalesMessage() {
    if (!company_.PrintSalesMessage || y_ >= FootBottom() - kSalesMessageLines * lineHeight_) return;
    UseFont(model::kSalesMessageFont);
    int y = FootBottom() - kSalesMessageLines * lineHeight_;
    for (const std::string& line : SalesMessageLines()) {
      if (!line.empty()) canvas_.DrawText(TextLeft(), y, line);
      y += lineHeight_;
    }
    UseFont(model::kBodyFont);
  }

  void PrintAging() {
    if (!company_.PrintCustomerAging) return;
    UseFont(model::kColumnHeadingFont);
    const int height = documents::LineHeight(canvas_);
    if (company_.PrintShading) {
      canvas_.FillRectangle(documents::kFrameInset, FootBottom() - height, PageWidth() - 2 * documents::kFrameInset,
                            2 * height, kShade, platform::Fill::kHatched);
    }
    canvas_.DrawText(TextLeft(), FootBottom() - height, "Account Status:");
    static constexpr std::array<std::string_view, 4> kBuckets{"Current: ", "31-60: ", "61-90: ", "Over 90: "};
    for (std::size_t i = 0; i < kBuckets.size(); ++i) {
      canvas_.DrawText(TextLeft() + static_cast<int>(i) * PageWidth() / 4, FootBottom(),
                       std::string(kBuckets[i]) + statement_.customer.aging[i]);
    }
    UseFont(model::kBodyFont);
  }

  const Statement& statement_;
  const model::CompanyRecord& company_;
  std::string_view today_;
  platform::PageCanvas& canvas_;
  documents::FormGeometry geometry_;
  std::array<int, kStatementColumns> widths_{};
  std::array<int, kStatementColumns> x_{};
  int lineHeight_ = 0;
  int page_ = 1;
  int y_ = 0;
};

}  // namespace

bool PrintStatement(const Statement& statement, const model::CompanyRecord& company, std::string_view today,
                    platform::PageCanvas& canvas) {
  return StatementPage(statement, company, today, canvas).Print();
}

}  // namespace reports
