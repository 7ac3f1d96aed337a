#include "cryptogram/timestamp.hpp"

#include <chrono>
#include <cmath>

namespace sdkcore {

std::optional<std::int64_t> wholeSeconds(double seconds) noexcept {
  // Both bounds are exact powers of two, so the comparisons are exact: -2^63 converts, 2^63 does
  // not, and every double in between truncates to a representable value. NaN fails both tests.
  constexpr double kLowest = -0x1p63;
  constexpr double kPastHighest = 0x1p63;
  if (!(seconds >= kLowest && seconds < kPastHighest)) return std::nullopt;
  return static_cast<std::int64_t>(std::trunc(seconds));
}

double currentTimeSeconds() noexcept {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

}  // namespace sdkcore
