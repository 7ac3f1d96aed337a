#include "sdkcore/card_number_validator.hpp"

#include <gtest/gtest.h>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(CardNumberValidator, RulesInOrder) {
  const auto number = localized(cardIncorrectNumber());
  const auto length = localized(cardIncorrectLength());
  testing::expectCases(
      CardNumberValidator(),
      {
          {"empty", "", fails(CODE_REQUIRED, number)},
          {"spaces", "   ", fails(CODE_REQUIRED, number)},
          {"NBSP and ideographic space", "\xc2\xa0\xe3\x80\x80", fails(CODE_REQUIRED, number)},
          {"grouped: format before length", "4111 1111 1111 1111",
           fails(CODE_INVALID_FORMAT, number)},
          {"short with a letter", "41a", fails(CODE_INVALID_FORMAT, number)},
          {"15 digits", "411111111111111", fails(CODE_INVALID, length)},
          {"16 digits", "4111111111111111", passes()},
          {"19 digits", "4111111111111111110", passes()},
          {"checksum off", "4111111111111112", fails(CODE_INVALID, number)},
          {"20 digits with a good checksum", "41111111111111111115", fails(CODE_INVALID, length)},
          {"full-width digits",
           "\xef\xbc\x94\xef\xbc\x91\xef\xbc\x91\xef\xbc\x91"
           "111111111111",
           fails(CODE_INVALID_FORMAT, number)},
          {"Arabic-Indic digit", "411111111111111\xd9\xa1", fails(CODE_INVALID_FORMAT, number)},
          {"combining accent on a digit", "4111111111111111\xcc\x81",
           fails(CODE_INVALID_FORMAT, number)},
          {"final line feed", "4111111111111111\n", passes()},
          {"final CR LF", "4111111111111111\r\n", passes()},
          {"leading line feed", "\n4111111111111111", fails(CODE_INVALID_FORMAT, number)},
          {"invalid UTF-8", "4111111111111111\xff", fails(CODE_INVALID_FORMAT, number)},
          {"invalid UTF-8 alone", "\xc3", fails(CODE_INVALID_FORMAT, number)},
      });
}

}  // namespace
}  // namespace sdkcore
