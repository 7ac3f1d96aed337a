#include "regex/syntax_tree.hpp"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "regex/icu_referee.hpp"
#include "sdkcore/regex.hpp"

namespace sdkcore {
namespace {

using sdkcore::testing::IcuReferee;

struct Refusal {
  std::string pattern;
  std::string construct;  // what the message names
  std::string offset;     // where, as the message says it
};

std::string messageOf(const std::string& pattern) {
  try {
    toRegex(pattern);
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "(compiled)";
}

class UnsupportedTest : public ::testing::TestWithParam<Refusal> {};

// Constructs that ICU knows and the library does not: refused, naming the construct and where
// it starts.
TEST_P(UnsupportedTest, ThrowsNamingTheConstruct) {
  const Refusal& r = GetParam();
  const std::string message = messageOf(r.pattern);
  EXPECT_TRUE(message.starts_with("invalid regular expression pattern \"" + r.pattern + "\": "))
      << message;
  EXPECT_NE(message.find(r.construct), std::string::npos) << message;
  EXPECT_NE(message.find("not supported at offset " + r.offset), std::string::npos) << message;
  EXPECT_TRUE(IcuReferee::compile(r.pattern, false).has_value()) << r.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Constructs, UnsupportedTest,
    ::testing::Values(
        Refusal{"(a)\\1", "backreference", "3"}, Refusal{"(?=a)", "lookahead", "0"},
        Refusal{"b(?!a)", "negative lookahead", "1"}, Refusal{"(?<=a)b", "lookbehind", "0"},
        Refusal{"(?<!a)b", "negative lookbehind", "0"}, Refusal{"(?>a)", "atomic group", "0"},
        Refusal{"(?i)a", "inline flags", "0"}, Refusal{"(?<n>a)", "named group", "0"},
        Refusal{"(?#note)", "comment", "0"}, Refusal{"a*+", "possessive quantifier", "2"},
        Refusal{"a{2}+", "possessive quantifier", "4"}, Refusal{"\\bword", "word boundary", "0"},
        Refusal{"a\\Z", "anchor", "1"}, Refusal{"\\X", "grapheme cluster", "0"},
        Refusal{"\\R", "line break", "0"}, Refusal{"\\h", "horizontal or vertical space", "0"},
        Refusal{"[[a]]", "nested set", "1"}, Refusal{"[a&&b]", "set intersection", "2"},
        Refusal{"[a--b]", "set difference", "2"}, Refusal{"[:alpha:]", "POSIX-like set", "0"},
        Refusal{"\\Qa\\E", "quoting", "0"}, Refusal{"\\N{DIGIT ONE}", "named character", "0"},
        Refusal{"\\cA", "control character escape", "0"}, Refusal{"\\0101", "octal escape", "0"},
        Refusal{"\\y", "escape \\y", "0"}, Refusal{"^*", "quantified anchor", "1"},
        Refusal{"(a?)*?b", "lazy quantifier on what can match empty", "4"},
        Refusal{"a{1001}", "repetition count above 1000", "1"},
        Refusal{"\\p{Latin}", "property \\p{Latin}", "0"},
        Refusal{"\\uD800", "surrogate code point", "0"},
        Refusal{std::string(65, '(') + std::string(65, ')'), "nesting of groups deeper than 64",
                "64"},
        Refusal{"(?:\\w{1000}){30}", "more than 20000 instructions", "0"}));

class InvalidTest : public ::testing::TestWithParam<std::string> {};

// Patterns that ICU refuses too: refused with the same message's start and an offset.
TEST_P(InvalidTest, ThrowsAsIcuDoes) {
  const std::string message = messageOf(GetParam());
  EXPECT_TRUE(message.starts_with("invalid regular expression pattern \"" + GetParam() + "\": "))
      << message;
  EXPECT_NE(message.find(" at offset "), std::string::npos) << message;
  EXPECT_FALSE(IcuReferee::compile(GetParam(), false).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Patterns, InvalidTest,
                         ::testing::Values("a{", "a{x}", "{", "a}", "a{,3}", "a{3,2}", "a**",
                                           "a*?+", "*a", "(*a)", "a|*", "(a", "a)", "[a", "[]",
                                           "\\", "\\p{Lu", "\\pL", "\\p{Foo}", "\\x{110000}",
                                           "\\x{}", "[z-a]", "[a-\\d]", "\\u004", "\\xg", "[--a]",
                                           "a{2}{3}"));

TEST(InvalidTest, PatternThatIsNotUtf8) {
  EXPECT_NE(messageOf("a\xFF").find("not valid UTF-8"), std::string::npos);
}

}  // namespace
}  // namespace sdkcore
