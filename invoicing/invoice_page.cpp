#include "invoicing/invoice_page.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "documents/form_head.h"
#include "model/text.h"

namespace invoicing {
namespace {

using documents::FormFontOf;
using documents::HeadLine;
using model::FormFont;

constexpr std::string_view kCreditHeading = "C  R  E  D  I  T";
constexpr std::string_view kRepeatMasterHeading = "REPEAT MASTER SETUP";
constexpr std::string_view kDuplicateMark = "** Duplicate Invoice **";
constexpr std::string_view kPackingSlipNote = "This is a packing slip. Please pay from invoice.";
constexpr std::string_view kDeliverTo = "Deliver To:";

constexpr std::uint32_t kShade = 0xE8E8E8;  // light grey, 0x00BBGGRR

// Lines stop this many line heights above the page bottom and continue on a new page.
constexpr int kLinesAboveBottom = 10;
// A memo invoice's totals start no higher than this many line heights and kFootSpace
// above the page bottom.
constexpr int kMemoTotalsLinesAboveBottom = 14;
// The foot (sales message, aging) ends this far above the page bottom; the sales
// message needs seven line heights above that.
constexpr int kFootSpace = 100;
constexpr int kSalesMessageLines = 7;
// Memo lines from this one on (counted from 1) take no space when blank.
constexpr int kFirstFoldingMemoLine = 20;
// The memo prints in the manager font's face this much larger.
constexpr int kMemoSizeIncrease = 2;

// Column widths are the widths of these many "X" in the body font.
constexpr int kCodeChars = 10;
constexpr int kQuantityChars = 10;
constexpr int kDescriptionChars = 31;
constexpr int kPriceChars = 10;
constexpr int kTaxableChars = 1;
constexpr int kExtensionChars = 12;

enum class Align { kLeft, kRight, kCentre };

struct Column {
  int x = 0;
  int width = 0;
  Align align = Align::kLeft;
};

// The table's columns; the product code column only when the company prints codes.
struct Columns {
  std::optional<Column> code;
  Column quantity, description, price, taxable, extension;
  int pad = 0;  // between a rule and the text beside it

  int Left() const { return (code ? code->x : quantity.x) - pad; }
  int Right() const { return extension.x + extension.width + pad; }
  std::vector<Column> All() const {
    std::vector<Column> all;
    if (code) all.push_back(*code);
    for (const Column& column : {quantity, description, price, taxable, extension}) all.push_back(column);
    return all;
  }
};

std::string Trimmed(std::string_view text) { return std::string(model::TrimBlanks(text)); }

platform::FontSpec Bold(platform::FontSpec font) {
  font.bold = true;
  return font;
}

class InvoicePage {
 public:
  InvoicePage(const PrintRecord& record, CopyKind copy, const model::CompanyRecord& company,
              platform::PageCanvas& canvas)
      : record_(record),
        copy_(copy),
        company_(company),
        canvas_(canvas),
        geometry_(documents::FormGeometryOf(company)) {}

  bool Print() {
    if (!canvas_.BeginDocument(PrintJobTitle(copy_, record_.number))) return false;
    UseFont(model::kBodyFont);
    lineHeight_ = documents::LineHeight(canvas_);
    // Ruled lines get a little lead so that the text clears the rules; unruled ones (a
    // pre-printed form's) are exactly one line height apart.
    rowLead_ = company_.PrintHorizontalLines ? lineHeight_ / 4 : 0;
    columns_ = MeasureColumns();
    StartPage();
    const int printed = record_.memo ? PrintMemo() : PrintLines();
    EndTable(TableBottom(printed));
    const int contentEnd = PrintTotals(y_ + lineHeight_ / 2);
    PrintSalesMessage(contentEnd);
    PrintAging(contentEnd);
    return canvas_.EndDocument();
  }

 private:
  bool IsPackingSlip() const { return copy_ == CopyKind::kPackingSlip; }
  int PageWidth() const { return canvas_.PageWidth(); }
  int PageHeight() const { return canvas_.PageHeight(); }
  int TextLeft() const { return geometry_.TextLeft(); }
  int TextRight() const { return geometry_.TextRight(PageWidth()); }
  int SixthsOfWidth(int sixths) const { return PageWidth() * sixths / 6; }

