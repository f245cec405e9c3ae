#include "model/field_values.h"

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(FieldValuesTest, MoneyFieldsReadWithSeparatorsAndStoreWithTwoDecimals) {
  CustomerRecord customer{};
  EXPECT_EQ(ReadMoney(customer.Balance), Money());
  customer.Balance = " 1,234.50 ";
  EXPECT_EQ(ReadMoney(customer.Balance), Money::FromCents(123450));
  EXPECT_EQ(AmountText(customer.Balance), "1,234.50");
  customer.CreditLimit = "lots";
  EXPECT_EQ(ReadMoney(customer.CreditLimit), std::nullopt);
  EXPECT_EQ(AmountText(customer.CreditLimit), "lots");
  StoreMoney(customer.Balance, -Money::FromCents(268));
  EXPECT_EQ(customer.Balance.str(), "-2.68");
}

TEST(FieldValuesTest, TransactionDateSplitsInTheCompanysOrder) {
  TransactionRecord t{};
  t.TransDate = "3/7/2026";
  ASSERT_TRUE(SplitTransactionDate(t, DateOrder::kDayFirst));
  EXPECT_EQ(t.DateMonth.str(), "07");
  EXPECT_EQ(t.DateDay.str(), "03");
  EXPECT_EQ(t.DateYear.str(), "2026");
  EXPECT_EQ(t.SortDate.str(), "2026/07/03");
  ASSERT_TRUE(SplitTransactionDate(t, DateOrder::kMonthFirst));
  EXPECT_EQ(t.SortDate.str(), "2026/03/07");
  t.TransDate = "02/30/2026";
  EXPECT_FALSE(SplitTransactionDate(t, DateOrder::kMonthFirst));
  EXPECT_EQ(t.SortDate.str(), "2026/03/07");
}

}  // namespace
}  // namespace model
