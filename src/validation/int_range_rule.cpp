#include "validation/int_range_rule.hpp"

#include <utility>

namespace sdkcore {

IntRangeRule::IntRangeRule(std::string code, std::string message, std::int64_t min,
                           std::int64_t max)
    : code_(std::move(code)), message_(std::move(message)), min_(min), max_(max) {}

ValidationResult IntRangeRule::validate(const DATA& data) const {
  if (data < min_ || data > max_) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
