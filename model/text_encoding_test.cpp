#include "model/text_encoding.h"

#include <gtest/gtest.h>

#include "model/fields.h"

namespace model {
namespace {

TEST(Windows1252, EveryCharacterOfTheCodePageComesBackAsItsOwnByte) {
  for (int byte = 0x20; byte <= 0xFF; ++byte) {
    const std::string stored(1, static_cast<char>(byte));
    const std::string text = FromWindows1252(stored);
    EXPECT_EQ(FirstUnstorableCharacter(text), std::nullopt) << byte;
    EXPECT_EQ(ToWindows1252(text), stored) << byte;
  }
  EXPECT_EQ(FromWindows1252("\x80\x8A\x93\x99\xC4\xDF\xFC"), "€Š“™Äßü");
}

TEST(Windows1252, CharacterItCannotHoldIsNamedAndNeverStoredAsBytesOfAnother) {
  EXPECT_EQ(FirstUnstorableCharacter("Pfeil → rechts"), U'→');
  EXPECT_EQ(FirstUnstorableCharacter("Smile 😀"), U'😀');
  EXPECT_EQ(FirstUnstorableCharacter("Straße €5"), std::nullopt);
  EXPECT_EQ(UnstorableCharacterMessage(U'→'),
            "The character \"→\" (U+2192) cannot be stored: the files keep Western European characters only. "
            "Please type another.");
  EXPECT_EQ(ToWindows1252("a→b"), "a?b");
  EXPECT_EQ(ToWindows1252("bad \xFF byte"), "bad ? byte");
  EXPECT_EQ(ToWindows1252("cut \xC3"), "cut ?");
}

TEST(Windows1252, FieldHoldsAsManyCharactersAsItHasBytes) {
  ShortString<35> name{};
  name = "Ökobäckerei Müller-Lüdenscheidt Straßenverkauf GmbH";
  EXPECT_EQ(name.raw().size(), 35u);
  EXPECT_EQ(name.str(), "Ökobäckerei Müller-Lüdenscheidt Str");
  EXPECT_EQ(static_cast<unsigned char>(name.raw()[0]), 0xD6);
  EXPECT_TRUE(name == "Ökobäckerei Müller-Lüdenscheidt Str");
}

TEST(TextForColumns, CountsAndCutsWholeCharacters) {
  EXPECT_EQ(CharacterCount("Müller"), 6u);
  EXPECT_EQ(FirstCharacters("Müller", 2), "Mü");
  EXPECT_EQ(FirstCharacters("Mü", 10), "Mü");
}

TEST(SearchFolding, LettersAreUpperCasedAndAccentsTakenOff) {
  EXPECT_EQ(FoldForSearch(ToWindows1252("Café Müller ß ÿ š")), ToWindows1252("CAFE MULLER ß Y S"));
  EXPECT_EQ(FoldForSearch("1-2/3"), "1-2/3");
}

}  // namespace
}  // namespace model
