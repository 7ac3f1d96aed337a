#include "sdkcore/phone_number_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

PhoneNumberValidator::PhoneNumberValidator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(requiredField()));
  appendRule<RegExRule>(CODE_INVALID_FORMAT, localized(phoneNumberIncorrect()), toRegex(PATTERN));
}

}  // namespace sdkcore
