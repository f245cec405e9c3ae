// Reading and writing the values behind text fields: amounts in money text, and the
// date parts a transaction keeps beside its display date.
#pragma once

#include <optional>

#include "model/dates.h"
#include "model/fields.h"
#include "model/money.h"
#include "model/records.h"

namespace model {

// nullopt when the text is not an amount; an empty field reads as zero.
template <std::size_t N>
std::optional<Money> ReadMoney(const MoneyField<N>& field) {
  return ParseMoney(field.raw());
}

// False, with the field untouched, for an amount too long for it: cut short it would
// read as another amount.
template <std::size_t N>
bool StoreMoney(MoneyField<N>& field, Money amount) {
  const std::string text = MoneyText(amount);
  if (text.size() > N) return false;
  field = text;
  return true;
}

// An amount as lists show it, by default with thousands separators and two decimals;
// text that is no amount is shown as it is stored, so nothing is hidden.
template <std::size_t N>
std::string AmountText(const MoneyField<N>& field, std::string_view picture = ",0.00") {
  const std::optional<Money> amount = ReadMoney(field);
  return amount ? FormatMoney(*amount, picture) : field.str();
}

// Fills DateMonth, DateDay, DateYear and SortDate from TransDate read in `order`;
// false (and nothing changed) when TransDate is not a date.
bool SplitTransactionDate(TransactionRecord& transaction, DateOrder order);

}  // namespace model
