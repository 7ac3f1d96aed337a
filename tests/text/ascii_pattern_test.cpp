#include "text/ascii_pattern.hpp"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/regex.h>

#include "support/icu_text.hpp"

namespace sdkcore {
namespace {

using testing_support::icuText;
using testing_support::utf8Of;

// ICU's own answers, the reference for the fast path.
class IcuPattern {
 public:
  IcuPattern(std::string_view source, std::uint32_t flags) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError where{};
    pattern_.reset(icu::RegexPattern::compile(icuText(source), flags, where, status));
    EXPECT_TRUE(U_SUCCESS(status)) << source;
  }

  bool findIn(std::string_view text) const {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input = icuText(text);
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(input, status));
    return matcher->find(status);
  }

  std::string replaceAll(std::string_view text, std::string_view replacement) const {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString input = icuText(text);
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(input, status));
    return utf8Of(matcher->replaceAll(icuText(replacement), status));
  }

 private:
  std::unique_ptr<icu::RegexPattern> pattern_;
};

// 'sample' with every ASCII character inserted at and written over every position, the same
// with a CR LF appended, and 'sample' followed by every ASCII character and then a line
// terminator or a letter: every place where a character can change the answer, the end with its
// line terminators included.
std::vector<std::string> textsAround(const std::string& sample) {
  std::vector<std::string> texts{""};
  for (const std::string& base : {sample, sample + "\r\n"}) {
    for (std::size_t at = 0; at <= base.size(); ++at) {
      for (int code = 0; code < 128; ++code) {
        const char c = static_cast<char>(code);
        texts.push_back(base.substr(0, at) + c + base.substr(at));
        if (at < base.size()) texts.push_back(base.substr(0, at) + c + base.substr(at + 1));
      }
    }
  }
  for (int code = 0; code < 128; ++code) {
    for (const char last : std::string("\n\v\f\rx")) {
      texts.push_back(sample + static_cast<char>(code) + last);
    }
  }
  return texts;
}

struct PatternCase {
  std::string name;
  std::string pattern;
  std::uint32_t flags;
  std::string sample;  // a text the pattern matches
};

class AsciiPatternTest : public testing::TestWithParam<PatternCase> {};

TEST_P(AsciiPatternTest, AnswersAsIcuDoes) {
  const PatternCase& c = GetParam();
  const std::optional<AsciiPattern> fast = AsciiPattern::compile(c.pattern, c.flags);
  ASSERT_TRUE(fast.has_value()) << c.pattern;
  const IcuPattern icu(c.pattern, c.flags);
  ASSERT_TRUE(icu.findIn(c.sample));
  for (const std::string& text : textsAround(c.sample)) {
    const std::optional<bool> found = fast->findIn(text);
    ASSERT_TRUE(found.has_value()) << testing::PrintToString(text);
    ASSERT_EQ(*found, icu.findIn(text)) << c.pattern << " on " << testing::PrintToString(text);
    if (const auto replaced = fast->replaceAll(text, "<>")) {
      ASSERT_EQ(*replaced, icu.replaceAll(text, "<>")) << testing::PrintToString(text);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, AsciiPatternTest,
    testing::Values(
        // The patterns of the validators and text helpers.
        PatternCase{"Digits", "^[0-9]+$", 0, "4111111111111111"},
        PatternCase{"CardHolder", "^[a-zA-Z ]+$", 0, "JOHN DOE"},
        PatternCase{"CardExpiry", "^\\d{2}/\\d{2}$", 0, "12/30"},
        PatternCase{"PhoneNumber", "^\\+?[0-9]+$", 0, "+4915112"},
        PatternCase{"NoWhiteSpace", "^\\S+$", 0, "ORDER-1"},
        PatternCase{"NotDigitOrDot", "[^\\d.]", 0, "12/30"},
        PatternCase{"SpaceOrDot", "[\\s.]", 0, "12 30"},
        PatternCase{"Counted", "^a{2,3}b?c*\\.{1,}$", 0, "aabc."},
        PatternCase{"OverlappingRuns", "^\\d*[0-9]\\d{2}x$", 0, "12345x"},
        // Runs that one greedy pass decides, and one whose last atom takes a line terminator.
        PatternCase{"BoundedRuns", "^a{2,3}[b-d]{1,2}$", 0, "aabd"},
        PatternCase{"LastTakesTerminator", "^a[^a]+$", 0, "ab"},
        PatternCase{"AnyButTerminator", "^.+$", 0, "a b"},
        PatternCase{"WordAndSpace", "\\w\\s", 0, "a b"},
        PatternCase{"OnlyEndAnchor", "[0-9]{2}$", 0, "a12"},
        PatternCase{"CaseInsensitive", "^[a-c]+k$", UREGEX_CASE_INSENSITIVE, "ABCK"}),
    [](const testing::TestParamInfo<PatternCase>& info) { return info.param.name; });

TEST(AsciiPatternTest, OtherFormsAreLeftToIcu) {
  for (const char* pattern :
       {"^(ab)+$", "^a|b$", "^a+?$", "^a++$", "^\\bword$", "^[[a-z]]$", "^\\p{L}$", "^a$b", "a^b",
        "^\xC3\xA9$", "^[]a]$", "^a{2,1000000}$"}) {
    EXPECT_FALSE(AsciiPattern::compile(pattern, 0).has_value()) << pattern;
  }
}

TEST(AsciiPatternTest, LongBacktrackingSearchGivesUp) {
  const std::optional<AsciiPattern> fast = AsciiPattern::compile("\\d*\\d*\\d*x", 0);
  ASSERT_TRUE(fast.has_value());
  EXPECT_FALSE(fast->findIn(std::string(2000, '1')).has_value());
  EXPECT_EQ(fast->findIn("123x"), std::optional<bool>(true));
}

TEST(AsciiPatternTest, ReplacesOnlySingleCharacterMatches) {
  EXPECT_FALSE(AsciiPattern::compile("a+", 0)->replaceAll("aa", "").has_value());
  EXPECT_FALSE(AsciiPattern::compile("^a", 0)->replaceAll("aa", "").has_value());
}

}  // namespace
}  // namespace sdkcore
