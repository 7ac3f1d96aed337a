#pragma once

#include <string>
#include <string_view>

#include "cryptogram/default_payment_string_processor.hpp"
#include "entry/request_schema.hpp"

namespace sdkcore {

// What token generation reads from the payment input of a request, through its view. Thread-safe.

// Returns the binding id that a stored payment method's identifier wraps (empty when the
// identifier is malformed), and the empty text for a request without one. Never throws.
std::string storedBindingIdOf(const schema::RequestView& view);

// Returns the card fields the payment string is written from: the card number with its expiry,
// security code and holder for a typed-in card; the binding id (or 'storedBindingId' for a stored
// payment method) with the optional security code for a stored one. The fields are views of
// the texts of the request and of 'storedBindingId', taken as given. Throws ExpDateError when a
// card's expiry text is not "MM/YY".
PaymentCardFields cardFieldsOf(const schema::RequestView& view, const std::string& storedBindingId);

}  // namespace sdkcore
