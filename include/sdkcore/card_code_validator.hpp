#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks a card security code (CVC). Rules in order: present -> "required"; exactly 3
// characters -> "invalid"; ASCII digits only -> "invalid" (not "invalid-format").
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT CardCodeValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  CardCodeValidator();

 private:
  friend class SdkCoreMembers;  // builds the form that token generation uses

  // With 'refuseLineTerminators', the format rule also fails a text holding a line terminator
  // anywhere, so that none reaches the one-line payment string.
  explicit CardCodeValidator(bool refuseLineTerminators);

  static constexpr std::int64_t minLength = 3;
  static constexpr std::int64_t maxLength = 3;
  static constexpr std::string_view PATTERN = "^[0-9]+$";
};

}  // namespace sdkcore