  void UseFont(FormFont font) { canvas_.SetFont(FormFontOf(company_, font)); }

  void DrawInColumn(const Column& column, int y, std::string_view text) {
    if (text.empty()) return;
    const int width = canvas_.TextWidth(text);
    const int x = column.align == Align::kLeft    ? column.x
                  : column.align == Align::kRight ? column.x + column.width - width
                                                  : column.x + (column.width - width) / 2;
    canvas_.DrawText(x, y, text);
  }
  void DrawRightAligned(int right, int y, std::string_view text) {
    canvas_.DrawText(right - canvas_.TextWidth(text), y, text);
  }
  void DrawCentred(int left, int right, int y, std::string_view text) {
    canvas_.DrawText(left + (right - left - canvas_.TextWidth(text)) / 2, y, text);
  }
  void Rule(int y) { canvas_.DrawLine(columns_.Left(), y, columns_.Right(), y); }

  // --- Page head ---------------------------------------------------------------------

  std::vector<HeadLine> HeadLines() const {
    std::vector<HeadLine> lines{{CopyHeading(record_, copy_, company_), model::kCaptionFont}};
    if (copy_ == CopyKind::kInvoice && record_.printed && company_.PrintDuplicate) {
      lines.push_back({std::string(kDuplicateMark), model::kCustomerHeadingFont});
    }
    if (page_ > 1) lines.push_back({"page number " + std::to_string(page_), model::kBodyFont});
    lines.push_back({"", model::kBodyFont});
    for (std::string detail : {"Date: " + record_.date, "Number: " + record_.number,
                               "Account Number: " + record_.customer.number, "Payment Terms: " + record_.terms}) {
      lines.push_back({std::move(detail), model::kBodyFont, false});
    }
    return lines;
  }

  // The billing address at the left; the shipping address, when there is one, under
  // the details, moved right by the company's extra amount.
  void PrintAddresses() {
    const PrintCustomer& customer = record_.customer;
    int y = y_;
    UseFont(model::kCustomerHeadingFont);
    canvas_.DrawText(TextLeft(), y, customer.name);
    y += documents::LineHeight(canvas_);
    UseFont(model::kBodyFont);
    for (const std::string& line : customer.billing) {
      canvas_.DrawText(TextLeft(), y, Trimmed(line));
      y += lineHeight_;
    }
    if (customer.HasShipping()) {
      const int x = documents::HeadDetailsX(canvas_) + geometry_.addressIndent;
      int shipY = y_;
      UseFont(model::kCustomerHeadingFont);
      canvas_.DrawText(x, shipY, kDeliverTo);
      shipY += documents::LineHeight(canvas_);
      UseFont(model::kBodyFont);
      for (const std::string& line : customer.shipping) {
        canvas_.DrawText(x, shipY, Trimmed(line));
        shipY += lineHeight_;
      }
      y = std::max(y, shipY);
    }
    y_ = y + lineHeight_ / 2;
    canvas_.DrawText(TextLeft(), y_, "Reference: " + record_.reference);
    y_ += lineHeight_ + lineHeight_ / 2;
  }

  void StartPage() {
    canvas_.SetPen(geometry_.lineWidth);
    if (company_.BoxInvoices) documents::DrawFrame(canvas_, geometry_.boxTop);
    const std::vector<HeadLine> head = HeadLines();
    y_ = documents::DrawFormHead(canvas_, company_, geometry_, head);
    PrintAddresses();
    tableTop_ = y_;
    PrintHeadingBand();
  }

  // --- The table ---------------------------------------------------------------------

