#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sdkcore/export.h"

namespace sdkcore {

// Base58 over the alphabet "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz", each
// leading zero byte written as "1"; no version byte, no checksum. Thread-safe (stateless).
//
// Cost: both directions are big-number base conversions, quadratic in the input length. Encoding
// 64 KiB takes about 25 ms of one core of a current x86-64 processor, decoding 64 KiB of text
// about half that, and every doubling of the length makes it four times as long (1 MiB: seconds).
// The codec itself takes any length; code that receives input from outside should refuse more
// than kMaxInputBytes, as the library does for stored-payment-method identifiers and the C
// interface for all input. No real identifier comes near it.
struct SDKCORE_EXPORT Base58 {
  // The longest input, in bytes of data to encode or of text to decode, that the library itself
  // converts from outside input.
  static constexpr std::size_t kMaxInputBytes = 64 * 1024;

  // Returns the Base58 text of 'data'; the empty text for no bytes. Never fails.
  static std::string encode(std::span<const std::uint8_t> data);
  // Returns the bytes of 'text', or nullopt when 'text' is empty or holds a character outside
  // the alphabet (white space included).
  static std::optional<std::vector<std::uint8_t>> decode(std::string_view text);
};

}  // namespace sdkcore
