#pragma once

#include <cstdint>
#include <string>

#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// Passes when min <= value <= max. Immutable; thread-safe.
class IntRangeRule {
 public:
  using DATA = std::int64_t;

  IntRangeRule(std::string code, std::string message, std::int64_t min, std::int64_t max);

  ValidationResult validate(const DATA& data) const;

 private:
  std::string code_;
  std::string message_;
  std::int64_t min_;
  std::int64_t max_;
};

}  // namespace sdkcore
