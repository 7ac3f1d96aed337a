#include "sdkcore/base_validator.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sdkcore/card_number_validator.hpp"
#include "sdkcore/localized_messages.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::hasOutcome;
using testing::passes;

// A hand-made rule: fails with its own texts when its input equals 'rejected', counts its runs.
class RecordingRule {
 public:
  using DATA = std::string;
  RecordingRule(std::string code, std::string rejected, std::shared_ptr<int> runs)
      : code_(std::move(code)), rejected_(std::move(rejected)), runs_(std::move(runs)) {}
  ValidationResult validate(const DATA& data) const {
    ++*runs_;
    if (data == rejected_) return ValidationResult::error(code_, "message of " + code_);
    return ValidationResult::VALID();
  }

 private:
  std::string code_;
  std::string rejected_;
  std::shared_ptr<int> runs_;
};

static_assert(BaseValidationRule<RecordingRule>);
static_assert(BaseValidationRule<AnyBaseValidationRule<std::string>>);

class HandMadeValidator : public BaseValidator<std::string> {
 public:
  void add(std::string code, std::string rejected, std::shared_ptr<int> runs) {
    appendRule<RecordingRule>(std::move(code), std::move(rejected), std::move(runs));
  }
};

TEST(BaseValidator, WithoutRulesEverythingIsValid) {
  const HandMadeValidator validator;
  EXPECT_TRUE(hasOutcome(validator.validate(""), passes()));
  EXPECT_TRUE(hasOutcome(validator.validate("anything"), passes()));
}

TEST(BaseValidator, RunsRulesInOrderAndStopsAtTheFirstFailure) {
  struct Case {
    std::string input;
    testing::Outcome expected;
    std::vector<int> runs;  // how often each of the three rules ran
  };
  const std::vector<Case> cases = {
      {"ok", passes(), {1, 1, 1}},
      {"a", fails("first", "message of first"), {1, 0, 0}},
      {"b", fails("second", "message of second"), {1, 1, 0}},
      {"c", fails("third", "message of third"), {1, 1, 1}},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.input);
    std::vector<std::shared_ptr<int>> runs;
    HandMadeValidator validator;
    for (const char* name : {"first", "second", "third"}) {
      runs.push_back(std::make_shared<int>(0));
      validator.add(name, std::string(1, "abc"[runs.size() - 1]), runs.back());
    }
    EXPECT_TRUE(hasOutcome(validator.validate(testCase.input), testCase.expected));
    for (std::size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(*runs[i], testCase.runs[i]) << i;
  }
}

TEST(AnyBaseValidationRule, KeepsTheWrappedRuleAlive) {
  auto runs = std::make_shared<int>(0);
  auto rule = std::make_shared<const RecordingRule>("code", "x", runs);
  std::weak_ptr<const RecordingRule> watch = rule;
  const AnyBaseValidationRule<std::string> wrapper(std::move(rule));
  EXPECT_FALSE(watch.expired());
  EXPECT_TRUE(hasOutcome(wrapper.validate("x"), fails("code", "message of code")));
  EXPECT_EQ(*runs, 1);
}

// One validator shared by several threads gives each thread the answers it gives alone.
TEST(BaseValidator, OneInstanceServesSeveralThreads) {
  const CardNumberValidator validator;
  const std::vector<std::string> inputs = {
      "4111111111111111", "4111111111111112",     "411111111111111",    "4111 1111 1111 1111", "",
      "5555555555554444", "41111111111111111115", "4111111111111111\n", "\xd9\xa4\xd9\xa1"};
  std::vector<ValidationResult> expected;
  for (const std::string& input : inputs) expected.push_back(validator.validate(input));
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 300; ++round) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
          if (!(validator.validate(inputs[i]) == expected[i])) ++mismatches[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int count : mismatches) EXPECT_EQ(count, 0);
  EXPECT_TRUE(hasOutcome(expected[0], passes()));
  EXPECT_TRUE(hasOutcome(expected[1], fails(CODE_INVALID, localized(cardIncorrectNumber()))));
}

}  // namespace
}  // namespace sdkcore
