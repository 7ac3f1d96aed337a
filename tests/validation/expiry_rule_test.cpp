#include "validation/expiry_rule.hpp"

#include <gtest/gtest.h>

#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(ExpiryRule, ChecksMonthThenYearWithItsOwnTexts) {
  const ExpiryRule rule("invalid", "Bad expiry");
  const auto bad = fails("invalid", "Bad expiry");
  testing::expectCases(
      rule,
      {
          {"December", "12/25", passes()},
          {"January of 2000", "01/00", passes()},
          {"last year", "12/99", passes()},
          {"long past", "01/20", passes()},
          {"month zero", "00/25", bad},
          {"month thirteen", "13/25", bad},
          {"letters: both -1", "ab/cd", bad},
          {"empty", "", bad},
          {"cleaned to 12: month and year 12", "1/2", passes()},
          {"one digit: month 1, year 1", "1", passes()},
          {"cleaned 122: month 12, year 22", "12/2", passes()},
          {"other separators removed", "12 - 25", passes()},
          {"full stop kept, month unreadable", "1./25", bad},
          {"full stop kept, year unreadable", "12/2.", bad},
          {"Arabic-Indic digits are kept but not read", "\xd9\xa1\xd9\xa2/\xd9\xa2\xd9\xa5", bad},
          {"full-width digits are kept but not read", "\xef\xbc\x91\xef\xbc\x92/25", bad},
          {"combining mark removed",
           "1\xcc\x81"
           "2/25",
           passes()},
          {"final line feed removed", "12/25\n", passes()},
          {"invalid UTF-8 removed",
           "12/\xff"
           "25",
           passes()},
      });
}

}  // namespace
}  // namespace sdkcore
