#include "model/text_encoding.h"

#include <array>
#include <cstdio>

namespace model {
namespace {

// The characters of bytes 0x80..0x9F; the rest of the code page is Latin-1, byte
// value and character alike. The five unassigned bytes map to the C1 control of the
// same number, so that decoding and encoding again keeps every byte.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

char32_t CharacterOfByte(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<unsigned char> ByteOfCharacter(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == character) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// Reads one UTF-8 character at `at`, advancing past it; kNoCharacter for a byte that
// starts no valid sequence (it is consumed alone).
char32_t NextCharacter(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int trailing = 0;
  char32_t character = 0;
  if ((lead & 0xE0) == 0xC0) {
    trailing = 1;
    character = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    trailing = 2;
    character = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    trailing = 3;
    character = lead & 0x07;
  } else {
    return kNoCharacter;
  }
  if (at + static_cast<std::size_t>(trailing) > text.size()) return kNoCharacter;
  for (int i = 0; i < trailing; ++i) {
    const auto next = static_cast<unsigned char>(text[at]);
    if ((next & 0xC0) != 0x80) return kNoCharacter;
    character = character << 6 | (next & 0x3F);
    ++at;
  }
  return character;
}

// The plain upper-case letter of each byte from 0xC0 on, as text is found.
constexpr std::string_view kFoldedLatin =
    "AAAAAAACEEEEIIII"   // C0..CF
    "DNOOOOO\xD7OUUUUY\xDE\xDF"  // D0..DF: × Þ ß stay
    "AAAAAAACEEEEIIII"   // E0..EF
    "DNOOOOO\xF7OUUUUY\xDEY";    // F0..FF: ÷ stays, þ as Þ

unsigned char Folded(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 'a' + 'A');
  if (byte >= 0xC0) return static_cast<unsigned char>(kFoldedLatin[byte - 0xC0]);
  switch (byte) {
    case 0x8A: case 0x9A: return 'S';  // Š š
    case 0x8E: case 0x9E: return 'Z';  // Ž ž
    case 0x9F: return 'Y';             // Ÿ
    case 0x8C: case 0x9C: return 0x8C;  // Œ œ
    default: return byte;
  }
}

}  // namespace

std::string Utf8Of(char32_t character) {
  std::string text;
  if (character < 0x80) {
    text += static_cast<char>(character);
  } else if (character < 0x800) {
    text += static_cast<char>(0xC0 | (character >> 6));
    text += static_cast<char>(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    text += static_cast<char>(0xE0 | (character >> 12));
    text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (character >> 18));
    text += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (character & 0x3F));
  }
  return text;
}

std::string FromWindows1252(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (const char byte : bytes) utf8 += Utf8Of(CharacterOfByte(static_cast<unsigned char>(byte)));
  return utf8;
}

std::string ToWindows1252(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const std::optional<unsigned char> byte = ByteOfCharacter(NextCharacter(utf8, at));
    bytes += static_cast<char>(byte.value_or('?'));
  }
  return bytes;
}

std::optional<char32_t> FirstUnstorableCharacter(std::string_view utf8) {
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t character = NextCharacter(utf8, at);
    if (character == kNoCharacter || !ByteOfCharacter(character)) return character;
  }
  return std::nullopt;
}

std::string UnstorableCharacterMessage(char32_t character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  const std::string shown = character == kNoCharacter ? std::string("?") : Utf8Of(character);
  const std::string named = character == kNoCharacter ? shown + "\"" : shown + "\" (" + code + ")";
  return "The character \"" + named + " cannot be stored: the files keep Western European characters only. "
         "Please type another.";
}

std::string FoldForSearch(std::string_view bytes) {
  std::string folded(bytes);
  for (char& byte : folded) byte = static_cast<char>(Folded(static_cast<unsigned char>(byte)));
  return folded;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size(); ++count) NextCharacter(utf8, at);
  return count;
}

std::string_view FirstCharacters(std::string_view utf8, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t taken = 0; taken < count && at < utf8.size(); ++taken) NextCharacter(utf8, at);
  return utf8.substr(0, at);
}

}  // namespace model
