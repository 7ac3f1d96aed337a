// Where validator messages come from: the accessor, then localized(), once at construction.
#include <gtest/gtest.h>

#include "sdkcore/card_code_validator.hpp"
#include "sdkcore/card_number_validator.hpp"
#include "sdkcore/localized_messages.hpp"
#include "sdkcore/phone_number_validator.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::DefaultLocale;
using testing::fails;
using testing::hasOutcome;

TEST(ValidatorMessages, EnglishLocaleGivesTheEnglishTexts) {
  const DefaultLocale english("en_US");
  EXPECT_TRUE(hasOutcome(CardCodeValidator().validate("12"),
                         fails("invalid", "Enter the 3-digit security code")));
  EXPECT_TRUE(hasOutcome(CardNumberValidator().validate("411111111111111"),
                         fails("invalid", "The card number must have 16 to 19 digits")));
  EXPECT_TRUE(hasOutcome(PhoneNumberValidator().validate(" "),
                         fails("required", "This field is required")));
}

TEST(ValidatorMessages, LanguageIsFixedWhenTheValidatorIsBuilt) {
  const DefaultLocale english("en_US");
  const CardCodeValidator builtInEnglish;
  const DefaultLocale german("de_DE");
  const CardCodeValidator builtInGerman;
  const std::string germanText = localized(cardIncorrectCVC());
  ASSERT_NE(germanText, "Enter the 3-digit security code");
  EXPECT_TRUE(hasOutcome(builtInEnglish.validate("1"),
                         fails("invalid", "Enter the 3-digit security code")));
  EXPECT_TRUE(hasOutcome(builtInGerman.validate("1"), fails("invalid", germanText)));
}

TEST(ValidatorMessages, LanguageWithoutTablesGivesTheKeys) {
  const DefaultLocale noTables("sw_KE");
  EXPECT_TRUE(
      hasOutcome(CardCodeValidator().validate(""), fails("required", "vorlix_card_incorrect_cvc")));
}

}  // namespace
}  // namespace sdkcore
