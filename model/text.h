// Small text rules shared by keys, file names, side files and lists: what counts as a
// blank at either end, ASCII case folding, fixed-width padding and whole numbers.
#pragma once

#include <charconv>
#include <optional>
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

// A whole number written in digits, a leading minus allowed and blanks around ignored;
// nullopt for anything else (a plus sign, a decimal point, a number too large for int).
inline std::optional<int> ParseWholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace model
