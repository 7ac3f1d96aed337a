#include "unicode/grapheme.hpp"

#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace sdkcore::unicode {
namespace {

using Boundaries = std::vector<std::size_t>;

std::string utf8(std::u32string_view codePoints) {
  std::string text;
  for (const char32_t c : codePoints) icu::UnicodeString(UChar32(c)).toUTF8String(text);
  return text;
}

// The boundaries that ICU's character break iterator (root locale) finds in 'text', as byte
// offsets: ICU reads the UTF-8 itself, each ill-formed subsequence as one U+FFFD.
Boundaries icuBoundaries(icu::BreakIterator& iterator, std::string_view text) {
  icu::UnicodeString utf16;
  std::vector<std::size_t> byteOffset;  // of each UTF-16 offset that starts a code point
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto size = static_cast<std::int32_t>(text.size());
  for (std::int32_t at = 0; at < size;) {
    byteOffset.resize(std::size_t(utf16.length()) + 1, std::size_t(at));
    UChar32 c;
    U8_NEXT_OR_FFFD(bytes, at, size, c);
    utf16.append(c);
  }
  byteOffset.resize(std::size_t(utf16.length()) + 1, text.size());
  iterator.setText(utf16);
  Boundaries boundaries;
  for (std::int32_t at = iterator.first(); at != icu::BreakIterator::DONE; at = iterator.next()) {
    boundaries.push_back(byteOffset[std::size_t(at)]);
  }
  return boundaries;
}

std::unique_ptr<icu::BreakIterator> icuCharacterIterator() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> iterator(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  return iterator;
}

// One line of GraphemeBreakTest.txt: "÷ 0020 × 0308 ÷ # comment", read into the text and the
// byte offsets of its boundaries (÷).
bool parseTestLine(const std::string& line, std::string& text, Boundaries& boundaries) {
  std::istringstream fields(line.substr(0, line.find('#')));
  text.clear();
  boundaries.clear();
  for (std::string field; fields >> field;) {
    if (field == "\xC3\xB7") {
      boundaries.push_back(text.size());
    } else if (field != "\xC3\x97") {
      text += utf8(std::u32string(1, char32_t(std::stoul(field, nullptr, 16))));
    }
  }
  return !text.empty();
}

TEST(GraphemeTest, AgreesWithEveryLineOfGraphemeBreakTest) {
  std::ifstream file(SDKCORE_UCD_DIR "/auxiliary/GraphemeBreakTest.txt");
  if (!file) GTEST_SKIP() << "no " SDKCORE_UCD_DIR "/auxiliary/GraphemeBreakTest.txt";
  int lines = 0;
  std::string text;
  Boundaries expected;
  for (std::string line; std::getline(file, line);) {
    if (!parseTestLine(line, text, expected)) continue;
    ++lines;
    EXPECT_EQ(graphemeBoundaries(text), expected) << line;
  }
  EXPECT_GT(lines, 600);
}

// Pieces of text for the rules: each group a kind of character that some rule is about.
const std::vector<std::vector<std::string>> kPieceGroups = {
    {"a", "Z", " ", "\r", "\n", "\r\n", std::string(1, '\0'), "\x1F", "\x7F"},
    {utf8(U"\u0085\u00AD\u2028\u200B\uFEFF"), utf8(U"\u00E9"), utf8(U"\uFFFD"), utf8(U"\u0378"),
     utf8(U"\uE000")},
    // Extend, ZWJ, SpacingMark, Prepend
    {utf8(U"\u0300"), utf8(U"\u0308"), utf8(U"\u200C"), utf8(U"\uFE0F"), utf8(U"\U0001F3FB"),
     utf8(U"\u200D"), utf8(U"\u0903"), utf8(U"\u093E"), utf8(U"\u0E33"), utf8(U"\u0600"),
     utf8(U"\u0605"), utf8(U"\U000110BD"), utf8(U"\u0D4E")},
    // Extended_Pictographic, regional indicators
    {utf8(U"\U0001F468"), utf8(U"\U0001F469"), utf8(U"\u2764"), utf8(U"\u00A9"),
     utf8(U"\U0001F600"), utf8(U"\U0001F1E6"), utf8(U"\U0001F1FA"), utf8(U"\U0001F1FF")},
    // Hangul jamo and syllables: L, V, T, LV, LVT
    {utf8(U"\u1100"), utf8(U"\u1161"), utf8(U"\u11A8"), utf8(U"\uAC00"), utf8(U"\uAC01")},
    // Consonants of Devanagari, Bengali, Gujarati, Oriya, Telugu, Malayalam, Tamil, Kannada,
    // Gurmukhi
    {utf8(U"\u0915"), utf8(U"\u0937"), utf8(U"\u0995"), utf8(U"\u0A95"), utf8(U"\u0B15"),
     utf8(U"\u0C15"), utf8(U"\u0D15"), utf8(U"\u0B95"), utf8(U"\u0C95"), utf8(U"\u0A15")},
    // Their viramas; nukta (ccc 7), a stress sign (ccc 230), a vowel sign (Extend of ccc 0)
    {utf8(U"\u094D"), utf8(U"\u09CD"), utf8(U"\u0ACD"), utf8(U"\u0B4D"), utf8(U"\u0C4D"),
     utf8(U"\u0D4D"), utf8(U"\u0BCD"), utf8(U"\u0CCD"), utf8(U"\u0A4D"), utf8(U"\u093C"),
     utf8(U"\u0951"), utf8(U"\u0941")},
    // Ill-formed UTF-8
    {"\x80", "\xBF", "\xC0\xAF", "\xE0\x80", "\xE2\x80", "\xED\xA0\x80", "\xF0\x9F", "\xF0\x9F\x98",
     "\xF4\x90\x80\x80", "\xFF"},
};

std::string randomText(std::mt19937& random) {
  // Mostly short texts, now and then a long one.
  const int pieces = random() % 50 == 0 ? 1 + int(random() % 400) : 1 + int(random() % 12);
  std::string text;
  for (int i = 0; i < pieces; ++i) {
    const auto& group = kPieceGroups[random() % kPieceGroups.size()];
    text += group[random() % group.size()];
  }
  return text;
}

TEST(GraphemeTest, AgreesWithIcuOnRandomTexts) {
  const auto iterator = icuCharacterIterator();
  ASSERT_TRUE(iterator);
  std::mt19937 random(20240615);
  for (int i = 0; i < 40000; ++i) {
    const std::string text = randomText(random);
    ASSERT_EQ(graphemeBoundaries(text), icuBoundaries(*iterator, text))
        << testing::PrintToString(text);
  }
}

// Runs of any length that stay one character or pair up: a start, then one piece repeated.
TEST(GraphemeTest, AgreesWithIcuOnLongRuns) {
  const auto iterator = icuCharacterIterator();
  ASSERT_TRUE(iterator);
  const std::pair<std::string, std::string> runs[] = {
      {"a", utf8(U"\u0301")},
      {"", utf8(U"\U0001F1E6")},
      {utf8(U"\u0915"), utf8(U"\u094D\u0937")},
      {utf8(U"\U0001F468"), utf8(U"\u200D\U0001F469")},
      {"", utf8(U"\u0600")},
      {"", "ab\r\n"}};
  for (const auto& [start, repeated] : runs) {
    std::string text = start;
    while (text.size() < 300000) text += repeated;
    EXPECT_EQ(graphemeBoundaries(text), icuBoundaries(*iterator, text)) << repeated;
  }
}

TEST(GraphemeBreakerTest, EndsWithNposAndStaysThere) {
  for (const std::string text : {"", "a", "\r\n", "\xCC\x81", "a\xCC\x81z"}) {
    GraphemeBreaker breaker(text);
    Boundaries walked{0};
    for (std::size_t at = breaker.next(); at != std::string_view::npos; at = breaker.next()) {
      ASSERT_GT(at, walked.back()) << text;
      walked.push_back(at);
    }
    EXPECT_EQ(breaker.next(), std::string_view::npos);
    EXPECT_EQ(walked.back(), text.size());
    EXPECT_EQ(graphemeBoundaries(text), walked);
  }
}

}  // namespace
}  // namespace sdkcore::unicode
