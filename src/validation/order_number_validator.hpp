#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"

namespace sdkcore {

// Checks an order number. Rules in order: present -> "required"; at least one character ->
// "invalid"; no white space and no line terminator anywhere -> "invalid" (the order number goes
// into the one-line payment string). All three report the order message.
//
// Messages are produced once, at construction, in the language current then (a host text for the
// key first, then the library's own table). Thread safety: immutable after construction; one
// instance may validate on several threads at once.
class OrderNumberValidator : public BaseValidator<std::string> {
 public:
  // Builds the rules: produces the messages and compiles the pattern. Throws only on resource
  // exhaustion.
  OrderNumberValidator();

 private:
  static constexpr std::int64_t MIN_LENGTH = 1;
  // One or more characters, none of them white space.
  static constexpr std::string_view PATTERN = R"(^[\S]+$)";
};

}  // namespace sdkcore
