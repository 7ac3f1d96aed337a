#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

#include "sdkcore/export.h"

namespace sdkcore {

// Why encrypting a payment string failed. `keyCreationFailed`: the key text is no usable RSA
// public key (wrong protocol name, not strict Base64, not an RSA key, a modulus under 1024 bits,
// an exponent that is even, below 3 or longer than 64 bits);
// `algorithmNotSupported`: the key cannot encrypt with PKCS #1 v1.5 padding (a signing-only key);
// `encryptionFailed`: the encryption itself failed, for example with a text longer than the
// key's modulus length minus 11 bytes.
enum class CryptogramCipherError : std::uint8_t {
  keyCreationFailed,
  algorithmNotSupported,
  encryptionFailed,
};

// Returns the case name, such as "keyCreationFailed".
SDKCORE_EXPORT std::string_view caseName(CryptogramCipherError error) noexcept;

// The exception that carries a `CryptogramCipherError`; what() is the case name. Immutable: safe
// to share between threads.
class SDKCORE_EXPORT CryptogramCipherException : public std::exception {
 public:
  explicit CryptogramCipherException(CryptogramCipherError error) noexcept : error_(error) {}
  CryptogramCipherError error() const noexcept { return error_; }
  const char* what() const noexcept override;

 private:
  CryptogramCipherError error_;
};

}  // namespace sdkcore
