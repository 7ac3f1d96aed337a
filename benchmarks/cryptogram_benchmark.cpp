// Costs of the RSA cipher's parts for a 2048-bit key: key import (OpenSSL's generic decoder
// against the library's own DER reading), the RSA operation alone and on a freshly imported key,
// and the whole encrypt call with the key cache hit and missed.
#include <benchmark/benchmark.h>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "cryptogram/base64.hpp"
#include "cryptogram/openssl_handles.hpp"
#include "cryptogram/rsa_cryptogram_cipher.hpp"
#include "cryptogram/rsa_key_cache.hpp"
#include "cryptogram/rsa_public_key.hpp"
#include "sdkcore/key.hpp"

namespace {

using sdkcore::openssl::PkeyCtxPtr;
using sdkcore::openssl::PkeyPtr;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kPaymentString =
    "2024-01-15T10:00:00+03:00/11111111-2222-3333-4444-555555555555/4111111111111111/123/2512/"
    "ORDER-1//JOHN DOE/ZKIT_CORE";

struct Fixture {
  PkeyPtr key;
  Bytes der;
  std::string pem;
};

const Fixture& fixture() {
  static const Fixture made = [] {
    Fixture f{PkeyPtr(EVP_RSA_gen(2048)), {}, {}};
    if (!f.key) throw std::runtime_error("key generation failed");
    unsigned char* raw = nullptr;
    const int size = i2d_PUBKEY(f.key.get(), &raw);
    f.der.assign(raw, raw + size);
    OPENSSL_free(raw);
    f.pem = "-----BEGIN PUBLIC KEY-----\n" + sdkcore::base64::encode(f.der) +
            "\n-----END PUBLIC KEY-----\n";
    return f;
  }();
  return made;
}

// DER SubjectPublicKeyInfo texts of 'count' moduli next to the fixture's (n + 2i, still odd and
// as long) with its exponent 65537: different bytes, so different cache entries, without
// generating keys, and the same RSA work per operation as the fixture's key (RSA encryption does
// not care whether the modulus has two prime factors).
std::vector<std::string> distinctKeyTexts(std::size_t count) {
  BIGNUM* n = nullptr;
  EVP_PKEY_get_bn_param(fixture().key.get(), "n", &n);
  const sdkcore::openssl::BignumPtr e(BN_new());
  BN_set_word(e.get(), 65537);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < count; ++i) {
    const sdkcore::openssl::BignumPtr modulus(BN_dup(n));
    BN_add_word(modulus.get(), 2 * i);
    const sdkcore::openssl::ParamBldPtr builder(OSSL_PARAM_BLD_new());
    OSSL_PARAM_BLD_push_BN(builder.get(), "n", modulus.get());
    OSSL_PARAM_BLD_push_BN(builder.get(), "e", e.get());
    const sdkcore::openssl::ParamPtr params(OSSL_PARAM_BLD_to_param(builder.get()));
    const PkeyCtxPtr context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    EVP_PKEY* raw = nullptr;
    EVP_PKEY_fromdata_init(context.get());
    EVP_PKEY_fromdata(context.get(), &raw, EVP_PKEY_PUBLIC_KEY, params.get());
    const PkeyPtr key(raw);
    unsigned char* der = nullptr;
    const int size = i2d_PUBKEY(key.get(), &der);
    texts.push_back(sdkcore::base64::encode(Bytes(der, der + size)));
    OPENSSL_free(der);
  }
  BN_free(n);
  return texts;
}

void BM_ImportGenericDecoder(benchmark::State& state) {
  const Bytes& der = fixture().der;
  for (auto _ : state) {
    const unsigned char* p = der.data();
    PkeyPtr key(d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size())));
    benchmark::DoNotOptimize(key.get());
  }
}
BENCHMARK(BM_ImportGenericDecoder);

void BM_ImportOwnDerReader(benchmark::State& state) {
  const Bytes& der = fixture().der;
  for (auto _ : state) benchmark::DoNotOptimize(sdkcore::RsaPublicKey::import(der));
}
BENCHMARK(BM_ImportOwnDerReader);

void BM_RsaOperationOnly(benchmark::State& state) {
  const PkeyCtxPtr context(EVP_PKEY_CTX_new_from_pkey(nullptr, fixture().key.get(), nullptr));
  EVP_PKEY_encrypt_init(context.get());
  EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING);
  std::vector<unsigned char> out(256);
  const auto* in = reinterpret_cast<const unsigned char*>(kPaymentString.data());
  for (auto _ : state) {
    std::size_t size = out.size();
    EVP_PKEY_encrypt(context.get(), out.data(), &size, in, kPaymentString.size());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_RsaOperationOnly);

// Import and one operation on the fresh key, as on a cache miss: the first operation also sets up
// the Montgomery form of the modulus, which the RSA implementation then keeps with the key.
void BM_ImportAndFirstOperation(benchmark::State& state) {
  const Bytes& der = fixture().der;
  const auto* in = reinterpret_cast<const std::uint8_t*>(kPaymentString.data());
  const std::span<const std::uint8_t> plain(in, kPaymentString.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(sdkcore::RsaPublicKey::import(der)->encrypt(plain));
  }
}
BENCHMARK(BM_ImportAndFirstOperation);

// Per-call context: duplicating a prepared one against creating and initialising a fresh one.
void BM_ContextDuplicate(benchmark::State& state) {
  const PkeyCtxPtr prepared(EVP_PKEY_CTX_new_from_pkey(nullptr, fixture().key.get(), nullptr));
  EVP_PKEY_encrypt_init(prepared.get());
  EVP_PKEY_CTX_set_rsa_padding(prepared.get(), RSA_PKCS1_PADDING);
  for (auto _ : state) {
    PkeyCtxPtr context(EVP_PKEY_CTX_dup(prepared.get()));
    benchmark::DoNotOptimize(context.get());
  }
}
BENCHMARK(BM_ContextDuplicate);

void BM_ContextCreate(benchmark::State& state) {
  for (auto _ : state) {
    PkeyCtxPtr context(EVP_PKEY_CTX_new_from_pkey(nullptr, fixture().key.get(), nullptr));
    EVP_PKEY_encrypt_init(context.get());
    EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING);
    benchmark::DoNotOptimize(context.get());
  }
}
BENCHMARK(BM_ContextCreate);

void BM_EncryptCacheHit(benchmark::State& state) {
  const sdkcore::RSACryptogramCipher cipher;
  const sdkcore::Key key(fixture().pem, "RSA", std::numeric_limits<std::int64_t>::max());
  for (auto _ : state) benchmark::DoNotOptimize(cipher.encrypt(kPaymentString, key));
}
BENCHMARK(BM_EncryptCacheHit)->ThreadRange(1, 2);

void BM_EncryptCacheMiss(benchmark::State& state) {
  // Twice as many keys as the cache holds, used in turn: every look-up misses.
  static const std::vector<std::string> texts =
      distinctKeyTexts(2 * sdkcore::RsaKeyCache::kDefaultCapacity);
  const sdkcore::RSACryptogramCipher cipher;
  std::size_t next = 0;
  for (auto _ : state) {
    const sdkcore::Key key(texts[next++ % texts.size()], "RSA",
                           std::numeric_limits<std::int64_t>::max());
    benchmark::DoNotOptimize(cipher.encrypt(kPaymentString, key));
  }
}
BENCHMARK(BM_EncryptCacheMiss);

}  // namespace
