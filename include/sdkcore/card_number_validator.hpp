#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks a card number (PAN). Rules in order: present (not blank) -> "required"; ASCII digits
// only -> "invalid-format"; 16 to 19 characters -> "invalid" with the length message; Luhn
// checksum -> "invalid". A final line feed passes the format ($ matches before it) and is
// skipped by the checksum.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT CardNumberValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  CardNumberValidator();

 private:
  friend class SdkCoreMembers;  // builds the form that token generation uses

  // With 'refuseLineTerminators', the format rule also fails a text holding a line terminator
  // anywhere, so that none reaches the one-line payment string.
  explicit CardNumberValidator(bool refuseLineTerminators);

  static constexpr std::int64_t MIN_LENGTH = 16;
  static constexpr std::int64_t MAX_LENGTH = 19;
  static constexpr std::string_view PATTERN = "^[0-9]+$";
};

}  // namespace sdkcore