  Columns MeasureColumns() const {
    const auto width = [&](int chars) { return canvas_.TextWidth(std::string(static_cast<std::size_t>(chars), 'X')); };
    Columns columns;
    columns.pad = width(1) / 2;
    const int gap = 2 * columns.pad;
    int x = TextLeft();
    const auto next = [&](int chars, Align align) {
      const Column column{x, width(chars), align};
      x += column.width + gap;
      return column;
    };
    if (company_.PrintProductCodes) columns.code = next(kCodeChars, Align::kLeft);
    columns.quantity = next(kQuantityChars, Align::kRight);
    columns.description = next(kDescriptionChars, Align::kLeft);
    columns.price = next(kPriceChars, Align::kRight);
    columns.taxable = next(kTaxableChars, Align::kCentre);
    columns.extension = next(kExtensionChars, Align::kRight);
    // The description takes what is left of the width, so the table spans the page.
    const int spare = TextRight() - (columns.extension.x + columns.extension.width);
    if (spare > 0) {
      columns.description.width += spare;
      for (Column* after : {&columns.price, &columns.taxable, &columns.extension}) after->x += spare;
    }
    return columns;
  }

  // The column headings, or the memo heading, in a band across the table.
  void PrintHeadingBand() {
    UseFont(model::kColumnHeadingFont);
    const int textHeight = documents::LineHeight(canvas_);
    const int bandHeight = textHeight + textHeight / 2;
    if (company_.PrintShading) {
      canvas_.FillRectangle(columns_.Left(), y_, columns_.Right() - columns_.Left(), bandHeight, kShade);
    }
    if (company_.PrintHorizontalLines) Rule(y_);
    const int textY = y_ + textHeight / 4;
    if (record_.memo) {
      canvas_.DrawText(TextLeft(), textY, Trimmed(company_.MemoHeading.str()));
    } else {
      if (columns_.code) DrawInColumn(*columns_.code, textY, Trimmed(company_.CodeHeading.str()));
      DrawInColumn(columns_.quantity, textY, Trimmed(company_.QuantityHeading.str()));
      DrawInColumn(columns_.description, textY, Trimmed(company_.DescHeading.str()));
      if (!IsPackingSlip()) {
        DrawInColumn(columns_.price, textY, Trimmed(company_.PriceHeading.str()));
        DrawInColumn(columns_.extension, textY, Trimmed(company_.ExtensionHeading.str()));
      }
      DrawInColumn(columns_.taxable, textY, "T");
    }
    y_ += bandHeight;
    if (company_.PrintHorizontalLines) Rule(y_);
    UseFont(model::kBodyFont);
  }

  // The rules down the table from its top to `bottom`, and the one closing it.
  void EndTable(int bottom) {
    if (company_.PrintVerticalLines) {
      std::vector<int> rules{columns_.Left()};
      if (!record_.memo) {
        for (const Column& column : columns_.All()) rules.push_back(column.x + column.width + columns_.pad);
      } else {
        rules.push_back(columns_.Right());
      }
      for (int x : rules) canvas_.DrawLine(x, tableTop_, x, bottom);
    }
    if (company_.PrintHorizontalLines) Rule(bottom);
    y_ = bottom;
  }

  int RowHeight() const { return lineHeight_ + rowLead_; }

  void PrintOneLine(const PrintLine& line) {
    const int textY = y_ + rowLead_ / 3;
    if (columns_.code) DrawInColumn(*columns_.code, textY, line.productCode);
    DrawInColumn(columns_.quantity, textY, line.quantity);
    DrawInColumn(columns_.description, textY, line.description);
    if (!IsPackingSlip()) {
      DrawInColumn(columns_.price, textY, line.unitPrice);
      DrawInColumn(columns_.extension, textY, line.extension);
    }
    DrawInColumn(columns_.taxable, textY, Trimmed(line.taxable));
    y_ += RowHeight();
    if (company_.PrintHorizontalLines) Rule(y_);
  }

  void ContinueOnNextPage() {
    EndTable(y_);
    DrawCentred(TextLeft(), TextRight(), y_ + lineHeight_ / 2,
                "Continued on page number " + std::to_string(page_ + 1) + " ...");
    canvas_.NewPage();
    ++page_;
    StartPage();
  }

  // The number of lines printed.
  int PrintLines() {
    for (const PrintLine& line : record_.lines) {
      if (y_ + RowHeight() > PageHeight() - kLinesAboveBottom * lineHeight_) ContinueOnNextPage();
      PrintOneLine(line);
    }
    return static_cast<int>(record_.lines.size());
  }

