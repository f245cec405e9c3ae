#include "model/field_values.h"

#include <string>

namespace model {
namespace {

std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

}  // namespace

bool SplitTransactionDate(TransactionRecord& transaction, DateOrder order) {
  const std::optional<Date> date = ParseDisplayDate(transaction.TransDate.raw(), order);
  if (!date) return false;
  transaction.DateMonth = TwoDigits(date->month);
  transaction.DateDay = TwoDigits(date->day);
  transaction.DateYear = std::to_string(date->year);
  transaction.SortDate = transaction.DateYear.str() + "/" + transaction.DateMonth.str() + "/" + transaction.DateDay.str();
  return true;
}

}  // namespace model
