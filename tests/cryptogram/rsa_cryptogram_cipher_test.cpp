#include "cryptogram/rsa_cryptogram_cipher.hpp"

#include <gtest/gtest.h>

#include <openssl/err.h>
#include <openssl/rand.h>
#include <ostream>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "cryptogram/key_material.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/sdkcore.hpp"
#include "support/resource_use.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

using testing::Bytes;
using testing::testKeyPair;

constexpr std::int64_t kNoExpiry = std::numeric_limits<std::int64_t>::max();
constexpr std::string_view kPaymentString =
    "2024-01-15T10:00:00+03:00/11111111-2222-3333-4444-555555555555/4111111111111111/123/2512/"
    "ORDER-1//JOHN DOE/ZKIT_CORE";

Key rsaKey(std::string text) { return Key(std::move(text), "RSA", kNoExpiry); }

std::string encrypt(std::string_view text, const Key& key) {
  return RSACryptogramCipher().encrypt(text, key);
}

// Returns the error that encrypting throws, or nullopt when it succeeds.
std::optional<CryptogramCipherError> errorOf(const Key& key, std::string_view text = "x") {
  try {
    encrypt(text, key);
    return std::nullopt;
  } catch (const CryptogramCipherException& error) {
    return error.error();
  }
}

// A 2048-bit modulus with the key's own exponent replaced.
Bytes pkcs1WithExponent(const Bytes& exponent) {
  return testing::pkcs1(testing::numbersOf(testKeyPair(2048).publicPem).modulus, exponent);
}

// An odd modulus of exactly 'bits' bits (not a product of two primes; RSA encryption does not
// care).
Bytes modulusOfBits(std::size_t bits) {
  Bytes modulus((bits + 7) / 8, 0xA5);
  modulus[0] = static_cast<std::uint8_t>(1U << ((bits - 1) % 8));
  modulus.back() |= 1;
  return modulus;
}

