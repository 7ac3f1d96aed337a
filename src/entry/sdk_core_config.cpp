#include "sdkcore/sdk_core_config.hpp"

#include <utility>

#include "model/text_form.hpp"

namespace sdkcore {

SDKCoreConfig::SDKCoreConfig(PaymentParamsVariant paymentMethodParams,
                             ZKITRegisteredFrom registeredFrom, double timestamp)
    : paymentMethodParams_(std::move(paymentMethodParams)),
      registeredFrom_(registeredFrom),
      timestamp_(timestamp) {}

std::string debugString(const SDKCoreConfig& config) {
  return "SDKCoreConfig(paymentMethodParams: " + debugString(config.paymentMethodParams_) +
         ", registeredFrom: " + debugString(config.registeredFrom_) +
         ", timestamp: " + debugDouble(config.timestamp_) + ")";
}

}  // namespace sdkcore
