#pragma once

#include <string>
#include <string_view>

#include "sdkcore/payment_params.hpp"

namespace sdkcore {

// Masking of card data for log messages. Card numbers and security codes never reach a log sink
// in clear: a sink may be a device log or a crash reporter outside the host's control.
// Characters are extended grapheme clusters; each ill-formed UTF-8 sequence is one character
// and, where kept, comes out as U+FFFD, so the results are always valid UTF-8. Thread-safe.

// Returns 'pan' with its first 6 and last 4 characters kept and every other character replaced
// by "*" when it has at least 13 characters; every character replaced by "*" when shorter.
std::string maskCardNumber(std::string_view pan);

// Returns one "*" per character of 'cvc' ("" for the empty code).
std::string maskSecurityCode(std::string_view cvc);

// Returns a copy of 'params' whose card number and security code (present ones only) are masked
// as above; every other field is unchanged. Used to render the configuration dump.
PaymentParamsVariant maskCardData(const PaymentParamsVariant& params);

}  // namespace sdkcore