std::string withCrLf(const std::string& pem) {
  std::string out;
  for (char c : pem) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

std::string indented(const std::string& pem) {
  std::string out = "  ";
  for (char c : pem) out += c == '\n' ? std::string("\n\t ") : std::string(1, c);
  return out;
}

TEST(RSACryptogramCipherTest, TokenDecryptsToTheUtf8BytesOfTheText) {
  for (std::string_view text :
       {kPaymentString, std::string_view("Zürich — 東京 €"), std::string_view("")}) {
    const std::string token = encrypt(text, rsaKey(testKeyPair(2048).publicPem));
    EXPECT_EQ(testing::decryptToken(token, testKeyPair(2048).privatePem), std::string(text));
  }
}

TEST(RSACryptogramCipherTest, TokenLengthFollowsTheModulus) {
  for (const auto& [bits, length] : {std::pair{1024, 172U}, {2048, 344U}, {4096, 684U}}) {
    const std::string token = encrypt(kPaymentString, rsaKey(testKeyPair(bits).publicPem));
    EXPECT_EQ(token.size(), length) << bits;
    EXPECT_EQ(token.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(testing::decryptToken(token, testKeyPair(bits).privatePem), kPaymentString);
  }
}

TEST(RSACryptogramCipherTest, PlainTextUpToModulusLengthMinusElevenBytes) {
  const Key key = rsaKey(testKeyPair(2048).publicPem);
  const std::string longest(245, 'A');
  EXPECT_EQ(testing::decryptToken(encrypt(longest, key), testKeyPair(2048).privatePem), longest);
  EXPECT_EQ(errorOf(key, std::string(246, 'A')), CryptogramCipherError::encryptionFailed);
  // 123 two-byte characters are 246 bytes.
  std::string wide;
  for (int i = 0; i < 123; ++i) wide += "é";
  EXPECT_EQ(errorOf(key, wide), CryptogramCipherError::encryptionFailed);
}

TEST(RSACryptogramCipherTest, PaddingIsRandom) {
  const Key key = rsaKey(testKeyPair(2048).publicPem);
  const std::string first = encrypt(kPaymentString, key);
  const std::string second = encrypt(kPaymentString, key);
  EXPECT_NE(first, second);
  EXPECT_EQ(testing::decryptToken(second, testKeyPair(2048).privatePem), kPaymentString);
}

TEST(RSACryptogramCipherTest, FailureLeavesNoOpenSslErrorBehind) {
  ERR_clear_error();
  EXPECT_EQ(errorOf(rsaKey(testKeyPair(2048).publicPem), std::string(300, 'A')),
            CryptogramCipherError::encryptionFailed);
  EXPECT_EQ(ERR_peek_error(), 0UL);
}

// Key texts and encodings that must be usable.
struct AcceptedCase {
  std::string name;
  std::function<std::string()> keyText;
  int bits;
};

void PrintTo(const AcceptedCase& value, std::ostream* out) { *out << value.name; }

class AcceptedKeyTest : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedKeyTest, EncryptsForTheMatchingPrivateKey) {
  const std::string token = encrypt(kPaymentString, rsaKey(GetParam().keyText()));
  EXPECT_EQ(testing::decryptToken(token, testKeyPair(GetParam().bits).privatePem), kPaymentString);
}

const std::string& pem2048() { return testKeyPair(2048).publicPem; }
Bytes der2048() { return testing::derOfPublicPem(pem2048()); }
testing::RsaNumbers numbers2048() { return testing::numbersOf(pem2048()); }

INSTANTIATE_TEST_SUITE_P(
    KeyForms, AcceptedKeyTest,
    ::testing::Values(
        AcceptedCase{"Pem", [] { return pem2048(); }, 2048},
        AcceptedCase{"PemWithCrLf", [] { return withCrLf(pem2048()); }, 2048},
        AcceptedCase{"PemIndentedWithSpacesAndTabs", [] { return indented(pem2048()); }, 2048},
        AcceptedCase{"BareBase64", [] { return testing::base64(der2048()); }, 2048},
        AcceptedCase{"CertificatePem",
                     [] { return testing::certificatePem(testKeyPair(2048).privatePem); }, 2048},
        AcceptedCase{"CertificatePemWithCrLf",
                     [] { return withCrLf(testing::certificatePem(testKeyPair(1024).privatePem)); },
                     1024},
        AcceptedCase{"BarePkcs1Base64",
                     [] {
                       const auto n = numbers2048();
                       return testing::base64(testing::pkcs1(n.modulus, n.exponent));
                     },
                     2048},
        AcceptedCase{"Pkcs1UnderItsOwnArmourWithCrLf",
                     [] {
                       const auto n = numbers2048();
                       return withCrLf(
                           testing::pem(testing::pkcs1(n.modulus, n.exponent), "RSA PUBLIC KEY"));
                     },
                     2048},
        AcceptedCase{"SpkiWithoutNullParameters",
                     [] {
                       const auto n = numbers2048();
                       return testing::pem(testing::spki(testing::rsaEncryptionOid(), std::nullopt,
                                                         testing::pkcs1(n.modulus, n.exponent)));
                     },
                     2048}),
    [](const auto& info) { return info.param.name; });

// Keys and texts that must be refused, with the error.
struct RefusedCase {
  std::string name;
  std::function<Key()> key;
  CryptogramCipherError error;
};

void PrintTo(const RefusedCase& value, std::ostream* out) { *out << value.name; }

class RefusedKeyTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedKeyTest, FailsWithTheError) {
  EXPECT_EQ(errorOf(GetParam().key()), GetParam().error);
}

Key pemKey(const Bytes& der) { return rsaKey(testing::pem(der)); }

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

constexpr auto kKeyCreationFailed = CryptogramCipherError::keyCreationFailed;

