#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The textbook digit-by-digit Base58 conversion, one pass over the number per input byte or
// digit: an oracle for the library's grouped conversion in the tests and the fuzz targets.
namespace sdkcore::testing {

std::string referenceBase58Encode(std::span<const std::uint8_t> data);
// nullopt for the empty text and for any character outside the alphabet.
std::optional<std::vector<std::uint8_t>> referenceBase58Decode(std::string_view text);

}  // namespace sdkcore::testing
