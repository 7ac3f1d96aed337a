#pragma once

#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks a phone number. Rules in order: present -> "required" with the field-required message;
// an optional leading "+" and one or more ASCII digits, nothing else -> "invalid-format" with the
// phone message. There is no length limit.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT PhoneNumberValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  PhoneNumberValidator();

 private:
  static constexpr std::string_view PATTERN = R"(^\+?[0-9]+$)";
};

}  // namespace sdkcore
