#pragma once

#include <cstdint>
#include <string>

#include "sdkcore/regex.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/int_range_rule.hpp"

namespace sdkcore {

// Checks the month and year of an "MM/YY" text: everything but decimal digits (any script) and
// full stops is removed, the first two characters are the month and the last two the year, each
// read as an ASCII decimal number (-1 when unreadable). Passes when the month is in 1..12 and
// the year in 0..99; the month is checked first. Both failures carry this rule's code and
// message. The date is not compared with today's. Immutable; thread-safe.
class ExpiryRule {
 public:
  using DATA = std::string;

  static constexpr std::int64_t MONTH_MIN = 1;
  static constexpr std::int64_t MONTH_MAX = 12;
  static constexpr std::int64_t INVALID_FIELD_VALUE = -1;
  static constexpr std::int64_t YEAR_MIN = 0;
  static constexpr std::int64_t YEAR_MAX = 99;

  // Compiles the clean-up pattern once. Throws only what toRegex() throws for a valid pattern
  // (nothing but resource exhaustion).
  ExpiryRule(std::string code, std::string message);

  ValidationResult validate(const DATA& data) const;

  const std::string& code() const noexcept { return code_; }
  const std::string& message() const noexcept { return message_; }

 private:
  std::string code_;
  std::string message_;
  IntRangeRule monthChecker_;
  IntRangeRule yearChecker_;
  Regex notDigitOrDot_;
};

}  // namespace sdkcore
