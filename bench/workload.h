// The benchmark's workload: its options, the deterministic generator of realistic
// transaction records, the seeded choices of every step (which invoices, customers,
// weeks and records), and the digest by which both databases' answers are compared.
//
// Everything here is a pure function of the record count and the seed, so the engine
// and SQLite, each run in its own process, see exactly the same work. Nothing on the
// per-record paths allocates memory, which keeps the engine's heap measurement clean.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bench/transaction_record.h"

namespace bench {

struct Options {
  std::int32_t records = 1'000'000;
  std::uint64_t seed = 20240101;
  std::string folder;  // empty: a fresh temporary folder, removed at the end
  // SQLite locks its file per statement, as when several programs share it, instead
  // of holding it exclusively as the engine does.
  bool sqliteNormalLocking = false;
  bool help = false;

  // Sizes of the steps; the change step scales down for small record counts.
  std::int32_t lookups = 200'000;
  std::int32_t customerWalks = 1'000;
  std::int32_t dateRanges = 200;
  std::int32_t changes() const { return std::min(records / 10, std::int32_t{100'000}); }
};

// Parses the command line (without the program name); on error returns nothing and
// fills `error`.
std::optional<Options> ParseOptions(std::span<const std::string> arguments, std::string& error);
std::string UsageText();

constexpr int kCustomers = 5'000;
constexpr int kDays = 5 * 365 + 1;  // 2019-01-01 .. 2023-12-31
constexpr int kRangeDays = 7;

// splitmix64: small, fast and the same on every platform and library.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // Uniform in [0, bound); bound > 0. The modulo bias is far below what matters here.
  std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

 private:
  std::uint64_t state_;
};

// A seeded bijection of [0, size): a small Feistel network with cycle walking, so that
// distinct random record numbers can be drawn without a table of `size` entries.
class RandomPermutation {
 public:
  RandomPermutation(std::uint64_t size, std::uint64_t seed);
  std::uint64_t operator()(std::uint64_t index) const;

 private:
  std::uint64_t Encrypt(std::uint64_t value) const;

  std::uint64_t size_;
  int halfBits_ = 1;
  std::uint64_t halfMask_ = 1;
  std::uint64_t roundKeys_[4] = {};
};

// Order-sensitive digest of the rows a step returned.
class Digest {
 public:
  void Add(std::span<const std::byte> row);
  void Add(std::string_view row) { Add(std::as_bytes(std::span(row.data(), row.size()))); }
  std::uint64_t rows() const { return rows_; }
  std::uint64_t value() const { return value_; }

 private:
  std::uint64_t rows_ = 0;
  std::uint64_t value_ = 0x6A09E667F3BCC908ULL;
};

// Sortable date "yyyy/mm/dd" of day `day` counted from 2019-01-01, into `out` (11 bytes).
void SortableDate(int day, char (&out)[11]);

class Workload {
 public:
  explicit Workload(const Options& options) : options_(options) {}
  const Options& options() const { return options_; }

  // Transaction number i (1-based) of the run: invoice numbers and dates rise with i;
  // numbers above the record count are the later additions of the change step.
  void MakeRecord(std::int64_t i, Record& record) const;

  // The step's choices; each step draws from its own seeded stream.
  Rng LookupStream() const { return Rng(options_.seed ^ 0x1001); }
  Rng CustomerStream() const { return Rng(options_.seed ^ 0x2002); }
  Rng DateRangeStream() const { return Rng(options_.seed ^ 0x3003); }
  // The invoice looked up next, as a record built to make its key from.
  void NextLookup(Rng& stream, Record& probe) const;
  void NextCustomer(Rng& stream, Record& probe) const;
  // First and last day of the next week, as sortable dates.
  void NextDateRange(Rng& stream, char (&first)[11], char (&last)[11]) const;
  // The record numbers the change step deletes, all distinct, in deletion order.
  RandomPermutation Victims() const {
    return RandomPermutation(static_cast<std::uint64_t>(options_.records), options_.seed ^ 0x4004);
  }
  std::int32_t Victim(const RandomPermutation& victims, std::int32_t j) const {
    return static_cast<std::int32_t>(victims(static_cast<std::uint64_t>(j))) + 1;
  }

 private:
  std::uint64_t Draw(std::int64_t i, std::uint64_t what) const;

  Options options_;
};

// Records made ahead of the timed loops, a block at a time, so that making them is
// not counted; the block is allocated once, before any measurement starts.
class RecordBlocks {
 public:
  static constexpr std::int64_t kBlockRecords = 1'024;

  // Transaction numbers first .. first + count - 1.
  RecordBlocks(const Workload& workload, std::int64_t first, std::int64_t count);
  // Makes the next block; false when all were made.
  bool Next();
  std::span<const Record> records() const { return {records_.data(), made_}; }
  // Transaction number of records()[0].
  std::int64_t firstNumber() const { return blockFirst_; }

 private:
  const Workload& workload_;
  std::int64_t next_;
  std::int64_t end_;
  std::int64_t blockFirst_ = 0;
  std::size_t made_ = 0;
  std::vector<Record> records_;
};

// Adds up the time of the timed stretches of one step.
class Stopwatch {
 public:
  void Start() { started_ = std::chrono::steady_clock::now(); }
  void Stop() { total_ += std::chrono::steady_clock::now() - started_; }
  double seconds() const { return std::chrono::duration<double>(total_).count(); }

 private:
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::duration total_{};
};

}  // namespace bench
