// The stored-payment-method identifier decoder: the input as an identifier, and as a binding id
// that must come back from its own identifier.
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "sdkcore/base58.hpp"
#include "sdkcore/binding_utils.hpp"

namespace {

using sdkcore::BindingUtils;

constexpr std::string_view kPrefix = "pm_";

bool startsOrEndsWithWhiteSpace(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  UChar32 first = 0;
  UChar32 last = 0;
  std::int32_t at = 0;
  U8_NEXT(bytes, at, length, first);
  at = length;
  U8_PREV(bytes, 0, at, last);
  return u_isUWhiteSpace(first) || u_isUWhiteSpace(last);
}

std::string identifierOf(std::string_view bindingId) {
  return std::string(kPrefix) +
         sdkcore::Base58::encode(
             std::span(reinterpret_cast<const std::uint8_t*>(bindingId.data()), bindingId.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = sdkcore::fuzzing::textOf(data, size);

  // What comes out is empty, or valid UTF-8 without white space at its ends that the
  // identifier's Base58 part decodes to.
  const std::string id = BindingUtils::decodeBindingId(text);
  if (!id.empty()) {
    SDKCORE_FUZZ_CHECK(sdkcore::fuzzing::isUtf8(id));
    SDKCORE_FUZZ_CHECK(!startsOrEndsWithWhiteSpace(id));
    SDKCORE_FUZZ_CHECK(text.starts_with(kPrefix));
    const auto bytes = sdkcore::Base58::decode(text.substr(kPrefix.size()));
    SDKCORE_FUZZ_CHECK(bytes &&
                       std::string(bytes->begin(), bytes->end()).find(id) != std::string::npos);
  }

  // A binding id that is valid UTF-8 and trimmed survives its identifier.
  if (!text.empty() && text.size() <= sdkcore::Base58::kMaxInputBytes / 2 &&
      sdkcore::fuzzing::isUtf8(text) && !startsOrEndsWithWhiteSpace(text)) {
    SDKCORE_FUZZ_CHECK(BindingUtils::decodeBindingId(identifierOf(text)) == text);
  }
  return 0;
}
