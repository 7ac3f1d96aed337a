#include "validation/string_required_rule.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <string_view>
#include <utility>

namespace sdkcore {
namespace {

// The trimmed set: category Z plus tab, LF, VT, FF, CR and NEL. Not u_isWhitespace(), which
// leaves out NBSP and includes the separators U+001C..U+001F.
bool isTrimmed(UChar32 c) noexcept {
  if (c < 0) return false;  // ill-formed UTF-8: content, not white space
  if (c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x85) return true;
  return (U_GET_GC_MASK(c) & U_GC_Z_MASK) != 0;
}

// True when 'text' is empty or made only of trimmed characters.
bool isBlankText(std::string_view text) noexcept {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int64_t>(text.size());
  // Trimming both ends leaves nothing exactly when every code point is trimmed.
  for (std::int64_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (!isTrimmed(c)) return false;
  }
  return true;
}

}  // namespace

StringRequiredRule::StringRequiredRule(std::string code, std::string message)
    : code_(std::move(code)), message_(std::move(message)) {}

ValidationResult StringRequiredRule::validate(const DATA& data) const {
  if (isBlankText(data)) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
