// Invoice numbers as counters: the part of a number that counts up, and the number a
// company offers after it. Storing an invoice advances the company's next number from
// here, and the integrity check compares it with the numbers on file the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace books {

// The counting part of an invoice number: its numeric value, or that of characters 5
// to 9 when the company prefixes numbers with year and month; nullopt when that is no
// whole number of zero or more.
std::optional<std::int64_t> InvoiceCounter(std::string_view invoiceNo, bool prefixed);

// The next invoice number after storing `invoiceNo`: its counter plus one, without
// decimals; nullopt when there is no counter or the next one does not fit the field.
std::optional<std::string> NextInvoiceNumberAfter(std::string_view invoiceNo, bool prefixed);

}  // namespace books
