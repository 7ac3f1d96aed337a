#include "validation/string_length_rule.hpp"

#include <utility>

#include "model/unicode_text.hpp"

namespace sdkcore {

StringLengthRule::StringLengthRule(std::string code, std::string message, std::int64_t minLength,
                                   std::int64_t maxLength)
    : code_(std::move(code)),
      message_(std::move(message)),
      minLength_(minLength),
      maxLength_(maxLength) {}

ValidationResult StringLengthRule::validate(const DATA& data) const {
  const auto count = static_cast<std::int64_t>(characterCount(data));
  if (count < minLength_ || count > maxLength_) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
