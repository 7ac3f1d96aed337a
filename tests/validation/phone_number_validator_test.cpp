#include "sdkcore/phone_number_validator.hpp"

#include <gtest/gtest.h>

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(PhoneNumberValidator, OptionalPlusThenAsciiDigits) {
  const auto bad = fails(CODE_INVALID_FORMAT, localized(phoneNumberIncorrect()));
  testing::expectCases(PhoneNumberValidator(),
                       {
                           {"with plus", "+123", passes()},
                           {"without plus", "123", passes()},
                           {"40 digits: no length limit", std::string(40, '9'), passes()},
                           {"plus alone", "+", bad},
                           {"two pluses", "++7", bad},
                           {"space", "+7 900", bad},
                           {"hyphen", "7-900", bad},
                           {"parentheses", "(900)1234567", bad},
                           {"full-width digits", "\xef\xbc\x97\xef\xbc\x99", bad},
                           {"spaces", "   ", fails(CODE_REQUIRED, localized(requiredField()))},
                       });
}

}  // namespace
}  // namespace sdkcore
