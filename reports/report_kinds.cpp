#include "reports/report_kinds.h"

#include <array>

namespace reports {

namespace {

constexpr std::array<ReportKind, 7> kReports{{
    {ReportId::kInvoiceRegister, "Invoice Register",
     "Lists all invoices created in the selected period. Shows Net,Tax and Total. Use this report to see what "
     "customers you have billed.",
     "Invoice Register", "Invoice Register", 3, 6, 3, 4, 6, true, false},
    {ReportId::kPaymentRegister, "Payment Register",
     "Lists all payments received in the selected period. Shows Total, Paid and Balance.  Use this report to see "
     "the payments you have processed.",
     "Payment Register", "Payment Register", 3, 6, 3, 4, 6, true, false},
    {ReportId::kAccountsReceivable, "Accounts Receivable",
     "Shows all open items which make up your Accounts Receivable Balance. This report also shows how old your "
     "unpaid invoices are (Aging Analysis).",
     "Accounts Receivable Report", "Accounts Receivable Report", 5, 5, 5, 6, 6, false, false},
    {ReportId::kSales, "Sales Report", "Shows all products you have sold in the selected period.", "Sales Report",
     "Sales Report", 5, 8, 6, 7, 8, true, true},
    {ReportId::kKeyCode, "Key Code Inquiry",
     "Lists all invoices created in the selected period. Shows Net,Tax and Total. This report includes your Key "
     "Code for sub-totaling instead of Customer Number.",
     "Key Code Inquiry", "Key Code Report", 3, 6, 3, 4, 6, true, false},
    {ReportId::kTax, "Tax Report",
     "Lists all invoices PAID in the selected period.  Unlike the Payment Register, this report shows the Tax and "
     "Key Code columns. Use to view taxes collected or collections by Key Code.",
     "Tax Report", "Tax Report", 4, 6, 4, 5, 6, true, false},
    {ReportId::kRepeatBilling, "Repeat Billing List",
     "Lists all master repeat billings (Type R) that you have currently on file. This report is helpful for "
     "reviewing accounts you have on a repeat billing cycle.",
     "Repeat Billings", "Repeat Billing List", 5, 5, 5, 6, 6, false, false},
}};

}  // namespace

std::span<const ReportKind> AllReports() { return kReports; }

const ReportKind* FindReport(std::string_view name) {
  for (const ReportKind& kind : kReports) {
    if (kind.name == name) return &kind;
  }
  return nullptr;
}

}  // namespace reports
