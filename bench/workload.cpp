#include "bench/workload.h"

#include <charconv>
#include <chrono>
#include <cstring>

namespace bench {
namespace {

constexpr std::int32_t kMinRecords = 1'000;
constexpr std::int32_t kMaxRecords = 10'000'000;

std::uint64_t Mix(std::uint64_t value) {
  value ^= value >> 30;
  value *= 0xBF58476D1CE4E5B9ULL;
  value ^= value >> 27;
  value *= 0x94D049BB133111EBULL;
  value ^= value >> 31;
  return value;
}

template <class T>
bool ParseNumber(const std::string& text, T& value) {
  const auto* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

struct Calendar {
  int year, month, day;
};

Calendar DayToCalendar(int day) {
  using namespace std::chrono;
  const year_month_day date{sys_days{2019y / January / 1} + days{day}};
  return {int{date.year()}, static_cast<int>(unsigned{date.month()}), static_cast<int>(unsigned{date.day()})};
}

// A short piece of text built in place, without the heap.
class Text {
 public:
  Text& Add(std::string_view part) {
    const auto taken = std::min(part.size(), sizeof(text_) - length_);
    std::memcpy(text_ + length_, part.data(), taken);
    length_ += taken;
    return *this;
  }
  // Decimal digits, zero-padded on the left to at least `width`.
  Text& Number(std::uint64_t value, int width = 1) {
    char digits[20];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0 && count < 20);
    for (int pad = width - count; pad > 0; --pad) Add("0");
    while (count > 0) Add(std::string_view(&digits[--count], 1));
    return *this;
  }
  std::string_view view() const { return {text_, length_}; }

 private:
  char text_[32] = {};
  std::size_t length_ = 0;
};

// Amount in cents as money text with two decimals.
Text Money(std::int64_t cents) {
  return Text()
      .Number(static_cast<std::uint64_t>(cents / 100))
      .Add(".")
      .Number(static_cast<std::uint64_t>(cents % 100), 2);
}

Text SortableDateText(int day) {
  const Calendar date = DayToCalendar(day);
  return Text()
      .Number(static_cast<std::uint64_t>(date.year), 4)
      .Add("/")
      .Number(static_cast<std::uint64_t>(date.month), 2)
      .Add("/")
      .Number(static_cast<std::uint64_t>(date.day), 2);
}

Text InvoiceNumber(std::int64_t i) { return Text().Number(static_cast<std::uint64_t>(1'000'000 + i)); }
Text CustomerNumber(int customer) { return Text().Number(static_cast<std::uint64_t>(10'001 + customer), 5); }

constexpr const char* kKeyCodes[20] = {"None",     "RETAIL", "Wholesale", "SERVICE", "Repair",   "CONSULT",  "support",
                                       "TRAINING", "RENTAL", "PARTS",     "LABOR",   "SHIPPING", "WARRANTY", "LICENSE",
                                       "INSTALL",  "MAINT",  "SUBSCR",    "ONLINE",  "EXPORT",   "GOVT"};

}  // namespace

std::optional<Options> ParseOptions(std::span<const std::string> arguments, std::string& error) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name == "--sqlite-normal-locking") {
      options.sqliteNormalLocking = true;
      continue;
    }
    if (name != "--records" && name != "--dir" && name != "--seed") {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (i + 1 == arguments.size()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    if (name == "--records") {
      if (!ParseNumber(value, options.records) || options.records < kMinRecords || options.records > kMaxRecords) {
        error =
            "--records takes a whole number from " + std::to_string(kMinRecords) + " to " + std::to_string(kMaxRecords);
        return std::nullopt;
      }
    } else if (name == "--seed") {
      if (!ParseNumber(value, options.seed)) {
        error = "--seed takes a whole number";
        return std::nullopt;
      }
    } else {
      if (value.empty()) {
        error = "--dir needs a folder";
        return std::nullopt;
      }
      options.folder = value;
    }
  }
  return options;
}

std::string UsageText() {
  return "usage: engine_bench [--records N] [--dir FOLDER] [--seed N] [--sqlite-normal-locking]\n"
         "  --records N   transaction records to load (default 1000000)\n"
         "  --dir FOLDER  working folder, kept afterwards (default: a fresh temporary\n"
         "                folder, removed at the end)\n"
         "  --seed N      seed of every random choice (default 20240101)\n"
         "  --sqlite-normal-locking\n"
         "                SQLite locks its file for each statement instead of holding it\n"
         "                exclusively as the engine holds its files\n";
}

std::uint64_t Rng::Next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  return Mix(state_);
}

RandomPermutation::RandomPermutation(std::uint64_t size, std::uint64_t seed) : size_(size) {
  int bits = 2;
  while (bits < 64 && (std::uint64_t{1} << bits) < size) bits += 2;
  halfBits_ = bits / 2;
  halfMask_ = (std::uint64_t{1} << halfBits_) - 1;
  Rng keys(seed);
  for (auto& key : roundKeys_) key = keys.Next();
}

std::uint64_t RandomPermutation::Encrypt(std::uint64_t value) const {
  std::uint64_t left = value >> halfBits_;
  std::uint64_t right = value & halfMask_;
  for (const auto key : roundKeys_) {
    const std::uint64_t next = left ^ (Mix(right ^ key) & halfMask_);
    left = right;
    right = next;
  }
  return (left << halfBits_) | right;
}

std::uint64_t RandomPermutation::operator()(std::uint64_t index) const {
  // The domain is at most four times the size, so the walk is short.
  std::uint64_t value = Encrypt(index);
  while (value >= size_) value = Encrypt(value);
  return value;
}

void Digest::Add(std::span<const std::byte> row) {
  std::uint64_t hash = 0xCBF29CE484222325ULL ^ row.size();
  std::size_t at = 0;
  for (; at + 8 <= row.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, row.data() + at, 8);
    hash = (hash ^ word) * 0x100000001B3ULL;
    hash ^= hash >> 29;
  }
  for (; at < row.size(); ++at) hash = (hash ^ std::to_integer<std::uint64_t>(row[at])) * 0x100000001B3ULL;
  ++rows_;
  value_ = Mix(value_ ^ Mix(hash));
}

void SortableDate(int day, char (&out)[11]) {
  const Text date = SortableDateText(day);
  const std::string_view text = date.view();
  std::memset(out, 0, sizeof out);
  std::memcpy(out, text.data(), std::min(text.size(), sizeof out - 1));
}

std::uint64_t Workload::Draw(std::int64_t i, std::uint64_t what) const {
  return Mix(options_.seed ^ Mix(static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ULL + what));
}

void Workload::MakeRecord(std::int64_t i, Record& record) const {
  record.fill(std::byte{0});
  const std::int64_t loaded = options_.records;
  const auto customer = static_cast<int>(Draw(i, 1) % kCustomers);
  const Text invoiceNo = InvoiceNumber(i);

  // Invoices are numbered in date order over the five years; later additions fall
  // into the last month.
  const int day =
      i <= loaded ? static_cast<int>((i - 1) * kDays / loaded) : kDays - 30 + static_cast<int>(Draw(i, 2) % 30);
  const Calendar date = DayToCalendar(day);
  const auto month = static_cast<std::uint64_t>(date.month);
  const auto dayOfMonth = static_cast<std::uint64_t>(date.day);
  const auto year = static_cast<std::uint64_t>(date.year);
  const Text transDate = Text().Number(month, 2).Add("/").Number(dayOfMonth, 2).Add("/").Number(year, 4);

  const auto typeDraw = Draw(i, 3) % 100;
  const char* type = typeDraw < 80   ? "I"
                     : typeDraw < 88 ? "G"
                     : typeDraw < 93 ? "X"
                     : typeDraw < 96 ? "Z"
                     : typeDraw < 98 ? "D"
                     : typeDraw < 99 ? "T"
                                     : "R";
  const auto codeDraw = Draw(i, 4) % 100;
  const char* keyCode = codeDraw < 40 ? kKeyCodes[0] : kKeyCodes[1 + codeDraw % 19];

  const std::int64_t net = 1'000 + static_cast<std::int64_t>(Draw(i, 5) % 500'000);
  const std::int64_t tax = Draw(i, 6) % 3 != 0 ? net * 7 / 100 : 0;
  const std::int64_t total = net + tax;
  const bool paid = Draw(i, 7) % 100 < 70;
  const std::int64_t paidAmount = paid ? total : 0;

