// The one way each file's index keys are made from a record. Adding, changing,
// deleting, searching and rebuilding all call these, so a stored key and a key made
// later for the same record always agree.
#pragma once

#include <string_view>

#include "engine/engine.h"
#include "model/records.h"

namespace model {

enum class KeyCase { kTrimmedUpper, kAsStored };

// The field text, trimmed and upper-cased unless kept as stored, padded with blanks
// to `width` and cut to the 30 characters a key holds.
engine::KeyString KeyText(std::string_view field, std::size_t width, KeyCase keyCase = KeyCase::kTrimmedUpper);

// Each returns an empty key for a key number the file does not have.
engine::KeyString BuildKey(const CompanyRecord& record, engine::KeyNumber key);
engine::KeyString BuildKey(const CustomerRecord& record, engine::KeyNumber key);
engine::KeyString BuildKey(const TransactionRecord& record, engine::KeyNumber key);
engine::KeyString BuildKey(const DetailRecord& record, engine::KeyNumber key);
engine::KeyString BuildKey(const MemoRecord& record, engine::KeyNumber key);
engine::KeyString BuildKey(const ProductRecord& record, engine::KeyNumber key);

// Key numbers by name.
namespace company_key {
constexpr engine::KeyNumber kNumber = 1, kName = 2;
}
namespace customer_key {
constexpr engine::KeyNumber kName = 1, kNumber = 2;
}
namespace transaction_key {
constexpr engine::KeyNumber kInvoiceNo = 1, kCustNo = 2, kSortDate = 3, kKeyCode = 4, kTypeAndInvoice = 5,
                            kPaidSortDate = 6;
}
namespace detail_key {
constexpr engine::KeyNumber kSortDate = 1, kInvoiceNo = 2;
}
namespace memo_key {
constexpr engine::KeyNumber kInvoiceNo = 1;
}
namespace product_key {
constexpr engine::KeyNumber kCode = 1, kDescription = 2;
}

}  // namespace model
