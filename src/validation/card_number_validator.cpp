#include "sdkcore/card_number_validator.hpp"

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/luhn_string_rule.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_length_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

CardNumberValidator::CardNumberValidator() : CardNumberValidator(false) {}

CardNumberValidator::CardNumberValidator(bool refuseLineTerminators) {
  const std::string numberMessage = localized(cardIncorrectNumber());
  appendRule<StringRequiredRule>(CODE_REQUIRED, numberMessage);
  appendRule<RegExRule>(CODE_INVALID_FORMAT, numberMessage, toRegex(PATTERN),
                        refuseLineTerminators);
  appendRule<StringLengthRule>(CODE_INVALID, localized(cardIncorrectLength()), MIN_LENGTH,
                               MAX_LENGTH);
  appendRule<LuhnStringRule>(CODE_INVALID, numberMessage);
}

}  // namespace sdkcore
