#include "validation/int_range_rule.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::hasOutcome;
using testing::passes;

TEST(IntRangeRule, BoundsAreInclusive) {
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  struct Case {
    std::int64_t min, max, value;
    bool valid;
  };
  const std::vector<Case> cases = {
      {1, 12, 1, true},         {1, 12, 12, true},        {1, 12, 0, false},
      {1, 12, 13, false},       {1, 12, -1, false},       {0, 99, 0, true},
      {kMin, kMax, kMin, true}, {kMin, kMax, kMax, true}, {0, kMax, kMin, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.value << " in " << c.min << ".." << c.max);
    const IntRangeRule rule("invalid", "Out of range", c.min, c.max);
    EXPECT_TRUE(
        hasOutcome(rule.validate(c.value), c.valid ? passes() : fails("invalid", "Out of range")));
  }
}

}  // namespace
}  // namespace sdkcore
