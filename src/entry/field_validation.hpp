#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "entry/request_schema.hpp"
#include "log/event_log.hpp"
#include "sdkcore/base_validator.hpp"
#include "sdkcore/param_field.hpp"

namespace sdkcore {

// The seven validators a request's fields are checked with; the `SdkCore` instance owns them.
struct FieldValidators {
  const BaseValidator<std::string>& orderNumber;
  const BaseValidator<std::string>& cardExpiry;
  const BaseValidator<std::string>& cardNumber;
  const BaseValidator<std::string>& cardBindingId;
  const BaseValidator<std::string>& cardCode;
  const BaseValidator<std::string>& cardHolder;
  const BaseValidator<std::string>& pubKey;
};

// The first field of a request that failed its check: its key and the failing rule's code.
struct FieldError {
  ParamField field;
  std::string errorCode;
};

// Checks the fields that the request carries, in the order of its variant's plan in the schema,
// and returns the first failure, or nullopt when every field passed or was absent and therefore
// skipped. 'storedBindingId' is the binding id decoded from a stored payment method's identifier
// (empty when malformed); it is read only for a stored payment method. Logs "validateField(...):
// Validate ..." before each check and "validateField(...): Error ..." for the failure, with card
// numbers and security codes masked. Throws nothing but std::bad_alloc; thread-safe.
std::optional<FieldError> validateFields(const schema::RequestView& view,
                                         const std::string& storedBindingId,
                                         const FieldValidators& validators, const EventLog& log);

}  // namespace sdkcore
