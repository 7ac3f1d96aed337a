#include "sdkcore/card_holder_validator.hpp"

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_length_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

CardHolderValidator::CardHolderValidator() : CardHolderValidator(false) {}

CardHolderValidator::CardHolderValidator(bool refuseLineTerminators) {
  const std::string message = localized(cardIncorrectCardHolder());
  appendRule<StringRequiredRule>(CODE_REQUIRED, message);
  appendRule<StringLengthRule>(CODE_INVALID, message, 0, MAX_LENGTH);
  appendRule<RegExRule>(CODE_INVALID_FORMAT, message, toRegex(PATTERN), refuseLineTerminators);
}

}  // namespace sdkcore
