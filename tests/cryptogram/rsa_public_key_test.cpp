#include "cryptogram/rsa_public_key.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "cryptogram/base64.hpp"
#include "cryptogram/key_material.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

using testing::Bytes;
using testing::testKeyPair;

constexpr std::string_view kPlain = "4111111111111111/123/2512";

std::span<const std::uint8_t> bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Imports 'der' and returns what the matching private key decrypts, or the import error.
struct Outcome {
  std::optional<std::string> decrypted;
  std::optional<CryptogramCipherError> error;
};

Outcome importAndEncrypt(const Bytes& der, int bits) {
  try {
    const auto key = RsaPublicKey::import(der);
    const std::string token = base64::encode(key->encrypt(bytesOf(kPlain)));
    return {testing::decryptToken(token, testKeyPair(bits).privatePem), std::nullopt};
  } catch (const CryptogramCipherException& error) {
    return {std::nullopt, error.error()};
  }
}

struct ImportCase {
  const char* name;
  int bits;
  Bytes (*der)(int bits);
  std::optional<CryptogramCipherError> error;  // nullopt: the key must encrypt
};

Bytes spkiOf(int bits) { return testing::derOfPublicPem(testKeyPair(bits).publicPem); }

Bytes pkcs1Of(int bits) {
  const auto numbers = testing::numbersOf(testKeyPair(bits).publicPem);
  return testing::pkcs1(numbers.modulus, numbers.exponent);
}

// The same numbers under the RSA-PSS algorithm identifier: readable, but not for encryption.
Bytes pssOf(int bits) {
  const auto numbers = testing::numbersOf(testKeyPair(bits).publicPem);
  return testing::spki(testing::rsassaPssOid(), std::nullopt,
                       testing::pkcs1(numbers.modulus, numbers.exponent));
}

const ImportCase kCases[] = {
    {"Spki1024", 1024, spkiOf, std::nullopt},
    {"Spki2048", 2048, spkiOf, std::nullopt},
    {"Pkcs1_2048", 2048, pkcs1Of, std::nullopt},
    {"RsaPss2048", 2048, pssOf, CryptogramCipherError::algorithmNotSupported},
};

void PrintTo(const ImportCase& c, std::ostream* out) { *out << c.name; }

class RsaPublicKeyImportTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(RsaPublicKeyImportTest, EncryptsForTheMatchingPrivateKeyOrFails) {
  const ImportCase& c = GetParam();
  const Outcome outcome = importAndEncrypt(c.der(c.bits), c.bits);
  EXPECT_EQ(outcome.error, c.error);
  if (!c.error) {
    EXPECT_EQ(outcome.decrypted, std::string(kPlain));
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, RsaPublicKeyImportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RsaPublicKeyTest, SizeIsTheModulusLength) {
  EXPECT_EQ(RsaPublicKey::import(spkiOf(1024))->size(), 128U);
  EXPECT_EQ(RsaPublicKey::import(pkcs1Of(2048))->size(), 256U);
}

// A thread keeps encryption contexts for the last four keys it used: cycling through six keys
// evicts and remakes them, and a failed encryption drops its context. Every token must still be
// for its own key.
TEST(RsaPublicKeyTest, PerThreadContextsFollowTheirKeys) {
  const std::vector<int> sizes = {1024, 1056, 1088, 1120, 1152, 2048};
  std::vector<std::shared_ptr<const RsaPublicKey>> keys;
  for (int bits : sizes) keys.push_back(RsaPublicKey::import(spkiOf(bits)));
  const std::string tooLong(300, 'x');
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (i == 2) {
        EXPECT_THROW(keys[i]->encrypt(bytesOf(tooLong)), CryptogramCipherException);
      }
      const std::string token = base64::encode(keys[i]->encrypt(bytesOf(kPlain)));
      EXPECT_EQ(testing::decryptToken(token, testKeyPair(sizes[i]).privatePem), kPlain);
    }
  }
}

// Every import shares the prepared key-building contexts; imports on several threads at once,
// with no cache in between, must each build their own key.
TEST(RsaPublicKeyTest, ConcurrentImportsOfDifferentKeys) {
  for (const ImportCase& c : kCases) c.der(c.bits);  // key pairs made before the threads start
  std::vector<std::vector<bool>> matched(4);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < matched.size(); ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = 0; i < 12; ++i) {
        const ImportCase& c = kCases[(t + i) % std::size(kCases)];
        const Outcome outcome = importAndEncrypt(c.der(c.bits), c.bits);
        matched[t].push_back(outcome.error == c.error &&
                             (c.error || outcome.decrypted == std::string(kPlain)));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const auto& perThread : matched) EXPECT_EQ(perThread, std::vector<bool>(12, true));
}

}  // namespace
}  // namespace sdkcore
