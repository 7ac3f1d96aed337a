#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/export.h"
#include "sdkcore/key.hpp"

namespace sdkcore {

// The outcome of encrypting a text with a public key: the token, or why there is none. Exactly
// one of the two is set. A plain value.
struct KeyEncryption {
  std::optional<std::string> token;
  std::optional<CryptogramCipherError> error;
};

// Encrypts the UTF-8 bytes of 'text' with 'key' as token generation encrypts a payment string
// (RSAES-PKCS1-v1_5) and returns the cipher text as one line of standard Base64; padding is
// random, so every call gives a different token. Fails with keyCreationFailed when key.protocol()
// is not "RSA" or the key text is no usable RSA public key, algorithmNotSupported for a key that
// cannot encrypt, and encryptionFailed when the encryption fails (a text longer than the modulus
// length minus 11 bytes). Throws only std::bad_alloc. Thread-safe.
SDKCORE_EXPORT KeyEncryption encryptWithKey(std::string_view text, const Key& key);

}  // namespace sdkcore
