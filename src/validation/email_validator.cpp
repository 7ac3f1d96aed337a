#include "sdkcore/email_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_length_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

EmailValidator::EmailValidator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(requiredField()));
  const std::string incorrect = localized(emailIncorrect());
  appendRule<StringLengthRule>(CODE_INVALID_FORMAT, incorrect, 0, MAX_LENGTH);
  appendRule<RegExRule>(CODE_INVALID_FORMAT, incorrect, toRegex(PATTERN));
}

}  // namespace sdkcore
