// Base58 both ways: the input as text to decode and as bytes to encode, against the textbook
// digit-by-digit conversion.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.hpp"
#include "sdkcore/base58.hpp"
#include "support/base58_reference.hpp"

namespace {

// The reference is quadratic per digit; longer inputs are checked by round trips only.
constexpr std::size_t kReferenceLimit = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using sdkcore::Base58;
  const std::string_view text = sdkcore::fuzzing::textOf(data, size);
  const std::span<const std::uint8_t> bytes(data, size);

  // A text that decodes is the one Base58 form of its bytes.
  const auto decoded = Base58::decode(text);
  if (decoded) SDKCORE_FUZZ_CHECK(Base58::encode(*decoded) == text);
  const std::string encoded = Base58::encode(bytes);
  if (size > 0) {
    SDKCORE_FUZZ_CHECK(Base58::decode(encoded) == std::vector(bytes.begin(), bytes.end()));
  }
  if (size <= kReferenceLimit) {
    SDKCORE_FUZZ_CHECK(decoded == sdkcore::testing::referenceBase58Decode(text));
    SDKCORE_FUZZ_CHECK(encoded == sdkcore::testing::referenceBase58Encode(bytes));
  }
  return 0;
}