  SetField(record, field::kInvoiceNo, invoiceNo.view());
  SetField(record, field::kTransType, type);
  SetField(record, field::kKeyCode, keyCode);
  SetField(record, field::kCustNo, CustomerNumber(customer).view());
  SetField(record, field::kCompanyNo, "1");
  SetField(record, field::kTransDate, transDate.view());
  SetField(record, field::kPrintedFlag, "Y");
  SetField(record, field::kDateMonth, Text().Number(month, 2).view());
  SetField(record, field::kDateDay, Text().Number(dayOfMonth, 2).view());
  SetField(record, field::kDateYear, Text().Number(year, 4).view());
  SetField(record, field::kSortDate, SortableDateText(day).view());
  if (Draw(i, 9) % 4 == 0) SetField(record, field::kInvNotes, Text().Add("PO ").Number(Draw(i, 10) % 1'000'000).view());
  SetField(record, field::kTerms, "Net 30 Days");
  SetField(record, field::kBodyStyle, "P");
  SetField(record, field::kShortName, Text().Add("Cust").Number(static_cast<std::uint64_t>(customer), 4).view());
  SetField(record, field::kNetAmount, Money(net).view());
  SetField(record, field::kTaxAmount, Money(tax).view());
  SetField(record, field::kTotalAmount, Money(total).view());
  SetField(record, field::kPaidAmount, Money(paidAmount).view());
  SetField(record, field::kBalanceDue, Money(total - paidAmount).view());
  if (paid) {
    SetField(record, field::kPaidSortDate, SortableDateText(day + static_cast<int>(Draw(i, 8) % 60)).view());
    SetField(record, field::kPaidFlag, "P");
  }
  if (type[0] == 'R') {
    SetField(record, field::kRepeatCycle, "M");
    SetField(record, field::kNextDueDate, transDate.view());
    SetField(record, field::kRepeatInterval, "1");
    SetField(record, field::kRepeatCount, "0");
  }
}

