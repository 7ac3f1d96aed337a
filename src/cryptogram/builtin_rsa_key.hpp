#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "openssl_handles.hpp"
#include "rsa_public_key_der.hpp"

namespace sdkcore {

// The built-in RSA encryption: an RSA public key imported into OpenSSL, for RSAES-PKCS1-v1_5
// with the padding built by the library and the raw RSA operation by OpenSSL, which so never
// draws random bytes. Immutable after preparation; encryptInto() may run on several threads at
// once. Each thread keeps prepared encryption contexts for the few keys it used last (holding a
// reference on each), so a call neither sets up nor duplicates one. Built only with OpenSSL.
class BuiltinRsaKey {
 public:
  // Imports the numbers, which the caller has checked. Throws CryptogramCipherException
  // (keyCreationFailed) when OpenSSL refuses them.
  static std::unique_ptr<BuiltinRsaKey> import(const RsaPublicKeyDer& numbers);

  // Prepares the key for the raw RSA operation. Throws CryptogramCipherException
  // (algorithmNotSupported) when the key cannot encrypt.
  void prepareEncryption();

  // Encrypts 'plain' into 'cipher' (at least size() bytes) with PKCS #1 v1.5 padding whose random
  // bytes come from randomBytes(); returns the length written. Throws CryptogramCipherException
  // (encryptionFailed), among others when 'plain' is longer than the modulus length minus 11, and
  // RandomSourceError when the random generator fails.
  std::size_t encryptInto(std::span<const std::uint8_t> plain,
                          std::span<std::uint8_t> cipher) const;

  // The modulus length in bytes.
  std::size_t size() const noexcept { return size_; }

 private:
  // Lets import() use std::make_unique while nobody else can construct a key.
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  BuiltinRsaKey(Passkey, openssl::PkeyPtr key, std::size_t size) noexcept;

 private:
  openssl::PkeyPtr key_;
  // Initialised for the raw RSA operation (no padding); never used directly, only duplicated
  // into the per-thread contexts, which so skip the algorithm look-up and initialisation.
  openssl::PkeyCtxPtr encryptContext_;
  std::size_t size_;
  std::uint64_t id_;  // unique among all keys of the process
};

}  // namespace sdkcore
