#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "sdkcore/export.h"
#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// A rule over one input type: its DATA type names what it checks and validate() returns the
// current ValidationResult::VALID() on success or an invalid result with its code and message.
template <typename Rule>
concept BaseValidationRule = requires(const Rule& rule, const typename Rule::DATA& data) {
  { rule.validate(data) } -> std::same_as<ValidationResult>;
};

// A rule of any concrete kind seen through its input type T only. The wrapper shares ownership
// of the wrapped rule and keeps it alive. Immutable; safe to use from several threads as long as
// the wrapped rule is.
template <typename T>
class AnyBaseValidationRule {
 public:
  using DATA = T;

  template <BaseValidationRule Rule>
  requires std::same_as<typename Rule::DATA, T>
  explicit AnyBaseValidationRule(std::shared_ptr<const Rule> rule)
      : validateForErrorClosure_(
            [rule = std::move(rule)](const T& data) { return rule->validate(data); }) {}

  // Runs the wrapped rule on 'data'.
  ValidationResult validate(const T& data) const { return validateForErrorClosure_(data); }

 private:
  std::function<ValidationResult(const T&)> validateForErrorClosure_;
};

// A validator: an ordered list of rules over T, appended by the concrete validator's constructor
// and never changed afterwards. Hosts use the concrete validators (CardNumberValidator,
// EmailValidator, ...); they cannot build their own from this class.
//
// Thread safety: immutable after construction, so one instance may validate on several threads
// at once.
template <typename T>
class SDKCORE_EXPORT BaseValidator {
 public:
  virtual ~BaseValidator() = default;

  // Runs the rules in order and returns the first failing result unchanged (the rules after it
  // do not run); a fresh valid result (no code, no message) when every rule passes or there are
  // no rules. Reports bad input only through the result.
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

  // Builds a Rule from 'args' and appends it to the end of the rule list. For the constructors
  // of concrete validators.
  template <BaseValidationRule Rule, typename... Args>
  void appendRule(Args&&... args) {
    rules.emplace_back(
        std::shared_ptr<const Rule>(std::make_shared<Rule>(std::forward<Args>(args)...)));
  }

  std::vector<AnyBaseValidationRule<T>> rules;
};

}  // namespace sdkcore
