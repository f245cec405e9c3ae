#include "books/invoice_numbers.h"

#include "model/money.h"
#include "model/records.h"
#include "model/text.h"

namespace books {
namespace {

// With the year-and-month prefix, characters 5 to 9 of a number are its counter.
constexpr std::size_t kPrefixLength = 4;
constexpr std::size_t kCounterLength = 5;

}  // namespace

std::optional<std::int64_t> InvoiceCounter(std::string_view invoiceNo, bool prefixed) {
  std::string_view counter = model::TrimBlanks(invoiceNo);
  if (prefixed) counter = counter.size() > kPrefixLength ? counter.substr(kPrefixLength, kCounterLength) : "";
  if (model::TrimBlanks(counter).empty()) return std::nullopt;
  const std::optional<model::Decimal> value = model::ParseDecimal(counter);
  if (!value || value->units < 0) return std::nullopt;
  return value->Rounded(0);
}

std::optional<std::string> NextInvoiceNumberAfter(std::string_view invoiceNo, bool prefixed) {
  const std::optional<std::int64_t> counter = InvoiceCounter(invoiceNo, prefixed);
  if (!counter) return std::nullopt;
  std::string next = std::to_string(*counter + 1);
  if (next.size() > decltype(model::CompanyRecord::NextInvoiceNo)::kCapacity) return std::nullopt;
  return next;
}

}  // namespace books
