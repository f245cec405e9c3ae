#include "model/text.h"

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(WholeNumber, DigitsWithAnOptionalMinusReadAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"14", 14},        {" 7 ", 7},         {"-2", -2},           {"007", 7},
      {"", std::nullopt}, {"  ", std::nullopt}, {"+3", std::nullopt}, {"1.5", std::nullopt},
      {"1a", std::nullopt}, {"1 2", std::nullopt}, {"99999999999", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseWholeNumber(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace model
