#include "sdkcore/email_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

EmailValidator::EmailValidator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(requiredField()));
  appendRule<RegExRule>(CODE_INVALID_FORMAT, localized(emailIncorrect()), toRegex(PATTERN));
}

}  // namespace sdkcore
