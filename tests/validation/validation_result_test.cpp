#include "sdkcore/validation_result.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/card_code_validator.hpp"
#include "validation/expiry_rule.hpp"
#include "validation/string_required_rule.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::hasOutcome;
using testing::passes;
using testing::ValidOverride;

class NoRulesValidator : public BaseValidator<std::string> {};

TEST(ValidationResult, ValidStartsAsValidWithoutTexts) {
  EXPECT_TRUE(hasOutcome(ValidationResult::VALID(), passes()));
}

TEST(ValidationResult, ErrorCarriesBothTexts) {
  EXPECT_TRUE(
      hasOutcome(ValidationResult::error("invalid", "Bad value"), fails("invalid", "Bad value")));
  EXPECT_TRUE(hasOutcome(ValidationResult::error("", ""), fails("", "")));
}

TEST(ValidationResult, CodeConstantsHaveTheirTexts) {
  EXPECT_STREQ(CODE_REQUIRED, "required");
  EXPECT_STREQ(CODE_INVALID, "invalid");
  EXPECT_STREQ(CODE_INVALID_FORMAT, "invalid-format");
}

// A host that replaces VALID changes what every passing rule returns; a validator then reports
// that value as the failure of its first rule.
TEST(ValidationResult, HostReplacementIsWhatPassingRulesReturn) {
  const ValidationResult replacement = ValidationResult::error("host-code", "host message");
  {
    ValidOverride override(replacement);
    EXPECT_EQ(ValidationResult::VALID(), replacement);
    EXPECT_EQ(StringRequiredRule("required", "m").validate("x"), replacement);
    // The expiry rule returns its month checker's VALID as the outcome.
    EXPECT_EQ(ExpiryRule("invalid", "m").validate("12/25"), replacement);
    // Failing rules still report their own texts.
    EXPECT_TRUE(
        hasOutcome(StringRequiredRule("required", "m").validate(" "), fails("required", "m")));
    EXPECT_EQ(CardCodeValidator().validate("123"), replacement);
    // A validator's own final result is made afresh, not read from VALID.
    EXPECT_TRUE(hasOutcome(NoRulesValidator().validate("x"), passes()));
  }
  EXPECT_TRUE(hasOutcome(ValidationResult::VALID(), passes()));
  EXPECT_TRUE(hasOutcome(CardCodeValidator().validate("123"), passes()));
}

// Readers on several threads see the old or the new value whole while a writer keeps swapping.
TEST(ValidationResult, ValidCanBeReadWhileAHostReplacesIt) {
  const ValidationResult original = ValidationResult::VALID();
  const ValidationResult other = ValidationResult::error("host-code", "host message");
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::vector<std::thread> readers;
  for (int i = 0; i < 3; ++i) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const ValidationResult seen = StringRequiredRule("required", "m").validate("x");
        if (!(seen == original) && !(seen == other)) ++torn;
      }
    });
  }
  for (int i = 0; i < 2000; ++i) ValidationResult::setVALID(i % 2 == 0 ? other : original);
  ValidationResult::setVALID(original);
  stop = true;
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(ValidationResult::VALID(), original);
}

}  // namespace
}  // namespace sdkcore
