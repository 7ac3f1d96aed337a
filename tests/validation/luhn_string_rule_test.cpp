#include "validation/luhn_string_rule.hpp"

#include <gtest/gtest.h>

#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(LuhnStringRule, SumsTheDigitsThatStandAlone) {
  const LuhnStringRule rule("invalid", "Bad number");
  const auto bad = fails("invalid", "Bad number");
  testing::expectCases(
      rule, {
                {"test card", "4111111111111111", passes()},
                {"grouped with spaces", "4111 1111 1111 1111", passes()},
                {"grouped with hyphens", "4111-1111-1111-1111", passes()},
                {"last digit off", "4111111111111112", bad},
                {"classic example", "79927398713", passes()},
                {"classic example off", "79927398710", bad},
                {"second digit doubled above 4", "5555555555554444", passes()},
                {"empty: no digits", "", passes()},
                {"letters: no digits", "abc", passes()},
                {"one", "1", bad},
                {"zero", "0", passes()},
                {"final line feed", "4111111111111111\n", passes()},
                {"final CR LF", "4111111111111111\r\n", passes()},
                // Digits of other scripts are skipped, so a text of them has no digits.
                {"Arabic-Indic digits", "\xd9\xa4\xd9\xa1\xd9\xa1", passes()},
                {"full-width digit skipped", "4111111111111111\xef\xbc\x92", passes()},
                // A digit carrying a combining mark is one character that is not a number.
                {"digit with combining accent",
                 "4111111111111111"
                 "2\xcc\x81",
                 passes()},
                // U+0600 is prepended to the digit after it; that pair is not a number.
                {"digit after a prepended sign",
                 "\xd8\x80"
                 "74111111111111111",
                 passes()},
                {"non-ASCII elsewhere keeps the sum",
                 "\xc3\xa9"
                 "4111111111111112",
                 bad},
                {"invalid UTF-8 is skipped", "4111111111111111\xff", passes()},
                {"invalid UTF-8 with a wrong number",
                 "\xfe"
                 "4111111111111112",
                 bad},
            });
}

}  // namespace
}  // namespace sdkcore
