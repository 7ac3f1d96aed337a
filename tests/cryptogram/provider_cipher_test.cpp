#include "cryptogram/provider_cipher.hpp"

#include <sys/random.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "cryptogram/key_material.hpp"
#include "sdkcore/sdk_core.hpp"
#include "sdkcore/sdkcore.h"
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

enum class Fault {
  refuses,
  throws,
  shortCipher,
  longCipher,
  zeroCipher,
  cipherOne,
  modulusCipher,
  aboveModulus,
  plainPaddedAfter,
  plainPaddedBefore,
  plainInside,
  randomRefuses,
  randomThrows,
  randomZeros,
  randomConstant,
  randomRepeatedPiece
};

// Replaces a cipher text of the modulus length by the answer of a faulty adapter.
void spoil(Fault fault, const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
           std::vector<std::uint8_t>& cipher) {
  const auto copyPlain = [&](std::size_t at) {
    std::copy(plain.begin(), plain.end(), &cipher[at]);
  };
  if (fault == Fault::shortCipher) cipher.pop_back();
  if (fault == Fault::longCipher) cipher.push_back(0);
  if (fault == Fault::zeroCipher || fault == Fault::cipherOne || fault == Fault::plainPaddedAfter ||
      fault == Fault::plainPaddedBefore) {
    std::fill(cipher.begin(), cipher.end(), 0);
  }
  if (fault == Fault::cipherOne) cipher.back() = 1;
  if (fault == Fault::modulusCipher) cipher.assign(key.modulus.begin(), key.modulus.end());
  if (fault == Fault::aboveModulus) std::fill(cipher.begin(), cipher.end(), 0xff);
  if (fault == Fault::plainPaddedAfter) copyPlain(0);
  if (fault == Fault::plainPaddedBefore) copyPlain(cipher.size() - plain.size());
  if (fault == Fault::plainInside) {
    cipher[0] = 0;  // below the modulus, and otherwise random
    copyPlain(7);
  }
}

// The test provider with one fault; counts the encryptions it is asked for.
class FaultyProvider : public OpenSslTestProvider {
 public:
  explicit FaultyProvider(Fault fault) : fault_(fault) {}

  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override {
    ++encryptions;
    if (fault_ == Fault::throws) throw std::runtime_error("provider failure");
    const bool done = OpenSslTestProvider::encrypt(key, plain, cipher);
    spoil(fault_, key, plain, cipher);
    return done && fault_ != Fault::refuses;
  }

  bool randomBytes(std::span<std::uint8_t> out) const override {
    if (fault_ == Fault::randomThrows) throw std::bad_alloc();
    const bool done = OpenSslTestProvider::randomBytes(out);
    if (fault_ == Fault::randomZeros) std::fill(out.begin(), out.end(), 0);
    if (fault_ == Fault::randomConstant) std::fill(out.begin(), out.end(), 0x5a);
    for (std::size_t i = 16; fault_ == Fault::randomRepeatedPiece && i < out.size(); ++i) {
      out[i] = out[i - 16];
    }
    return done && fault_ != Fault::randomRefuses;
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
                      FaultCase{"zeroCipher", Fault::zeroCipher, "unknown", 1},
                      FaultCase{"cipherOne", Fault::cipherOne, "unknown", 1},
                      FaultCase{"modulusCipher", Fault::modulusCipher, "unknown", 1},
                      FaultCase{"aboveModulus", Fault::aboveModulus, "unknown", 1},
                      FaultCase{"plainPaddedAfter", Fault::plainPaddedAfter, "unknown", 1},
                      FaultCase{"plainPaddedBefore", Fault::plainPaddedBefore, "unknown", 1},
                      FaultCase{"plainInside", Fault::plainInside, "unknown", 1},
                      FaultCase{"randomRefuses", Fault::randomRefuses, kRandomFailed, 0},
                      FaultCase{"randomThrows", Fault::randomThrows, kRandomFailed, 0},
                      FaultCase{"randomZeros", Fault::randomZeros, kRandomFailed, 0},
                      FaultCase{"randomConstant", Fault::randomConstant, kRandomFailed, 0},
                      FaultCase{"randomRepeatedPiece", Fault::randomRepeatedPiece, kRandomFailed,
                                0}),
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

// Random bytes whose every piece of 16 (a UUID's bytes) begins with one value.
class TaggedRandomProvider : public OpenSslTestProvider {
 public:
  explicit TaggedRandomProvider(std::uint8_t tag) : tag_(tag) {}
  bool randomBytes(std::span<std::uint8_t> out) const override {
    const bool done = OpenSslTestProvider::randomBytes(out);
    for (std::size_t i = 0; i < out.size(); i += 16) out[i] = tag_;
    return done;
  }

