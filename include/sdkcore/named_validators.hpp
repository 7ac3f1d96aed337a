#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sdkcore/base_validator.hpp"
#include "sdkcore/export.h"

namespace sdkcore {

// Returns a new public text validator by its name: "card-number", "expiry", "cvc",
// "cardholder", "email", "phone", "address-line1", "address-line2", "address-line3", "city",
// "country", "state" or "postal-code" (exact, case-sensitive); nullptr for any other name.
// Throws only std::bad_alloc. Thread-safe.
SDKCORE_EXPORT std::unique_ptr<BaseValidator<std::string>> makeNamedValidator(
    std::string_view name);

}  // namespace sdkcore
