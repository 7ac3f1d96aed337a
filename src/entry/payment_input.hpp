#pragma once

#include <string>
#include <string_view>

#include "cryptogram/default_payment_string_processor.hpp"
#include "sdkcore/payment_params.hpp"

namespace sdkcore {

// What token generation reads from the payment input of a request, per case. Thread-safe.

// Returns the binding id that a `StoredPaymentMethodParams` identifier wraps (empty when the
// identifier is malformed), and the empty text for every other case. Never throws.
std::string storedBindingIdOf(const PaymentParamsVariant& params);

// Returns the card fields the payment string is written from: the card number with its expiry,
// security code and holder for the card cases; the binding id (or 'storedBindingId' for a stored
// payment method) with the optional security code for the stored cases. The fields are views of
// the texts of 'params' and 'storedBindingId', taken as given. Throws ExpDateError when a card's
// expiry text is not "MM/YY".
PaymentCardFields cardFieldsOf(const PaymentParamsVariant& params,
                               const std::string& storedBindingId);

// Returns the order number for the payment string: `mdOrder` of cardParams and bindingParams,
// the empty text for the cases without an order.
std::string_view orderNumberOf(const PaymentParamsVariant& params) noexcept;

// Returns the request's public-key text, unchanged.
const std::string& pubKeyOf(const PaymentParamsVariant& params);

}  // namespace sdkcore
