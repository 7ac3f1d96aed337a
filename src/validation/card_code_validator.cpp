#include "sdkcore/card_code_validator.hpp"

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_length_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

CardCodeValidator::CardCodeValidator() : CardCodeValidator(false) {}

CardCodeValidator::CardCodeValidator(bool refuseLineTerminators) {
  const std::string message = localized(cardIncorrectCVC());
  appendRule<StringRequiredRule>(CODE_REQUIRED, message);
  appendRule<StringLengthRule>(CODE_INVALID, message, minLength, maxLength);
  appendRule<RegExRule>(CODE_INVALID, message, toRegex(PATTERN), refuseLineTerminators);
}

}  // namespace sdkcore
