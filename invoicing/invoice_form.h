// An invoice as the entry window holds it while it is typed or changed: every control's
// text, the grid's 99 lines and the chosen customer. The invoice manager fills one
// before the window shows it and stores what the window hands back; the entry rules
// (totals, checks, saved lines) work on it, so they run without a display.
//
// Texts are UTF-8 as typed; they become Windows-1252 only when a record is written.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/records.h"

namespace invoicing {

constexpr int kLineCount = 99;        // grid rows 1 to 99
constexpr int kMemoCapacity = 1850;   // characters the memo box takes
constexpr int kStoredMemoLines = 25;  // memo lines a memo record keeps
constexpr int kStoredMemoWidth = 74;  // characters of each stored memo line

// The control limits of the entry window.
constexpr int kNumberCapacity = 9;
constexpr int kDateCapacity = 10;
constexpr int kNotesCapacity = 80;
constexpr int kKeyCodeCapacity = 8;
constexpr int kTermsCapacity = 35;
constexpr int kStatementNoteCapacity = 35;
constexpr int kMemoDescriptionCapacity = 32;
constexpr int kMemoQuantityCapacity = 10;
constexpr int kAmountCapacity = 10;

// "P" line items in the grid, "M" memo text.
enum class InvoiceKind { kLineItem, kMemo };
enum class EntryMode { kAdd, kEdit };

char BodyStyleLetter(InvoiceKind kind);
// "M" (either case) is a memo invoice, anything else a line-item one.
InvoiceKind KindOfBodyStyle(std::string_view bodyStyle);

// The grid's columns; column 0 shows the line number and holds nothing of its own.
enum class GridColumn { kLine = 0, kProduct = 1, kQuantity = 2, kDescription = 3, kUnitPrice = 4, kTaxable = 5,
                        kExtension = 6 };
constexpr int kGridColumnCount = 7;

// One grid row's cells 1 to 6 as text.
struct GridLine {
  std::string productCode;
  std::string quantity;
  std::string description;
  std::string unitPrice;
  std::string taxable;  // "Y", "N", " " on a comment line, "M" on a stored memo line
  std::string extension;

  // Stored only when the product code or the description holds more than blanks.
  bool IsStored() const;
  std::string& Cell(GridColumn column);
  const std::string& Cell(GridColumn column) const;
  friend bool operator==(const GridLine&, const GridLine&) = default;
};

struct InvoiceForm {
  EntryMode mode = EntryMode::kAdd;
  InvoiceKind kind = InvoiceKind::kLineItem;
  // The number as stored before an edit (trimmed, upper case); "0" in add mode.
  std::string storedNumber = "0";

  std::string number;  // INum
  std::string date;    // IDate, in the company's date order
  std::string notes;   // INVNOTES
  std::string keyCode = "None";
  std::string terms;
  std::string statementNote;

  // The chosen customer as read from the customer file; nullopt until one is chosen.
  std::optional<model::CustomerRecord> customer;

  std::array<GridLine, kLineCount> lines{};  // lines[0] is grid row 1
  std::string memo;                          // Memo1, lines separated by '\n'
  std::string memoDescription;               // MemoPDesc
  std::string memoQuantity = "1";            // MemoQuan

  std::string net = "0.00";  // INet
  std::string tax = "0.00";  // ITax
  std::string paid = "0.00"; // IPaid
  std::string total = "0.00";       // ITotal (shown)
  std::string balanceDue = "0.00";  // BalDue (shown)

  bool calcTax = false;    // CheckBox2
  bool printFlag = false;  // PrintFlag

  GridLine& Line(int row) { return lines.at(static_cast<std::size_t>(row - 1)); }
  const GridLine& Line(int row) const { return lines.at(static_cast<std::size_t>(row - 1)); }
};

}  // namespace invoicing
