#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Merchant-side readings of a decrypted payment string, for the tests.
namespace sdkcore::testing {

// Returns the "/"-separated fields of 'paymentString' (n separators give n + 1 fields).
std::vector<std::string> paymentStringFields(std::string_view paymentString);

// Returns the date field the payment string holds for 'timestamp' in UTC, rendered by the C
// library independently of ICU ("2023-11-14T22:13:20+00:00"); for years 1900 to 9999.
std::string utcDate(std::int64_t timestamp);

}  // namespace sdkcore::testing
