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
        RunCase{"DoubleSpaceSplitsTheRun", "452601  8159081234", "452601  8159081234"},
        RunCase{"TrailingSeparatorStays", "4526018159081234- x", "452601******1234- x"},
        RunCase{"FullWidth", kFullWidth16, "４５２６０１******１２３４"},
        RunCase{"ArabicIndic", kArabicIndic16, "٤٥٢٦٠١******١٢٣٤"},
        RunCase{"MixedScripts", "4526٠١８１5908 1234", "4526٠١****** 1234"},
        RunCase{"TwoRuns", "123456789012/4526018159081234", "********9012/452601******1234"},
        RunCase{"InvalidUtf8Stays",
                "\xff"
                "4526018159081234\xfe",
                "\xff"
                "452601******1234\xfe"},
        RunCase{"NoDigits", "JOHN DOE", "JOHN DOE"}),
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
