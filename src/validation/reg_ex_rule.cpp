#include "validation/reg_ex_rule.hpp"

#include <utility>

namespace sdkcore {

RegExRule::RegExRule(std::string code, std::string message, Regex regex)
    : code_(std::move(code)), message_(std::move(message)), regex_(std::move(regex)) {}

ValidationResult RegExRule::validate(const DATA& data) const {
  if (!regex_.findIn(data)) return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
