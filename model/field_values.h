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
std::optional<double> ReadMoney(const MoneyField<N>& field) {
  return ParseMoney(field.view());
}

template <std::size_t N>
void StoreMoney(MoneyField<N>& field, double amount) {
  field = MoneyText(amount);
}

// Fills DateMonth, DateDay, DateYear and SortDate from TransDate read in `order`;
// false (and nothing changed) when TransDate is not a date.
bool SplitTransactionDate(TransactionRecord& transaction, DateOrder order);

}  // namespace model
