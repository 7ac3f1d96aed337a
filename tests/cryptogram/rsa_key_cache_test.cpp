#include "cryptogram/rsa_key_cache.hpp"

#include <gtest/gtest.h>

#include "cryptogram/base64.hpp"
#include "cryptogram/key_material.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

// Imports with RsaPublicKey::importText and counts the calls.
struct CountingImport {
  int calls = 0;
  std::shared_ptr<const RsaPublicKey> operator()(std::string_view keyText) {
    ++calls;
    return RsaPublicKey::importText(keyText);
  }
};

std::string pemOf(int bits) { return testing::testKeyPair(bits).publicPem; }

// The same 2048-bit modulus with exponent 3: another text, another entry.
std::string textWithExponentThree() {
  return base64::encode(
      testing::pkcs1(testing::numbersOf(testing::testKeyPair(2048).publicPem).modulus, {0x03}));
}

TEST(RsaKeyCacheTest, SameTextIsImportedOnce) {
  RsaKeyCache cache(4);
  CountingImport import;
  const auto importer = std::ref(import);
  const auto first = cache.getOrImport(pemOf(2048), importer);
  const auto second = cache.getOrImport(pemOf(2048), importer);
  EXPECT_EQ(import.calls, 1);
  EXPECT_EQ(first, second);
  cache.getOrImport(textWithExponentThree(), importer);
  EXPECT_EQ(import.calls, 2);
  EXPECT_EQ(cache.size(), 2U);
}

TEST(RsaKeyCacheTest, LeastRecentlyUsedKeyMakesRoom) {
  RsaKeyCache cache(2);
  CountingImport import;
  const auto importer = std::ref(import);
  cache.getOrImport(pemOf(1024), importer);
  cache.getOrImport(pemOf(2048), importer);
  cache.getOrImport(pemOf(1024), importer);              // 2048 is now the oldest
  cache.getOrImport(textWithExponentThree(), importer);  // evicts 2048
  EXPECT_EQ(import.calls, 3);
  EXPECT_EQ(cache.size(), 2U);
  cache.getOrImport(pemOf(1024), importer);
  EXPECT_EQ(import.calls, 3);
  cache.getOrImport(pemOf(2048), importer);
  EXPECT_EQ(import.calls, 4);
}

TEST(RsaKeyCacheTest, FailedImportIsNotCachedAndFailsAgain) {
  RsaKeyCache cache(4);
  CountingImport import;
  const std::string weak = base64::encode(
      testing::pkcs1(testing::numbersOf(testing::testKeyPair(2048).publicPem).modulus, {0x01}));
  for (int i = 0; i < 2; ++i) {
    EXPECT_THROW(cache.getOrImport(weak, std::ref(import)), CryptogramCipherException);
  }
  EXPECT_EQ(import.calls, 2);
  EXPECT_EQ(cache.size(), 0U);
}

TEST(RsaKeyCacheTest, OverlongTextIsImportedButNotKept) {
  RsaKeyCache cache(4);
  CountingImport import;
  const std::string text = pemOf(2048) + std::string(RsaKeyCache::kMaxCachedTextSize, '\n');
  for (int i = 0; i < 2; ++i) EXPECT_NE(cache.getOrImport(text, std::ref(import)), nullptr);
  EXPECT_EQ(import.calls, 2);
  EXPECT_EQ(cache.size(), 0U);
}

}  // namespace
}  // namespace sdkcore
