#include "cryptogram/provider_cipher.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "cryptogram/key_material.hpp"
#include "sdkcore/sdk_core.hpp"
#include "support/log_capture.hpp"
#include "support/openssl_test_provider.hpp"
#include "support/payment_string_fields.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

using testing::Bytes;
using testing::OpenSslTestProvider;

constexpr double kNow = 1700000000.0;

const std::string& demoPublic() {
  static const std::string key = testing::demoKeyText("demo_public.pem");
  return key;
}

TokenResult generate(SdkCore& core, PaymentParamsVariant params) {
  return core.generateWithConfig(
      SDKCoreConfig(std::move(params), ZKITRegisteredFrom::ZKIT_FORMS, kNow));
}

TokenResult cardToken(SdkCore& core, const std::string& key = demoPublic()) {
  return generate(core, CardParams("4111111111111111", "123", "03/27", "JOHN DOE", "ORDER-1", key));
}

// ---- Tokens of every variant through a provider ----------------------------------------------

struct VariantCase {
  const char* name;
  std::function<PaymentParamsVariant(const std::string&)> params;
  std::vector<std::string> fields;  // fields 3 to 8: card, code, expiry, order, stored id, holder
};

class VariantThroughProvider : public ::testing::TestWithParam<VariantCase> {};

TEST_P(VariantThroughProvider, DecryptsWithTheDemoKeyToTheNineFields) {
  SdkCore core(std::make_shared<OpenSslTestProvider>());
  const TokenResult result = generate(core, GetParam().params(demoPublic()));
  ASSERT_TRUE(result.token) << result.errors.begin()->second;
  const auto plain = testing::decryptToken(*result.token, testing::demoKeyText("demo_private.pem"));
  ASSERT_TRUE(plain);
  std::vector<std::string> fields = testing::paymentStringFields(*plain);
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_EQ(fields[1].size(), 36u);  // the UUID, from the provider's random bytes
  EXPECT_EQ(fields[8], "ZKIT_FORMS");
  EXPECT_EQ(std::vector<std::string>(fields.begin() + 2, fields.end() - 1), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    AllVariants, VariantThroughProvider,
    ::testing::Values(VariantCase{"card",
                                  [](const std::string& key) -> PaymentParamsVariant {
                                    return CardParams("4111111111111111", "123", "03/27",
                                                      "JOHN DOE", "O-1", key);
                                  },
                                  {"4111111111111111", "123", "20273", "O-1", "", "JOHN DOE"}},
                      VariantCase{"cardInstant",
                                  [](const std::string& key) -> PaymentParamsVariant {
                                    return CardParamsInstant("4111111111111111", "456", "12/25",
                                                             std::nullopt, key);
                                  },
                                  {"4111111111111111", "456", "202512", "", "", ""}},
                      VariantCase{"newPaymentMethod",
                                  [](const std::string& key) -> PaymentParamsVariant {
                                    return NewPaymentMethodParams("5555555555554444", "789",
                                                                  "01/30", "jane", key);
                                  },
                                  {"5555555555554444", "789", "20301", "", "", "jane"}},
                      VariantCase{"binding",
                                  [](const std::string& key) -> PaymentParamsVariant {
                                    return BindingParams(key, "BIND-77", "123", "O-2");
                                  },
                                  {"", "123", "", "O-2", "BIND-77", ""}},
                      VariantCase{"bindingInstant",
                                  [](const std::string& key) -> PaymentParamsVariant {
                                    return BindingParamsInstant(key, "BIND-77", std::nullopt);
                                  },
                                  {"", "", "", "", "BIND-77", ""}},
                      VariantCase{"storedPaymentMethod",
                                  [](const std::string& key) -> PaymentParamsVariant {
                                    return StoredPaymentMethodParams(key, "pm_QpJitz5kj4n3", "321");
                                  },
                                  {"", "321", "", "", "BIND-77", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Providers that fail -----------------------------------------------------------------------

enum class Fault { refuses, throws, shortCipher, longCipher, randomRefuses, randomThrows };

// The test provider with one fault; counts the encryptions it is asked for.
class FaultyProvider : public OpenSslTestProvider {
 public:
  explicit FaultyProvider(Fault fault) : fault_(fault) {}

  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override {
    ++encryptions;
    if (fault_ == Fault::throws) throw std::runtime_error("provider failure");
    const bool done = OpenSslTestProvider::encrypt(key, plain, cipher);
    if (fault_ == Fault::shortCipher) cipher.pop_back();
    if (fault_ == Fault::longCipher) cipher.push_back(0);
    return done && fault_ != Fault::refuses;
  }

  bool randomBytes(std::span<std::uint8_t> out) const override {
    if (fault_ == Fault::randomThrows) throw std::bad_alloc();
    return OpenSslTestProvider::randomBytes(out) && fault_ != Fault::randomRefuses;
  }

  mutable std::atomic<int> encryptions{0};

 private:
  Fault fault_;
};

struct FaultCase {
  const char* name;
  Fault fault;
  const char* code;
  int encryptions;
};

class ProviderFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ProviderFault, GivesTheDocumentedErrorAndNoToken) {
  const auto provider = std::make_shared<FaultyProvider>(GetParam().fault);
  SdkCore core(provider);
  const TokenResult result = cardToken(core);
  EXPECT_FALSE(result.token);
  EXPECT_EQ(result.errors,
            (std::map<ParamField, std::string>{{ParamField::UNKNOWN, GetParam().code}}));
  EXPECT_EQ(provider->encryptions, GetParam().encryptions);
}

constexpr const char* kRandomFailed = "crypto provider failed to supply random bytes";

INSTANTIATE_TEST_SUITE_P(
    AllFaults, ProviderFault,
    ::testing::Values(FaultCase{"refuses", Fault::refuses, "unknown", 1},
                      FaultCase{"throws", Fault::throws, "unknown", 1},
                      FaultCase{"shortCipher", Fault::shortCipher, "unknown", 1},
                      FaultCase{"longCipher", Fault::longCipher, "unknown", 1},
                      FaultCase{"randomRefuses", Fault::randomRefuses, kRandomFailed, 0},
                      FaultCase{"randomThrows", Fault::randomThrows, kRandomFailed, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Keys the library refuses never reach the provider ---------------------------------------

struct RefusedKeyCase {
  const char* name;
  std::function<std::string()> key;
  ParamField field;
  const char* code;
};

class RefusedKey : public ::testing::TestWithParam<RefusedKeyCase> {};

TEST_P(RefusedKey, AnswersAsTheBuiltInCipherWithoutCallingTheProvider) {
  const auto provider = std::make_shared<FaultyProvider>(Fault::refuses);
  SdkCore core(provider);
  const TokenResult result = cardToken(core, GetParam().key());
  EXPECT_EQ(result.errors,
            (std::map<ParamField, std::string>{{GetParam().field, GetParam().code}}));
  EXPECT_EQ(provider->encryptions, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RefusedKey,
    ::testing::Values(RefusedKeyCase{"shortModulus",
                                     [] { return testing::testKeyPair(512).publicPem; },
                                     ParamField::PUB_KEY, "invalid"},
                      RefusedKeyCase{"exponentOne",
                                     [] {
                                       const auto numbers = testing::numbersOf(demoPublic());
                                       return testing::pem(testing::pkcs1(numbers.modulus, {1}));
                                     },
                                     ParamField::PUB_KEY, "invalid"},
                      RefusedKeyCase{"signingOnly",
                                     [] { return testing::generatedPublicPem("RSA-PSS", "2048"); },
                                     ParamField::UNKNOWN, "unknown"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The key forms a provider receives --------------------------------------------------------

// Records the forms of the last key it was given.
class RecordingProvider : public OpenSslTestProvider {
 public:
  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override {
    const std::lock_guard lock(mutex_);
    modulus.assign(key.modulus.begin(), key.modulus.end());
    exponent.assign(key.exponent.begin(), key.exponent.end());
    pkcs1.assign(key.pkcs1Der.begin(), key.pkcs1Der.end());
    spki.assign(key.subjectPublicKeyInfoDer.begin(), key.subjectPublicKeyInfoDer.end());
    return OpenSslTestProvider::encrypt(key, plain, cipher);
  }

  mutable Bytes modulus, exponent, pkcs1, spki;

 private:
  mutable std::mutex mutex_;
};

struct KeyFormCase {
  const char* name;
  int bits;
  std::function<std::string(const testing::TestKeyPair&)> text;
};

class KeyForms : public ::testing::TestWithParam<KeyFormCase> {};

TEST_P(KeyForms, AgreeWithOpenSslsEncodingOfTheKey) {
  const testing::TestKeyPair& pair = testing::testKeyPair(GetParam().bits);
  const auto provider = std::make_shared<RecordingProvider>();
  SdkCore core(provider);
  ASSERT_TRUE(cardToken(core, GetParam().text(pair)).token);
  const auto numbers = testing::numbersOf(pair.publicPem);
  EXPECT_EQ(provider->modulus, numbers.modulus);
  EXPECT_EQ(provider->exponent, numbers.exponent);
  EXPECT_EQ(provider->spki, testing::derOfPublicPem(pair.publicPem));
  EXPECT_EQ(provider->pkcs1, testing::pkcs1DerOfPublicPem(pair.publicPem));
}

INSTANTIATE_TEST_SUITE_P(
    InputFormats, KeyForms,
    ::testing::Values(KeyFormCase{"subjectPublicKeyInfo", 2048,
                                  [](const testing::TestKeyPair& pair) { return pair.publicPem; }},
                      KeyFormCase{"pkcs1", 3072,
                                  [](const testing::TestKeyPair& pair) {
                                    const auto numbers = testing::numbersOf(pair.publicPem);
                                    return testing::base64(
                                        testing::pkcs1(numbers.modulus, numbers.exponent));
                                  }},
                      KeyFormCase{"certificate", 4096,
                                  [](const testing::TestKeyPair& pair) {
                                    return testing::certificatePem(pair.privatePem);
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Random bytes ------------------------------------------------------------------------------

// Fills every random byte with one value.
class ConstantRandomProvider : public OpenSslTestProvider {
 public:
  explicit ConstantRandomProvider(std::uint8_t value) : value_(value) {}
  bool randomBytes(std::span<std::uint8_t> out) const override {
    std::fill(out.begin(), out.end(), value_);
    return true;
  }

 private:
  std::uint8_t value_;
};

// Batches of random bytes are kept per thread: each core's UUIDs still come from its own provider.
TEST(ProviderRandomBytes, EachCoreDrawsFromItsOwnProvider) {
  SdkCore first(std::make_shared<ConstantRandomProvider>(0x11));
  SdkCore second(std::make_shared<ConstantRandomProvider>(0x22));
  const std::string privateKey = testing::demoKeyText("demo_private.pem");
  for (int i = 0; i < 3; ++i) {
    for (auto [core, uuid] : {std::pair{&first, "11111111-1111-4111-9111-111111111111"},
                              std::pair{&second, "22222222-2222-4222-A222-222222222222"}}) {
      const TokenResult result = cardToken(*core);
      ASSERT_TRUE(result.token);
      const auto plain = testing::decryptToken(*result.token, privateKey);
      ASSERT_TRUE(plain);
      EXPECT_EQ(testing::paymentStringFields(*plain).at(1), uuid);
    }
  }
}

// ---- A core without any RSA encryption --------------------------------------------------------

TEST(NoProvider, BuiltInCoreAnswersByTheBuild) {
  testing::LogCapture log;
  SdkCore core;
  const TokenResult result = cardToken(core);
  if (SDKCORE_WITH_OPENSSL) {
    EXPECT_TRUE(result.token);
    return;
  }
  EXPECT_EQ(result.errors, (std::map<ParamField, std::string>{{ParamField::UNKNOWN, "unknown"}}));
  bool explained = false;
  for (const std::string& message : log.messages()) {
    explained = explained || message.find("without OpenSSL") != std::string::npos;
  }
  EXPECT_TRUE(explained);
}

}  // namespace
}  // namespace sdkcore
