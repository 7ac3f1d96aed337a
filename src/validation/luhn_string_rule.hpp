#pragma once

#include <string>

#include "sdkcore/validation_result.hpp"

namespace sdkcore {

// Passes when the Luhn sum of the input's digits is a multiple of 10, or when it has no digits.
// The characters (grapheme clusters) are read from the last to the first, each alone as a
// number: only an ASCII digit standing on its own is one, so spaces, hyphens, letters, digits of
// other scripts and a digit carrying a combining mark are skipped. A text that cannot be
// segmented (over 2^31 - 1 bytes of non-ASCII) fails. Immutable; thread-safe.
class LuhnStringRule {
 public:
  using DATA = std::string;

  LuhnStringRule(std::string code, std::string message);

  ValidationResult validate(const DATA& data) const;

 private:
  std::string code_;
  std::string message_;
};

}  // namespace sdkcore
