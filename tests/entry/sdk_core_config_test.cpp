#include "sdkcore/sdk_core_config.hpp"

#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

CardParams card(std::optional<std::string> cardholder) {
  return CardParams("4111111111111111", "123", "12/25", std::move(cardholder), "ORDER-1",
                    "-----BEGIN PUBLIC KEY-----\nMIIB\n-----END PUBLIC KEY-----");
}

struct DumpCase {
  std::string name;
  SDKCoreConfig config;
  std::string expected;
};

class SDKCoreConfigDumpTest : public testing::TestWithParam<DumpCase> {};

TEST_P(SDKCoreConfigDumpTest, RendersEveryFieldOnOneLine) {
  const std::string dump = debugString(GetParam().config);
  EXPECT_EQ(dump, GetParam().expected);
  EXPECT_EQ(dump.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Configs, SDKCoreConfigDumpTest,
    testing::Values(
        DumpCase{"cardWithoutCardholder",
                 SDKCoreConfig(card(std::nullopt), ZKITRegisteredFrom::ZKIT_CORE, 1700000000),
                 "SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParams("
                 "params: SDKCore.CardParams(mdOrder: \"ORDER-1\", pan: \"4111111111111111\", "
                 "cvc: \"123\", expiryMMYY: \"12/25\", cardholder: nil, pubKey: "
                 "\"-----BEGIN PUBLIC KEY-----\\nMIIB\\n-----END PUBLIC KEY-----\")), "
                 "registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)"},
        DumpCase{
            "cardWithCardholder",
            SDKCoreConfig(card("JOHN \"J\" DOE"), ZKITRegisteredFrom::ZKIT_FORMS, 1700000000.25),
            "SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParams("
            "params: SDKCore.CardParams(mdOrder: \"ORDER-1\", pan: \"4111111111111111\", "
            "cvc: \"123\", expiryMMYY: \"12/25\", cardholder: Optional(\"JOHN \\\"J\\\" "
            "DOE\"), pubKey: \"-----BEGIN PUBLIC KEY-----\\nMIIB\\n-----END PUBLIC "
            "KEY-----\")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_FORMS, "
            "timestamp: 1700000000.25)"},
        DumpCase{"bindingWithOddTimestamp",
                 SDKCoreConfig(BindingParamsInstant("k", "b\\1", std::nullopt),
                               ZKITRegisteredFrom::ZKIT_PAYMENT,
                               -std::numeric_limits<double>::infinity()),
                 "SDKCoreConfig(paymentMethodParams: "
                 "SDKCore.PaymentParamsVariant.bindingParamsInstant(params: "
                 "SDKCore.BindingParamsInstant(bindingId: \"b\\\\1\", cvc: nil, pubKey: \"k\")), "
                 "registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_PAYMENT, timestamp: -inf)"}),
    [](const testing::TestParamInfo<DumpCase>& info) { return info.param.name; });

}  // namespace
}  // namespace sdkcore