INSTANTIATE_TEST_SUITE_P(
    FailureTable, RefusedKeyTest,
    ::testing::Values(
        RefusedCase{"ProtocolLowerCase", [] { return Key(pem2048(), "rsa", kNoExpiry); },
                    kKeyCreationFailed},
        RefusedCase{"ProtocolWithTrailingSpace", [] { return Key(pem2048(), "RSA ", kNoExpiry); },
                    kKeyCreationFailed},
        RefusedCase{"ProtocolEmpty", [] { return Key(pem2048(), "", kNoExpiry); },
                    kKeyCreationFailed},
        RefusedCase{"EmptyText", [] { return rsaKey(""); }, kKeyCreationFailed},
        RefusedCase{"ArmourOnly",
                    [] { return rsaKey("-----BEGIN PUBLIC KEY-----\n-----END PUBLIC KEY-----\n"); },
                    kKeyCreationFailed},
        RefusedCase{"SpkiUnderPkcs1Armour",
                    [] { return rsaKey(testing::pem(der2048(), "RSA PUBLIC KEY")); },
                    kKeyCreationFailed},
        RefusedCase{"Pkcs1ArmourEndingAsSpki",
                    [] {
                      const auto n = numbers2048();
                      return rsaKey(replaced(
                          testing::pem(testing::pkcs1(n.modulus, n.exponent), "RSA PUBLIC KEY"),
                          "END RSA PUBLIC KEY", "END PUBLIC KEY"));
                    },
                    kKeyCreationFailed},
        RefusedCase{
            "ExponentOneUnderPkcs1Armour",
            [] { return rsaKey(testing::pem(pkcs1WithExponent({0x01}), "RSA PUBLIC KEY")); },
            kKeyCreationFailed},
        RefusedCase{"LowerCaseArmourStays",
                    [] {
                      std::string text =
                          replaced(pem2048(), "BEGIN PUBLIC KEY", "begin public key");
                      return rsaKey(replaced(text, "END PUBLIC KEY", "end public key"));
                    },
                    kKeyCreationFailed},
        RefusedCase{"StrayCharacter", [] { return rsaKey(replaced(pem2048(), "MIIB", "MI*B")); },
                    kKeyCreationFailed},
        RefusedCase{"UrlSafeAlphabet",
                    [] {
                      std::string text = testing::base64(der2048());
                      for (char& c : text) c = c == '+' ? '-' : c == '/' ? '_' : c;
                      return rsaKey(text);
                    },
                    kKeyCreationFailed},
        RefusedCase{"VerticalTab", [] { return rsaKey(replaced(pem2048(), "MIIB", "MI\vIB")); },
                    kKeyCreationFailed},
        RefusedCase{"PaddingMissing",
                    [] {
                      // Without the NULL parameters the key is 292 bytes, whose Base64 ends "==".
                      const auto n = numbers2048();
                      std::string text =
                          testing::base64(testing::spki(testing::rsaEncryptionOid(), std::nullopt,
                                                        testing::pkcs1(n.modulus, n.exponent)));
                      EXPECT_TRUE(text.ends_with("=="));
                      text.resize(text.size() - 2);
                      return rsaKey(text);
                    },
                    kKeyCreationFailed},
        RefusedCase{"PaddingInTheMiddle",
                    [] { return rsaKey("QQ==" + testing::base64(der2048())); }, kKeyCreationFailed},
        RefusedCase{"NotAKey", [] { return rsaKey("SGVsbG8sIHdvcmxkIQ=="); }, kKeyCreationFailed},
        RefusedCase{"Truncated",
                    [] {
                      const Bytes der = der2048();
                      return pemKey(Bytes(der.begin(), der.end() - 3));
                    },
                    kKeyCreationFailed},
        RefusedCase{"TrailingGarbage",
                    [] {
                      return pemKey(testing::concat({der2048(), Bytes{0x00}}));
                    },
                    kKeyCreationFailed},
        RefusedCase{"TwoPemBlocks", [] { return rsaKey(pem2048() + pem2048()); },
                    kKeyCreationFailed},
        RefusedCase{"EcKey", [] { return rsaKey(testing::generatedPublicPem("EC", "P-256")); },
                    kKeyCreationFailed},
        RefusedCase{"RsaPssKey",
                    [] { return rsaKey(testing::generatedPublicPem("RSA-PSS", "2048")); },
                    CryptogramCipherError::algorithmNotSupported},
        RefusedCase{"RsaPssKeyWithParameters",
                    [] {
                      const auto n = numbers2048();
                      return pemKey(testing::spki(testing::rsassaPssOid(), testing::tlv(0x30, {}),
                                                  testing::pkcs1(n.modulus, n.exponent)));
                    },
                    CryptogramCipherError::algorithmNotSupported},
        RefusedCase{"Rsa512Bits", [] { return rsaKey(testing::generatedPublicPem("RSA", "512")); },
                    kKeyCreationFailed},
        RefusedCase{"Modulus1023Bits",
                    [] {
                      return pemKey(testing::pkcs1(modulusOfBits(1023), {0x01, 0x00, 0x01}));
                    },
                    kKeyCreationFailed},
        RefusedCase{"EvenModulus",
                    [] {
                      Bytes modulus = numbers2048().modulus;
                      modulus.back() &= 0xFE;
                      return pemKey(testing::pkcs1(modulus, {0x01, 0x00, 0x01}));
                    },
                    kKeyCreationFailed},
        RefusedCase{"ExponentOne", [] { return pemKey(pkcs1WithExponent({0x01})); },
                    kKeyCreationFailed},
        RefusedCase{"ExponentFour", [] { return pemKey(pkcs1WithExponent({0x04})); },
                    kKeyCreationFailed},
        RefusedCase{"ExponentEven65536",
                    [] {
                      return pemKey(pkcs1WithExponent({0x01, 0x00, 0x00}));
                    },
                    kKeyCreationFailed},
        RefusedCase{"Exponent65Bits",
                    [] {
                      return pemKey(pkcs1WithExponent({0x01, 0, 0, 0, 0, 0, 0, 0, 0x01}));
                    },
                    kKeyCreationFailed},
        RefusedCase{"Exponent3071BitsOn3072BitModulus",
                    [] {
                      Bytes exponent = modulusOfBits(3071);
                      return pemKey(testing::pkcs1(modulusOfBits(3072), exponent));
                    },
                    kKeyCreationFailed},
        RefusedCase{"ExponentNotBelowModulus",
                    [] { return pemKey(pkcs1WithExponent(numbers2048().modulus)); },
                    kKeyCreationFailed},
        RefusedCase{"ExponentOneInSpki",
                    [] {
                      return pemKey(testing::spki(testing::rsaEncryptionOid(), testing::derNull(),
                                                  pkcs1WithExponent({0x01})));
                    },
                    kKeyCreationFailed}),
    [](const auto& info) { return info.param.name; });

