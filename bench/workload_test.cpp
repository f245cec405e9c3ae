#include "bench/workload.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace bench {
namespace {

Options Small(std::int32_t records) {
  Options options;
  options.records = records;
  return options;
}

TEST(WorkloadRecords, EveryKeyFitsItsIndexWidth) {
  const Workload workload(Small(5'000));
  Record record;
  for (std::int64_t i : {std::int64_t{1}, std::int64_t{2'500}, std::int64_t{5'000}, std::int64_t{5'400}}) {
    workload.MakeRecord(i, record);
    for (int k = 1; k <= kKeyCount; ++k) {
      EXPECT_LE(BuildKey(record, k).size(), TransactionIndexes()[static_cast<std::size_t>(k - 1)].keyLength)
          << "record " << i << " index " << k;
    }
  }
}

TEST(WorkloadRecords, InvoiceNumbersAndDatesRiseOverTheLoad) {
  const Workload workload(Small(10'000));
  Record previous, next;
  workload.MakeRecord(1, previous);
  EXPECT_EQ(GetField(previous, field::kSortDate), "2019/01/01");
  for (std::int64_t i = 2; i <= 10'000; ++i) {
    workload.MakeRecord(i, next);
    ASSERT_LT(BuildKey(previous, 1), BuildKey(next, 1)) << i;
    ASSERT_FALSE(BuildKey(next, 3) < BuildKey(previous, 3)) << i;
    previous = next;
  }
  EXPECT_EQ(GetField(previous, field::kSortDate), "2023/12/31");
}

TEST(WorkloadRecords, SameNumberAndSeedGiveTheSameRecordOtherSeedsDiffer) {
  Options other = Small(10'000);
  other.seed = 7;
  Record a, b, c;
  Workload(Small(10'000)).MakeRecord(77, a);
  Workload(Small(10'000)).MakeRecord(77, b);
  Workload(other).MakeRecord(77, c);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

TEST(WorkloadRecords, LookupsAndCustomerWalksAskForValuesThatExist) {
  const Workload workload(Small(50'000));
  std::set<std::string> invoices, customers;
  Record record;
  for (std::int64_t i = 1; i <= 50'000; ++i) {
    workload.MakeRecord(i, record);
    invoices.insert(BuildKey(record, 1).str());
    customers.insert(BuildKey(record, 2).str());
  }
  EXPECT_EQ(customers.size(), static_cast<std::size_t>(kCustomers));
  Rng lookups = workload.LookupStream();
  Rng walks = workload.CustomerStream();
  for (int j = 0; j < 1'000; ++j) {
    workload.NextLookup(lookups, record);
    ASSERT_EQ(invoices.count(BuildKey(record, 1).str()), 1u);
    workload.NextCustomer(walks, record);
    ASSERT_EQ(customers.count(BuildKey(record, 2).str()), 1u);
  }
}

TEST(WorkloadRecords, DateRangesSpanSevenDaysInsideTheFiveYears) {
  const Workload workload(Small(1'000));
  Rng stream = workload.DateRangeStream();
  char first[11], last[11];
  for (int j = 0; j < 2'000; ++j) {
    workload.NextDateRange(stream, first, last);
    ASSERT_GE(std::string(first), "2019/01/01");
    ASSERT_LE(std::string(last), "2023/12/31");
  }
  Rng fixed(0);
  workload.NextDateRange(fixed, first, last);
  int day = 0;
  char date[11];
  for (SortableDate(day, date); std::string(date) != first; SortableDate(++day, date)) ASSERT_LT(day, kDays);
  SortableDate(day + kRangeDays - 1, date);
  EXPECT_EQ(std::string(last), date);
}

TEST(RandomPermutation, DrawsEveryNumberOnceForSizesThatAreNoPowerOfFour) {
  for (std::uint64_t size : {1u, 2u, 3u, 17u, 1'000u, 65'537u}) {
    const RandomPermutation permutation(size, 42);
    std::vector<bool> seen(size);
    for (std::uint64_t i = 0; i < size; ++i) {
      const std::uint64_t value = permutation(i);
      ASSERT_LT(value, size);
      ASSERT_FALSE(seen[value]) << "size " << size << " value " << value << " drawn twice";
      seen[value] = true;
    }
  }
}

TEST(Digest, DependsOnRowOrderAndContent) {
  Digest ab, ba, aa;
  ab.Add(std::string_view("a"));
  ab.Add(std::string_view("b"));
  ba.Add(std::string_view("b"));
  ba.Add(std::string_view("a"));
  aa.Add(std::string_view("a"));
  aa.Add(std::string_view("a"));
  EXPECT_EQ(ab.rows(), 2u);
  EXPECT_NE(ab.value(), ba.value());
  EXPECT_NE(ab.value(), aa.value());
}

TEST(Options, RecordCountFolderAndSeedAreTaken) {
  std::string error;
  const std::vector<std::string> arguments{
      "--records", "20000", "--dir", "/tmp/x", "--seed", "5", "--sqlite-normal-locking"};
  const auto options = ParseOptions(arguments, error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->records, 20'000);
  EXPECT_EQ(options->folder, "/tmp/x");
  EXPECT_EQ(options->seed, 5u);
  EXPECT_TRUE(options->sqliteNormalLocking);
  EXPECT_FALSE(Small(1'000).sqliteNormalLocking);
  EXPECT_EQ(options->changes(), 2'000);
  EXPECT_EQ(Small(1'000'000).changes(), 100'000);
  EXPECT_EQ(Small(5'000'000).changes(), 100'000);
}

TEST(Options, BadArgumentsAreRefusedWithAReason) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--records"},
                                                    {"--records", "12x"},
                                                    {"--records", "10"},
                                                    {"--records", "-5"},
                                                    {"--dir", ""},
                                                    {"--seed", "abc"},
                                                    {"--fast"}}) {
    std::string error;
    EXPECT_FALSE(ParseOptions(arguments, error).has_value()) << arguments.front();
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace bench
