#pragma once

#include <memory>
#include <string>

#include <unicode/uversion.h>

#include "sdkcore/validation_result.hpp"

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace sdkcore {

// Passes when the Luhn sum of the input's digits is a multiple of 10, or when it has no digits.
// The digits are the characters (grapheme clusters) that read alone as a number, that is the
// ASCII digits standing on their own; spaces, hyphens, letters, digits of other scripts and a
// digit carrying a combining mark are skipped. Immutable; thread-safe.
class LuhnStringRule {
 public:
  using DATA = std::string;

  LuhnStringRule(std::string code, std::string message);
  ~LuhnStringRule();
  LuhnStringRule(const LuhnStringRule&) = delete;
  LuhnStringRule& operator=(const LuhnStringRule&) = delete;

  ValidationResult validate(const DATA& data) const;

 private:
  std::string code_;
  std::string message_;
  // A character break iterator made once; validate() clones it for non-ASCII input, since an
  // ICU iterator holding text may not be shared between threads.
  std::unique_ptr<const icu::BreakIterator> characterBreaks_;
};

}  // namespace sdkcore
