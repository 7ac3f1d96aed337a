#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace sdkcore::cli {

// A token that does not decrypt: not Base64, or not RSA PKCS #1 v1.5 cipher text for the key.
class DecryptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decodes the Base64 'token' (ASCII white space, such as a trailing line feed, is skipped) and
// decrypts it with the PEM private key 'privatePem' (RSA PKCS #1 v1.5). This is the merchant side
// of the round trip, for tests and debugging. Throws UsageError when 'privatePem' holds no RSA
// private key and DecryptionError when the token does not decrypt. Thread-safe.
std::string decryptToken(std::string_view token, std::string_view privatePem);

// The answer of `sdkcore decrypt`: {"paymentString": "..."} plus "fields" (date, uuid, pan, cvc,
// expiry, mdOrder, storedId, cardholder, registeredFrom) when the string has exactly nine
// "/"-separated fields.
nlohmann::ordered_json paymentStringJson(const std::string& paymentString);

}  // namespace sdkcore::cli
