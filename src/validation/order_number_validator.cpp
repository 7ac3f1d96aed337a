#include "validation/order_number_validator.hpp"

#include <cstdint>
#include <limits>
#include <string>

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/string_extensions.hpp"
#include "sdkcore/validation_result.hpp"
#include "validation/reg_ex_rule.hpp"
#include "validation/string_length_rule.hpp"
#include "validation/string_required_rule.hpp"

namespace sdkcore {

OrderNumberValidator::OrderNumberValidator() {
  const std::string message = localized(orderIncorrectLength());
  appendRule<StringRequiredRule>(CODE_REQUIRED, message);
  appendRule<StringLengthRule>(CODE_INVALID, message, MIN_LENGTH,
                               std::numeric_limits<std::int64_t>::max());
  appendRule<RegExRule>(CODE_INVALID, message, toRegex(PATTERN),
                        /*refuseLineTerminators=*/true);
}

}  // namespace sdkcore
