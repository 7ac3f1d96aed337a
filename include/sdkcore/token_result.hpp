#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "sdkcore/export.h"
#include "sdkcore/param_field.hpp"

namespace sdkcore {

// The outcome of one token request: a token with an empty error map, or no token and exactly one
// error entry keyed by the offending field. Both fields are readable and writable.
// A plain value: copies may be used on any thread; one object must not be written while another
// thread reads it.
struct SDKCORE_EXPORT TokenResult {
  // A result holding 'token' (which may be absent) and no errors.
  explicit TokenResult(std::optional<std::string> token) : token(std::move(token)) {}
  // A result holding 'errors' and no token.
  explicit TokenResult(std::map<ParamField, std::string> errors) : errors(std::move(errors)) {}

  std::optional<std::string> token;
  std::map<ParamField, std::string> errors;
};

}  // namespace sdkcore
