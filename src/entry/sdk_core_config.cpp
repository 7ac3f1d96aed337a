#include "sdkcore/sdk_core_config.hpp"

#include <utility>

#include "model/text_form.hpp"
#include "model/wiped_text.hpp"

namespace sdkcore {

SDKCoreConfig::SDKCoreConfig(PaymentParamsVariant paymentMethodParams,
                             ZKITRegisteredFrom registeredFrom, double timestamp)
    : paymentMethodParams_(std::move(paymentMethodParams)),
      registeredFrom_(registeredFrom),
      timestamp_(timestamp) {}

std::string debugString(const SDKCoreConfig& config) {
  std::string params = debugString(config.paymentMethodParams_);
  const WipeOnExit wipeParams(params);
  return joinOnce({"SDKCoreConfig(paymentMethodParams: ", params,
                   ", registeredFrom: ", debugString(config.registeredFrom_),
                   ", timestamp: ", debugDouble(config.timestamp_), ")"});
}

}  // namespace sdkcore
