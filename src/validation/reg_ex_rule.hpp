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

  // With 'refuseLineTerminators', a text holding a line terminator anywhere (LF, VT, FF, CR,
  // U+0085, U+2028, U+2029) fails whatever the pattern says; for texts that go into the one-line
  // payment string. Without it, the pattern alone decides (its $ lets one final terminator stand).
  RegExRule(std::string code, std::string message, Regex regex, bool refuseLineTerminators = false);

  ValidationResult validate(const DATA& data) const;

 private:
  std::string code_;
  std::string message_;
  Regex regex_;
  bool refuseLineTerminators_;
};

}  // namespace sdkcore
