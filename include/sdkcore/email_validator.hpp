#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks an e-mail address. Rules in order: present -> "required" with the field-required
// message; at most 254 characters (the longest address RFC 5321 allows) and then the pattern
// below -> "invalid-format" with the e-mail message. The length check bounds the cost: the
// pattern backtracks, so that its time grows with the square of the length. The pattern is kept
// exactly as it has always been, since callers rely on what it accepts: the first class holds
// the range A-z, so "[", the backslash, "]", "^", "_" and "`" may start the local part; later parts
// of the local part are separator + word characters (Unicode letters allowed); the domain is
// lowercase ASCII letters only with at least one dot.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT EmailValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  EmailValidator();

 private:
  static constexpr std::int64_t MAX_LENGTH = 254;
  static constexpr std::string_view PATTERN =
      R"(^[a-zA-z0-9]+([-+.']\w+)*@[a-z]+([-.][a-z]+)*\.[a-z]+([-.][a-z]+)*$)";
};

}  // namespace sdkcore
