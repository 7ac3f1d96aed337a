#include "sdkcore/token_request.hpp"

#include <gtest/gtest.h>

#include <string>

#include "json/strict_json.hpp"

namespace sdkcore {
namespace {

TokenRequestDefaults testDefaults(int* demoKeyUses = nullptr) {
  TokenRequestDefaults defaults;
  defaults.defaultPubKey = "DEMO";
  defaults.timestamp = 7.0;
  defaults.onDefaultPubKeyUsed = [demoKeyUses] {
    if (demoKeyUses != nullptr) ++*demoKeyUses;
  };
  return defaults;
}

std::string dumpOf(const std::string& request, const TokenRequestDefaults& defaults) {
  return debugString(tokenRequestFromJsonText(request, defaults));
}

struct JsonCase {
  std::string name;
  std::string request;
  std::string config;  // the configuration's text form
  friend void PrintTo(const JsonCase& c, std::ostream* os) { *os << c.name; }
};

class ConfigFromJson : public ::testing::TestWithParam<JsonCase> {};

TEST_P(ConfigFromJson, BuildsTheVariant) {
  EXPECT_EQ(dumpOf(GetParam().request, testDefaults()), GetParam().config);
}

const std::string kTail = ", registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 7.0)";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, ConfigFromJson, ::testing::Values(
    JsonCase{"CardParams", R"({"variant":"cardParams","params":{"pan":"4","cvc":"1","expiryMMYY":"12/25","cardholder":"J","mdOrder":"O","pubKey":"K"}})",
             R"(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParams(params: SDKCore.CardParams(mdOrder: "O", pan: "4", cvc: "1", expiryMMYY: "12/25", cardholder: Optional("J"), pubKey: "K")))" + kTail},
    JsonCase{"CardholderNullIsAbsent", R"({"variant":"cardParamsInstant","params":{"pan":"4","cvc":"1","expiryMMYY":"e","cardholder":null}})",
             R"(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParamsInstant(params: SDKCore.CardParamsInstant(pan: "4", cvc: "1", expiryMMYY: "e", cardholder: nil, pubKey: "DEMO")))" + kTail},
    JsonCase{"NewCardEmptyCardholderIsPresent", R"({"variant":"newPaymentMethodParams","params":{"pan":"","cvc":"","expiryMMYY":"","cardholder":""}})",
             R"(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.newPaymentMethodParams(params: SDKCore.NewPaymentMethodParams(pan: "", cvc: "", expiryMMYY: "", cardholder: Optional(""), pubKey: "DEMO")))" + kTail},
    JsonCase{"BindingParamsCvcMissing", R"({"variant":"bindingParams","params":{"bindingId":"b","mdOrder":"o","pubKey":"k"}})",
             R"(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.bindingParams(params: SDKCore.BindingParams(mdOrder: "o", bindingId: "b", cvc: nil, pubKey: "k")))" + kTail},
    JsonCase{"BindingInstantCvcEmpty", R"({"variant":"bindingParamsInstant","params":{"bindingId":"b","cvc":""}})",
             R"(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.bindingParamsInstant(params: SDKCore.BindingParamsInstant(bindingId: "b", cvc: Optional(""), pubKey: "DEMO")))" + kTail},
    JsonCase{"StoredWithSourceAndTime", R"({"variant":"storedPaymentMethodParams","params":{"storedPaymentMethodId":"pm_x","cvc":null,"ignored":1},"registeredFrom":"ZKIT_FORMS","timestamp":-0.5,"extra":{}})",
             R"(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.storedPaymentMethodParams(params: SDKCore.StoredPaymentMethodParams(storedPaymentMethodId: "pm_x", cvc: nil, pubKey: "DEMO")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_FORMS, timestamp: -0.5))"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct RejectCase {
  std::string name;
  std::string request;
  std::string message;
  friend void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.name; }
};

class ConfigFromJsonRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ConfigFromJsonRejects, NamingTheMember) {
  try {
    tokenRequestFromJsonText(GetParam().request, testDefaults());
    FAIL() << "accepted";
  } catch (const JsonInputError& error) {
    EXPECT_EQ(std::string(error.what()), GetParam().message);
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, ConfigFromJsonRejects, ::testing::Values(
    RejectCase{"NotAnObject", R"("cardParams")", "the request must be a JSON object"},
    RejectCase{"NoVariant", R"({"params":{}})", "member \"variant\" is missing"},
    RejectCase{"VariantNotText", R"({"variant":1,"params":{}})", "member \"variant\" must be a string"},
    RejectCase{"NoParams", R"({"variant":"cardParams"})", "member \"params\" is missing"},
    RejectCase{"ParamsNotObject", R"({"variant":"cardParams","params":[]})", "member \"params\" must be an object"},
    RejectCase{"FirstMissingInDeclaredOrder", R"({"variant":"cardParams","params":{}})", "member \"params.pan\" is missing"},
    RejectCase{"RequiredNull", R"({"variant":"bindingParamsInstant","params":{"bindingId":null}})", "member \"params.bindingId\" must be a string"},
    RejectCase{"OptionalWrongType", R"({"variant":"bindingParamsInstant","params":{"bindingId":"b","cvc":123}})", "member \"params.cvc\" must be a string or null"},
    RejectCase{"PubKeyWrongType", R"({"variant":"bindingParamsInstant","params":{"bindingId":"b","pubKey":false}})", "member \"params.pubKey\" must be a string"},
    RejectCase{"SourceWrongType", R"({"variant":"bindingParamsInstant","params":{"bindingId":"b"},"registeredFrom":0})", "member \"registeredFrom\" must be a string"},
    RejectCase{"SourceUnknown", R"({"variant":"bindingParamsInstant","params":{"bindingId":"b"},"registeredFrom":"ZKIT_CORE "})", "member \"registeredFrom\" must be ZKIT_CORE, ZKIT_FORMS or ZKIT_PAYMENT"},
    RejectCase{"TimestampText", R"({"variant":"bindingParamsInstant","params":{"bindingId":"b"},"timestamp":"1"})", "member \"timestamp\" must be a number"},
    RejectCase{"UnknownVariant", "{\"variant\":\"x\\ny\",\"params\":{}}", "an unknown variant (expected cardParams, cardParamsInstant, bindingParams, bindingParamsInstant, newPaymentMethodParams or storedPaymentMethodParams)"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(ConfigFromJson, OverrideReplacesTheRequestsKeyAndDefaultKeyIsReported) {
  int demoKeyUses = 0;
  TokenRequestDefaults defaults = testDefaults(&demoKeyUses);
  const std::string own =
      R"({"variant":"bindingParamsInstant","params":{"bindingId":"b","pubKey":"OWN"}})";
  const std::string none = R"({"variant":"bindingParamsInstant","params":{"bindingId":"b"}})";
  EXPECT_NE(dumpOf(own, defaults).find("pubKey: \"OWN\""), std::string::npos);
  EXPECT_EQ(demoKeyUses, 0);
  EXPECT_NE(dumpOf(none, defaults).find("pubKey: \"DEMO\""), std::string::npos);
  EXPECT_EQ(demoKeyUses, 1);
  defaults.pubKeyOverride = "FLAG";
  EXPECT_NE(dumpOf(own, defaults).find("pubKey: \"FLAG\""), std::string::npos);
  EXPECT_NE(dumpOf(none, defaults).find("pubKey: \"FLAG\""), std::string::npos);
  EXPECT_EQ(demoKeyUses, 1);
}

TEST(ConfigFromJson, WithoutDefaultKeyThePubKeyIsRequired) {
  TokenRequestDefaults defaults = testDefaults();
  defaults.defaultPubKey.reset();
  try {
    tokenRequestFromJsonText(R"({"variant":"bindingParamsInstant","params":{"bindingId":"b"}})",
                             defaults);
    FAIL() << "accepted";
  } catch (const JsonInputError& error) {
    EXPECT_STREQ(error.what(), "member \"params.pubKey\" is missing");
  }
}

}  // namespace
}  // namespace sdkcore