void Workload::NextLookup(Rng& stream, Record& probe) const {
  const auto i = 1 + static_cast<std::int64_t>(stream.Below(static_cast<std::uint64_t>(options_.records)));
  probe.fill(std::byte{0});
  SetField(probe, field::kInvoiceNo, InvoiceNumber(i).view());
}

void Workload::NextCustomer(Rng& stream, Record& probe) const {
  probe.fill(std::byte{0});
  SetField(probe, field::kCustNo, CustomerNumber(static_cast<int>(stream.Below(kCustomers))).view());
}

void Workload::NextDateRange(Rng& stream, char (&first)[11], char (&last)[11]) const {
  const int start = static_cast<int>(stream.Below(kDays - kRangeDays + 1));
  SortableDate(start, first);
  SortableDate(start + kRangeDays - 1, last);
}

RecordBlocks::RecordBlocks(const Workload& workload, std::int64_t first, std::int64_t count)
    : workload_(workload), next_(first), end_(first + count), records_(kBlockRecords) {}

bool RecordBlocks::Next() {
  blockFirst_ = next_;
  made_ = static_cast<std::size_t>(std::min(kBlockRecords, end_ - next_));
  for (std::size_t i = 0; i < made_; ++i) workload_.MakeRecord(next_ + static_cast<std::int64_t>(i), records_[i]);
  next_ += static_cast<std::int64_t>(made_);
  return made_ > 0;
}

}  // namespace bench
