#include "rsa_public_key.hpp"

#include <openssl/core_names.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <optional>
#include <vector>

#include "base64.hpp"
#include "pem_armour.hpp"
#include "der_reader.hpp"
#include "rsa_public_key_der.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/key.hpp"

namespace sdkcore {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Below 1024 bits a modulus can be factored with public means.
constexpr std::size_t kMinModulusBits = 1024;
// OpenSSL's RSA public operation fails with a longer modulus.
constexpr std::size_t kMaxModulusBits = OPENSSL_RSA_MAX_MODULUS_BITS;
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
// modulus is not RSA at all), keys that the RSA implementation would refuse at encryption, and
// exponents too long for any real key.
void checkNumbers(const RsaPublicKeyDer& numbers) {
  const std::size_t modulusBits = bitLength(numbers.modulus);
  const std::size_t exponentBits = bitLength(numbers.exponent);
  const bool weakModulus =
      modulusBits < kMinModulusBits || modulusBits > kMaxModulusBits || !odd(numbers.modulus);
  const bool weakExponent =
      !odd(numbers.exponent) || exponentBits < 2 || exponentBits > kMaxExponentBits ||
      !less(numbers.exponent, numbers.modulus);
  if (weakModulus || weakExponent) fail(CryptogramCipherError::keyCreationFailed);
}

// A fromdata context for 'algorithm' that no thread initialises or uses: every import works on a
// duplicate of it. Duplicating takes the context as const, which OpenSSL allows on several
// threads at once, and costs far less than a fresh context: creating one by name looks the
// algorithm up and matches its names against the built-in key types every time. Null when the
// algorithm is unavailable; the caller then creates a context itself and reports its failure.
const EVP_PKEY_CTX* fromdataTemplate(RsaPublicKeyDer::Algorithm algorithm) {
  static const openssl::PkeyCtxPtr rsa(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  static const openssl::PkeyCtxPtr rsaPss(EVP_PKEY_CTX_new_from_name(nullptr, "RSA-PSS", nullptr));
  switch (algorithm) {
    case RsaPublicKeyDer::Algorithm::rsaEncryption:
      return rsa.get();
    case RsaPublicKeyDer::Algorithm::rsassaPss:
      return rsaPss.get();
  }
  return nullptr;
}

openssl::PkeyCtxPtr fromdataContext(RsaPublicKeyDer::Algorithm algorithm) {
  if (const EVP_PKEY_CTX* prepared = fromdataTemplate(algorithm)) {
    return openssl::PkeyCtxPtr(EVP_PKEY_CTX_dup(prepared));
  }
  const char* name = algorithm == RsaPublicKeyDer::Algorithm::rsassaPss ? "RSA-PSS" : "RSA";
  return openssl::PkeyCtxPtr(EVP_PKEY_CTX_new_from_name(nullptr, name, nullptr));
}

// Big-endian magnitude to the host byte order that OSSL_PARAM integers use. Hand-written because
// going through BIGNUM and OSSL_PARAM_BLD converts both numbers twice and allocates six times.
std::vector<std::uint8_t> nativeOrder(Bytes magnitude) {
  static_assert(std::endian::native == std::endian::little ||
                std::endian::native == std::endian::big);
  if constexpr (std::endian::native == std::endian::little) {
    return {magnitude.rbegin(), magnitude.rend()};
  } else {
    return {magnitude.begin(), magnitude.end()};
  }
}

openssl::PkeyPtr buildKey(const RsaPublicKeyDer& numbers) {
  std::vector<std::uint8_t> n = nativeOrder(numbers.modulus);
  std::vector<std::uint8_t> e = nativeOrder(numbers.exponent);
  OSSL_PARAM params[] = {
      OSSL_PARAM_construct_BN(OSSL_PKEY_PARAM_RSA_N, n.data(), n.size()),
      OSSL_PARAM_construct_BN(OSSL_PKEY_PARAM_RSA_E, e.data(), e.size()),
      OSSL_PARAM_construct_end(),
  };
  const openssl::PkeyCtxPtr context = fromdataContext(numbers.algorithm);
  EVP_PKEY* key = nullptr;
  if (!context || EVP_PKEY_fromdata_init(context.get()) != 1 ||
      EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_PUBLIC_KEY, params) != 1) {
    fail(CryptogramCipherError::keyCreationFailed);
  }
  return openssl::PkeyPtr(key);
}

openssl::PkeyCtxPtr encryptContext(EVP_PKEY* key) {
  openssl::PkeyCtxPtr context(EVP_PKEY_CTX_new_from_pkey(nullptr, key, nullptr));
  if (!context) fail(CryptogramCipherError::keyCreationFailed);
  // The padding goes in with the initialisation: setting it afterwards takes the slower path
  // that translates the old control calls into parameters.
  int padding = RSA_PKCS1_PADDING;
  const OSSL_PARAM params[] = {
      OSSL_PARAM_construct_int(OSSL_ASYM_CIPHER_PARAM_PAD_MODE, &padding),
      OSSL_PARAM_construct_end(),
  };
  if (EVP_PKEY_encrypt_init_ex(context.get(), params) != 1) {
    fail(CryptogramCipherError::algorithmNotSupported);
  }
  return context;
}

// Ids tell imported keys apart for the per-thread contexts; they are never reused.
std::atomic<std::uint64_t> nextKeyId{1};

// This thread's encryption contexts for the keys it used most recently, most recent first. A
// context holds a reference on its key, so an entry stays sound after the key itself is released,
// and as ids are never reused no entry can be taken for another key's.
class ThreadContexts {
 public:
  // The context for key 'keyId', duplicated from 'prepared' on first use; null when OpenSSL
  // cannot duplicate it.
  EVP_PKEY_CTX* get(std::uint64_t keyId, const EVP_PKEY_CTX* prepared) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [keyId](const Entry& entry) { return entry.keyId == keyId; });
    if (found == entries_.end()) {
      openssl::PkeyCtxPtr context(EVP_PKEY_CTX_dup(prepared));
      if (!context) return nullptr;
      found = entries_.end() - 1;  // the least recently used makes room
      *found = Entry{keyId, std::move(context)};
    }
    std::rotate(entries_.begin(), found, found + 1);
    return entries_.front().context.get();
  }

  // Forgets the context of 'keyId', so that a failed operation leaves no state behind.
  void drop(std::uint64_t keyId) noexcept {
    for (Entry& entry : entries_) {
      if (entry.keyId == keyId) entry = Entry{};
    }
  }

 private:
  struct Entry {
    std::uint64_t keyId = 0;
    openssl::PkeyCtxPtr context;
  };
  std::array<Entry, 4> entries_;
};

}  // namespace

