#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "openssl_handles.hpp"

namespace sdkcore {

// An RSA public key imported for RSAES-PKCS1-v1_5 encryption. Immutable after import; encrypt()
// may run on several threads at once. Each thread keeps prepared encryption contexts for the few
// keys it used last (holding a reference on each), so a call neither sets up nor duplicates one.
class RsaPublicKey {
 public:
  // Imports the DER bytes of a SubjectPublicKeyInfo, a PKCS #1 RSAPublicKey or an X.509
  // certificate. Throws CryptogramCipherException: keyCreationFailed when the bytes are not
  // exactly one such structure holding an RSA key, or when the key is weak or unusable (modulus
  // shorter than 1024 or longer than 16384 bits or even; exponent even, smaller than 3, longer
  // than 64 bits or not smaller than the modulus); algorithmNotSupported when the key cannot
  // encrypt (an RSA-PSS key).
  static std::shared_ptr<const RsaPublicKey> import(std::span<const std::uint8_t> der);

  // Imports a key text: PEM or bare Base64 of one of the structures import() reads. The text
  // goes through pemKeyContent() and must then be strict Base64. A text under the PKCS #1 armour
  // ("-----BEGIN RSA PUBLIC KEY-----", see pkcs1PemContent()) must hold a PKCS #1 RSAPublicKey
  // and nothing else. Throws as import() does, and keyCreationFailed when the text is not strict
  // Base64.
  static std::shared_ptr<const RsaPublicKey> importText(std::string_view keyText);

  // Returns the cipher text of 'plain', as long as the modulus. Throws CryptogramCipherException
  // (encryptionFailed), among others when 'plain' is longer than the modulus length minus 11.
  std::vector<std::uint8_t> encrypt(std::span<const std::uint8_t> plain) const;

  // As encrypt(), into 'cipher' (at least size() bytes); returns the length written.
  std::size_t encryptInto(std::span<const std::uint8_t> plain,
                          std::span<std::uint8_t> cipher) const;

  // The modulus length in bytes.
  std::size_t size() const noexcept { return size_; }

 private:
  enum class KeyStructure { any, pkcs1 };
  static std::shared_ptr<const RsaPublicKey> importAs(std::span<const std::uint8_t> der,
                                                      KeyStructure structure);

  // Lets import() use std::make_shared while nobody else can construct a key.
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  RsaPublicKey(Passkey, openssl::PkeyPtr key, openssl::PkeyCtxPtr encryptContext,
               std::size_t size) noexcept;

 private:
  openssl::PkeyPtr key_;
  // Initialised for encryption with PKCS #1 v1.5 padding; never used directly, only duplicated
  // into the per-thread contexts, which so skip the algorithm look-up and initialisation.
  openssl::PkeyCtxPtr encryptContext_;
  std::size_t size_;
  std::uint64_t id_;  // unique among all keys of the process
};

}  // namespace sdkcore
