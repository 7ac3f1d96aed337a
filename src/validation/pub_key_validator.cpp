#include "validation/pub_key_validator.hpp"

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

PubKeyValidator::PubKeyValidator() {
  appendRule<StringRequiredRule>(CODE_REQUIRED, localized(pubKeyRequired()));
}

}  // namespace sdkcore
