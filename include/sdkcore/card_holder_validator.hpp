#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Checks a card holder's name. Rules in order: present -> "required"; at most 30 characters ->
// "invalid"; Latin letters A-Z, a-z and spaces only -> "invalid-format" (letters with
// diacritics, hyphens, apostrophes and full stops are refused).
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class SDKCORE_EXPORT CardHolderValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  CardHolderValidator();

 private:
  friend class SdkCoreMembers;  // builds the form that token generation uses

  // With 'refuseLineTerminators', the format rule also fails a text holding a line terminator
  // anywhere, so that none reaches the one-line payment string.
  explicit CardHolderValidator(bool refuseLineTerminators);

  static constexpr std::int64_t MAX_LENGTH = 30;
  static constexpr std::string_view PATTERN = "^[a-zA-Z ]+$";
};

}  // namespace sdkcore
