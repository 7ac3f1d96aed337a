#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// A rule of any concrete kind seen through its input type only. The wrapped rule is kept alive
// by the wrapper.
template <typename T>
class AnyBaseValidationRule {
 public:
  template <typename Rule>
  explicit AnyBaseValidationRule(std::shared_ptr<const Rule> rule)
      : validateForErrorClosure_(
            [rule = std::move(rule)](const T& data) { return rule->validate(data); }) {}

  ValidationResult validate(const T& data) const { return validateForErrorClosure_(data); }

 private:
  std::function<ValidationResult(const T&)> validateForErrorClosure_;
};

// A validator: an ordered list of rules over T, fixed by the concrete validator's constructor.
// Immutable after construction, so one instance may validate on several threads at once.
template <typename T>
class BaseValidator {
 public:
  virtual ~BaseValidator() = default;

  // Runs the rules in order and returns the first failing result unchanged; a fresh valid
  // result (no code, no message) when every rule passes. Never throws for any input.
  ValidationResult validate(const T& data) const {
    for (const auto& rule : rules) {
      ValidationResult result = rule.validate(data);
      if (!result.isValid()) return result;
    }
    return ValidationResult(true, std::nullopt, std::nullopt);
  }

 protected:
  BaseValidator() = default;
  BaseValidator(const BaseValidator&) = default;
  BaseValidator& operator=(const BaseValidator&) = default;

  std::vector<AnyBaseValidationRule<T>> rules;
};

}  // namespace sdkcore
