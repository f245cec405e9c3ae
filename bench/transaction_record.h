// The invoice file's transaction record as the benchmark writes it: its byte layout,
// the six indexes over it and the key builder, which forms each key exactly as the
// program does (trimmed, left-justified, blank-padded, upper-cased, cut to 30).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "engine/engine.h"

namespace bench {

constexpr int kRecordLength = 332;
constexpr int kKeyCount = 6;

using Record = std::array<std::byte, kRecordLength>;

// A short string field: one length byte at `offset`, then `capacity` characters.
struct Field {
  int offset;
  int capacity;
};

namespace field {
inline constexpr Field kInvoiceNo{4, 9};
inline constexpr Field kTransType{14, 1};
inline constexpr Field kKeyCode{16, 8};
inline constexpr Field kCustNo{25, 8};
inline constexpr Field kCompanyNo{34, 5};
inline constexpr Field kTransDate{40, 10};
inline constexpr Field kPrintedFlag{51, 1};
inline constexpr Field kDateMonth{53, 2};
inline constexpr Field kDateDay{56, 2};
inline constexpr Field kDateYear{59, 4};
inline constexpr Field kSortDate{64, 10};
inline constexpr Field kInvNotes{75, 80};
inline constexpr Field kTerms{156, 35};
inline constexpr Field kStatementNote{192, 35};
inline constexpr Field kBodyStyle{228, 1};
inline constexpr Field kShortName{230, 10};
inline constexpr Field kNetAmount{241, 10};
inline constexpr Field kTaxAmount{252, 10};
inline constexpr Field kTotalAmount{263, 10};
inline constexpr Field kPaidAmount{274, 10};
inline constexpr Field kBalanceDue{285, 10};
inline constexpr Field kPaidSortDate{296, 10};
inline constexpr Field kRepeatCycle{307, 1};
inline constexpr Field kPaidFlag{309, 1};
inline constexpr Field kNextDueDate{311, 10};
inline constexpr Field kRepeatInterval{322, 3};
inline constexpr Field kRepeatCount{326, 3};
}  // namespace field

static_assert(field::kRepeatCount.offset + 1 + field::kRepeatCount.capacity + 2 == kRecordLength);

// Stores text cut to the field's capacity; the bytes past the text are left alone.
void SetField(Record& record, Field where, std::string_view text);
std::string_view GetField(std::span<const std::byte> record, Field where);

// Index 1 invoice number, 2 customer number, 3 invoice date, 4 key code, 5 type and
// number, 6 date paid; every one accepts equal keys.
const std::array<engine::IndexSpec, kKeyCount>& TransactionIndexes();

// The key of `record` for index `keyNumber` (1..6); false for any other index number.
bool BuildKey(std::span<const std::byte> record, engine::KeyNumber keyNumber, engine::KeyString& key);
engine::KeyString BuildKey(const Record& record, engine::KeyNumber keyNumber);

}  // namespace bench
