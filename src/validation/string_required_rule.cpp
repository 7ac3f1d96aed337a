#include "validation/string_required_rule.hpp"

#include <cstdint>
#include <string_view>
#include <utility>

#include "text/unicode_text.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore {
namespace {

// True when 'text' is empty or made only of trimmed characters.
bool isBlankText(std::string_view text) noexcept {
  // Trimming both ends leaves nothing exactly when every code point is trimmed.
  for (std::size_t at = 0; at < text.size();) {
    const unicode::Decoded decoded = unicode::decodeAt(text, at);
    if (!isTrimmedWhiteSpace(decoded.codePoint)) return false;
    at += decoded.length;
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
