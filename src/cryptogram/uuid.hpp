#pragma once

#include <array>
#include <cstdint>

#include "cryptogram/random_bytes.hpp"

namespace sdkcore {

// The 36 characters of a UUID's text form, without a string to allocate.
using UuidText = std::array<char, 36>;

// Returns a fresh random version-4 UUID in its 36-character upper-case form, such as
// "3F2504E0-4F89-41D3-9A0C-0305E82C3301", from the operating system's random generator through
// randomBytes(). Throws RandomSourceError when the generator fails. Thread-safe and fork-safe.
UuidText randomUuidText();

// Returns the upper-case 8-4-4-4-12 form of 'bytes' with the version-4 and RFC 4122 variant bits
// set, whatever 'bytes' holds there.
UuidText version4UuidText(std::array<std::uint8_t, 16> bytes) noexcept;

}  // namespace sdkcore
