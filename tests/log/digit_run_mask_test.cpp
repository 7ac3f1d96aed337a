#include "log/digit_run_mask.hpp"

#include <gtest/gtest.h>

#include <string>

namespace sdkcore {
namespace {

struct RunCase {
  const char* name;
  std::string input;
  std::string expected;
};

class DigitRunMask : public ::testing::TestWithParam<RunCase> {};

TEST_P(DigitRunMask, MasksLongRunsOnly) {
  std::string storage;
  EXPECT_EQ(maskDigitRuns(GetParam().input, storage), GetParam().expected);
}

// Full-width and Arabic-Indic digits take three and two bytes; kept ones are copied whole.
const std::string kFullWidth16 = "４５２６０１８１５９０８１２３４";
const std::string kArabicIndic16 = "٤٥٢٦٠١٨١٥٩٠٨١٢٣٤";

INSTANTIATE_TEST_SUITE_P(
    Table, DigitRunMask,
    ::testing::Values(
        RunCase{"Sixteen", "4526018159081234", "452601******1234"},
        RunCase{"WithinText", "JOHN 4526018159081234 DOE", "JOHN 452601******1234 DOE"},
        RunCase{"FifteenKeepsLastFourOnly", "ORDER-452601815908123", "ORDER-***********8123"},
        RunCase{"TwelveIsMasked", "123456789012", "********9012"},
        RunCase{"ElevenStays", "12345678901", "12345678901"},
        RunCase{"LongerRunsToo", "45260181590812341230", "452601**********1230"},
        RunCase{"Spaces", "4526 0181 5908 1234", "4526 01** **** 1234"},
        RunCase{"Dashes", "4526-0181-5908-1234", "4526-01**-****-1234"},
        RunCase{"DoubleSpace", "452601  8159081234", "452601  ******1234"},
        RunCase{"FourSeparatorsSplitTheRun", "452601 - .8159081234", "452601 - .8159081234"},
        RunCase{"ALetterSplitsTheRun", "452601x8159081234", "452601x8159081234"},
        RunCase{"ALetterOfAnotherScriptSplitsTheRun",
                "452601\xC3\xA9"
                "8159081234",
                "452601\xC3\xA9"
                "8159081234"},
        RunCase{"TrailingSeparatorStays", "4526018159081234- x", "452601******1234- x"},
        RunCase{"FullWidth", kFullWidth16, "４５２６０１******１２３４"},
        RunCase{"ArabicIndic", kArabicIndic16, "٤٥٢٦٠١******١٢٣٤"},
        RunCase{"MixedScripts", "4526٠١８１5908 1234", "4526٠١****** 1234"},
        RunCase{"TwoRuns", "123456789012 // 4526018159081234", "********9012 // 452601******1234"},
        RunCase{"InvalidUtf8Stays",
                "\xff"
                "4526018159081234\xfe",
                "\xff"
                "452601******1234\xfe"},
        RunCase{"NoDigits", "JOHN DOE", "JOHN DOE"}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever a shopper types or pastes between the groups of a card number (up to three
// characters that are neither letters nor digits) joins them into one run, and stays.
struct SeparatorCase {
  const char* name;
  std::string separator;
};

class DigitRunSeparator : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(DigitRunSeparator, JoinsTheGroupsOfACardNumber) {
  const std::string& between = GetParam().separator;
  std::string storage;
  // 6 + 10 digits, and 4 groups of 4.
  EXPECT_EQ(maskDigitRuns("452601" + between + "8159081234", storage),
            "452601" + between + "******1234");
  const std::string grouped = "4526" + between + "0181" + between + "5908" + between + "1234";
  EXPECT_EQ(maskDigitRuns(grouped, storage),
            "4526" + between + "01**" + between + "****" + between + "1234");
}

INSTANTIATE_TEST_SUITE_P(
    Separators, DigitRunSeparator,
    ::testing::Values(
        SeparatorCase{"Dot", "."}, SeparatorCase{"Slash", "/"}, SeparatorCase{"Underscore", "_"},
        SeparatorCase{"Comma", ","}, SeparatorCase{"Parentheses", ")("},
        SeparatorCase{"TwoSpaces", "  "}, SeparatorCase{"Tab", "\t"},
        SeparatorCase{"SpaceDashSpace", " - "}, SeparatorCase{"LineFeed", "\n"},
        SeparatorCase{"CarriageReturnLineFeed", "\r\n"}, SeparatorCase{"NoBreakSpace", "\u00A0"},
        SeparatorCase{"FigureSpace", "\u2007"}, SeparatorCase{"NarrowNoBreakSpace", "\u202F"},
        SeparatorCase{"ThinSpace", "\u2009"}, SeparatorCase{"ZeroWidthJoiner", "\u200D"},
        SeparatorCase{"InvalidUtf8", "\xff"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DigitRunMask, TextWithoutLongRunIsReturnedWithoutACopy) {
  const std::string text = "12/30";
  std::string storage;
  EXPECT_EQ(maskDigitRuns(text, storage).data(), text.data());
}

// The text without a run is remembered; one with a run never is, so it is masked every time.
TEST(DigitRunMask, RepeatedTextIsMaskedEveryTime) {
  for (int call = 0; call < 2; ++call) {
    std::string storage;
    EXPECT_EQ(maskDigitRunsOfRepeatedText("MIIB 12/30", storage), "MIIB 12/30");
    EXPECT_EQ(maskDigitRunsOfRepeatedText("4526018159081230", storage), "452601******1230");
  }
}

}  // namespace
}  // namespace sdkcore
