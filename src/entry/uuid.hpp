#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sdkcore {

// Thrown when the random generator cannot supply bytes for a UUID.
class RandomSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Returns a fresh random version-4 UUID in its 36-character upper-case form, such as
// "3F2504E0-4F89-41D3-9A0C-0305E82C3301", from OpenSSL's cryptographic random generator.
// Throws RandomSourceError when the generator fails. Thread-safe.
std::string randomUuid();

// Returns the upper-case 8-4-4-4-12 form of 'bytes' with the version-4 and RFC 4122 variant bits
// set, whatever 'bytes' holds there.
std::string formatVersion4Uuid(std::array<std::uint8_t, 16> bytes);

}  // namespace sdkcore
