#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "sdkcore/crypto_provider.hpp"

namespace sdkcore {

class BuiltinRsaKey;

// An RSA public key, read and checked by the library for RSAES-PKCS1-v1_5 encryption, with the
// forms a crypto provider takes and, in a build with OpenSSL, the built-in encryption. Immutable
// after import; every member may be used on several threads at once.
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

  // Returns the cipher text of 'plain' by the built-in encryption, as long as the modulus. Throws
  // CryptogramCipherException (encryptionFailed), among others when 'plain' is longer than the
  // modulus length minus 11, and always in a build without OpenSSL.
  std::vector<std::uint8_t> encrypt(std::span<const std::uint8_t> plain) const;

  // As encrypt(), into 'cipher' (at least size() bytes); returns the length written.
  std::size_t encryptInto(std::span<const std::uint8_t> plain,
                          std::span<std::uint8_t> cipher) const;

  // The key in the forms a crypto provider takes, viewing this key's own bytes.
  const RsaPublicKeyForms& forms() const noexcept { return forms_; }

  // The modulus length in bytes.
  std::size_t size() const noexcept { return forms_.modulus.size(); }

 private:
  enum class KeyStructure { any, pkcs1 };
  static std::shared_ptr<const RsaPublicKey> importAs(std::span<const std::uint8_t> der,
                                                      KeyStructure structure);

  // Lets import() use std::make_shared while nobody else can construct a key.
  struct Passkey {
    explicit Passkey() = default;
  };

 public:
  RsaPublicKey(Passkey, std::vector<std::uint8_t> pkcs1, std::unique_ptr<BuiltinRsaKey> builtin);
  ~RsaPublicKey();
  RsaPublicKey(const RsaPublicKey&) = delete;
  RsaPublicKey& operator=(const RsaPublicKey&) = delete;

 private:
  std::vector<std::uint8_t> pkcs1_;
  std::vector<std::uint8_t> subjectPublicKeyInfo_;
  RsaPublicKeyForms forms_;
  std::unique_ptr<BuiltinRsaKey> builtin_;  // null in a build without OpenSSL
};

}  // namespace sdkcore
