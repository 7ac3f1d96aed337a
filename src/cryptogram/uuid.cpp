#include "cryptogram/uuid.hpp"

#include <cstddef>

namespace sdkcore {

// Written out by hand: the layout is a fixed 36-character pattern, which no standard type
// formats.
UuidText version4UuidText(std::array<std::uint8_t, 16> bytes) noexcept {
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // variant 10xx
  static constexpr char kDigits[] = "0123456789ABCDEF";
  UuidText text;
  text.fill('-');
  std::size_t at = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) ++at;  // over a '-'
    text[at++] = kDigits[bytes[i] >> 4];
    text[at++] = kDigits[bytes[i] & 0x0F];
  }
  return text;
}

UuidText randomUuidText() {
  std::array<std::uint8_t, 16> bytes{};
  randomBytes(bytes);
  return version4UuidText(bytes);
}

}  // namespace sdkcore
