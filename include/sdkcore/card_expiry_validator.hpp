#pragma once

#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks a card expiry date "MM/YY". Rules in order: present -> "required"; two decimal digits,
// "/", two decimal digits (digits of any script) -> "invalid-format"; month 1 to 12 and year 0 to
// 99 read as ASCII numbers -> "invalid". The date is not compared with today's.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT CardExpiryValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  CardExpiryValidator();

 private:
  static constexpr std::string_view PATTERN = R"(^\d{2}/\d{2}$)";
};

}  // namespace sdkcore
