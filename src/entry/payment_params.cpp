#include "sdkcore/payment_params.hpp"

#include <optional>
#include <utility>

#include "base/wiped_text.hpp"
#include "entry/request_schema.hpp"

namespace sdkcore {

CardParams::CardParams(std::string pan, std::string cvc, std::string expiryMMYY,
                       std::optional<std::string> cardholder, std::string mdOrder,
                       std::string pubKey)
    : mdOrder_(std::move(mdOrder)),
      pan_(std::move(pan)),
      cvc_(std::move(cvc)),
      expiryMMYY_(std::move(expiryMMYY)),
      cardholder_(std::move(cardholder)),
      pubKey_(std::move(pubKey)) {}

CardParamsInstant::CardParamsInstant(std::string pan, std::string cvc, std::string expiryMMYY,
                                     std::optional<std::string> cardholder, std::string pubKey)
    : pan_(std::move(pan)),
      cvc_(std::move(cvc)),
      expiryMMYY_(std::move(expiryMMYY)),
      cardholder_(std::move(cardholder)),
      pubKey_(std::move(pubKey)) {}

NewPaymentMethodParams::NewPaymentMethodParams(std::string pan, std::string cvc,
                                               std::string expiryMMYY,
                                               std::optional<std::string> cardholder,
                                               std::string pubKey)
    : pan_(std::move(pan)),
      cvc_(std::move(cvc)),
      expiryMMYY_(std::move(expiryMMYY)),
      cardholder_(std::move(cardholder)),
      pubKey_(std::move(pubKey)) {}

BindingParams::BindingParams(std::string pubKey, std::string bindingId,
                             std::optional<std::string> cvc, std::string mdOrder)
    : mdOrder_(std::move(mdOrder)),
      bindingId_(std::move(bindingId)),
      cvc_(std::move(cvc)),
      pubKey_(std::move(pubKey)) {}

BindingParamsInstant::BindingParamsInstant(std::string pubKey, std::string bindingId,
                                           std::optional<std::string> cvc)
    : bindingId_(std::move(bindingId)), cvc_(std::move(cvc)), pubKey_(std::move(pubKey)) {}

StoredPaymentMethodParams::StoredPaymentMethodParams(std::string pubKey,
                                                     std::string storePaymentMethodId,
                                                     std::optional<std::string> cvc)
    : storedPaymentMethodId_(std::move(storePaymentMethodId)),
      cvc_(std::move(cvc)),
      pubKey_(std::move(pubKey)) {}

CardParams::~CardParams() { wipeAll(pan_, cvc_, expiryMMYY_, cardholder_); }

CardParamsInstant::~CardParamsInstant() { wipeAll(pan_, cvc_, expiryMMYY_, cardholder_); }

NewPaymentMethodParams::~NewPaymentMethodParams() { wipeAll(pan_, cvc_, expiryMMYY_, cardholder_); }

BindingParams::~BindingParams() { wipeAll(bindingId_, cvc_); }

BindingParamsInstant::~BindingParamsInstant() { wipeAll(bindingId_, cvc_); }

StoredPaymentMethodParams::~StoredPaymentMethodParams() { wipeAll(storedPaymentMethodId_, cvc_); }

std::string_view caseName(const PaymentParamsVariant& params) noexcept {
  // A variant left valueless by a throwing assignment has no case.
  if (params.valueless_by_exception()) return "";
  return schema::kVariants[params.index()].caseName;
}

}  // namespace sdkcore
