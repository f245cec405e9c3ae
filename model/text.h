// Small text rules shared by keys, file names and side files: what counts as a blank
// at either end, ASCII case folding and fixed-width padding.
#pragma once

#include <string>
#include <string_view>

namespace model {

// Every character with a code of 32 or less counts as blank at either end.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

constexpr std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// ASCII only, as stored keys have always been folded.
inline std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

inline bool EqualIgnoringCase(std::string_view a, std::string_view b) { return ToUpperAscii(a) == ToUpperAscii(b); }

// Pads on the right with blanks to `width`; longer text is left whole.
inline std::string PadRight(std::string_view text, std::size_t width) {
  std::string padded(text);
  if (padded.size() < width) padded.append(width - padded.size(), ' ');
  return padded;
}

}  // namespace model
