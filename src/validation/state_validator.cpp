#include "sdkcore/state_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

StateValidator::StateValidator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(requiredField()));
}

}  // namespace sdkcore
