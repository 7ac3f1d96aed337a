#include "validation/order_number_validator.hpp"

#include <gtest/gtest.h>

#include <string>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(OrderNumberValidator, RulesInOrder) {
  const auto message = localized(orderIncorrectLength());
  testing::expectCases(OrderNumberValidator(),
                       {
                           {"one character", "x", passes()},
                           {"long", std::string(5000, '7'), passes()},
                           // Longer than a per-character backtracking stack would hold.
                           {"two million characters", std::string(2'000'000, '7'), passes()},
                           {"space after two million", std::string(2'000'000, '7') + " 1",
                            fails(CODE_INVALID, message)},
                           {"space inside", "order 1", fails(CODE_INVALID, message)},
                           {"empty", "", fails(CODE_REQUIRED, message)},
                           {"blank", " ", fails(CODE_REQUIRED, message)},
                       });
}

}  // namespace
}  // namespace sdkcore
