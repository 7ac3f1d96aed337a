#include "sdkcore/email_validator.hpp"

#include <gtest/gtest.h>

#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

TEST(EmailValidator, RequiredBeforeFormat) {
  const auto required = fails(CODE_REQUIRED, localized(requiredField()));
  testing::expectCases(EmailValidator(), {
                                             {"empty", "", required},
                                             {"spaces", "  ", required},
                                         });
}

TEST(EmailValidator, AcceptsWhatThePatternHasAlwaysAccepted) {
  testing::expectCases(
      EmailValidator(),
      {
          {"dotted local part", "john.doe@example.com", passes()},
          {"underscore falls in A-z", "john_doe@example.com", passes()},
          {"leading underscore", "_a@example.com", passes()},
          {"leading bracket, also in A-z", "[a@example.com", passes()},
          {"plus tag, three labels", "a+tag@mail.example.com", passes()},
          {"hyphens", "a-b@my-domain.com", passes()},
          {"apostrophe", "a'b@example.com", passes()},
          {"upper-case local part", "John.Doe@example.com", passes()},
          {"non-ASCII letter after a separator", "a.j\xc3\xb6@example.com", passes()},
          {"final line feed", "a@example.com\n", passes()},
      });
}

TEST(EmailValidator, RejectsWithTheEmailMessage) {
  const auto bad = fails(CODE_INVALID_FORMAT, localized(emailIncorrect()));
  testing::expectCases(EmailValidator(),
                       {
                           {"upper case in the domain", "john@Example.com", bad},
                           {"digit in the domain", "john@example1.com", bad},
                           {"domain without a dot", "john@examplecom", bad},
                           {"two dots in a row", "john..doe@example.com", bad},
                           {"local part ends with a dot", "john.@example.com", bad},
                           {"local part begins with a dot", ".john@example.com", bad},
                           {"label ends with a hyphen", "john@example-.com", bad},
                           {"domain ends with a dot", "john@example.com.", bad},
                           {"space after the domain", "john@example.com ", bad},
                           {"non-ASCII letter at the start", "j\xc3\xb6@example.com", bad},
                           {"no at sign", "john.example.com", bad},
                           {"two at signs", "a@b@example.com", bad},
                           {"invalid UTF-8", "a\xff@example.com", bad},
                       });
}

// Over 254 characters the address is refused before the pattern runs; characters, not bytes, count.
TEST(EmailValidator, RefusesAddressesOverTheLengthLimit) {
  const std::string domain = "@example.com";
  const std::string umlauts = [] {
    std::string text;
    for (int i = 0; i < 240; ++i) text += "\xc3\xb6";
    return text;
  }();
  std::string hostile = "a@";
  for (int i = 0; i < 16000; ++i) hostile += "a.";
  const auto bad = fails(CODE_INVALID_FORMAT, localized(emailIncorrect()));
  testing::expectCases(EmailValidator(),
                       {
                           {"254 characters", std::string(242, 'a') + domain, passes()},
                           {"255 characters", std::string(243, 'a') + domain, bad},
                           {"254 characters in 494 bytes", "a." + umlauts + domain, passes()},
                           {"backtracking pattern input", hostile + "!", bad},
                           {"blank is required first", std::string(300, ' '),
                            fails(CODE_REQUIRED, localized(requiredField()))},
                       });
}

}  // namespace
}  // namespace sdkcore
