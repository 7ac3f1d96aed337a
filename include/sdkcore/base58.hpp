#pragma once

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
struct SDKCORE_EXPORT Base58 {
  // Returns the Base58 text of 'data'; the empty text for no bytes. Never fails.
  static std::string encode(std::span<const std::uint8_t> data);
  // Returns the bytes of 'text', or nullopt when 'text' is empty or holds a character outside
  // the alphabet (white space included).
  static std::optional<std::vector<std::uint8_t>> decode(std::string_view text);
};

}  // namespace sdkcore
