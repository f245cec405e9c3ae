#include "bench/transaction_record.h"

#include <algorithm>
#include <cstring>

namespace bench {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// Builds the key in place: the parts side by side, blanks up to `width`, upper case
// if asked; the result is cut to the 30 bytes a key can hold.
class KeyText {
 public:
  void Append(std::string_view part) {
    const auto room = sizeof(text_) - length_;
    const auto taken = std::min(part.size(), room);
    std::memcpy(text_ + length_, part.data(), taken);
    length_ += taken;
  }
  void PadTo(std::size_t width) {
    width = std::min(width, sizeof(text_));
    if (length_ < width) {
      std::memset(text_ + length_, ' ', width - length_);
      length_ = width;
    }
  }
  void UpperCase() {
    for (std::size_t i = 0; i < length_; ++i) {
      if (text_[i] >= 'a' && text_[i] <= 'z') text_[i] = static_cast<char>(text_[i] - 'a' + 'A');
    }
  }
  void StoreIn(engine::KeyString& key) const {
    key.Assign(text_, std::min<std::size_t>(length_, engine::KeyString::kMaxLength));
  }

 private:
  char text_[64] = {};
  std::size_t length_ = 0;
};

}  // namespace

void SetField(Record& record, Field where, std::string_view text) {
  const auto length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(where.capacity));
  record[static_cast<std::size_t>(where.offset)] = static_cast<std::byte>(length);
  std::memcpy(record.data() + where.offset + 1, text.data(), length);
}

std::string_view GetField(std::span<const std::byte> record, Field where) {
  if (record.size() < static_cast<std::size_t>(where.offset + 1 + where.capacity)) return {};
  const auto stored = std::to_integer<int>(record[static_cast<std::size_t>(where.offset)]);
  const auto length = std::min(stored, where.capacity);
  return {reinterpret_cast<const char*>(record.data() + where.offset + 1), static_cast<std::size_t>(length)};
}

const std::array<engine::IndexSpec, kKeyCount>& TransactionIndexes() {
  static const std::array<engine::IndexSpec, kKeyCount> indexes{{
      {9, true},
      {8, true},
      {10, true},
      {10, true},
      {10, true},
      {10, true},
  }};
  return indexes;
}

bool BuildKey(std::span<const std::byte> record, engine::KeyNumber keyNumber, engine::KeyString& key) {
  KeyText text;
  switch (keyNumber) {
    case 1:
      text.Append(Trim(GetField(record, field::kInvoiceNo)));
      text.PadTo(9);
      text.UpperCase();
      break;
    case 2:
      text.Append(Trim(GetField(record, field::kCustNo)));
      text.PadTo(8);
      text.UpperCase();
      break;
    case 3:
      // Date keys are taken as stored: "yyyy/mm/dd" already sorts by date.
      text.Append(GetField(record, field::kSortDate));
      text.PadTo(10);
      break;
    case 4:
      text.Append(Trim(GetField(record, field::kKeyCode)));
      text.PadTo(8);
      text.UpperCase();
      break;
    case 5:
      text.Append(Trim(GetField(record, field::kTransType)));
      text.Append(Trim(GetField(record, field::kInvoiceNo)));
      text.PadTo(10);
      text.UpperCase();
      break;
    case 6:
      text.Append(GetField(record, field::kPaidSortDate));
      text.PadTo(10);
      break;
    default:
      return false;
  }
  text.StoreIn(key);
  return true;
}

engine::KeyString BuildKey(const Record& record, engine::KeyNumber keyNumber) {
  engine::KeyString key;
  BuildKey(record, keyNumber, key);
  return key;
}

}  // namespace bench