RsaPublicKey::RsaPublicKey(Passkey, openssl::PkeyPtr key, openssl::PkeyCtxPtr encryptContext,
                           std::size_t size) noexcept
    : key_(std::move(key)),
      encryptContext_(std::move(encryptContext)),
      size_(size),
      id_(nextKeyId.fetch_add(1, std::memory_order_relaxed)) {}

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
  openssl::PkeyPtr key = buildKey(numbers);
  // An RSA-PSS key is restricted to signatures, whatever the RSA implementation would allow.
  if (numbers.algorithm == RsaPublicKeyDer::Algorithm::rsassaPss) {
    fail(CryptogramCipherError::algorithmNotSupported);
  }
  openssl::PkeyCtxPtr context = encryptContext(key.get());
  const std::size_t size = static_cast<std::size_t>(EVP_PKEY_get_size(key.get()));
  return std::make_shared<const RsaPublicKey>(Passkey{}, std::move(key), std::move(context), size);
}

std::shared_ptr<const RsaPublicKey> RsaPublicKey::importText(std::string_view keyText) {
  // The PKCS #1 armour promises a bare RSAPublicKey; every other text goes through pemKeyContent.
  const std::optional<std::string> pkcs1 = pkcs1PemContent(keyText);
  const auto der = base64::decodeStrict(pkcs1 ? *pkcs1 : pemKeyContent(keyText));
  if (!der) fail(CryptogramCipherError::keyCreationFailed);
  return importAs(*der, pkcs1 ? KeyStructure::pkcs1 : KeyStructure::any);
}

std::vector<std::uint8_t> RsaPublicKey::encrypt(Bytes plain) const {
  std::vector<std::uint8_t> cipher(size_);
  cipher.resize(encryptInto(plain, cipher));
  return cipher;
}

std::size_t RsaPublicKey::encryptInto(Bytes plain, std::span<std::uint8_t> cipher) const {
  // Each thread encrypts with its own context, so concurrent calls need no lock; duplicating
  // reads the shared prepared context only.
  thread_local ThreadContexts contexts;
  EVP_PKEY_CTX* context = contexts.get(id_, encryptContext_.get());
  if (!context || cipher.size() < size_) fail(CryptogramCipherError::encryptionFailed);
  static constexpr std::uint8_t kNoBytes = 0;
  const std::uint8_t* input = plain.empty() ? &kNoBytes : plain.data();
  std::size_t length = cipher.size();
  if (EVP_PKEY_encrypt(context, cipher.data(), &length, input, plain.size()) != 1) {
    contexts.drop(id_);
    fail(CryptogramCipherError::encryptionFailed);
  }
  return length;
}

}  // namespace sdkcore
