#pragma once

#include <cstdint>
#include <optional>

namespace sdkcore {

// Returns 'seconds' with its fraction discarded (truncation toward zero: 12.9 gives 12, -0.5
// gives 0), or nullopt when it is not finite or its truncated value lies outside the signed
// 64-bit range. Never has undefined behaviour, whatever the input. Thread-safe.
std::optional<std::int64_t> wholeSeconds(double seconds) noexcept;

// Returns the current time in seconds since 1970-01-01 00:00 UTC, with its fraction.
double currentTimeSeconds() noexcept;

}  // namespace sdkcore
