#pragma once

#include <string>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks that a country was entered. Its one rule: something other than white space and line
// breaks -> else "required" with the field-required message. No format, length or character set
// is checked.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT CountryValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules and produces the messages. Throws only on resource exhaustion.
  CountryValidator();
};

}  // namespace sdkcore
