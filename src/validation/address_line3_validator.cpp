#include "sdkcore/address_line3_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

AddressLine3Validator::AddressLine3Validator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(requiredField()));
}

}  // namespace sdkcore
