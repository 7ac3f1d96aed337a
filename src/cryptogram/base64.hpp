#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Standard Base64 (RFC 4648 alphabet with "+" and "/", "=" padding). Thread-safe (stateless).
namespace sdkcore::base64 {

// Returns the Base64 text of 'data' on one line, padded with "=". Never fails.
std::string encode(std::span<const std::uint8_t> data);

// Returns the bytes of 'text', or nullopt unless 'text' is strict Base64: a multiple of four
// characters, all from the alphabet, with one or two "=" only at the very end. No character is
// skipped. The empty text decodes to no bytes.
std::optional<std::vector<std::uint8_t>> decodeStrict(std::string_view text);

}  // namespace sdkcore::base64