TEST(RSACryptogramCipherTest, SmallestAllowedModulusAndExponentWork) {
  const std::string token =
      encrypt("x", rsaKey(testing::pem(testing::pkcs1(modulusOfBits(1024), {0x03}))));
  EXPECT_EQ(token.size(), 172U);
}

TEST(RSACryptogramCipherTest, LongestAllowedExponentWorks) {
  const Bytes exponent = {0x80, 0, 0, 0, 0, 0, 0, 0x01};  // 64 bits
  EXPECT_EQ(encrypt("x", rsaKey(testing::pem(pkcs1WithExponent(exponent)))).size(), 344U);
}

TEST(RSACryptogramCipherTest, ExpirationIsNotRead) {
  const Key expired(testKeyPair(2048).publicPem, "RSA", -1);
  EXPECT_EQ(testing::decryptToken(encrypt("x", expired), testKeyPair(2048).privatePem), "x");
}

TEST(RSACryptogramCipherTest, ConcurrentCallsWithSeveralKeysGiveDecryptableTokens) {
  const std::vector<int> sizes = {1024, 2048};
  constexpr int kCalls = testing::scaledForEmulator(20);
  for (int bits : sizes) testKeyPair(bits);  // made before the threads start
  std::vector<std::vector<std::pair<int, std::string>>> results(4);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < results.size(); ++t) {
    threads.emplace_back([&, t] {
      const RSACryptogramCipher cipher;
      for (int i = 0; i < kCalls; ++i) {
        const int bits = sizes[(t + static_cast<std::size_t>(i)) % sizes.size()];
        results[t].emplace_back(
            bits, cipher.encrypt(kPaymentString, rsaKey(testKeyPair(bits).publicPem)));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const auto& perThread : results) {
    ASSERT_EQ(perThread.size(), static_cast<std::size_t>(kCalls));
    for (const auto& [bits, token] : perThread) {
      EXPECT_EQ(testing::decryptToken(token, testKeyPair(bits).privatePem), kPaymentString);
    }
  }
}

// The padding's random bytes come from the operating system, like the UUID's, so tokens never
// start OpenSSL's random generator. Its type can be chosen only until it starts, which tells.
TEST(RSACryptogramCipherTest, TokensLeaveOpenSslsRandomGeneratorUnstarted) {
#ifndef SDKCORE_TEST_EMULATED
  // A fresh process, where no other test has drawn from the generator.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
#else
  // The emulator cannot start a target program again; ctest runs this test in a process of its
  // own there (ALONE in CMakeLists.txt).
  GTEST_FLAG_SET(death_test_style, "fast");
#endif
  const std::string pem = testing::demoKeyText("demo_public.pem");
  const auto generatorUnstarted = [] {
    return RAND_set_DRBG_type(nullptr, nullptr, nullptr, nullptr, nullptr) == 1;
  };
  EXPECT_EXIT(
      {
        if (!generatorUnstarted()) std::_Exit(2);
        SdkCore core;
        for (int i = 0; i < 2; ++i) {
          const SDKCoreConfig config(
              CardParams("4111111111111111", "123", "12/30", "JOHN DOE", "ORDER-1", pem),
              ZKITRegisteredFrom::ZKIT_CORE, 1700000000.0);
          if (!core.generateWithConfig(config).token) std::_Exit(3);
        }
        std::_Exit(generatorUnstarted() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(CryptogramCipherErrorTest, WhatIsTheCaseName) {
  EXPECT_STREQ(CryptogramCipherException(CryptogramCipherError::keyCreationFailed).what(),
               "keyCreationFailed");
  EXPECT_STREQ(CryptogramCipherException(CryptogramCipherError::algorithmNotSupported).what(),
               "algorithmNotSupported");
  EXPECT_STREQ(CryptogramCipherException(CryptogramCipherError::encryptionFailed).what(),
               "encryptionFailed");
}

}  // namespace
}  // namespace sdkcore
