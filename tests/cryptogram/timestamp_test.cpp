#include "cryptogram/timestamp.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace sdkcore {
namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;

struct TimestampCase {
  const char* name;
  double seconds;
  std::optional<std::int64_t> expected;
};

class WholeSeconds : public ::testing::TestWithParam<TimestampCase> {};

TEST_P(WholeSeconds, TruncatesTowardZeroWithinRange) {
  EXPECT_EQ(wholeSeconds(GetParam().seconds), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WholeSeconds,
    ::testing::Values(
        TimestampCase{"Zero", 0.0, 0}, TimestampCase{"NegativeZero", -0.0, 0},
        TimestampCase{"PositiveFraction", 12.9, 12}, TimestampCase{"NegativeFraction", -12.9, -12},
        TimestampCase{"NegativeHalf", -0.5, 0}, TimestampCase{"Tiny", 4.9e-324, 0},
        TimestampCase{"Typical", 1700000000.75, 1700000000},
        TimestampCase{"LargestBelowTwoTo63", std::nextafter(kTwoTo63, 0.0),
                      std::int64_t{9223372036854774784}},
        TimestampCase{"TwoTo63", kTwoTo63, std::nullopt},
        TimestampCase{"MinusTwoTo63", -kTwoTo63, std::numeric_limits<std::int64_t>::min()},
        TimestampCase{"BelowMinusTwoTo63", std::nextafter(-kTwoTo63, -INFINITY), std::nullopt},
        TimestampCase{"OneE19", 1e19, std::nullopt},
        TimestampCase{"MinusOneE19", -1e19, std::nullopt},
        TimestampCase{"NaN", std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        TimestampCase{"Infinity", INFINITY, std::nullopt},
        TimestampCase{"MinusInfinity", -INFINITY, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sdkcore
