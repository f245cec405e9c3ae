// The seven reports of the report wizard: their names, descriptions and titles, and
// the numbers that say which columns sort, print right-aligned and carry the totals.
// Every other part of the wizard looks a report up here.
#pragma once

#include <span>
#include <string_view>

namespace reports {

enum class ReportId { kInvoiceRegister, kPaymentRegister, kAccountsReceivable, kSales, kKeyCode, kTax, kRepeatBilling };

struct ReportKind {
  ReportId id;
  std::string_view name;         // the list entry; names the saved file
  std::string_view description;  // shown under the list
  std::string_view title;        // window title and printed title
  std::string_view noDataTitle;  // caption of the no-data message
  int lastSortable;              // last column a sort may choose
  int lastRightAligned;          // columns after lastSortable up to this print right-aligned
  int labelColumn;               // where "** Totals", "Month Total" and "Grand Total" go
  int firstSumColumn, lastSumColumn;
  bool monthTotals;              // month totals when sorted on a date column
  bool quantityColumn;           // the Sales Report sums a quantity in firstSumColumn
};

std::span<const ReportKind> AllReports();
// nullptr for a name that is not one of the seven.
const ReportKind* FindReport(std::string_view name);

}  // namespace reports
