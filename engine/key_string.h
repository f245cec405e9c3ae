// KeyString: the value an index orders its entries by.
//
// One length byte and up to 30 bytes, compared as unsigned bytes over the shorter
// length, the shorter key being smaller when that common part is equal. There is no
// case folding: callers trim, pad and upper-case key text before use.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace engine {

class KeyString {
 public:
  static constexpr int kMaxLength = 30;

  KeyString() = default;
  KeyString(std::string_view text) { Assign(text.data(), text.size()); }  // NOLINT: implicit on purpose
  KeyString(const char* text) : KeyString(std::string_view(text)) {}      // NOLINT
  KeyString(const std::string& text) : KeyString(std::string_view(text)) {}  // NOLINT

  // Takes at most kMaxLength bytes; the unused tail stays zero so that packed
  // pages are reproducible byte for byte.
  void Assign(const char* bytes, std::size_t length) {
    length_ = static_cast<std::uint8_t>(std::min<std::size_t>(length, kMaxLength));
    std::memcpy(bytes_, bytes, length_);
    std::memset(bytes_ + length_, 0, kMaxLength - length_);
  }

  int size() const { return length_; }
  bool empty() const { return length_ == 0; }
  const char* data() const { return bytes_; }
  std::string_view view() const { return {bytes_, length_}; }
  std::string str() const { return std::string(view()); }

  // Orders against key bytes wherever they are held, an index page's included.
  int CompareTo(const void* bytes, int length) const {
    const int common = std::min<int>(length_, length);
    const int byBytes = std::memcmp(bytes_, bytes, static_cast<std::size_t>(common));
    if (byBytes != 0) return byBytes;
    return int{length_} - length;
  }
  friend int Compare(const KeyString& a, const KeyString& b) { return a.CompareTo(b.bytes_, b.length_); }
  friend bool operator==(const KeyString& a, const KeyString& b) { return Compare(a, b) == 0; }
  friend bool operator<(const KeyString& a, const KeyString& b) { return Compare(a, b) < 0; }

 private:
  // The length byte, then the bytes: the order a packed index item holds them in, which
  // lets the page cache copy an item whole.
  std::uint8_t length_ = 0;
  char bytes_[kMaxLength] = {};
};

}  // namespace engine
