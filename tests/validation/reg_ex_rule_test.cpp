#include "validation/reg_ex_rule.hpp"

#include <gtest/gtest.h>

#include "sdkcore/string_extensions.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(RegExRule, AnchorsAllowOneFinalLineTerminator) {
  const RegExRule rule("invalid-format", "Digits only", toRegex("^[0-9]+$"));
  const auto bad = fails("invalid-format", "Digits only");
  testing::expectCases(rule, {
                                 {"digits", "123", passes()},
                                 {"final line feed", "123\n", passes()},
                                 {"final CR LF", "123\r\n", passes()},
                                 {"final U+2028", "123\xe2\x80\xa8", passes()},
                                 {"two final line feeds", "123\n\n", bad},
                                 {"leading line feed", "\n123", bad},
                                 {"inner space", "12 3", bad},
                                 {"empty", "", bad},
                                 {"Arabic-Indic digits", "\xd9\xa1\xd9\xa2\xd9\xa3", bad},
                                 {"full-width digits", "\xef\xbc\x91\xef\xbc\x92\xef\xbc\x93", bad},
                                 {"invalid UTF-8 after digits", "123\xff", bad},
                             });
}

TEST(RegExRule, CombiningAccentIsNotALetterOfTheClass) {
  const RegExRule rule("invalid-format", "m", toRegex("^[a-zA-Z ]+$"));
  testing::expectCases(rule, {
                                 {"plain", "Jose", passes()},
                                 {"combining acute", "Jose\xcc\x81", fails("invalid-format", "m")},
                             });
}

TEST(RegExRule, SearchesTheWholeInput) {
  const RegExRule rule("invalid", "m", toRegex("[0-9]"));
  testing::expectCases(rule, {
                                 {"digit at the end", "abc1", passes()},
                                 {"digit in the middle", "a1c", passes()},
                                 {"no digit", "abc", fails("invalid", "m")},
                             });
}

}  // namespace
}  // namespace sdkcore
