#include "validation/string_required_rule.hpp"

#include <gtest/gtest.h>

#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(StringRequiredRule, TrimsCategoryZTabAndLineBreaksOnly) {
  const StringRequiredRule rule("required", "Enter a value");
  const auto blank = fails("required", "Enter a value");
  testing::expectCases(
      rule, {
                {"empty", "", blank},
                {"space tab line feed", " \t\n", blank},
                {"vertical tab, form feed, CR LF", "\v\f\r\n", blank},
                {"next line U+0085", "\xc2\x85", blank},
                {"no-break space", "\xc2\xa0", blank},
                {"ideographic space", "\xe3\x80\x80", blank},
                {"line and paragraph separators", "\xe2\x80\xa8\xe2\x80\xa9", blank},
                {"narrow no-break and em space", "\xe2\x80\xaf\xe2\x80\x83", blank},
                {"letter between spaces", " x ", passes()},
                {"letter between NBSP and ideographic space", "\xc2\xa0x\xe3\x80\x80", passes()},
                {"zero-width space is not category Z", "\xe2\x80\x8b", passes()},
                {"file separator U+001C is not trimmed", "\x1c", passes()},
                {"NUL is content", std::string(1, '\0'), passes()},
                {"combining accent alone is content", "\xcc\x81", passes()},
                {"invalid UTF-8 byte is content", "\xff", passes()},
                {"truncated NBSP is content", " \xc2", passes()},
            });
}

}  // namespace
}  // namespace sdkcore
