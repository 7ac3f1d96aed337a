#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sdkcore/localized_messages.hpp"
#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// Readable failure output for results.
inline void PrintTo(const ValidationResult& result, std::ostream* os) {
  *os << (result.isValid() ? "valid" : "invalid")
      << " code=" << result.errorCode().value_or("<none>")
      << " message=" << result.errorMessage().value_or("<none>");
}

}  // namespace sdkcore

namespace sdkcore::testing {

// What one input should produce: valid with no texts, or invalid with a code and a message.
struct Outcome {
  std::optional<std::string> code;
  std::optional<std::string> message;
};

inline Outcome passes() { return {}; }
inline Outcome fails(std::string code, std::string message) {
  return {std::move(code), std::move(message)};
}

inline ::testing::AssertionResult hasOutcome(const ValidationResult& result,
                                             const Outcome& expected) {
  const bool expectValid = !expected.code.has_value();
  if (result.isValid() == expectValid && result.errorCode() == expected.code &&
      result.errorMessage() == expected.message) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "got " << ::testing::PrintToString(result) << ", expected "
         << (expectValid ? "valid" : "invalid") << " code=" << expected.code.value_or("<none>")
         << " message=" << expected.message.value_or("<none>");
}

// One row of a table: an input text and its outcome. 'label' names the case in failures.
struct TextCase {
  std::string label;
  std::string input;
  Outcome expected;
};

// Runs every case of 'cases' through 'subject' (a validator or a rule over text).
template <typename Subject>
void expectCases(const Subject& subject, const std::vector<TextCase>& cases) {
  for (const TextCase& testCase : cases) {
    SCOPED_TRACE(testCase.label + ": " + ::testing::PrintToString(testCase.input));
    EXPECT_TRUE(hasOutcome(subject.validate(testCase.input), testCase.expected));
  }
}

// Replaces ValidationResult::VALID for the scope and restores the previous value.
class ValidOverride {
 public:
  explicit ValidOverride(ValidationResult replacement) : saved_(ValidationResult::VALID()) {
    ValidationResult::setVALID(std::move(replacement));
  }
  ~ValidOverride() { ValidationResult::setVALID(saved_); }
  ValidOverride(const ValidOverride&) = delete;
  ValidOverride& operator=(const ValidOverride&) = delete;

 private:
  ValidationResult saved_;
};

// Sets the message language from a locale name for the scope, then goes back to the
// environment's.
class DefaultLocale {
 public:
  explicit DefaultLocale(const char* name) {
    if (!setMessageLanguage(name)) ADD_FAILURE() << "locale name refused: " << name;
  }
  ~DefaultLocale() { resetMessageLanguage(); }
  DefaultLocale(const DefaultLocale&) = delete;
  DefaultLocale& operator=(const DefaultLocale&) = delete;
};

}  // namespace sdkcore::testing
