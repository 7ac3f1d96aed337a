#include "sdkcore/binding_utils.hpp"

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "base/wiped_text.hpp"
#include "sdkcore/base58.hpp"
#include "unicode/properties.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore {
namespace {

constexpr std::string_view kPrefix = "pm_";

// Returns 'text' (well-formed UTF-8) without the Unicode white space (which
// includes the line breaks) at both ends.
std::string trimmed(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end) {
    const unicode::Decoded decoded = unicode::decodeAt(text, begin);
    if (!unicode::isWhiteSpace(decoded.codePoint)) break;
    begin += decoded.length;
  }
  while (end > begin) {
    // A well-formed text: the last code point starts at the last byte that is no continuation.
    std::size_t last = end - 1;
    while (last > begin && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
    if (!unicode::isWhiteSpace(unicode::decodeAt(text, last).codePoint)) break;
    end = last;
  }
  return std::string(text.substr(begin, end - begin));
}

}  // namespace

std::string BindingUtils::decodeBindingId(std::string_view storedPaymentMethodId) {
  if (!storedPaymentMethodId.starts_with(kPrefix)) return {};
  const std::string_view encoded = storedPaymentMethodId.substr(kPrefix.size());
  // Decoding is quadratic in the length; far longer than any real identifier is malformed.
  if (encoded.empty() || encoded.size() > Base58::kMaxInputBytes) return {};
  try {
    auto bytes = Base58::decode(encoded);
    if (!bytes) return {};
    const WipeOnExit wipeBytes(*bytes);
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    // Overlong forms, surrogates and values above U+10FFFF included: not an identifier.
    if (!unicode::isValidUtf8(text)) return {};
    return trimmed(text);
  } catch (const std::bad_alloc&) {
    // An identifier too large to decode is malformed as far as the caller is concerned.
    return {};
  }
}

}  // namespace sdkcore
