#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sdkcore/core_card_info.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace sdkcore {

// Builds the plain payment string that a token carries: nine fields joined by "/". Returns
// nullopt when the time stamp has no representable local date.
class PaymentStringProcessor {
 public:
  virtual ~PaymentStringProcessor() = default;
  virtual std::optional<std::string> createPaymentString(
      std::string_view mdOrder, std::int64_t timestamp, std::string_view uuid,
      const CoreCardInfo& cardInfo, ZKITRegisteredFrom registeredFrom) const = 0;
};

}  // namespace sdkcore