 private:
  std::uint8_t tag_;
};

std::string uuidOf(const TokenResult& result) {
  if (!result.token) return "no token";
  const auto plain = testing::decryptToken(*result.token, testing::demoKeyText("demo_private.pem"));
  return plain ? testing::paymentStringFields(*plain).at(1) : "no plain text";
}

// Batches of random bytes are kept per thread: each core's UUIDs still come from its own provider.
TEST(ProviderRandomBytes, EachCoreDrawsFromItsOwnProvider) {
  SdkCore first(std::make_shared<TaggedRandomProvider>(0x11));
  SdkCore second(std::make_shared<TaggedRandomProvider>(0x22));
  for (int i = 0; i < 3; ++i) {
    for (auto [core, tag] : {std::pair{&first, "11"}, std::pair{&second, "22"}}) {
      EXPECT_EQ(uuidOf(cardToken(*core)).substr(0, 2), tag);
    }
  }
}

// Answers the same batch of random bytes to every call.
class RepeatingRandomProvider : public OpenSslTestProvider {
 public:
  RepeatingRandomProvider() { OpenSslTestProvider::randomBytes(batch_); }
  bool randomBytes(std::span<std::uint8_t> out) const override {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = batch_[i % batch_.size()];
    return true;
  }

 private:
  std::array<std::uint8_t, 512> batch_{};
};

// One batch serves 32 UUIDs; the next answer, the same bytes again, is a failed source.
TEST(ProviderRandomBytes, TheSameAnswerTwiceInARowFails) {
  SdkCore core(std::make_shared<RepeatingRandomProvider>());
  for (int i = 0; i < 32; ++i) ASSERT_TRUE(cardToken(core).token) << i;
  EXPECT_EQ(cardToken(core).errors,
            (std::map<ParamField, std::string>{{ParamField::UNKNOWN, kRandomFailed}}));
}

// ---- Providers that call back into the library ---------------------------------------------

// A key text no other test uses: the demo key followed by 'lineFeeds' line feeds.
std::string demoKeyWithLineFeeds(std::size_t lineFeeds) {
  return demoPublic() + std::string(lineFeeds, '\n');
}

void checkKey(const std::string& key) {
  int error = -1;
  ASSERT_EQ(sdkcore_check_public_key(key.data(), key.size(), &error), SDKCORE_OK);
  EXPECT_EQ(error, SDKCORE_CIPHER_OK);
}

// The test provider, which first runs 'inside' on the outermost of its calls on a thread.
class ReentrantProvider : public OpenSslTestProvider {
 public:
  explicit ReentrantProvider(std::function<void()> inside) : inside_(std::move(inside)) {}

  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override {
    runInsideOnce();
    return OpenSslTestProvider::encrypt(key, plain, cipher);
  }

 protected:
  void runInsideOnce() const {
    thread_local bool inside = false;
    if (inside) return;
    inside = true;
    inside_();
    inside = false;
  }

