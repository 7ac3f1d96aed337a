#pragma once

#include <string>

#include "sdkcore/export.h"
#include "sdkcore/payment_params.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace sdkcore {

// The input of one token request. Callers construct it; only the library reads its fields.
// Immutable after construction: one configuration may be used by several calls and threads.
class SDKCORE_EXPORT SDKCoreConfig {
 public:
  // 'timestamp' is seconds since 1970-01-01 00:00 UTC; its fraction is discarded when the
  // payment string is built. Stores the arguments unchanged; never fails.
  SDKCoreConfig(PaymentParamsVariant paymentMethodParams, ZKITRegisteredFrom registeredFrom,
                double timestamp);

 private:
  friend class SdkCore;
  friend std::string debugString(const SDKCoreConfig& config);

  PaymentParamsVariant paymentMethodParams_;
  ZKITRegisteredFrom registeredFrom_;
  double timestamp_;
};

// Returns the configuration dump, "SDKCoreConfig(paymentMethodParams: ..., registeredFrom: ...,
// timestamp: 1700000000.0)". It shows every field, card data included.
SDKCORE_EXPORT std::string debugString(const SDKCoreConfig& config);

}  // namespace sdkcore
