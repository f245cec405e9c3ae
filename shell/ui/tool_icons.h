// The pictures on the main window's tool buttons, drawn in code so they look the same
// on every desktop, whatever icon theme it has.
#pragma once

#include <QIcon>

namespace shell::ui {

enum class ToolGlyph {
  kCompanies, kPassword, kCalendar, kCalculator, kInterest, kLabels, kRepeat, kAgingChart, kBackup, kHelp,
  kPrinter, kClose, kFormLetter, kInvoice, kFilter, kCustomerData,
};

QIcon ToolIcon(ToolGlyph glyph);

}  // namespace shell::ui
