#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "sdkcore/export.h"

namespace sdkcore {

// The closed set of keys of a token request's error map, one per checked field
// (`UNKNOWN` for failures after validation). Equality and hashing are those of the enumeration.
enum class ParamField : std::uint8_t {
  UNKNOWN,
  PAN,
  CVC,
  EXPIRY,
  CARDHOLDER,
  PUB_KEY,
  STORED_PAYMENT_METHOD_ID,
  BINDING_ID,
  MD_ORDER,
};

// Returns the case name of 'field', such as "PAN".
SDKCORE_EXPORT std::string_view caseName(ParamField field) noexcept;

// Returns the text form of a field key that may be absent:
// "Optional(SDKCore.ParamField.PAN)" when present, "nil" when absent.
SDKCORE_EXPORT std::string debugString(std::optional<ParamField> field);

// A `ParamField` used as an error object, as the library passes it with its log events.
// what() is the case name. An immutable value: safe to share between threads.
class SDKCORE_EXPORT ParamFieldError : public std::exception {
 public:
  explicit ParamFieldError(ParamField field) noexcept : field_(field) {}
  ParamField field() const noexcept { return field_; }
  const char* what() const noexcept override;

 private:
  ParamField field_;
};

}  // namespace sdkcore
