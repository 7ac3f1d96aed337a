#pragma once

#include <string>

#include "sdkcore/base_validator.hpp"

namespace sdkcore {

// Checks that a public-key text is present (not blank) -> "required". Its content is not
// checked here; an unusable key is found when encryption is attempted.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class PubKeyValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules and produces the messages. Throws only on resource exhaustion.
  PubKeyValidator();
};

}  // namespace sdkcore
