#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "sdkcore/sdkcore.h"
#include "support/openssl_test_provider.hpp"
#include "support/payment_string_fields.hpp"
#include "support/test_keys.hpp"

namespace {

using sdkcore::testing::demoKeyText;

enum class Fault {
  none,
  failingStatus,
  tooLong,
  tooShort,
  writesNothing,
  plainText,
  randomFails,
  randomZeros,
  ownRandom
};

// The OpenSSL C provider with 'fault' applied; user_data points to the fault.
int encrypt(void* userData, const sdkcore_rsa_public_key* key, const uint8_t* plain,
            size_t plainLen, uint8_t* cipher, size_t capacity, size_t* cipherLen) {
  const Fault fault = *static_cast<const Fault*>(userData);
  const int status = sdkcore::testing::openSslCProvider().encrypt(nullptr, key, plain, plainLen,
                                                                  cipher, capacity, cipherLen);
  if (fault == Fault::tooLong) *cipherLen = capacity + 1;
  if (fault == Fault::tooShort) --*cipherLen;
  // Adapters that report success without encrypting: nothing written, or the plain text copied.
  if (fault == Fault::writesNothing || fault == Fault::plainText) std::fill_n(cipher, capacity, 0);
  if (fault == Fault::plainText) std::copy_n(plain, plainLen, cipher);
  return fault == Fault::failingStatus ? SDKCORE_INTERNAL_ERROR : status;
}

int randomBytes(void* userData, uint8_t* out, size_t len) {
  const Fault fault = *static_cast<const Fault*>(userData);
  const int status = sdkcore::testing::openSslCProvider().random_bytes(nullptr, out, len);
  if (fault == Fault::randomZeros) std::fill_n(out, len, 0);
  return fault == Fault::randomFails ? SDKCORE_INTERNAL_ERROR : status;
}

struct Answer {
  std::string token;
  std::string field;
  std::string code;
};

Answer cardToken(sdkcore_core* core) {
  sdkcore_request* request = nullptr;
  EXPECT_EQ(sdkcore_request_new(SDKCORE_VARIANT_CARD_PARAMS_INSTANT, &request), SDKCORE_OK);
  const std::string key = demoKeyText("demo_public.pem");
  for (const auto& [field, text] : {std::pair{SDKCORE_FIELD_PAN, "4111111111111111"},
                                    {SDKCORE_FIELD_CVC, "123"},
                                    {SDKCORE_FIELD_EXPIRY_MMYY, "12/30"},
                                    {SDKCORE_FIELD_PUB_KEY, key.c_str()}}) {
    sdkcore_request_set_text(request, field, text, std::char_traits<char>::length(text));
  }
  sdkcore_token_result* result = nullptr;
  EXPECT_EQ(sdkcore_generate_token(core, request, &result), SDKCORE_OK);
  const char* token = nullptr;
  const char* field = nullptr;
  const char* code = nullptr;
  sdkcore_token_result_token(result, &token, nullptr);
  sdkcore_token_result_error(result, &field, nullptr, &code, nullptr);
  Answer answer{token ? token : "", field ? field : "", code ? code : ""};
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  return answer;
}

struct FaultCase {
  const char* name;
  Fault fault;
  const char* code;  // of field UNKNOWN; null for a token
};

class CProvider : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CProvider, AnswersATokenOrTheDocumentedError) {
  Fault fault = GetParam().fault;
  const sdkcore_crypto_provider provider{&fault, encrypt,
                                         fault == Fault::ownRandom ? nullptr : randomBytes};
  sdkcore_core* core = nullptr;
  ASSERT_EQ(sdkcore_core_new_with_provider(&provider, &core), SDKCORE_OK);
  const Answer answer = cardToken(core);
  sdkcore_core_free(core);
  if (GetParam().code != nullptr) {
    EXPECT_EQ(answer.token, "");
    EXPECT_EQ(answer.field + " " + answer.code, std::string("UNKNOWN ") + GetParam().code);
    return;
  }
  const auto plain = sdkcore::testing::decryptToken(answer.token, demoKeyText("demo_private.pem"));
  ASSERT_TRUE(plain);
  EXPECT_EQ(sdkcore::testing::paymentStringFields(*plain).at(2), "4111111111111111");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CProvider,
    ::testing::Values(FaultCase{"none", Fault::none, nullptr},
                      FaultCase{"ownRandom", Fault::ownRandom, nullptr},
                      FaultCase{"failingStatus", Fault::failingStatus, "unknown"},
                      FaultCase{"tooLong", Fault::tooLong, "unknown"},
                      FaultCase{"tooShort", Fault::tooShort, "unknown"},
                      FaultCase{"writesNothing", Fault::writesNothing, "unknown"},
                      FaultCase{"plainText", Fault::plainText, "unknown"},
                      FaultCase{"randomFails", Fault::randomFails,
                                "crypto provider failed to supply random bytes"},
                      FaultCase{"randomZeros", Fault::randomZeros,
                                "crypto provider failed to supply random bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CProvider, NeedsAnEncryptFunction) {
  sdkcore_core* core = reinterpret_cast<sdkcore_core*>(1);
  EXPECT_EQ(sdkcore_core_new_with_provider(nullptr, &core), SDKCORE_INVALID_ARGUMENT);
  EXPECT_EQ(core, nullptr);
  const sdkcore_crypto_provider provider{nullptr, nullptr, randomBytes};
  EXPECT_EQ(sdkcore_core_new_with_provider(&provider, &core), SDKCORE_INVALID_ARGUMENT);
}

// Many tokens through the C provider and through the built-in cryptography where there is one;
// the pair also serves to compare their cost (callgrind, toggled on sdkcore_generate_token).
class ManyTokens : public ::testing::TestWithParam<bool> {};

TEST_P(ManyTokens, AllDecrypt) {
  if (!GetParam() && !SDKCORE_WITH_OPENSSL) GTEST_SKIP() << "no built-in RSA in this build";
  const sdkcore_crypto_provider provider = sdkcore::testing::openSslCProvider();
  sdkcore_core* core = nullptr;
  ASSERT_EQ(GetParam() ? sdkcore_core_new_with_provider(&provider, &core) : sdkcore_core_new(&core),
            SDKCORE_OK);
  const std::string privateKey = demoKeyText("demo_private.pem");
  for (int i = 0; i < 50; ++i) {
    EXPECT_TRUE(sdkcore::testing::decryptToken(cardToken(core).token, privateKey));
  }
  sdkcore_core_free(core);
}

INSTANTIATE_TEST_SUITE_P(Cores, ManyTokens, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "cProvider" : "builtIn"; });

}  // namespace
