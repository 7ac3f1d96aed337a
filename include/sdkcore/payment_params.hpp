#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "sdkcore/export.h"

namespace sdkcore {

// The six payload records of a token request. Fields are fixed at construction and read through
// accessors; constructor argument order follows the public API and may differ from field order.
// Absent (nullopt) and empty optional texts are different states. Immutable values: safe to share
// between threads. Constructors never fail.

// A card typed in, for an order.
class SDKCORE_EXPORT CardParams {
 public:
  CardParams(std::string pan, std::string cvc, std::string expiryMMYY,
             std::optional<std::string> cardholder, std::string mdOrder, std::string pubKey);
  const std::string& mdOrder() const noexcept { return mdOrder_; }
  const std::string& pan() const noexcept { return pan_; }
  const std::string& cvc() const noexcept { return cvc_; }
  const std::string& expiryMMYY() const noexcept { return expiryMMYY_; }
  const std::optional<std::string>& cardholder() const noexcept { return cardholder_; }
  const std::string& pubKey() const noexcept { return pubKey_; }

 private:
  std::string mdOrder_;
  std::string pan_;
  std::string cvc_;
  std::string expiryMMYY_;
  std::optional<std::string> cardholder_;
  std::string pubKey_;
};

// A card typed in, without an order.
class SDKCORE_EXPORT CardParamsInstant {
 public:
  CardParamsInstant(std::string pan, std::string cvc, std::string expiryMMYY,
                    std::optional<std::string> cardholder, std::string pubKey);
  const std::string& pan() const noexcept { return pan_; }
  const std::string& cvc() const noexcept { return cvc_; }
  const std::string& expiryMMYY() const noexcept { return expiryMMYY_; }
  const std::optional<std::string>& cardholder() const noexcept { return cardholder_; }
  const std::string& pubKey() const noexcept { return pubKey_; }

 private:
  std::string pan_;
  std::string cvc_;
  std::string expiryMMYY_;
  std::optional<std::string> cardholder_;
  std::string pubKey_;
};

// A new card typed in; the same fields as `CardParamsInstant`, a distinct type.
class SDKCORE_EXPORT NewPaymentMethodParams {
 public:
  NewPaymentMethodParams(std::string pan, std::string cvc, std::string expiryMMYY,
                         std::optional<std::string> cardholder, std::string pubKey);
  const std::string& pan() const noexcept { return pan_; }
  const std::string& cvc() const noexcept { return cvc_; }
  const std::string& expiryMMYY() const noexcept { return expiryMMYY_; }
  const std::optional<std::string>& cardholder() const noexcept { return cardholder_; }
  const std::string& pubKey() const noexcept { return pubKey_; }

 private:
  std::string pan_;
  std::string cvc_;
  std::string expiryMMYY_;
  std::optional<std::string> cardholder_;
  std::string pubKey_;
};

// A stored card (binding), for an order.
class SDKCORE_EXPORT BindingParams {
 public:
  BindingParams(std::string pubKey, std::string bindingId, std::optional<std::string> cvc,
                std::string mdOrder);
  const std::string& mdOrder() const noexcept { return mdOrder_; }
  const std::string& bindingId() const noexcept { return bindingId_; }
  const std::optional<std::string>& cvc() const noexcept { return cvc_; }
  const std::string& pubKey() const noexcept { return pubKey_; }

 private:
  std::string mdOrder_;
  std::string bindingId_;
  std::optional<std::string> cvc_;
  std::string pubKey_;
};

// A stored card (binding), without an order.
class SDKCORE_EXPORT BindingParamsInstant {
 public:
  BindingParamsInstant(std::string pubKey, std::string bindingId, std::optional<std::string> cvc);
  const std::string& bindingId() const noexcept { return bindingId_; }
  const std::optional<std::string>& cvc() const noexcept { return cvc_; }
  const std::string& pubKey() const noexcept { return pubKey_; }

 private:
  std::string bindingId_;
  std::optional<std::string> cvc_;
  std::string pubKey_;
};

// A stored payment method named by its public identifier, "pm_" + Base58 of the binding id.
class SDKCORE_EXPORT StoredPaymentMethodParams {
 public:
  StoredPaymentMethodParams(std::string pubKey, std::string storePaymentMethodId,
                            std::optional<std::string> cvc);
  const std::string& storedPaymentMethodId() const noexcept { return storedPaymentMethodId_; }
  const std::optional<std::string>& cvc() const noexcept { return cvc_; }
  const std::string& pubKey() const noexcept { return pubKey_; }

 private:
  std::string storedPaymentMethodId_;
  std::optional<std::string> cvc_;
  std::string pubKey_;
};

// The payment input of a request: exactly one of the six records. The alternative index is the
// case's declared position (cardParams, cardParamsInstant, bindingParams, bindingParamsInstant,
// newPaymentMethodParams, storedPaymentMethodParams).
using PaymentParamsVariant =
    std::variant<CardParams, CardParamsInstant, BindingParams, BindingParamsInstant,
                 NewPaymentMethodParams, StoredPaymentMethodParams>;

// Returns the case name of the variant's alternative, such as "cardParams".
SDKCORE_EXPORT std::string_view caseName(const PaymentParamsVariant& params) noexcept;

// Text forms of the records, as the library's log messages embed them, e.g.
// `SDKCore.BindingParamsInstant(bindingId: "b", cvc: nil, pubKey: "k")`: fields in stored order,
// texts quoted with `"` and `\` escaped and control characters written as \n, \r, \t, \0 or
// \u{HEX}, so a form is always one line. They show card data in clear.
SDKCORE_EXPORT std::string debugString(const CardParams& params);
SDKCORE_EXPORT std::string debugString(const CardParamsInstant& params);
SDKCORE_EXPORT std::string debugString(const NewPaymentMethodParams& params);
SDKCORE_EXPORT std::string debugString(const BindingParams& params);
SDKCORE_EXPORT std::string debugString(const BindingParamsInstant& params);
SDKCORE_EXPORT std::string debugString(const StoredPaymentMethodParams& params);
// "SDKCore.PaymentParamsVariant.cardParams(params: SDKCore.CardParams(...))".
SDKCORE_EXPORT std::string debugString(const PaymentParamsVariant& params);

}  // namespace sdkcore
