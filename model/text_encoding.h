// The one text encoding of the files: records keep text as Windows-1252, one byte per
// character, so a field of N bytes holds N characters, keys compare as the stored
// bytes and the files stay byte-compatible with every copy of this program. Everything
// above the records works in UTF-8; the conversion happens here and nowhere else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace model {

// Stored bytes as UTF-8. Every byte has a character: the five the code page leaves
// unassigned stand for the control characters of the same number, so any stored
// text decodes and encodes back to its own bytes.
std::string FromWindows1252(std::string_view bytes);

// UTF-8 as stored bytes; a character the code page cannot hold (and a byte that is no
// UTF-8) becomes '?'. Windows refuse such characters as they are typed, so this only
// guards what arrives otherwise.
std::string ToWindows1252(std::string_view utf8);

// The first character of the UTF-8 text that cannot be stored, if any.
std::optional<char32_t> FirstUnstorableCharacter(std::string_view utf8);

// The message a window shows when such a character is typed.
std::string UnstorableCharacterMessage(char32_t character);

// Stored bytes folded for finding text: letters upper-cased and accented letters
// taken as their plain letter (é, É and è as E; ß stays), so "muller" and "MÜLLER"
// both find "Müller".
std::string FoldForSearch(std::string_view bytes);

// UTF-8 helpers for texts shown in columns: characters, not bytes, are counted.
std::size_t CharacterCount(std::string_view utf8);
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

// The UTF-8 encoding of one character.
std::string Utf8Of(char32_t character);

}  // namespace model
