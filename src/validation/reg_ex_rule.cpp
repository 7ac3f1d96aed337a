#include "validation/reg_ex_rule.hpp"

#include <utility>

#include "text/unicode_text.hpp"

namespace sdkcore {

RegExRule::RegExRule(std::string code, std::string message, Regex regex, bool refuseLineTerminators)
    : code_(std::move(code)),
      message_(std::move(message)),
      regex_(std::move(regex)),
      refuseLineTerminators_(refuseLineTerminators) {}

ValidationResult RegExRule::validate(const DATA& data) const {
  if ((refuseLineTerminators_ && containsLineTerminator(data)) || !regex_.findIn(data))
    return ValidationResult::error(code_, message_);
  return ValidationResult::VALID();
}

}  // namespace sdkcore
