#include "log/card_data_mask.hpp"

#include <gtest/gtest.h>

#include <string>

#include "sdkcore/sdk_core_config.hpp"

namespace sdkcore {
namespace {

struct MaskCase {
  const char* name;
  std::string input;
  std::string expected;
};

class CardNumberMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(CardNumberMask, KeepsHeadAndTailOfLongNumbersOnly) {
  EXPECT_EQ(maskCardNumber(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardNumberMask,
    ::testing::Values(
        MaskCase{"Sixteen", "4111111111111111", "411111******1111"},
        MaskCase{"Nineteen", "4111111111111111234", "411111*********1234"},
        // Below 16 the first 6 would leave too few hidden; below 8 even the last 4 would.
        MaskCase{"FifteenKeepsLastFourOnly", "123456789012345", "***********2345"},
        MaskCase{"ThirteenKeepsLastFourOnly", "1234567890123", "*********0123"},
        MaskCase{"EightKeepsLastFour", "12345678", "****5678"},
        MaskCase{"SevenIsAllMasked", "1234567", "*******"}, MaskCase{"Empty", "", ""},
        MaskCase{"OneChar", "4", "*"},
        MaskCase{"SpacesCountAsCharacters", "4111 1111 1111 1111", "4111 1*********1111"},
        MaskCase{"TrailingLineFeed", "4111111111111111\n", "411111*******111\n"},
        MaskCase{"CrLfIsOneCharacter", "123456789012\r\n", "*********012\r\n"},
        // Arabic-Indic digits take two bytes each: kept ones are copied whole, masked ones
        // become one "*" each.
        MaskCase{"MultiByteDigits",
                 "\u0664\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661\u0661"
                 "\u0661\u0661\u0661",
                 "\u0664\u0661\u0661\u0661\u0661\u0661******\u0661\u0661\u0661\u0661"},
        // "e" with a combining accent is one character of three bytes.
        MaskCase{"CombiningSequenceIsOneCharacter", "12345e\u0301789012", "********9012"},
        MaskCase{"InvalidUtf8IsMasked", "\xff\xfe\xfd", "***"},
        // Each ill-formed sequence is one character; a kept one comes out as U+FFFD.
        MaskCase{"InvalidUtf8Kept",
                 "\xff"
                 "23456789012345\xfe",
                 "\uFFFD"
                 "23456******345\uFFFD"}),
    [](const auto& info) { return std::string(info.param.name); });

class SecurityCodeMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(SecurityCodeMask, MasksEveryCharacter) {
  EXPECT_EQ(maskSecurityCode(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SecurityCodeMask,
                         ::testing::Values(MaskCase{"Three", "123", "***"},
                                           MaskCase{"Empty", "", ""},
                                           MaskCase{"Four", "1234", "****"},
                                           MaskCase{"Blank", "   ", "***"},
                                           MaskCase{"Combining", "1e\u0301", "**"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sdkcore
