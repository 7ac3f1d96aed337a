#include "rsa_public_key.hpp"

#include <algorithm>
#include <bit>
#include <optional>
#include <vector>

#include "base64.hpp"
#include "der_reader.hpp"
#include "pem_armour.hpp"
#include "rsa_key_forms.hpp"
#include "rsa_public_key_der.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/key.hpp"

#if SDKCORE_WITH_OPENSSL
#include "builtin_rsa_key.hpp"
#endif

namespace sdkcore {

#if !SDKCORE_WITH_OPENSSL
// Never made in a build without OpenSSL; complete so that the owning pointer can be destroyed.
class BuiltinRsaKey {};
#endif

namespace {

using Bytes = std::span<const std::uint8_t>;

// Below 1024 bits a modulus can be factored with public means.
constexpr std::size_t kMinModulusBits = 1024;
// The limit of common RSA implementations (OpenSSL's among them): a longer modulus makes the
// encryption fail.
constexpr std::size_t kMaxModulusBits = 16384;
// Real keys use 65537. A longer exponent costs time with every token (a 3071-bit one on a
// 3072-bit key fifty times as much) and gives no security.
constexpr std::size_t kMaxExponentBits = 64;

[[noreturn]] void fail(CryptogramCipherError error) { throw CryptogramCipherException(error); }

std::size_t bitLength(Bytes magnitude) {
  if (magnitude.empty()) return 0;
  return (magnitude.size() - 1) * 8 + static_cast<std::size_t>(std::bit_width(magnitude[0]));
}

bool less(Bytes a, Bytes b) {
  if (a.size() != b.size()) return a.size() < b.size();
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

bool odd(Bytes magnitude) { return !magnitude.empty() && (magnitude.back() & 1) != 0; }

// Refuses keys that give no secrecy (e = 1 sends the padded text in clear; an even exponent or
// modulus is not RSA at all), keys that RSA implementations refuse at encryption, and exponents
// too long for any real key.
void checkNumbers(const RsaPublicKeyDer& numbers) {
  const std::size_t modulusBits = bitLength(numbers.modulus);
  const std::size_t exponentBits = bitLength(numbers.exponent);
  const bool weakModulus =
      modulusBits < kMinModulusBits || modulusBits > kMaxModulusBits || !odd(numbers.modulus);
  const bool weakExponent = !odd(numbers.exponent) || exponentBits < 2 ||
                            exponentBits > kMaxExponentBits ||
                            !less(numbers.exponent, numbers.modulus);
  if (weakModulus || weakExponent) fail(CryptogramCipherError::keyCreationFailed);
}

// The built-in encryption of the checked numbers: OpenSSL's key, or none without OpenSSL. The
// checks run in the order they always had, so every key gets the same answer in both builds.
std::unique_ptr<BuiltinRsaKey> builtinKey(const RsaPublicKeyDer& numbers) {
#if SDKCORE_WITH_OPENSSL
  auto key = BuiltinRsaKey::import(numbers);
#else
  std::unique_ptr<BuiltinRsaKey> key;
#endif
  // An RSA-PSS key is restricted to signatures, whatever the RSA implementation would allow.
  if (numbers.algorithm == RsaPublicKeyDer::Algorithm::rsassaPss) {
    fail(CryptogramCipherError::algorithmNotSupported);
  }
#if SDKCORE_WITH_OPENSSL
  key->prepareEncryption();
#endif
  return key;
}

}  // namespace

RsaPublicKey::RsaPublicKey(Passkey, std::vector<std::uint8_t> pkcs1,
                           std::unique_ptr<BuiltinRsaKey> builtin)
    : pkcs1_(std::move(pkcs1)),
      subjectPublicKeyInfo_(encodeRsaSubjectPublicKeyInfo(pkcs1_)),
      builtin_(std::move(builtin)) {
  // The numbers are read back from the canonical encoding, so that the forms view this key's
  // own bytes.
  const RsaPublicKeyDer numbers = parseRsaPublicKeyDer(Bytes(pkcs1_));
  forms_ = RsaPublicKeyForms{numbers.modulus, numbers.exponent, pkcs1_, subjectPublicKeyInfo_};
}

RsaPublicKey::~RsaPublicKey() = default;

std::shared_ptr<const RsaPublicKey> RsaPublicKey::import(Bytes der) {
  return importAs(der, KeyStructure::any);
}

std::shared_ptr<const RsaPublicKey> RsaPublicKey::importAs(Bytes der, KeyStructure structure) {
  RsaPublicKeyDer numbers{};
  try {
    switch (structure) {
      case KeyStructure::any:
        numbers = parseRsaPublicKeyDer(der);
        break;
      case KeyStructure::pkcs1:
        numbers = parsePkcs1RsaPublicKeyDer(der);
        break;
    }
  } catch (const DerFormatError&) {
    fail(CryptogramCipherError::keyCreationFailed);
  }
  checkNumbers(numbers);
  std::unique_ptr<BuiltinRsaKey> builtin = builtinKey(numbers);
  return std::make_shared<const RsaPublicKey>(
      Passkey{}, encodeRsaPublicKey(numbers.modulus, numbers.exponent), std::move(builtin));
}

std::shared_ptr<const RsaPublicKey> RsaPublicKey::importText(std::string_view keyText) {
  // The PKCS #1 armour promises a bare RSAPublicKey; every other text goes through pemKeyContent.
  const std::optional<std::string> pkcs1 = pkcs1PemContent(keyText);
  const auto der = base64::decodeStrict(pkcs1 ? *pkcs1 : pemKeyContent(keyText));
  if (!der) fail(CryptogramCipherError::keyCreationFailed);
  return importAs(*der, pkcs1 ? KeyStructure::pkcs1 : KeyStructure::any);
}

std::vector<std::uint8_t> RsaPublicKey::encrypt(Bytes plain) const {
  std::vector<std::uint8_t> cipher(size());
  cipher.resize(encryptInto(plain, cipher));
  return cipher;
}

std::size_t RsaPublicKey::encryptInto(Bytes plain, std::span<std::uint8_t> cipher) const {
#if SDKCORE_WITH_OPENSSL
  if (builtin_) return builtin_->encryptInto(plain, cipher);
#else
  (void)plain;
  (void)cipher;
#endif
  fail(CryptogramCipherError::encryptionFailed);
}

}  // namespace sdkcore
