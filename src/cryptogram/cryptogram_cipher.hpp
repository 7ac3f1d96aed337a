#pragma once

#include <string>
#include <string_view>

#include "sdkcore/key.hpp"

namespace sdkcore {

// Encrypts a payment string into a token.
class CryptogramCipher {
 public:
  virtual ~CryptogramCipher() = default;
  // Returns the Base64 token of 'paymentString' encrypted with 'key'. Throws
  // CryptogramCipherException.
  virtual std::string encrypt(std::string_view paymentString, const Key& key) const = 0;
};

}  // namespace sdkcore
