// Costs of the RSA cipher's parts for a 2048-bit key: DER import through OpenSSL's generic
// decoder against the library's own DER reading, and the cipher's encrypt call with its key
// cache hit and missed.
#include <benchmark/benchmark.h>

#include <openssl/x509.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bench_keys.hpp"
#include "cryptogram/rsa_cryptogram_cipher.hpp"
#include "cryptogram/rsa_key_cache.hpp"
#include "cryptogram/rsa_public_key.hpp"
#include "sdkcore/key.hpp"

namespace sdkcore::bench {
namespace {

void derImportGeneric(benchmark::State& state) {
  const std::vector<std::uint8_t>& der = benchKey().der;
  for (auto _ : state) {
    const unsigned char* p = der.data();
    const openssl::PkeyPtr key(d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size())));
    benchmark::DoNotOptimize(key.get());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(derImportGeneric)->Name("der_import_generic");

void derImportOwn(benchmark::State& state) {
  const std::vector<std::uint8_t>& der = benchKey().der;
  for (auto _ : state) benchmark::DoNotOptimize(RsaPublicKey::import(der));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(derImportOwn)->Name("der_import_own");

void encryptCacheHit(benchmark::State& state) {
  const RSACryptogramCipher cipher;
  const Key key(benchKey().pem, "RSA", std::numeric_limits<std::int64_t>::max());
  for (auto _ : state) benchmark::DoNotOptimize(cipher.encrypt(kPaymentString, key));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(encryptCacheHit)->Name("cipher_cache_hit")->UseRealTime();

void encryptCacheMiss(benchmark::State& state) {
  // Twice as many keys as the cache holds, used in turn: every look-up misses.
  static const std::vector<std::string> texts = distinctKeyTexts(2 * RsaKeyCache::kDefaultCapacity);
  const RSACryptogramCipher cipher;
  std::size_t next = 0;
  for (auto _ : state) {
    const Key key(texts[next++ % texts.size()], "RSA", std::numeric_limits<std::int64_t>::max());
    benchmark::DoNotOptimize(cipher.encrypt(kPaymentString, key));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(encryptCacheMiss)->Name("cipher_cache_miss")->UseRealTime();

}  // namespace
}  // namespace sdkcore::bench
