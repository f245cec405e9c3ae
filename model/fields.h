// The field types records are built from: short strings, little-endian integers,
// boolean bytes, reserved gaps and font blocks. Each has exactly the bytes it has on
// disk, so a record struct made of them is its own file layout.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "model/text.h"
#include "model/text_encoding.h"

namespace model {

#pragma pack(push, 1)

// A length byte and N character bytes of Windows-1252 text (one byte a character).
// The program reads and writes it as UTF-8 text; the bytes are converted on the way.
// A longer value is cut to N characters when stored; the bytes past the length are
// zeroed so that a record's bytes depend only on its values.
template <std::size_t N>
struct ShortString {
  static_assert(N >= 1 && N <= 255);
  static constexpr std::size_t kCapacity = N;

  std::uint8_t length;
  char text[N];

  // The stored bytes, as keys are made from them. A damaged length byte never reads
  // past the field.
  std::string_view raw() const { return {text, std::min<std::size_t>(length, N)}; }
  // The text as UTF-8.
  std::string str() const { return FromWindows1252(raw()); }
  bool empty() const { return raw().empty(); }

  void Set(std::string_view utf8) { SetRaw(ToWindows1252(utf8)); }
  // Stores bytes that are Windows-1252 already, such as another field's.
  void SetRaw(std::string_view bytes) {
    const std::size_t kept = std::min(bytes.size(), N);
    length = static_cast<std::uint8_t>(kept);
    std::memcpy(text, bytes.data(), kept);
    std::memset(text + kept, 0, N - kept);
  }
  ShortString& operator=(std::string_view utf8) {
    Set(utf8);
    return *this;
  }
  friend bool operator==(const ShortString& a, std::string_view utf8) { return a.str() == utf8; }
};

// Aliases that say how a short string's text is to be read.
template <std::size_t N>
using MoneyField = ShortString<N>;         // two decimals, no thousands separator
using DisplayDate = ShortString<10>;       // in the company's date order
using SortableDateText = ShortString<10>;  // "yyyy/mm/dd"
using YesNoFlag = ShortString<1>;          // "Y" or "N"
using LetterCode = ShortString<1>;         // one upper-case letter

// A 4-byte signed integer, little-endian whatever the machine.
struct LeInt32 {
  std::uint8_t bytes[4];

  operator std::int32_t() const {  // NOLINT: reads like the integer it holds
    const std::uint32_t value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    return static_cast<std::int32_t>(value);
  }
  LeInt32& operator=(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    return *this;
  }
};

// 0 = false, 1 = true; any other byte reads as true.
struct BoolByte {
  std::uint8_t value;

  operator bool() const { return value != 0; }  // NOLINT
  BoolByte& operator=(bool on) {
    value = on ? 1 : 0;
    return *this;
  }
};

// Bytes without a field: written as zero and carried unchanged.
template <std::size_t N>
struct Reserved {
  std::uint8_t bytes[N];
};
template <>
struct Reserved<0> {};

namespace font_style {
constexpr std::uint8_t kBold = 1;
constexpr std::uint8_t kItalic = 2;
constexpr std::uint8_t kUnderline = 4;
constexpr std::uint8_t kStrikeOut = 8;
}  // namespace font_style

// A font: face name, then at the next multiple of 4 (counted from the start of the
// record) the point size, the colour 0x00BBGGRR and the style bits. The gap before
// the size depends on where the block sits, hence the parameter; Tail is padding some
// blocks carry after the style byte.
template <std::size_t NameCapacity, std::size_t GapBeforeSize, std::size_t Tail = 0>
struct FontBlock {
  ShortString<NameCapacity> Name;
  [[no_unique_address]] Reserved<GapBeforeSize> gap;
  LeInt32 Size;
  LeInt32 Color;
  std::uint8_t Style;
  [[no_unique_address]] Reserved<Tail> tail;
};

#pragma pack(pop)

// Yes/no flags read "Y" in either case as yes.
inline bool IsYes(const YesNoFlag& flag) { return flag.raw() == "Y" || flag.raw() == "y"; }
inline void SetYes(YesNoFlag& flag, bool yes) { flag = yes ? "Y" : "N"; }

// A one-letter code read blanks around and case ignored.
inline bool HoldsLetter(const LetterCode& code, char upperCaseLetter) {
  return Folded(code.raw()) == std::string_view(&upperCaseLetter, 1);
}

template <class Font>
void SetFont(Font& font, std::string_view name, int size, std::uint32_t color, std::uint8_t style) {
  font.Name = name;
  font.Size = size;
  font.Color = static_cast<std::int32_t>(color);
  font.Style = style;
}

}  // namespace model
