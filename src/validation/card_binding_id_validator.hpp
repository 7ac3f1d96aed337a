#pragma once

#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"

namespace sdkcore {

// Checks a stored-card (binding) identifier, and the binding id decoded from a stored payment
// method id. Rules in order: present -> "required" with the binding-required message; no white
// space and no line terminator anywhere -> "invalid" with the binding-incorrect message (the id
// goes into the one-line payment string).
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class CardBindingIdValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  CardBindingIdValidator();

 private:
  // One or more characters, none of them white space.
  static constexpr std::string_view PATTERN = R"(^[\S]+$)";
};

}  // namespace sdkcore
