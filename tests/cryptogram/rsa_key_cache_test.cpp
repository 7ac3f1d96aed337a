#include "cryptogram/rsa_key_cache.hpp"

#include <gtest/gtest.h>

#include "cryptogram/key_material.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

using testing::Bytes;

// Imports with RsaPublicKey::import and counts the calls.
struct CountingImport {
  int calls = 0;
  std::shared_ptr<const RsaPublicKey> operator()(std::span<const std::uint8_t> der) {
    ++calls;
    return RsaPublicKey::import(der);
  }
};

Bytes derOf(int bits) { return testing::derOfPublicPem(testing::testKeyPair(bits).publicPem); }

// The same 2048-bit modulus with exponent 3: other bytes, another entry.
Bytes derWithExponentThree() {
  return testing::pkcs1(testing::numbersOf(testing::testKeyPair(2048).publicPem).modulus, {0x03});
}

TEST(RsaKeyCacheTest, SameBytesAreImportedOnce) {
  RsaKeyCache cache(4);
  CountingImport import;
  const auto importer = std::ref(import);
  const auto first = cache.getOrImport(derOf(2048), importer);
  const auto second = cache.getOrImport(derOf(2048), importer);
  EXPECT_EQ(import.calls, 1);
  EXPECT_EQ(first, second);
  cache.getOrImport(derWithExponentThree(), importer);
  EXPECT_EQ(import.calls, 2);
  EXPECT_EQ(cache.size(), 2U);
}

TEST(RsaKeyCacheTest, LeastRecentlyUsedKeyMakesRoom) {
  RsaKeyCache cache(2);
  CountingImport import;
  const auto importer = std::ref(import);
  cache.getOrImport(derOf(1024), importer);
  cache.getOrImport(derOf(2048), importer);
  cache.getOrImport(derOf(1024), importer);             // 2048 is now the oldest
  cache.getOrImport(derWithExponentThree(), importer);  // evicts 2048
  EXPECT_EQ(import.calls, 3);
  EXPECT_EQ(cache.size(), 2U);
  cache.getOrImport(derOf(1024), importer);
  EXPECT_EQ(import.calls, 3);
  cache.getOrImport(derOf(2048), importer);
  EXPECT_EQ(import.calls, 4);
}

TEST(RsaKeyCacheTest, FailedImportIsNotCachedAndFailsAgain) {
  RsaKeyCache cache(4);
  CountingImport import;
  const Bytes weak =
      testing::pkcs1(testing::numbersOf(testing::testKeyPair(2048).publicPem).modulus, {0x01});
  for (int i = 0; i < 2; ++i) {
    EXPECT_THROW(cache.getOrImport(weak, std::ref(import)), CryptogramCipherException);
  }
  EXPECT_EQ(import.calls, 2);
  EXPECT_EQ(cache.size(), 0U);
}

}  // namespace
}  // namespace sdkcore
