#include "validation/pub_key_validator.hpp"

#include <gtest/gtest.h>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(PubKeyValidator, OnlyPresenceIsChecked) {
  const auto required = fails(CODE_REQUIRED, localized(pubKeyRequired()));
  testing::expectCases(
      PubKeyValidator(),
      {
          {"PEM text", "-----BEGIN PUBLIC KEY-----\nMIIB\n-----END PUBLIC KEY-----\n", passes()},
          {"any non-blank text", "not a key", passes()},
          {"spaces and line breaks", " \n\r\n\t ", required},
          {"empty", "", required},
      });
}

}  // namespace
}  // namespace sdkcore