 private:
  std::function<void()> inside_;
};

struct ReentryCase {
  const char* name;
  std::size_t keyLineFeeds;  // of the request's key text
  std::function<void()> inside;
};

class ReentrantEncrypt : public ::testing::TestWithParam<ReentryCase> {};

// The key handed to the provider stays alive while the provider replaces the key this thread
// keeps: a text too long to be cached, or one that other keys push out of the cache.
TEST_P(ReentrantEncrypt, MakesATokenThatDecrypts) {
  SdkCore core(std::make_shared<ReentrantProvider>(GetParam().inside));
  const TokenResult result = cardToken(core, demoKeyWithLineFeeds(GetParam().keyLineFeeds));
  ASSERT_TRUE(result.token) << result.errors.begin()->second;
  EXPECT_EQ(uuidOf(result).size(), 36u);
}

constexpr std::size_t kUncachedText = 70 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Callbacks, ReentrantEncrypt,
    ::testing::Values(ReentryCase{"otherKeyCheckedDuringAnUncachedKey", kUncachedText,
                                  [] { checkKey(testing::testKeyPair(2048).publicPem); }},
                      ReentryCase{
                          "tokenWithOtherKeyDuringAnUncachedKey", kUncachedText,
                          [] {
                            SdkCore builtIn(std::make_shared<OpenSslTestProvider>());
                            EXPECT_TRUE(
                                cardToken(builtIn, testing::testKeyPair(2048).publicPem).token);
                          }},
                      ReentryCase{"sixteenOtherKeysChecked", 17,
                                  [] {
                                    for (std::size_t i = 1; i <= 16; ++i)
                                      checkKey(demoKeyWithLineFeeds(i));
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// Fills the random bytes it is asked for and then, on the outermost call on a thread, makes a
// token with the same core.
class ReentrantRandomProvider : public ReentrantProvider {
 public:
  ReentrantRandomProvider() : ReentrantProvider([this] { innerToken = cardToken(*core).token; }) {}

  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override {
    return OpenSslTestProvider::encrypt(key, plain, cipher);
  }

  bool randomBytes(std::span<std::uint8_t> out) const override {
    const bool done = OpenSslTestProvider::randomBytes(out);
    runInsideOnce();
    return done;
  }

  SdkCore* core = nullptr;
  mutable std::optional<std::string> innerToken;
};

TEST(ReentrantRandomBytes, BothTokensGetRandomUuids) {
  const auto provider = std::make_shared<ReentrantRandomProvider>();
  SdkCore core(provider);
  provider->core = &core;
  const TokenResult outer = cardToken(core);
  ASSERT_TRUE(provider->innerToken);
  const std::string zeroUuid = "00000000-0000-4000-8000-000000000000";
  EXPECT_NE(uuidOf(outer), zeroUuid);
  EXPECT_NE(uuidOf(TokenResult(*provider->innerToken)), zeroUuid);
  EXPECT_NE(uuidOf(outer), uuidOf(TokenResult(*provider->innerToken)));
}

// ---- Random batches in child processes ------------------------------------------------------

// Random bytes from the kernel, which no child shares with its parent.
class KernelRandomProvider : public OpenSslTestProvider {
 public:
  bool randomBytes(std::span<std::uint8_t> out) const override {
    return getrandom(out.data(), out.size(), 0) == static_cast<ssize_t>(out.size());
  }
};

using Block = std::array<std::uint8_t, 16>;

struct ChildMaker {
  const char* name;
  pid_t (*make)();
};

class ProviderBatchInChild : public ::testing::TestWithParam<ChildMaker> {};

// However the child is made, even where no fork handler runs, it never hands out the bytes its
// parent draws next from the batch both had.
TEST_P(ProviderBatchInChild, NeverRepeatsTheParentsBytes) {
  const ProviderCipher cipher(std::make_shared<KernelRandomProvider>());
  Block block{};
  cipher.randomBytes(block);  // fills this thread's batch
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = GetParam().make();
  ASSERT_GE(child, 0);
  if (child == 0) {
    cipher.randomBytes(block);
    _exit(write(pipeEnds[1], block.data(), block.size()) == 16 ? 0 : 1);
  }
  close(pipeEnds[1]);
  Block childBlock{};
  const ssize_t received = read(pipeEnds[0], childBlock.data(), childBlock.size());
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(received, 16);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  cipher.randomBytes(block);
  EXPECT_NE(block, childBlock);
}

INSTANTIATE_TEST_SUITE_P(Makers, ProviderBatchInChild,
                         ::testing::Values(ChildMaker{"fork", [] { return fork(); }},
                                           ChildMaker{"underscoreFork", [] { return _Fork(); }},
                                           ChildMaker{"cloneSystemCall",
                                                      [] {
                                                        return static_cast<pid_t>(
                                                            syscall(SYS_clone, SIGCHLD, nullptr,
                                                                    nullptr, nullptr, nullptr));
                                                      }}),
                         [](const auto& info) { return std::string(info.param.name); });

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
