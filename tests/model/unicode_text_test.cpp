#include "model/unicode_text.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

struct CountCase {
  std::string name;
  std::string text;
  std::int64_t characters;
};

class CharacterCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(CharacterCountTest, CountsGraphemeClusters) {
  EXPECT_EQ(characterCount(GetParam().text), GetParam().characters);
  // The ASCII shortcut and ICU must agree: splitting always goes through ICU.
  EXPECT_EQ(static_cast<std::int64_t>(splitCharacters(GetParam().text).size()),
            GetParam().characters);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CharacterCountTest,
    testing::Values(CountCase{"Empty", "", 0}, CountCase{"Ascii", "12/25", 5},
                    CountCase{"CrLfIsOne", "a\r\nb", 3}, CountCase{"LoneCr", "a\rb", 3},
                    CountCase{"CrCrLf", "\r\r\n", 2},
                    CountCase{"CombiningAccent", "Jose\xCC\x81", 4},
                    CountCase{"Precomposed", "Jos\xC3\xA9", 4},
                    CountCase{"Emoji", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 1},
                    CountCase{"FlagPair", "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA", 1},
                    CountCase{"ArabicIndicDigits", "\xD9\xA1\xD9\xA2", 2},
                    CountCase{"LoneContinuationByte",
                              "a\x80"
                              "b",
                              3},
                    CountCase{"TruncatedSequence", "\xE2\x82", 1},
                    CountCase{"OverlongSlash", "\xC0\xAF", 2}),
    [](const testing::TestParamInfo<CountCase>& info) { return info.param.name; });

TEST(UnicodeTextTest, InvalidUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(toUtf8(toUnicodeString("a\xFF"
                                   "b")),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(UnicodeTextTest, SplitKeepsAccentWithItsBase) {
  EXPECT_EQ(splitCharacters("e\xCC\x81x"), (std::vector<std::string>{"e\xCC\x81", "x"}));
}

TEST(UnicodeTextTest, LineTerminatorsAreFoundAndTheirNeighboursAreNot) {
  // Positives, one per terminator, are in the token tests; here the near misses.
  for (const char* text : {"a\tb", "a b", "\xC2\x84", "\xE2\x80\xA7", "\xE2\x80\xAA", "\x85",
                           "\xE2\x80", "\xE3\x80\xA8"}) {
    EXPECT_FALSE(containsLineTerminator(text)) << text;
  }
  // Found after an ill-formed sequence, as ICU decodes it.
  EXPECT_TRUE(containsLineTerminator("\xE2\x80\xE2\x80\xA8"));
  EXPECT_TRUE(containsLineTerminator(std::string("a\0\n", 3)));
}

}  // namespace
}  // namespace sdkcore
