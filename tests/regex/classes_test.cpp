#include "regex/classes.hpp"

#include <string>

#include <gtest/gtest.h>
#include <unicode/uniset.h>

#include "regex/icu_referee.hpp"
#include "sdkcore/regex.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore::regex {
namespace {

using sdkcore::testing::IcuReferee;

struct ClassCase {
  const char* pattern;
  bool caseInsensitive;
};

class EveryCodePointTest : public ::testing::TestWithParam<ClassCase> {};

// Each class, compiled by the library and by ICU, on the text of each code point alone
// (surrogates aside: UTF-8 cannot carry them).
TEST_P(EveryCodePointTest, MembershipIsIcus) {
  const auto [pattern, caseInsensitive] = GetParam();
  const Regex ours =
      toRegex(pattern, caseInsensitive ? RegexOptions::caseInsensitive : RegexOptions::none);
  const std::optional<IcuReferee> icu = IcuReferee::compile(pattern, caseInsensitive);
  ASSERT_TRUE(icu.has_value());
  int differences = 0;
  std::string text;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    text.clear();
    unicode::appendUtf8(text, c);
    if (ours.findIn(text) != icu->matchesWhole(text) && ++differences <= 10) {
      ADD_FAILURE() << pattern << " U+" << std::hex << static_cast<std::uint32_t>(c);
    }
  }
  EXPECT_EQ(differences, 0);
}

// The escapes and ".", and with case-insensitive matching the forms that close over case before
// negating and those that do not.
INSTANTIATE_TEST_SUITE_P(Classes, EveryCodePointTest,
                         ::testing::Values(ClassCase{"\\d", false}, ClassCase{"\\w", false},
                                           ClassCase{"\\s", false}, ClassCase{".", false},
                                           ClassCase{"\\W", true}, ClassCase{"[\\W]", true},
                                           ClassCase{"\\P{Lu}", true},
                                           ClassCase{"[^a-z\\x{3c3}]", true}));

icu::UnicodeSet icuSet(const CharSet& set) {
  icu::UnicodeSet out;
  for (const CodeRange& r : set.ranges()) {
    out.add(static_cast<UChar32>(r.first), static_cast<UChar32>(r.last));
  }
  return out;
}

class PropertyNameTest : public ::testing::TestWithParam<const char*> {};

// The set a property name stands for is the one ICU gives it.
TEST_P(PropertyNameTest, SetIsIcus) {
  const std::optional<CharSet> ours = propertyClass(GetParam());
  ASSERT_TRUE(ours.has_value()) << GetParam();
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeSet icu(icu::UnicodeString::fromUTF8("[\\p{" + std::string(GetParam()) + "}]"),
                            status);
  ASSERT_TRUE(U_SUCCESS(status)) << GetParam();
  EXPECT_TRUE(icuSet(*ours) == icu) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Names, PropertyNameTest,
                         ::testing::Values("Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd",
                                           "Nl", "No", "Pc", "Pd", "Ps", "Pe", "Pi", "Pf", "Po",
                                           "Sm", "Sc", "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf",
                                           "Co", "Cn", "L", "LC", "M", "N", "P", "S", "Z", "C",
                                           "Letter", "Uppercase_Letter", "Decimal_Number",
                                           "Cased_Letter", "Other", "digit", "punct", "cntrl",
                                           "Combining_Mark", "uppercase letter", " L u ", "gc=Lu",
                                           "General_Category=Nd", "White_Space", "WSpace", "space",
                                           "Alphabetic", "Alpha", "Any", "ASCII", "Assigned"));

TEST(PropertyNameTest, OtherNamesAreUnknown) {
  for (const char* name : {"Latin", "Greek", "InBasicLatin", "Uppercase", "L&", "^Lu", "", "Lx"}) {
    EXPECT_FALSE(propertyClass(name).has_value()) << name;
  }
}

}  // namespace
}  // namespace sdkcore::regex
