#include "sdkcore/regex.hpp"

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "sdkcore/string_extensions.hpp"

namespace sdkcore {
namespace {

struct FindCase {
  std::string name;
  std::string pattern;
  RegexOptions options;
  std::string text;
  bool found;
};

class RegexFindTest : public testing::TestWithParam<FindCase> {};

TEST_P(RegexFindTest, SearchesWholeInput) {
  const FindCase& c = GetParam();
  EXPECT_EQ(toRegex(c.pattern, c.options).findIn(c.text), c.found);
}

constexpr auto kNone = RegexOptions::none;
constexpr auto kNoCase = RegexOptions::caseInsensitive;

INSTANTIATE_TEST_SUITE_P(
    Patterns, RegexFindTest,
    testing::Values(FindCase{"Digits", "^[0-9]+$", kNone, "123", true},
                    FindCase{"InnerSpace", "^[0-9]+$", kNone, "12 3", false},
                    FindCase{"TrailingLineFeed", "^[0-9]+$", kNone, "123\n", true},
                    FindCase{"TrailingCrLf", "^[0-9]+$", kNone, "123\r\n", true},
                    FindCase{"TwoLineFeeds", "^[0-9]+$", kNone, "123\n\n", false},
                    FindCase{"TrailingNel", "^[0-9]+$", kNone, "123\xC2\x85", true},
                    FindCase{"TrailingLineSeparator", "^[0-9]+$", kNone, "123\xE2\x80\xA8", true},
                    FindCase{"LeadingLineFeed", "^[0-9]+$", kNone, "\n123", false},
                    FindCase{"UnicodeDigitClass", "^\\d{2}$", kNone, "\xD9\xA1\xD9\xA2", true},
                    FindCase{"FullWidthDigits", "^\\d+$", kNone, "\xEF\xBC\x91\xEF\xBC\x92", true},
                    FindCase{"AsciiClassRejectsArabicIndic", "^[0-9]+$", kNone, "\xD9\xA1", false},
                    FindCase{"CombiningAccentOutsideClass", "^[a-zA-Z ]+$", kNone, "Jose\xCC\x81",
                             false},
                    FindCase{"WordClassTakesAccent", "^\\w+$", kNone, "Jose\xCC\x81", true},
                    FindCase{"CaseSensitiveByDefault", "^abc$", kNone, "ABC", false},
                    FindCase{"CaseInsensitive", "^abc$", kNoCase, "ABC", true},
                    FindCase{"SearchNotAnchored", "[0-9]", kNone, "ab3cd", true},
                    FindCase{"InvalidUtf8NeverAscii", "^[0-9a-z]+$", kNone, "12\xFF", false},
                    FindCase{"InvalidUtf8ValidPartFound", "[0-9]", kNone,
                             "\xFF"
                             "1",
                             true}),
    [](const testing::TestParamInfo<FindCase>& info) { return info.param.name; });

struct ReplaceCase {
  std::string name;
  std::string pattern;
  std::string text;
  std::string replacement;
  std::string expected;
};

class RegexReplaceTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplaceTest, ReplacesEveryMatch) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(toRegex(c.pattern).replaceAll(c.text, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RegexReplaceTest,
    testing::Values(ReplaceCase{"Delete", "[^\\d.]", "12 34-56", "", "123456"},
                    ReplaceCase{"DollarIsLiteral", "a", "aXa", "$0", "$0X$0"},
                    ReplaceCase{"BackslashIsLiteral", "a", "a", "\\n", "\\n"},
                    ReplaceCase{"NoMatch", "z", "abc", "-", "abc"},
                    ReplaceCase{"InvalidUtf8Replaced", "x", "\xFFx", "", "\xEF\xBF\xBD"}),
    [](const testing::TestParamInfo<ReplaceCase>& info) { return info.param.name; });

TEST(RegexTest, InvalidPatternThrowsNamingIt) {
  try {
    toRegex("^[0-9+$");
    FAIL() << "expected std::invalid_argument";
  } catch (const std::invalid_argument& error) {
    EXPECT_NE(std::string(error.what()).find("^[0-9+$"), std::string::npos) << error.what();
  }
}

TEST(RegexTest, UnknownOptionBitsAreRejected) {
  EXPECT_THROW(toRegex("a", static_cast<RegexOptions>(4)), std::invalid_argument);
}

// One compiled expression used from several threads at once: each call must use its own matcher.
TEST(RegexTest, SharedBetweenThreads) {
  const Regex digits = toRegex("^[0-9]+$");
  std::vector<int> failures(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < failures.size(); ++t) {
    threads.emplace_back([&digits, &failures, t] {
      for (int i = 0; i < 2000; ++i) {
        const std::string number = std::to_string(i * 7919 + static_cast<int>(t));
        if (!digits.findIn(number) || digits.findIn(number + "x")) ++failures[t];
        if (take(number + "e\xCC\x81", 64) != number + "e\xCC\x81") ++failures[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, std::vector<int>(failures.size(), 0));
}

TEST(RegexTest, KeepsItsPatternText) { EXPECT_EQ(toRegex("^a$").pattern(), "^a$"); }

}  // namespace
}  // namespace sdkcore
