#include "sdkcore/sdk_core_config.hpp"

#include <utility>

#include "entry/params_debug_text.hpp"

namespace sdkcore {

SDKCoreConfig::SDKCoreConfig(PaymentParamsVariant paymentMethodParams,
                             ZKITRegisteredFrom registeredFrom, double timestamp)
    : paymentMethodParams_(std::move(paymentMethodParams)),
      registeredFrom_(registeredFrom),
      timestamp_(timestamp) {}

std::string debugString(const SDKCoreConfig& config) {
  return configDebugString(schema::viewOfAny(config.paymentMethodParams_), config.registeredFrom_,
                           config.timestamp_, CardDataShown::inClear);
}

}  // namespace sdkcore
