// The built-in RSA encryption over OpenSSL; a build without OpenSSL compiles this file to
// nothing, so every build compiles the same list of sources.
#if SDKCORE_WITH_OPENSSL

#include "builtin_rsa_key.hpp"

#include <openssl/core_names.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <vector>

#include "base/wiped_text.hpp"
#include "cryptogram/pkcs1_encryption_block.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {
namespace {

using Bytes = std::span<const std::uint8_t>;

static_assert(OPENSSL_RSA_MAX_MODULUS_BITS == 16384,
              "the library's key checks assume OpenSSL's limit on the modulus");

// The longest encryption block, as long as the longest modulus.
constexpr std::size_t kMaxBlockSize = OPENSSL_RSA_MAX_MODULUS_BITS / 8;

[[noreturn]] void fail(CryptogramCipherError error) { throw CryptogramCipherException(error); }

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
  // The raw RSA operation: the library pads the block itself, with the operating system's random
  // bytes, so that OpenSSL's random generator never starts (it costs more than the rest of a
  // process's first token). The padding mode goes in with the initialisation: setting it
  // afterwards takes the slower path that translates the old control calls into parameters.
  int padding = RSA_NO_PADDING;
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

BuiltinRsaKey::BuiltinRsaKey(Passkey, openssl::PkeyPtr key, std::size_t size) noexcept
    : key_(std::move(key)), size_(size), id_(nextKeyId.fetch_add(1, std::memory_order_relaxed)) {}

std::unique_ptr<BuiltinRsaKey> BuiltinRsaKey::import(const RsaPublicKeyDer& numbers) {
  openssl::PkeyPtr key = buildKey(numbers);
  const auto size = static_cast<std::size_t>(EVP_PKEY_get_size(key.get()));
  return std::make_unique<BuiltinRsaKey>(Passkey{}, std::move(key), size);
}

void BuiltinRsaKey::prepareEncryption() { encryptContext_ = encryptContext(key_.get()); }

std::size_t BuiltinRsaKey::encryptInto(Bytes plain, std::span<std::uint8_t> cipher) const {
  // Each thread encrypts with its own context, so concurrent calls need no lock; duplicating
  // reads the shared prepared context only.
  thread_local ThreadContexts contexts;
  EVP_PKEY_CTX* context = encryptContext_ ? contexts.get(id_, encryptContext_.get()) : nullptr;
  if (!context || cipher.size() < size_ || size_ > kMaxBlockSize) {
    fail(CryptogramCipherError::encryptionFailed);
  }
  // On the stack, so that no freed heap block keeps the card data; wiped on every way out.
  std::array<std::uint8_t, kMaxBlockSize> storage;
  std::span<std::uint8_t> block(storage.data(), size_);
  const WipeOnExit wipeBlock(block);
  pkcs1v15EncryptionBlock(plain, block);
  std::size_t length = cipher.size();
  if (EVP_PKEY_encrypt(context, cipher.data(), &length, block.data(), block.size()) != 1) {
    contexts.drop(id_);
    fail(CryptogramCipherError::encryptionFailed);
  }
  return length;
}

}  // namespace sdkcore

#endif  // SDKCORE_WITH_OPENSSL
