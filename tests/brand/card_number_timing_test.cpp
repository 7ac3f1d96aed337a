// How fast brand detection is: a card-entry form calls it on every keystroke.
#include <gtest/gtest.h>
#include <time.h>

#include <cstdio>
#include <string>

#include "sdkcore/card_brand.hpp"
#include "support/resource_use.hpp"

namespace sdkcore {
namespace {

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// CPU time of this thread, so other programs on a busy machine do not count.
TEST(DetectCardBrandsTiming, AMillionSixDigitPrefixesUnderHalfASecond) {
  if (!testing::resourceBoundsApply()) {
    GTEST_SKIP() << "the bound holds for optimized, native builds without sanitizers";
  }
  char prefix[8];
  std::size_t found = 0;
  const double start = threadCpuSeconds();
  for (int value = 0; value < 1000000; ++value) {
    std::snprintf(prefix, sizeof prefix, "%06d", value);
    found += detectCardBrands(prefix).size();
  }
  const double seconds = threadCpuSeconds() - start;
  EXPECT_GT(found, 0U);
  EXPECT_LT(seconds, 0.5);
  RecordProperty("seconds", std::to_string(seconds));
}

}  // namespace
}  // namespace sdkcore
