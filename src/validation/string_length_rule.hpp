#pragma once

#include <cstdint>
#include <string>

#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// Passes when the number of characters (extended grapheme clusters) lies in
// [minLength, maxLength], both inclusive. A base letter with a combining accent and CR LF each
// count as one; invalid UTF-8 counts one character per replaced sequence. A text too long to
// segment (over 2^31 - 1 bytes of non-ASCII) fails. Immutable; thread-safe.
class StringLengthRule {
 public:
  using DATA = std::string;

  StringLengthRule(std::string code, std::string message, std::int64_t minLength,
                   std::int64_t maxLength);

  ValidationResult validate(const DATA& data) const;

 private:
  std::string code_;
  std::string message_;
  std::int64_t minLength_;
  std::int64_t maxLength_;
};

}  // namespace sdkcore
