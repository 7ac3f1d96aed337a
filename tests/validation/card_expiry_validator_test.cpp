#include "sdkcore/card_expiry_validator.hpp"

#include <gtest/gtest.h>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(CardExpiryValidator, RulesInOrder) {
  const auto message = localized(cardIncorrectExpiry());
  const auto format = fails(CODE_INVALID_FORMAT, message);
  testing::expectCases(
      CardExpiryValidator(),
      {
          {"valid", "12/25", passes()},
          {"January 2000", "01/00", passes()},
          {"past dates pass", "01/20", passes()},
          {"empty", "", fails(CODE_REQUIRED, message)},
          {"blank", " \t", fails(CODE_REQUIRED, message)},
          {"one-digit month", "1/25", format},
          {"hyphen", "12-25", format},
          {"four-digit year", "12/2025", format},
          {"leading space", " 12/25", format},
          {"month thirteen", "13/25", fails(CODE_INVALID, message)},
          {"month zero", "00/25", fails(CODE_INVALID, message)},
          {"Arabic-Indic digits pass the format, not the numbers",
           "\xd9\xa1\xd9\xa2/\xd9\xa2\xd9\xa5", fails(CODE_INVALID, message)},
          {"full-width digits pass the format, not the numbers",
           "\xef\xbc\x91\xef\xbc\x92/\xef\xbc\x92\xef\xbc\x95", fails(CODE_INVALID, message)},
          {"final line feed", "12/25\n", passes()},
          {"final CR LF", "12/25\r\n", passes()},
          {"invalid UTF-8", "12/2\xff", format},
      });
}

}  // namespace
}  // namespace sdkcore
