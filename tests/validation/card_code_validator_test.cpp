#include "sdkcore/card_code_validator.hpp"

#include <gtest/gtest.h>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(CardCodeValidator, RulesInOrder) {
  const auto message = localized(cardIncorrectCVC());
  const auto invalid = fails(CODE_INVALID, message);
  testing::expectCases(CardCodeValidator(),
                       {
                           {"three digits", "123", passes()},
                           {"two digits", "12", invalid},
                           {"four digits", "1234", invalid},
                           {"letter: pattern code is invalid, not invalid-format", "12a", invalid},
                           {"blank", "   ", fails(CODE_REQUIRED, message)},
                           {"empty", "", fails(CODE_REQUIRED, message)},
                           {"Arabic-Indic digits", "\xd9\xa1\xd9\xa2\xd9\xa3", invalid},
                           {"digit with combining accent counts once",
                            "12"
                            "3\xcc\x81",
                            invalid},
                           {"final line feed makes four characters", "123\n", invalid},
                           // $ matches before a final line terminator; token generation refuses it.
                           {"two digits and a final line feed", "12\n", passes()},
                           {"invalid UTF-8", "12\xff", invalid},
                       });
}

}  // namespace
}  // namespace sdkcore
