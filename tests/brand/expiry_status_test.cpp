#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

using std::chrono::June;
using std::chrono::year;

constexpr auto kInvalid = ExpiryStatus::invalid;
constexpr auto kOpen = ExpiryStatus::potentiallyValid;
constexpr auto kValid = ExpiryStatus::valid;

TEST(ExpiryStatus, JudgedAgainstTheGivenMonth) {
  const std::chrono::year_month now = year(2025) / June;
  struct Case {
    std::string text;
    ExpiryStatus status;
  };
  const std::vector<Case> cases = {
      {"06/25", kValid},    // this month
      {"05/25", kInvalid},  // last month
      {"12/44", kValid},    // 19 years ahead
      {"01/45", kInvalid},  // 20 years ahead
      {"12/2044", kValid},
      {"01/2045", kInvalid},
      {"07 / 2030", kValid},
      {"0730", kValid},
      {"730", kValid},  // 7/30
      {"00/30", kInvalid},
      {"13/30", kInvalid},
      {"12/99", kInvalid},
      {"12 30", kInvalid},  // spaces only around "/"
      {"12/300", kInvalid},
      {"", kOpen},
      {"1", kOpen},
      {"12", kOpen},
      {"12 ", kOpen},
      {"12/", kOpen},
      {"12/2", kOpen},
      {"12/20", kOpen},  // 2020 is past, but 2030 may follow
      {"12/204", kOpen},
      {"12/205", kInvalid},
      {"5/25", kInvalid},
      {"12/25\n", kInvalid},
      {"\xef\xbc\x91\xef\xbc\x92/30", kInvalid},  // full-width digits
  };
  for (const Case& c : cases) EXPECT_EQ(expiryStatus(c.text, now), c.status) << c.text;
}

TEST(ExpiryStatus, LastMonthOfTheYearAndAnImpossibleNow) {
  EXPECT_EQ(expiryStatus("12/25", year(2025) / 12), kValid);
  EXPECT_EQ(expiryStatus("1", year(2025) / 12), kOpen);  // 1/26
  EXPECT_EQ(expiryStatus("12/25", year(2025) / 13), kInvalid);
}

}  // namespace
}  // namespace sdkcore
