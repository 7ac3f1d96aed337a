#include "validation/card_binding_id_validator.hpp"

#include <gtest/gtest.h>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(CardBindingIdValidator, RulesInOrder) {
  const auto incorrect = fails(CODE_INVALID, localized(bindingIncorrect()));
  testing::expectCases(CardBindingIdValidator(),
                       {
                           {"plain", "abc123", passes()},
                           {"uuid-like", "5d6a4b6c-1f2e-4a3b-9c8d-7e6f5a4b3c2d", passes()},
                           {"two million characters", std::string(2'000'000, 'b'), passes()},
                           {"space inside", "abc 123", incorrect},
                           {"tab inside", "abc\t123", incorrect},
                           {"NBSP inside",
                            "abc\xc2\xa0"
                            "123",
                            incorrect},
                           {"leading space", " abc", incorrect},
                           {"empty", "", fails(CODE_REQUIRED, localized(bindingRequired()))},
                           {"blank", "\r\n", fails(CODE_REQUIRED, localized(bindingRequired()))},
                       });
}

}  // namespace
}  // namespace sdkcore
