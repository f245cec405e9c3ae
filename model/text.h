// Small text rules shared by keys, file names, side files and lists: what counts as a
// blank at either end, ASCII case folding and fixed-width padding.
#pragma once

#include <string>
#include <string_view>

#include "model/text_encoding.h"

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

// Codes and numbers as their keys compare them: blanks around dropped, case ignored.
inline std::string Folded(std::string_view text) { return ToUpperAscii(TrimBlanks(text)); }

// Pads UTF-8 text with blanks to `width` characters, on the right or on the left (for
// amounts); longer text is left whole.
inline std::string PadRight(std::string_view text, std::size_t width) {
  std::string padded(text);
  const std::size_t characters = CharacterCount(text);
  if (characters < width) padded.append(width - characters, ' ');
  return padded;
}

inline std::string PadLeft(std::string_view text, std::size_t width) {
  const std::size_t characters = CharacterCount(text);
  std::string padded(characters < width ? width - characters : 0, ' ');
  return padded.append(text);
}

}  // namespace model
