#include "text/unicode_text.hpp"

#include <memory>
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
  // The ASCII shortcut and the grapheme rules must agree: splitting always applies the rules.
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

// ASCII text is segmented by a shortcut. Every pair of ASCII characters, and every ASCII
// character at every position of texts full of CR and LF, must give the grapheme rules'
// boundaries.
TEST(UnicodeTextTest, AsciiSegmentationIsIcus) {
  std::vector<std::string> texts;
  for (int a = 0; a < 128; ++a) {
    for (int b = 0; b < 128; ++b) texts.push_back({static_cast<char>(a), static_cast<char>(b)});
  }
  for (const std::string base : {"41\r\n11\r", "\r\r\n\n\r"}) {
    for (std::size_t at = 0; at <= base.size(); ++at) {
      for (int c = 0; c < 128; ++c)
        texts.push_back(base.substr(0, at) + static_cast<char>(c) + base.substr(at));
    }
  }
  for (const std::string& text : texts) {
    std::vector<std::size_t> fast{0};
    for (std::size_t at = 0; at < text.size();) {
      at += asciiCharacterLength(text, at);
      fast.push_back(at);
    }
    const std::vector<std::size_t> segmented = characterBoundaries(text);
    ASSERT_EQ(fast, segmented) << testing::PrintToString(text);
    ASSERT_EQ(characterCount(text), static_cast<std::int64_t>(segmented.size()) - 1);
  }
}

// The scans read eight bytes at a time: every byte value, and each multi-byte line terminator, at
// every position of a text longer than two words must give the byte-by-byte answers.
TEST(UnicodeTextTest, WordAtATimeScansMatchByteByByte) {
  const std::string base = "ABCDEFGHIJKLMNOPQRST";
  std::vector<std::string> inserts;
  for (int byte = 0; byte < 256; ++byte) inserts.emplace_back(1, static_cast<char>(byte));
  for (const char* sequence : {"\r\n", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"}) {
    inserts.emplace_back(sequence);
  }
  for (const std::string& insert : inserts) {
    for (std::size_t at = 0; at <= base.size(); ++at) {
      const std::string text = base.substr(0, at) + insert + base.substr(at);
      const bool ascii = static_cast<unsigned char>(insert[0]) < 0x80;
      // Every multi-byte insert is a line terminator; of single bytes, LF to CR only.
      const bool terminator = insert.size() > 1 || (insert[0] >= '\n' && insert[0] <= '\r');
      ASSERT_EQ(isAscii(text), ascii) << testing::PrintToString(text);
      ASSERT_EQ(containsLineTerminator(text), terminator) << testing::PrintToString(text);
      ASSERT_EQ(characterCount(text),
                static_cast<std::int64_t>(characterBoundaries(text).size()) - 1)
          << testing::PrintToString(text);
    }
  }
}

TEST(UnicodeTextTest, InvalidUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(toValidUtf8("a\xFF"
                        "b"),
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
  // Found after an ill-formed sequence, as the UTF-8 reader decodes it.
  EXPECT_TRUE(containsLineTerminator("\xE2\x80\xE2\x80\xA8"));
  EXPECT_TRUE(containsLineTerminator(std::string("a\0\n", 3)));
}

}  // namespace
}  // namespace sdkcore
