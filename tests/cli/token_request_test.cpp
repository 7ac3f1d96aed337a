#include "token_request.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sdkcore::cli {
namespace {

TokenDefaults testDefaults() {
  TokenDefaults defaults;
  defaults.defaultPubKey = "DEMO";
  defaults.timestamp = 7.0;
  return defaults;
}

TEST(ConfigFromJsonText, MalformedRequestIsAUsageError) {
  EXPECT_THROW(configFromJsonText(R"({"variant":"cardParams"})", testDefaults()), UsageError);
  EXPECT_THROW(configFromJsonText("{", testDefaults()), UsageError);
}

TEST(ParseTimestamp, AcceptsDecimalsOnly) {
  EXPECT_EQ(parseTimestamp("1700000000.5"), 1700000000.5);
  EXPECT_EQ(parseTimestamp("-12.9"), -12.9);
  EXPECT_EQ(parseTimestamp("1e3"), 1000.0);
  for (const char* bad : {"", " 1", "1 ", "1s", "nan", "inf", "0x10", "1e999"}) {
    EXPECT_THROW(parseTimestamp(bad), UsageError) << bad;
  }
}

struct FlagsCase {
  std::string name;
  std::vector<std::string> args;
  std::string variantPrefix;  // the start of the configuration's text form
  friend void PrintTo(const FlagsCase& c, std::ostream* os) { *os << c.name; }
};

class ConfigFromFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(ConfigFromFlags, PicksTheVariantOfTheTable) {
  const ParsedArgs args = parseArgs(
      GetParam().args,
      {"--pan", "--cvc", "--expiry", "--cardholder", "--order", "--binding-id", "--stored-id"},
      {"--new-card"}, 0);
  const std::string dump = debugString(configFromFlags(args, testDefaults()));
  EXPECT_EQ(dump.rfind("SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant." +
                           GetParam().variantPrefix,
                       0),
            0u)
      << dump;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, ConfigFromFlags, ::testing::Values(
    FlagsCase{"CardParams", {"--pan", "4", "--cvc", "1", "--expiry", "e", "--order", "o"}, "cardParams(params: SDKCore.CardParams(mdOrder: \"o\", pan: \"4\", cvc: \"1\", expiryMMYY: \"e\", cardholder: nil,"},
    FlagsCase{"CardParamsInstant", {"--pan", "4", "--cvc", "1", "--expiry", "e", "--cardholder", ""}, "cardParamsInstant(params: SDKCore.CardParamsInstant(pan: \"4\", cvc: \"1\", expiryMMYY: \"e\", cardholder: Optional(\"\"),"},
    FlagsCase{"NewPaymentMethodParams", {"--new-card", "--pan", "4", "--cvc", "1", "--expiry", "e"}, "newPaymentMethodParams("},
    FlagsCase{"BindingParams", {"--binding-id", "b", "--order", "o"}, "bindingParams(params: SDKCore.BindingParams(mdOrder: \"o\", bindingId: \"b\", cvc: nil,"},
    FlagsCase{"BindingParamsInstant", {"--binding-id", "b", "--cvc", ""}, "bindingParamsInstant(params: SDKCore.BindingParamsInstant(bindingId: \"b\", cvc: Optional(\"\"),"},
    FlagsCase{"StoredPaymentMethodParams", {"--stored-id", "pm_1", "--cvc", "1"}, "storedPaymentMethodParams(params: SDKCore.StoredPaymentMethodParams(storedPaymentMethodId: \"pm_1\", cvc: Optional(\"1\"),"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
}  // namespace sdkcore::cli
