#include "support/openssl_test_provider.hpp"

#include <openssl/rand.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <algorithm>
#include <climits>

#include "support/openssl_test_handles.hpp"

namespace sdkcore::testing {
namespace {

// The encryption context of the key this thread used last, found by its DER.
struct LastContext {
  std::vector<std::uint8_t> spki;
  PkeyCtxPtr context;
};

EVP_PKEY_CTX* contextFor(std::span<const std::uint8_t> spki) {
  thread_local LastContext last;
  if (last.context && std::equal(spki.begin(), spki.end(), last.spki.begin(), last.spki.end())) {
    return last.context.get();
  }
  last = LastContext{};
  const unsigned char* in = spki.data();
  const PkeyPtr key(d2i_PUBKEY(nullptr, &in, static_cast<long>(spki.size())));
  if (!key) return nullptr;
  PkeyCtxPtr context(EVP_PKEY_CTX_new_from_pkey(nullptr, key.get(), nullptr));
  if (!context || EVP_PKEY_encrypt_init(context.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) != 1) {
    return nullptr;
  }
  last = LastContext{{spki.begin(), spki.end()}, std::move(context)};
  return last.context.get();
}

int cEncrypt(void*, const sdkcore_rsa_public_key* key, const std::uint8_t* plain,
             std::size_t plainLen, std::uint8_t* cipher, std::size_t capacity,
             std::size_t* cipherLen) {
  EVP_PKEY_CTX* context = contextFor({key->spki_der, key->spki_der_len});
  *cipherLen = capacity;
  if (context == nullptr || EVP_PKEY_encrypt(context, cipher, cipherLen, plain, plainLen) != 1) {
    return SDKCORE_INTERNAL_ERROR;
  }
  return SDKCORE_OK;
}

int cRandomBytes(void*, std::uint8_t* out, std::size_t len) {
  return len <= INT_MAX && RAND_bytes(out, static_cast<int>(len)) == 1 ? SDKCORE_OK
                                                                       : SDKCORE_INTERNAL_ERROR;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> opensslEncrypt(std::span<const std::uint8_t> spki,
                                                        std::span<const std::uint8_t> plain) {
  EVP_PKEY_CTX* context = contextFor(spki);
  std::size_t size = 0;
  if (context == nullptr ||
      EVP_PKEY_encrypt(context, nullptr, &size, plain.data(), plain.size()) != 1) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> cipher(size);
  if (EVP_PKEY_encrypt(context, cipher.data(), &size, plain.data(), plain.size()) != 1) {
    return std::nullopt;
  }
  cipher.resize(size);
  return cipher;
}

bool OpenSslTestProvider::encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
                                  std::vector<std::uint8_t>& cipher) const {
  auto result = opensslEncrypt(key.subjectPublicKeyInfoDer, plain);
  if (!result) return false;
  cipher = std::move(*result);
  return true;
}

bool OpenSslTestProvider::randomBytes(std::span<std::uint8_t> out) const {
  return cRandomBytes(nullptr, out.data(), out.size()) == SDKCORE_OK;
}

sdkcore_crypto_provider openSslCProvider() { return {nullptr, cEncrypt, cRandomBytes}; }

}  // namespace sdkcore::testing
