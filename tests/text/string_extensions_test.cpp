#include "sdkcore/string_extensions.hpp"

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include "support/localization_test_support.hpp"

namespace sdkcore {

void PrintTo(const Color& color, std::ostream* out) {
  *out << "Color(" << color.red << ", " << color.green << ", " << color.blue << ", " << color.alpha
       << ")";
}

namespace {

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

// --- take / takeLast -------------------------------------------------------------------------

struct TakeCase {
  std::string name;
  std::string text;
  std::int64_t count;
  std::string first;
  std::string last;
};

class TakeTest : public testing::TestWithParam<TakeCase> {};

TEST_P(TakeTest, TakesCharacters) {
  EXPECT_EQ(take(GetParam().text, GetParam().count), GetParam().first);
  EXPECT_EQ(takeLast(GetParam().text, GetParam().count), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TakeTest,
    testing::Values(
        TakeCase{"Shorter", "abc", 5, "abc", "abc"}, TakeCase{"Zero", "abc", 0, "", ""},
        TakeCase{"Expiry", "12/25", 2, "12", "25"}, TakeCase{"Empty", "", 3, "", ""},
        TakeCase{"CombiningAccentStaysWhole", "Jose\xCC\x81", 4, "Jose\xCC\x81", "Jose\xCC\x81"},
        TakeCase{"CombiningAccentLast", "Jose\xCC\x81", 1, "J", "e\xCC\x81"},
        TakeCase{"CrLfIsOneCharacter", "12\r\n", 3, "12\r\n", "12\r\n"},
        TakeCase{"CrLfLast", "5\r\n", 1, "5", "\r\n"},
        TakeCase{"LineFeedLast", "12/25\n", 2, "12", "5\n"},
        TakeCase{"FullWidthDigits", "\xEF\xBC\x91\xEF\xBC\x92/x", 1, "\xEF\xBC\x91", "x"},
        TakeCase{"InvalidUtf8IsReplaced",
                 "\xFF"
                 "ab",
                 2,
                 "\xEF\xBF\xBD"
                 "a",
                 "ab"}),
    caseName<TakeCase>);

TEST(TakeTest, NegativeCountThrows) {
  EXPECT_THROW(take("abc", -1), std::invalid_argument);
  EXPECT_THROW(takeLast("abc", -1), std::invalid_argument);
  EXPECT_THROW(digitsOnly("12", -1), std::invalid_argument);
  EXPECT_THROW(noSpaces("12", -1), std::invalid_argument);
}

// --- toIntOrNil --------------------------------------------------------------------------------

struct IntCase {
  std::string name;
  std::string text;
  std::optional<std::int64_t> value;
};

class ToIntOrNilTest : public testing::TestWithParam<IntCase> {};

TEST_P(ToIntOrNilTest, ReadsWholeText) { EXPECT_EQ(toIntOrNil(GetParam().text), GetParam().value); }

constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
constexpr auto kMin = std::numeric_limits<std::int64_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Texts, ToIntOrNilTest,
    testing::Values(
        IntCase{"Plain", "42", 42}, IntCase{"Minus", "-7", -7}, IntCase{"Plus", "+7", 7},
        IntCase{"LeadingZeros", "007", 7}, IntCase{"MinusZero", "-0", 0},
        IntCase{"Empty", "", std::nullopt}, IntCase{"LeadingSpace", " 42", std::nullopt},
        IntCase{"InnerSpace", "4 2", std::nullopt},
        IntCase{"TrailingLineFeed", "42\n", std::nullopt}, IntCase{"LonePlus", "+", std::nullopt},
        IntCase{"LoneMinus", "-", std::nullopt}, IntCase{"TwoSigns", "+-1", std::nullopt},
        IntCase{"Letter", "4a", std::nullopt}, IntCase{"Decimal", "4.0", std::nullopt},
        IntCase{"ArabicIndic", "\xD9\xA4\xD9\xA2", std::nullopt},
        IntCase{"FullWidth", "\xEF\xBC\x94", std::nullopt},
        IntCase{"InvalidUtf8", "4\xFF", std::nullopt}, IntCase{"Max", "9223372036854775807", kMax},
        IntCase{"MaxPlusOne", "9223372036854775808", std::nullopt},
        IntCase{"Min", "-9223372036854775808", kMin},
        IntCase{"MinMinusOne", "-9223372036854775809", std::nullopt},
        IntCase{"FarTooLong", "123456789012345678901234567890", std::nullopt}),
    caseName<IntCase>);

// --- digitsOnly / noSpaces -----------------------------------------------------------------------

struct CleanCase {
  std::string name;
  std::string text;
  std::optional<std::int64_t> maxLength;
  std::string expected;
};

class DigitsOnlyTest : public testing::TestWithParam<CleanCase> {};
class NoSpacesTest : public testing::TestWithParam<CleanCase> {};

TEST_P(DigitsOnlyTest, KeepsDigitsAndStops) {
  EXPECT_EQ(digitsOnly(GetParam().text, GetParam().maxLength), GetParam().expected);
}
TEST_P(NoSpacesTest, DropsWhiteSpaceAndStops) {
  EXPECT_EQ(noSpaces(GetParam().text, GetParam().maxLength), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DigitsOnlyTest,
    testing::Values(CleanCase{"Separators", "12 34-56", std::nullopt, "123456"},
                    CleanCase{"Amount", "12.50 EUR", std::nullopt, "12.50"},
                    CleanCase{"Limited", "12 34 56", 4, "1234"},
                    CleanCase{"LimitZero", "12", 0, ""}, CleanCase{"Empty", "", std::nullopt, ""},
                    CleanCase{"ArabicIndicKept", "\xD9\xA1-\xD9\xA2", std::nullopt,
                              "\xD9\xA1\xD9\xA2"},
                    CleanCase{"FullWidthKept", "\xEF\xBC\x91 a", std::nullopt, "\xEF\xBC\x91"},
                    CleanCase{"InvalidUtf8Dropped",
                              "1\xFF"
                              "2",
                              std::nullopt, "12"}),
    caseName<CleanCase>);

INSTANTIATE_TEST_SUITE_P(
    Texts, NoSpacesTest,
    testing::Values(CleanCase{"Name", " John  Smith. ", std::nullopt, "JohnSmith"},
                    CleanCase{"Limited", "a b c d", 3, "abc"},
                    CleanCase{"TabsAndBreaks", "a\tb\r\nc", std::nullopt, "abc"},
                    CleanCase{"NoBreakAndIdeographicSpace",
                              "a\xC2\xA0"
                              "b\xE3\x80\x80"
                              "c",
                              std::nullopt, "abc"},
                    CleanCase{"VerticalTabAndNelAreWhiteSpace",
                              "a\vb\xC2\x85"
                              "c",
                              std::nullopt, "abc"},
                    CleanCase{"AccentKeptWhole", "e\xCC\x81 x", 1, "e\xCC\x81"}),
    caseName<CleanCase>);

// --- parseColor --------------------------------------------------------------------------------

struct ColorCase {
  std::string name;
  std::string text;
  Color expected;
};

class ParseColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(ParseColorTest, ReadsHex) { EXPECT_EQ(parseColor(GetParam().text), GetParam().expected); }

constexpr Color kRed{1, 0, 0, 1};
constexpr Color kGreen{0, 1, 0, 1};
constexpr Color kBlack{0, 0, 0, 1};

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseColorTest,
    testing::Values(ColorCase{"Hash", "#FF0000", kRed}, ColorCase{"Bare", "FF0000", kRed},
                    ColorCase{"Prefixed", "0xFF0000", kRed},
                    ColorCase{"UpperX", "0X00ff00", kGreen}, ColorCase{"Short", "#0F0", kGreen},
                    ColorCase{"ShortFirstCharacterDropped", "x0F0", kGreen},
                    ColorCase{"AlphaIgnored", "80FF0000", kRed}, ColorCase{"NotHex", "xyz", kBlack},
                    ColorCase{"Empty", "", kBlack},
                    ColorCase{"ThreeNotExpanded", "F00", Color{0, 15.0 / 255, 0, 1}},
                    ColorCase{"LeadingWhiteSpace", " \t#FF0000", kRed},
                    ColorCase{"StopsAtNonHex", "#FF00G0", kGreen},
                    ColorCase{"Mixed", "#336699",
                              Color{0x33 / 255.0, 0x66 / 255.0, 0x99 / 255.0, 1}},
                    ColorCase{"SeventeenDigitsSaturate", "#FFFFFFFFFFFFFFFFF", Color{1, 1, 1, 1}},
                    ColorCase{"InvalidUtf8", "\xFF\xFE", kBlack}),
    caseName<ColorCase>);

TEST(ParseColorTest, VeryLongHexDoesNotCrash) {
  const Color color = parseColor("#" + std::string(1000, '7'));
  EXPECT_EQ(color.alpha, 1.0);
}

}  // namespace
}  // namespace sdkcore
