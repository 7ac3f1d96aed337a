#pragma once

#include <string>

#include "sdkcore/regex.hpp"
#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// Passes when 'regex' finds at least one match anywhere in the input (a search, not a whole-text
// match; the library's patterns are anchored with ^ and $, and $ also matches before one final
// line terminator). The expression is compiled by the caller, once. Immutable; thread-safe.
class RegExRule {
 public:
  using DATA = std::string;

  RegExRule(std::string code, std::string message, Regex regex);

  ValidationResult validate(const DATA& data) const;

 private:
  std::string code_;
  std::string message_;
  Regex regex_;
};

}  // namespace sdkcore
