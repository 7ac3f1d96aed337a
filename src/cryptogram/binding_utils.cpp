#include "sdkcore/binding_utils.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "base/wiped_text.hpp"
#include "sdkcore/base58.hpp"

namespace sdkcore {
namespace {

constexpr std::string_view kPrefix = "pm_";

// The code points of a binding id, overwritten when freed.
using CodePoints = std::vector<UChar32, WipingAllocator<UChar32>>;

// Returns the code points of 'bytes', or nullopt when they are not well-formed UTF-8 (overlong
// forms, surrogates and values above U+10FFFF included).
std::optional<CodePoints> codePoints(const std::vector<std::uint8_t>& bytes) {
  const auto* data = bytes.data();
  const auto length = static_cast<std::int64_t>(bytes.size());
  CodePoints result;
  for (std::int64_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(data, i, length, c);
    if (c < 0) return std::nullopt;
    result.push_back(c);
  }
  return result;
}

// Returns the byte range of 'bytes' without the Unicode white space (which includes the line
// breaks) at both ends.
std::string trimmed(const std::vector<std::uint8_t>& bytes, const CodePoints& points) {
  std::size_t begin = 0;
  std::size_t end = bytes.size();
  for (auto it = points.begin(); it != points.end() && u_isUWhiteSpace(*it); ++it) {
    begin += static_cast<std::size_t>(U8_LENGTH(*it));
  }
  for (auto it = points.rbegin(); it != points.rend() && end > begin && u_isUWhiteSpace(*it);
       ++it) {
    end -= static_cast<std::size_t>(U8_LENGTH(*it));
  }
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(begin),
                     bytes.begin() + static_cast<std::ptrdiff_t>(end));
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
    const auto points = codePoints(*bytes);
    if (!points) return {};
    return trimmed(*bytes, *points);
  } catch (const std::bad_alloc&) {
    // An identifier too large to decode is malformed as far as the caller is concerned.
    return {};
  }
}

}  // namespace sdkcore
