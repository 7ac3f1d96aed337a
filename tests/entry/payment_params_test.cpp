#include "sdkcore/payment_params.hpp"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

TEST(PaymentParamsTest, CardParamsStoresEachArgumentInItsField) {
  const CardParams params("pan", "cvc", "12/25", "holder", "order", "key");
  EXPECT_EQ(params.mdOrder(), "order");
  EXPECT_EQ(params.pan(), "pan");
  EXPECT_EQ(params.cvc(), "cvc");
  EXPECT_EQ(params.expiryMMYY(), "12/25");
  EXPECT_EQ(params.cardholder(), "holder");
  EXPECT_EQ(params.pubKey(), "key");
}

TEST(PaymentParamsTest, BindingRecordsTakeTheKeyFirst) {
  const BindingParams binding("key", "bind", std::nullopt, "order");
  EXPECT_EQ(binding.pubKey(), "key");
  EXPECT_EQ(binding.bindingId(), "bind");
  EXPECT_EQ(binding.cvc(), std::nullopt);
  EXPECT_EQ(binding.mdOrder(), "order");

  const StoredPaymentMethodParams stored("K", "pm_S", std::nullopt);
  EXPECT_EQ(stored.storedPaymentMethodId(), "pm_S");
  EXPECT_EQ(stored.cvc(), std::nullopt);
  EXPECT_EQ(stored.pubKey(), "K");
}

TEST(PaymentParamsTest, EmptyAndAbsentTextsStayDistinct) {
  const CardParamsInstant empty("p", "c", "e", "", "k");
  const CardParamsInstant absent("p", "c", "e", std::nullopt, "k");
  EXPECT_EQ(empty.cardholder(), std::string());
  EXPECT_EQ(absent.cardholder(), std::nullopt);
  EXPECT_NE(debugString(empty), debugString(absent));
}

struct VariantCase {
  PaymentParamsVariant params;
  std::string caseName;
  std::string text;
};

class PaymentParamsVariantTest : public testing::TestWithParam<VariantCase> {};

TEST_P(PaymentParamsVariantTest, NamesTheCaseAndRendersThePayload) {
  EXPECT_EQ(caseName(GetParam().params), GetParam().caseName);
  EXPECT_EQ(debugString(GetParam().params), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaymentParamsVariantTest,
    testing::Values(
        VariantCase{CardParams("p", "c", "e", std::nullopt, "o", "k"), "cardParams",
                    "SDKCore.PaymentParamsVariant.cardParams(params: SDKCore.CardParams(mdOrder: "
                    "\"o\", pan: \"p\", cvc: \"c\", expiryMMYY: \"e\", cardholder: nil, pubKey: "
                    "\"k\"))"},
        VariantCase{CardParamsInstant("p", "c", "e", "h", "k"), "cardParamsInstant",
                    "SDKCore.PaymentParamsVariant.cardParamsInstant(params: "
                    "SDKCore.CardParamsInstant(pan: \"p\", cvc: \"c\", expiryMMYY: \"e\", "
                    "cardholder: Optional(\"h\"), pubKey: \"k\"))"},
        VariantCase{BindingParams("k", "b", "c", "o"), "bindingParams",
                    "SDKCore.PaymentParamsVariant.bindingParams(params: SDKCore.BindingParams("
                    "mdOrder: \"o\", bindingId: \"b\", cvc: Optional(\"c\"), pubKey: \"k\"))"},
        VariantCase{BindingParamsInstant("k", "b", std::nullopt), "bindingParamsInstant",
                    "SDKCore.PaymentParamsVariant.bindingParamsInstant(params: "
                    "SDKCore.BindingParamsInstant(bindingId: \"b\", cvc: nil, pubKey: \"k\"))"},
        VariantCase{NewPaymentMethodParams("p", "c", "e", std::nullopt, "k"),
                    "newPaymentMethodParams",
                    "SDKCore.PaymentParamsVariant.newPaymentMethodParams(params: "
                    "SDKCore.NewPaymentMethodParams(pan: \"p\", cvc: \"c\", expiryMMYY: \"e\", "
                    "cardholder: nil, pubKey: \"k\"))"},
        VariantCase{StoredPaymentMethodParams("k", "pm_x", "1\t2"), "storedPaymentMethodParams",
                    "SDKCore.PaymentParamsVariant.storedPaymentMethodParams(params: "
                    "SDKCore.StoredPaymentMethodParams(storedPaymentMethodId: \"pm_x\", cvc: "
                    "Optional(\"1\\t2\"), pubKey: \"k\"))"}));

TEST(PaymentParamsTest, QuoteBackslashAndLineFeedRenderOnOneLine) {
  const std::string rendered = debugString(BindingParamsInstant("k", "a\"b\\c\nd", std::nullopt));
  EXPECT_EQ(rendered,
            R"(SDKCore.BindingParamsInstant(bindingId: "a\"b\\c\nd", cvc: nil, pubKey: "k"))");
  EXPECT_EQ(rendered.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace sdkcore
