#pragma once

#include <string>
#include <string_view>

#include "sdkcore/export.h"

namespace sdkcore {

// Decodes stored-payment-method identifiers ("pm_" + Base58 of the binding id's UTF-8 bytes).
// Stateless: thread-safe.
class SDKCORE_EXPORT BindingUtils {
 public:
  BindingUtils() = delete;
  // Returns the binding id, trimmed of Unicode white space and line breaks at both ends, or the
  // empty text when the identifier is malformed, which includes a Base58 part longer than
  // Base58::kMaxInputBytes. Never throws.
  static std::string decodeBindingId(std::string_view storedPaymentMethodId);
};

}  // namespace sdkcore
