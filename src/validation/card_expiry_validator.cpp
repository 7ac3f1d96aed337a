#include "sdkcore/card_expiry_validator.hpp"

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/expiry_rule.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

CardExpiryValidator::CardExpiryValidator() {
  const std::string message = localized(cardIncorrectExpiry());
  appendRule<StringRequiredRule>(CODE_REQUIRED, message);
  appendRule<RegExRule>(CODE_INVALID_FORMAT, message, toRegex(PATTERN));
  appendRule<ExpiryRule>(CODE_INVALID, message);
}

}  // namespace sdkcore
