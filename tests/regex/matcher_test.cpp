#include "regex/matcher.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "regex/icu_referee.hpp"
#include "sdkcore/regex.hpp"
#include "support/resource_use.hpp"

namespace sdkcore {
namespace {

using sdkcore::testing::IcuReferee;

// The constructs of the supported subset, the library's own patterns among them.
const std::vector<std::string> kPatterns{
    // literals, escapes and "."
    "abc", "a\\.b", "\\t", "\\x41", "\\x{1F600}", "\\u00e9", "\\e|\\a|\\f", "\\-", "a b", ".",
    "a.c", ".+", "\\r\\n",
    // sets
    "[abc]", "[a-z]", "[^a-z]", "[a-]", "[-a]", "[]a]", "[^]a]", "[\\d-z]", "[a-c-e]", "[\\w.]",
    "[\\p{Lu}\\d]", "[A-z]", "[\\x{1F600}-\\x{1F64F}]", "[^\\s]", "[\\P{L}]",
    // class escapes and properties
    "\\d", "\\D", "\\w+", "\\W", "\\s", "\\S+", "\\p{Lu}", "\\P{Lu}", "\\p{L}+", "\\p{Nd}",
    "\\p{White_Space}", "\\p{ L u }", "\\p{Zl}",
    // groups, alternation and priorities
    "(a|b)c", "(?:ab)+", "a|ab", "ab|a", "(a|ab)(c|bcd)", "a||b", "()", "(|a)*", "x(a|)*y",
    "(a|b)*?b",
    // quantifiers, greedy and lazy, and loops that can match empty
    "a?", "a*", "a+", "a{2}", "a{2,}", "a{1,3}", "a{0}", "a*?", "a+?", "a??", "a{1,3}?", "a{2,}?",
    "(a*)*", "(a*)+b", "(a?){2,}", "(a|b?)*", "(?:a?b?)*c", "(a?){0,2}", "(a*){2,3}?", "(?:|a)+",
    // anchors
    "^a", "a$", "^$", "$", "^", "^a|b$", "(^a)", "a$|b", "(?:$)", "^(?:a|$)",
    // case folding
    "ss", "s", "ss+", "(?:ss)+", "\\x{df}", "[\\x{df}]", "st", "k", "[k]", "[^a]", "\\x{1c5}",
    "\\x{3c3}", "i\\x{307}", "\\x{2bc}n", "[\\x{2bc}]n", "\\x{73}s", "[s]s", "\\x{fb06}+",
    "\\x{1e9e}", "\\x{3b1}\\x{3b9}", "\\x{390}",
    // the library's validators and text helpers
    "^[0-9]+$", "^\\d{2}/\\d{2}$", "^[a-zA-Z ]+$", "^\\+?[0-9]+$", "^[\\S]+$", "[^\\d.]", "[\\s.]",
    "^[a-zA-z0-9]+([-+.']\\w+)*@[a-z]+([-.][a-z]+)*\\.[a-z]+([-.][a-z]+)*$"};

// Texts with case variants, full foldings, other scripts' digits, line terminators at the end
// and inside, and ill-formed UTF-8.
const std::vector<std::string> kTexts{"",
                                      "a",
                                      "ab",
                                      "abc",
                                      "aab",
                                      "A",
                                      "ABC",
                                      "x\xC3\x9F",
                                      "SS",
                                      "ss",
                                      "\xE1\xBA\x9E",
                                      "\xC5\xBF",
                                      "\xE2\x84\xAA",
                                      "k",
                                      "\xEF\xAC\x86",
                                      "st",
                                      "\xC5\x89",
                                      "\xC4\xB0",
                                      "i\xCC\x87",
                                      "\xC7\x85",
                                      "\xCE\xA3\xCF\x83\xCF\x82",
                                      "\xE1\xBE\xB3",
                                      "12/30",
                                      "\xEF\xBC\x91\xEF\xBC\x92",
                                      "\xD9\xA1\xD9\xA2",
                                      "a\n",
                                      "a\r\n",
                                      "a\n\n",
                                      "\r\n",
                                      "a\xE2\x80\xA8",
                                      "x\xFFy",
                                      "\xE2\x82",
                                      "\xC3\xA9",
                                      "e\xCC\x81",
                                      "aaa bbb",
                                      "a.b",
                                      "\t",
                                      "\xF0\x9F\x98\x80",
                                      "john.doe@example.com",
                                      "+49 151",
                                      "a\rb",
                                      "xaay",
                                      "abcd",
                                      "ababab",
                                      "\xCE\x90"};

struct Mode {
  const char* name;
  RegexOptions options;
};

class RefereeTest : public ::testing::TestWithParam<Mode> {};

// Every pattern on every text: findIn and replaceAll give ICU's answers.
TEST_P(RefereeTest, EveryPatternOnEveryTextAnswersAsIcu) {
  const bool caseInsensitive = GetParam().options == RegexOptions::caseInsensitive;
  for (const std::string& pattern : kPatterns) {
    const Regex ours = toRegex(pattern, GetParam().options);
    const std::optional<IcuReferee> icu = IcuReferee::compile(pattern, caseInsensitive);
    ASSERT_TRUE(icu.has_value()) << pattern;
    for (const std::string& text : kTexts) {
      const std::string shown = pattern + " on " + ::testing::PrintToString(text);
      EXPECT_EQ(ours.findIn(text), icu->findIn(text)) << shown;
      EXPECT_EQ(ours.replaceAll(text, "<$1\\>"), icu->replaceAll(text, "<$1\\>")) << shown;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, RefereeTest,
                         ::testing::Values(Mode{"CaseSensitive", RegexOptions::none},
                                           Mode{"CaseInsensitive", RegexOptions::caseInsensitive}),
                         [](const auto& info) { return std::string(info.param.name); });

// A replacement that is not UTF-8 comes out as U+FFFD, as the text does.
TEST(RegexReplaceTest, IllFormedReplacementIsReplaced) {
  EXPECT_EQ(toRegex("b").replaceAll("abc", "\xFF"),
            "a\xEF\xBF\xBD"
            "c");
}

struct Pathology {
  const char* pattern;
  char filler;
};

class RegexTiming : public ::testing::TestWithParam<Pathology> {};

// Patterns that take a backtracking matcher exponential or quadratic time, on 100,000
// characters that almost match: the automaton stays linear.
TEST_P(RegexTiming, PathologicalPatternIsLinear) {
  const Regex regex = toRegex(GetParam().pattern);
  const std::string text(100000, GetParam().filler);
  const testing::ResourceUse use = testing::measureInChild([&] {
    return [&] {
      return std::to_string(regex.findIn(text)) + (regex.replaceAll(text, "") == text ? "=" : "~");
    };
  });
  EXPECT_EQ(use.answer, "0=");
  if (testing::resourceBoundsApply()) {
    EXPECT_LT(use.cpuMs, 1000) << GetParam().pattern;
  }
}

INSTANTIATE_TEST_SUITE_P(Patterns, RegexTiming,
                         ::testing::Values(Pathology{"(a*)*b", 'a'}, Pathology{"(a|aa)*c", 'a'},
                                           Pathology{"(?:a+)+$x", 'a'},
                                           Pathology{"(\\w|\\d)*[.]{2}", '1'},
                                           Pathology{"(?:a?){30}a{30}b", 'a'}));

}  // namespace
}  // namespace sdkcore
