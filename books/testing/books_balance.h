// The rule every bookkeeping test ends on: the company's A/R total, the sum of the
// customer balances and the sum of the open balances due are one amount, and each
// customer's four aging amounts add up to its balance.
#pragma once

#include <gtest/gtest.h>

#include "files/keyed_file.h"
#include "files/table.h"
#include "model/field_values.h"
#include "model/money.h"
#include "model/records.h"

namespace books::testing {

// An amount that is no number counts as nothing, and the test then fails on the sums.
template <std::size_t N>
model::Money AmountOf(const model::MoneyField<N>& field) {
  return model::ReadMoney(field).value_or(model::Money());
}

// `companyTotal` is the TotalAR the company list holds.
inline void ExpectBooksBalance(files::KeyedFile& customers, files::KeyedFile& transactions, model::Money companyTotal,
                               model::Money expected) {
  model::Money balances;
  files::Table<model::CustomerRecord>(customers).ForEachRecord([&](const auto& row) {
    const model::CustomerRecord& c = row.record;
    balances += AmountOf(c.Balance);
    EXPECT_EQ(AmountOf(c.AgeCurrent) + AmountOf(c.Age31to60) + AmountOf(c.Age61to90) + AmountOf(c.AgeOver90),
              AmountOf(c.Balance))
        << "customer " << c.CustNo.str();
    return true;
  });
  model::Money open;
  files::Table<model::TransactionRecord>(transactions).ForEachRecord([&](const auto& row) {
    open += AmountOf(row.record.BalanceDue);
    return true;
  });
  EXPECT_EQ(companyTotal, expected);
  EXPECT_EQ(balances, expected);
  EXPECT_EQ(open, expected);
}

}  // namespace books::testing
