#pragma once

#include <cstdint>

namespace sdkcore {

// The full 128-bit product of two 64-bit numbers, as two halves.
struct WideProduct {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  friend constexpr bool operator==(const WideProduct&, const WideProduct&) = default;
};

// a * b from four 32 × 32 → 64 products, for compilers without a 128-bit integer type (32-bit
// ARM among them).
constexpr WideProduct multiplyPortable(std::uint64_t a, std::uint64_t b) noexcept {
  constexpr std::uint64_t kLow32 = 0xFFFFFFFF;
  const std::uint64_t aLow = a & kLow32, aHigh = a >> 32, bLow = b & kLow32, bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow;
  const std::uint64_t highLow = aHigh * bLow;
  const std::uint64_t lowHigh = aLow * bHigh;
  // The carries into the high half: three numbers below 2^32, so no overflow.
  const std::uint64_t middle = (lowLow >> 32) + (highLow & kLow32) + (lowHigh & kLow32);
  return {aHigh * bHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32),
          (middle << 32) | (lowLow & kLow32)};
}

// a * b with the compiler's 128-bit integer where it has one (one instruction or two on 64-bit
// targets), else multiplyPortable.
constexpr WideProduct multiplyWide(std::uint64_t a, std::uint64_t b) noexcept {
#ifdef __SIZEOF_INT128__
  __extension__ using Uint128 = unsigned __int128;
  const Uint128 product = Uint128{a} * b;
  return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
  return multiplyPortable(a, b);
#endif
}

}  // namespace sdkcore
