#include "sdkcore/card_holder_validator.hpp"

#include <gtest/gtest.h>

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(CardHolderValidator, RulesInOrder) {
  const auto message = localized(cardIncorrectCardHolder());
  const auto format = fails(CODE_INVALID_FORMAT, message);
  testing::expectCases(CardHolderValidator(),
                       {
                           {"upper case", "JOHN DOE", passes()},
                           {"lower case", "john doe", passes()},
                           {"30 letters", std::string(30, 'A'), passes()},
                           {"31 letters", std::string(31, 'A'), fails(CODE_INVALID, message)},
                           {"31 characters with a digit: length first", std::string(30, 'A') + "1",
                            fails(CODE_INVALID, message)},
                           {"blank", "  ", fails(CODE_REQUIRED, message)},
                           {"precomposed E acute", "JOS\xc3\x89", format},
                           {"combining acute", "JOSE\xcc\x81", format},
                           {"apostrophe", "O'BRIEN", format},
                           {"hyphen", "JEAN-PAUL", format},
                           {"full stop", "JOHN J. DOE", format},
                           {"tab inside", "JOHN\tDOE", format},
                           {"final line feed", "JOHN DOE\n", passes()},
                           {"invalid UTF-8", "JOHN\xc3", format},
                       });
}

}  // namespace
}  // namespace sdkcore
