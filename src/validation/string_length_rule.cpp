#include "validation/string_length_rule.hpp"

#include <exception>
#include <utility>

#include "text/unicode_text.hpp"

namespace sdkcore {

StringLengthRule::StringLengthRule(std::string code, std::string message, std::int64_t minLength,
                                   std::int64_t maxLength)
    : code_(std::move(code)),
      message_(std::move(message)),
      minLength_(minLength),
      maxLength_(maxLength) {}

ValidationResult StringLengthRule::validate(const DATA& data) const {
  std::int64_t count = 0;
  try {
    count = characterCount(data);
  } catch (const std::exception&) {
    // Memory exhaustion: the length is unknown, so it is not within any bounds.
    return ValidationResult::error(code_, message_);
  }
  if (count < minLength_ || count > maxLength_) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
