#pragma once

#include <string>

#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// Passes when something remains after trimming white space and line breaks from both ends:
// Unicode category Z (space, line and paragraph separators, NBSP, ideographic space, ...), tab,
// U+000A to U+000D and U+0085. Invalid UTF-8 bytes count as content (as a replacement
// character would), so they pass this rule and are left to the stricter rules that follow.
// Immutable; thread-safe.
class StringRequiredRule {
 public:
  using DATA = std::string;

  StringRequiredRule(std::string code, std::string message);

  // VALID() when 'data' holds a non-blank character; otherwise the rule's code and message.
  ValidationResult validate(const DATA& data) const;

  const std::string& code() const noexcept { return code_; }
  const std::string& message() const noexcept { return message_; }

 private:
  std::string code_;
  std::string message_;
};

}  // namespace sdkcore
