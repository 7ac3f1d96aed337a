#include "validation/string_length_rule.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(StringLengthRule, CountsCharactersWithInclusiveBounds) {
  const StringLengthRule rule("invalid", "Wrong length", 3, 3);
  const auto wrong = fails("invalid", "Wrong length");
  testing::expectCases(
      rule, {
                {"two", "12", wrong},
                {"four", "1234", wrong},
                {"three", "123", passes()},
                {"empty", "", wrong},
                {"combining accent joins its letter",
                 "ab"
                 "e\xcc\x81",
                 passes()},
                {"CR LF is one character", "ab\r\n", passes()},
                {"LF CR are two", "a\n\r", passes()},
                {"three two-byte letters", "\xc3\xa9\xc3\xa9\xc3\xa9", passes()},
                {"flag of two regional indicators is one", "ab\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa",
                 passes()},
                {"three emoji", "\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", passes()},
            });
}

TEST(StringLengthRule, OpenUpperBound) {
  const StringLengthRule rule("invalid", "m", 1, std::numeric_limits<std::int64_t>::max());
  testing::expectCases(rule, {
                                 {"empty", "", fails("invalid", "m")},
                                 {"one", "x", passes()},
                                 {"long", std::string(100000, 'x'), passes()},
                             });
}

}  // namespace
}  // namespace sdkcore