  platform::FontSpec MemoFont() const {
    platform::FontSpec font = FormFontOf(company_, model::kBodyFont);
    const platform::FontSpec manager = documents::FontSpecOf(company_.ManagerFont);
    font.name = manager.name;
    font.pointSize = manager.pointSize + kMemoSizeIncrease;
    return font;
  }

  // The number of memo lines that took space.
  int PrintMemo() {
    canvas_.SetFont(MemoFont());
    const int memoLineHeight = documents::LineHeight(canvas_);
    y_ += lineHeight_ / 4;
    int printed = 0;
    for (std::size_t i = 0; i < record_.memoLines.size(); ++i) {
      const std::string& line = record_.memoLines[i];
      const bool blank = model::TrimBlanks(line).empty();
      if (blank && static_cast<int>(i) + 1 >= kFirstFoldingMemoLine) continue;
      if (!blank) canvas_.DrawText(TextLeft(), y_, line);
      y_ += memoLineHeight;
      ++printed;
    }
    UseFont(model::kBodyFont);
    return printed;
  }

  // Where the table ends: below the last line, lower down when the totals keep their
  // place for a form of MaxLines lines, and for a memo no higher than its floor; never
  // so low that the totals leave the page.
  int TableBottom(int printed) const {
    int bottom = y_;
    if (company_.MoveDownTotals && printed <= geometry_.maxLines) {
      const int movedDown = y_ + (geometry_.maxLines - printed + 1) * RowHeight();
      bottom = std::max(y_, std::min(movedDown, PageHeight() - kLinesAboveBottom * lineHeight_));
    }
    if (record_.memo) {
      bottom = std::max(bottom, PageHeight() - kMemoTotalsLinesAboveBottom * lineHeight_ - kFootSpace -
                                    lineHeight_ / 2);
    }
    return bottom;
  }

  // --- Totals and foot -------------------------------------------------------------

  // From `top`: the totals at four sixths of the width (the packing slip's note at one
  // sixth instead), and the customer's notes in the left half; the y below them.
  int PrintTotals(int top) {
    int noteTop = top;
    int end = top;
    if (IsPackingSlip()) {
      canvas_.DrawText(SixthsOfWidth(1), top, kPackingSlipNote);
      noteTop = end = top + 2 * lineHeight_;
    } else {
      end = PrintAmounts(top);
    }
    return std::max(end, PrintCustomerNotes(noteTop));
  }

  int PrintAmounts(int top) {
    const std::string taxHeading = Trimmed(company_.TaxHeading.str());
    struct Row {
      std::string label;
      model::Money amount;
      bool strong;
    };
    const std::array<Row, 5> rows{{{"Total:", record_.Net(), false},
                                   {(taxHeading.empty() ? std::string("Tax") : taxHeading) + ":", record_.tax, false},
                                   {"Grand Total:", record_.total, true},
                                   {"Paid Amount: ", record_.paid, false},
                                   {"Balance Due:", record_.Balance(), true}}};
    const int labelX = SixthsOfWidth(4);
    const int right = columns_.extension.x + columns_.extension.width;
    const int height = static_cast<int>(rows.size()) * lineHeight_ + lineHeight_ / 2;
    if (company_.PrintShading) {
      const int panelLeft = labelX - 2 * columns_.pad;
      canvas_.FillRectangle(panelLeft, top, columns_.Right() - panelLeft, height, kShade);
    }
    int y = top + lineHeight_ / 4;
    for (const Row& row : rows) {
      platform::FontSpec font = FormFontOf(company_, model::kBodyFont);
      canvas_.SetFont(row.strong ? Bold(font) : font);
      const bool grandTotal = &row == &rows[2];
      if (grandTotal && company_.PrintHorizontalLines) canvas_.DrawLine(labelX, y, right, y);
      canvas_.DrawText(labelX, y, row.label);
      DrawRightAligned(right, y, model::FormatMoney(row.amount, ",0.00"));
      y += lineHeight_;
    }
    UseFont(model::kBodyFont);
    return top + height;
  }

