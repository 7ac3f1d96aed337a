#include "validation/card_binding_id_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

CardBindingIdValidator::CardBindingIdValidator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(bindingRequired()));
  appendRule<RegExRule>(CODE_INVALID, localized(bindingIncorrect()), toRegex(PATTERN),
                        /*refuseLineTerminators=*/true);
}

}  // namespace sdkcore
