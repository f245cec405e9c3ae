// Money amounts as a bookkeeper reads and writes them.
//
// Records keep amounts as two-decimal text and the program computes in double; rounding
// works on the decimal digits the user sees, so 2.675 rounds up as it reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace model {

// Outer blanks (any char <= 32) and every ',' are dropped first; empty text reads as 0.
// What is left must be a plain decimal number: optional sign, digits, at most one '.'.
std::optional<double> ParseMoney(std::string_view text);

// Half away from zero at `decimals` places (below 0 counts as 0) of the shortest decimal
// text that reads back as `value`. NaN and infinities come back unchanged.
double RoundMoney(double value, int decimals = 2);

// Formats by a picture such as "#,##0.00" or "0.0##". Before the '.': each '0' is a required
// digit, '#' an optional one, any ',' turns on grouping by thousands. After it: '0' a required
// decimal, '#' an optional one dropped when zero. Other characters are ignored. A value that
// rounds to zero has no sign; NaN and infinities format as zero.
std::string FormatMoney(double value, std::string_view pattern);

// The form amounts are stored in: "1234.50", "-12.00".
std::string MoneyText(double value);

}  // namespace model
