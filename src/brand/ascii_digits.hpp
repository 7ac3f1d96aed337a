#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

// Digits as the card-entry helpers read them: ASCII '0' to '9' only, never other scripts' digits.
namespace sdkcore {

constexpr bool isAsciiDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// True for a text of ASCII digits only, the empty text included.
constexpr bool isAsciiDigits(std::string_view text) noexcept {
  return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// 10 to the power 'exponent', for exponents up to 9.
constexpr int powerOfTen(std::size_t exponent) noexcept {
  int value = 1;
  for (std::size_t i = 0; i < exponent; ++i) value *= 10;
  return value;
}

}  // namespace sdkcore