  // The customer's notes when they are to be printed on invoices, in the left half
  // beside the totals; the y below them.
  int PrintCustomerNotes(int top) {
    const PrintCustomer& customer = record_.customer;
    if (!customer.notesOnInvoice || customer.notes.empty()) return top;
    int y = top + lineHeight_ / 4;
    for (const std::string& line : documents::WrapWords(canvas_, customer.notes, SixthsOfWidth(3) - 2 * columns_.pad -
                                                                                    TextLeft())) {
      canvas_.DrawText(TextLeft(), y, line);
      y += lineHeight_;
    }
    return y;
  }

  int FootBottom() const { return PageHeight() - kFootSpace; }

  void PrintSalesMessage(int contentEnd) {
    if (!company_.PrintSalesMessage || contentEnd > FootBottom() - kSalesMessageLines * lineHeight_) return;
    UseFont(model::kSalesMessageFont);
    int y = FootBottom() - kSalesMessageLines * lineHeight_;
    for (const auto* message : {&company_.SalesMsg1, &company_.SalesMsg2, &company_.SalesMsg3, &company_.SalesMsg4}) {
      const std::string text = Trimmed(message->str());
      if (!text.empty()) DrawCentred(TextLeft(), TextRight(), y, text);
      y += lineHeight_;
    }
    UseFont(model::kBodyFont);
  }

  // "Account Status:" and the four buckets on the two lines above the foot's bottom.
  void PrintAging(int contentEnd) {
    if (!company_.PrintCustomerAging || IsPackingSlip()) return;
    UseFont(model::kColumnHeadingFont);
    const int agingHeight = documents::LineHeight(canvas_);
    const int top = FootBottom() - 2 * agingHeight;
    if (contentEnd > top) {
      UseFont(model::kBodyFont);
      return;
    }
    if (company_.PrintShading) {
      canvas_.FillRectangle(columns_.Left(), top, columns_.Right() - columns_.Left(), 2 * agingHeight, kShade);
    }
    canvas_.DrawText(TextLeft(), top, "Account Status:");
    static constexpr std::array<std::string_view, 4> kBuckets{"Current: ", "31-60: ", "61-90: ", "Over 90: "};
    const int quarter = (TextRight() - TextLeft()) / 4;
    for (std::size_t i = 0; i < kBuckets.size(); ++i) {
      canvas_.DrawText(TextLeft() + static_cast<int>(i) * quarter, top + agingHeight,
                       std::string(kBuckets[i]) + Trimmed(record_.customer.aging[i]));
    }
    UseFont(model::kBodyFont);
  }

  const PrintRecord& record_;
  CopyKind copy_;
  const model::CompanyRecord& company_;
  platform::PageCanvas& canvas_;
  documents::FormGeometry geometry_;
  Columns columns_;
  int lineHeight_ = 0;
  int rowLead_ = 0;
  int page_ = 1;
  int y_ = 0;
  int tableTop_ = 0;
};

}  // namespace

std::string PrintJobTitle(CopyKind copy, std::string_view invoiceNo) {
  const std::string_view kind = copy == CopyKind::kInvoice       ? "Invoice - "
                                : copy == CopyKind::kPackingSlip ? "Packing Slip - "
                                                                 : "File Copy - ";
  return std::string(kind) + std::string(invoiceNo);
}

std::string CopyHeading(const PrintRecord& record, CopyKind copy, const model::CompanyRecord& company) {
  if (record.type == TransactionType::kRepeatMaster) return std::string(kRepeatMasterHeading);
  switch (copy) {
    case CopyKind::kInvoice:
      return record.total < model::Money() ? std::string(kCreditHeading) : Trimmed(company.InvoiceCaption.str());
    case CopyKind::kPackingSlip: return Trimmed(company.PackingSlipCaption.str());
    case CopyKind::kFileCopy: return Trimmed(company.FileCopyCaption.str());
  }
  return {};
}

bool PrintInvoiceCopy(const PrintRecord& record, CopyKind copy, const model::CompanyRecord& company,
                      platform::PageCanvas& canvas) {
  return InvoicePage(record, copy, company, canvas).Print();
}

}  // namespace invoicing
