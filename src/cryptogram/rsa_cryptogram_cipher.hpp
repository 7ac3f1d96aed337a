#pragma once

#include <string>
#include <string_view>

#include "cryptogram_cipher.hpp"
#include "rsa_public_key.hpp"
#include "sdkcore/key.hpp"

#if SDKCORE_WITH_OPENSSL
#include <openssl/err.h>
#endif

namespace sdkcore {

// Removes the OpenSSL errors that a call queues on the thread, leaving older ones in place, so
// that a failure leaves no state behind. Marks do not nest: one per call. Does nothing in a build
// without OpenSSL.
class ErrorQueueMark {
 public:
#if SDKCORE_WITH_OPENSSL
  ErrorQueueMark() noexcept { ERR_set_mark(); }
  ~ErrorQueueMark() { ERR_pop_to_mark(); }
#else
  ErrorQueueMark() noexcept {}
  ~ErrorQueueMark() {}  // NOLINT: user-provided, so that a mark is never an unused variable
#endif
  ErrorQueueMark(const ErrorQueueMark&) = delete;
  ErrorQueueMark& operator=(const ErrorQueueMark&) = delete;
};

// Returns the imported key of 'keyText' from the shared RsaKeyCache, importing it when missing;
// each thread also keeps the key it used last, so a run of requests with one key touches no
// shared state. Valid until the next call on the same thread. Throws as
// RsaPublicKey::importText().
const RsaPublicKey& cachedRsaKey(std::string_view keyText);

// Encrypts a payment string with an RSA public key (RSAES-PKCS1-v1_5, RFC 8017) and returns the
// cipher text as one line of standard Base64. The key text is PEM (armour lines of public keys
// and certificates) or bare Base64 of a DER SubjectPublicKeyInfo, PKCS #1 RSAPublicKey or X.509
// certificate. Padding is random, so every call gives a different token.
//
// Thread-safe: calls are independent. Imported keys are kept in a small process-wide cache
// (RsaKeyCache), and each thread keeps the key it used last; neither changes any result.
class RSACryptogramCipher final : public CryptogramCipher {
 public:
  // Returns the Base64 token of the UTF-8 bytes of 'paymentString'. Throws
  // CryptogramCipherException:
  // - keyCreationFailed: key.protocol() is not exactly "RSA"; the key text, after pemKeyContent
  //   (or under the PKCS #1 armour, see RsaPublicKey::importText), is not strict Base64; the
  //   bytes are not an RSA public key; or the key is weak (modulus shorter than 1024 bits, public
  //   exponent even, smaller than 3 or longer than 64 bits).
  // - algorithmNotSupported: the key cannot encrypt (an RSA-PSS key).
  // - encryptionFailed: the encryption fails, among others when 'paymentString' is longer than
  //   the modulus length minus 11 bytes, and always in a build without OpenSSL (see
  //   CryptoProvider).
  // Throws RandomSourceError when the operating system's random generator fails. The only copy
  // of the plain bytes is the padded block, on the stack and wiped after use; 'paymentString'
  // stays the caller's to wipe. key.expiration() is not read.
  std::string encrypt(std::string_view paymentString, const Key& key) const override;

  // As encrypt() with an RSA key whose text is 'keyText', for callers that hold the text alone:
  // no Key, and so no copy of the text, is made.
  std::string encryptWithRsaKey(std::string_view paymentString, std::string_view keyText) const;
};

}  // namespace sdkcore
