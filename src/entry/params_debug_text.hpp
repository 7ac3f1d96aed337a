#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "entry/request_schema.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace sdkcore {

// How a text form shows the card number and the security code: as they are (debugString) or
// masked as log messages show them.
enum class CardDataShown { inClear, masked };

// The text form of a configuration's fields, "SDKCoreConfig(paymentMethodParams: ...,
// registeredFrom: ..., timestamp: ...)", between 'before' and 'after', built in one buffer
// allocated at its final size: growing it would leave copies of card data in freed blocks. The
// payment input is read through its view (see schema::viewOfAny).
std::string configDebugString(const schema::RequestView& view, ZKITRegisteredFrom registeredFrom,
                              double timestamp, CardDataShown shown, std::string_view before = {},
                              std::string_view after = {});

}  // namespace sdkcore
