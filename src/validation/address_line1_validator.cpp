#include "sdkcore/address_line1_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

AddressLine1Validator::AddressLine1Validator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(requiredField()));
}

}  // namespace sdkcore
