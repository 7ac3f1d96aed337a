#include "entry/field_validation.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "entry/payment_input.hpp"
#include "sdkcore/card_code_validator.hpp"
#include "sdkcore/card_expiry_validator.hpp"
#include "sdkcore/card_holder_validator.hpp"
#include "sdkcore/card_number_validator.hpp"
#include "support/log_capture.hpp"
#include "validation/card_binding_id_validator.hpp"
#include "validation/order_number_validator.hpp"
#include "validation/pub_key_validator.hpp"

namespace sdkcore {
namespace {

using ::sdkcore::testing::LogCapture;

struct Expected {
  ParamField field;
  const char* code;
};

struct PlanCase {
  const char* name;
  PaymentParamsVariant params;
  std::optional<Expected> failure;
  std::vector<std::string> messages;
};

class FieldValidation : public ::testing::TestWithParam<PlanCase> {
 protected:
  std::optional<FieldError> run(const PaymentParamsVariant& params) const {
    const FieldValidators validators{orderNumber_, cardExpiry_, cardNumber_, cardBindingId_,
                                     cardCode_,    cardHolder_, pubKey_};
    const schema::RequestView view = schema::viewOf(params);
    return validateFields(view, storedBindingIdOf(view), validators, log_);
  }

 private:
  struct Reporter {};
  OrderNumberValidator orderNumber_;
  CardExpiryValidator cardExpiry_;
  CardNumberValidator cardNumber_;
  CardBindingIdValidator cardBindingId_;
  CardCodeValidator cardCode_;
  CardHolderValidator cardHolder_;
  PubKeyValidator pubKey_;
  EventLog log_{typeid(Reporter)};
};

TEST_P(FieldValidation, ChecksFieldsInOrderAndStopsAtTheFirstFailure) {
  const PlanCase& c = GetParam();
  const LogCapture capture;
  const std::optional<FieldError> error = run(c.params);

  ASSERT_EQ(error.has_value(), c.failure.has_value());
  if (error) {
    EXPECT_EQ(error->field, c.failure->field);
    EXPECT_EQ(error->errorCode, c.failure->code);
  }
  EXPECT_EQ(capture.messages(), c.messages);
}

// Every event carries the key of its entry as the error object.
TEST_P(FieldValidation, EventsCarryTheEntryKey) {
  const LogCapture capture;
  run(GetParam().params);
  for (const auto& event : capture.events()) {
    const auto field = event.exceptionField();
    ASSERT_TRUE(field.has_value()) << event.message;
    const std::string name(caseName(*field));
    EXPECT_TRUE(event.message.ends_with("Validate Optional(SDKCore.ParamField." + name + ")") ||
                event.message.ends_with("Error " + name))
        << event.message;
  }
}

constexpr const char* kPan = "4111111111111111";

INSTANTIATE_TEST_SUITE_P(
    CardParamsPlan, FieldValidation,
    ::testing::Values(
        PlanCase{
            "AllValid",
            CardParams(kPan, "123", "12/25", "JOHN DOE", "ORDER-1", "KEY"),
            std::nullopt,
            {R"(validateField(Optional("JOHN DOE")): Validate Optional(SDKCore.ParamField.CARDHOLDER))",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("411111******1111")): Validate Optional(SDKCore.ParamField.PAN))",
             R"(validateField(Optional("***")): Validate Optional(SDKCore.ParamField.CVC))",
             R"(validateField(Optional("KEY")): Validate Optional(SDKCore.ParamField.PUB_KEY))"}},
        PlanCase{
            "EmptyCvcStopsBeforeTheKey",
            CardParams(kPan, "", "12/25", "JOHN DOE", "ORDER-1", "KEY"),
            Expected{ParamField::CVC, "required"},
            {R"(validateField(Optional("JOHN DOE")): Validate Optional(SDKCore.ParamField.CARDHOLDER))",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("411111******1111")): Validate Optional(SDKCore.ParamField.PAN))",
             R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.CVC))",
             "validateField(): Error CVC"}},
        PlanCase{
            "CardholderIsCheckedFirst",
            CardParams("4111", "123", "12/25", "JOHN-DOE", "ORDER-1", "KEY"),
            Expected{ParamField::CARDHOLDER, "invalid-format"},
            {R"(validateField(Optional("JOHN-DOE")): Validate Optional(SDKCore.ParamField.CARDHOLDER))",
             "validateField(JOHN-DOE): Error CARDHOLDER"}},
        PlanCase{"OrderNumberBeforeExpiry",
                 CardParams(kPan, "123", "13/25", std::nullopt, "", "KEY"),
                 Expected{ParamField::MD_ORDER, "required"},
                 {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
                  R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
                  "validateField(): Error MD_ORDER"}},
        PlanCase{
            "ExpiryBeforeNumber",
            CardParams("", "123", "13/25", std::nullopt, "ORDER-1", "KEY"),
            Expected{ParamField::EXPIRY, "invalid"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("13/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             "validateField(13/25): Error EXPIRY"}},
        PlanCase{
            "EmptyNumberBeforeEmptyCode",
            CardParams("", "", "12/25", std::nullopt, "ORDER-1", "KEY"),
            Expected{ParamField::PAN, "required"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.PAN))",
             "validateField(): Error PAN"}},
        PlanCase{
            "ShortNumberKeepsLastFourOnly",
            CardParams("411111111111", "123", "12/25", std::nullopt, "ORDER-1", "KEY"),
            Expected{ParamField::PAN, "invalid"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("********1111")): Validate Optional(SDKCore.ParamField.PAN))",
             "validateField(********1111): Error PAN"}},
        PlanCase{
            "LuhnFailureIsMasked",
            CardParams("4111111111111112", "123", "12/25", std::nullopt, "ORDER-1", "KEY"),
            Expected{ParamField::PAN, "invalid"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("411111******1112")): Validate Optional(SDKCore.ParamField.PAN))",
             "validateField(411111******1112): Error PAN"}},
        PlanCase{
            "BadCodeIsMasked",
            CardParams(kPan, "12a", "12/25", std::nullopt, "ORDER-1", "KEY"),
            Expected{ParamField::CVC, "invalid"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("411111******1111")): Validate Optional(SDKCore.ParamField.PAN))",
             R"(validateField(Optional("***")): Validate Optional(SDKCore.ParamField.CVC))",
             "validateField(***): Error CVC"}},
        PlanCase{
            "BlankKey",
            CardParams(kPan, "123", "12/25", std::nullopt, "ORDER-1", "   "),
            Expected{ParamField::PUB_KEY, "required"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("411111******1111")): Validate Optional(SDKCore.ParamField.PAN))",
             R"(validateField(Optional("***")): Validate Optional(SDKCore.ParamField.CVC))",
             R"(validateField(Optional("   ")): Validate Optional(SDKCore.ParamField.PUB_KEY))",
             "validateField(   ): Error PUB_KEY"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    InstantCardPlans, FieldValidation,
    ::testing::Values(
        PlanCase{
            "AbsentCardholderIsSkipped",
            CardParamsInstant(kPan, "123", "12/25", std::nullopt, "KEY"),
            std::nullopt,
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("411111******1111")): Validate Optional(SDKCore.ParamField.PAN))",
             R"(validateField(Optional("***")): Validate Optional(SDKCore.ParamField.CVC))",
             R"(validateField(Optional("KEY")): Validate Optional(SDKCore.ParamField.PUB_KEY))"}},
        PlanCase{
            "EmptyCardholderIsChecked",
            CardParamsInstant(kPan, "123", "12/25", "", "KEY"),
            Expected{ParamField::CARDHOLDER, "required"},
            {R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.CARDHOLDER))",
             "validateField(): Error CARDHOLDER"}},
        PlanCase{
            "NewPaymentMethodHasNoOrderNumber",
            NewPaymentMethodParams(kPan, "123", "12-25", "jane roe", "KEY"),
            Expected{ParamField::EXPIRY, "invalid-format"},
            {R"(validateField(Optional("jane roe")): Validate Optional(SDKCore.ParamField.CARDHOLDER))",
             R"(validateField(Optional("12-25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             "validateField(12-25): Error EXPIRY"}},
        PlanCase{
            "NewPaymentMethodSpaceInNumber",
            NewPaymentMethodParams("4111 1111 1111 1111", "123", "12/25", std::nullopt, "KEY"),
            Expected{ParamField::PAN, "invalid-format"},
            {"validateField(nil): Validate Optional(SDKCore.ParamField.CARDHOLDER)",
             R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
             R"(validateField(Optional("4111 1*********1111")): Validate Optional(SDKCore.ParamField.PAN))",
             "validateField(4111 1*********1111): Error PAN"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    StoredCardPlans, FieldValidation,
    ::testing::Values(
        PlanCase{
            "BindingAbsentCvcIsSkipped",
            BindingParams("KEY", "BIND-77", std::nullopt, "ORDER-2"),
            std::nullopt,
            {R"(validateField(Optional("ORDER-2")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("BIND-77")): Validate Optional(SDKCore.ParamField.BINDING_ID))",
             "validateField(nil): Validate Optional(SDKCore.ParamField.CVC)",
             R"(validateField(Optional("KEY")): Validate Optional(SDKCore.ParamField.PUB_KEY))"}},
        PlanCase{
            "BindingEmptyCvcIsChecked",
            BindingParams("KEY", "BIND-77", "", "ORDER-2"),
            Expected{ParamField::CVC, "required"},
            {R"(validateField(Optional("ORDER-2")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("BIND-77")): Validate Optional(SDKCore.ParamField.BINDING_ID))",
             R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.CVC))",
             "validateField(): Error CVC"}},
        PlanCase{
            "BindingIdWithSpace",
            BindingParams("KEY", "abc 123", "123", "ORDER-2"),
            Expected{ParamField::BINDING_ID, "invalid"},
            {R"(validateField(Optional("ORDER-2")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             R"(validateField(Optional("abc 123")): Validate Optional(SDKCore.ParamField.BINDING_ID))",
             "validateField(abc 123): Error BINDING_ID"}},
        PlanCase{
            "BindingOrderNumberWithSpace",
            BindingParams("KEY", "BIND-77", "123", "order 1"),
            Expected{ParamField::MD_ORDER, "invalid"},
            {R"(validateField(Optional("order 1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
             "validateField(order 1): Error MD_ORDER"}},
        PlanCase{
            "BindingInstantEmptyId",
            BindingParamsInstant("KEY", "", "123"),
            Expected{ParamField::BINDING_ID, "required"},
            {R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.BINDING_ID))",
             "validateField(): Error BINDING_ID"}},
        PlanCase{
            "BindingInstantFourDigitCode",
            BindingParamsInstant("KEY", "BIND-77", "1234"),
            Expected{ParamField::CVC, "invalid"},
            {R"(validateField(Optional("BIND-77")): Validate Optional(SDKCore.ParamField.BINDING_ID))",
             R"(validateField(Optional("****")): Validate Optional(SDKCore.ParamField.CVC))",
             "validateField(****): Error CVC"}},
        PlanCase{
            "StoredShowsTheDecodedBindingId",
            StoredPaymentMethodParams("KEY", "pm_QpJitz5kj4n3", std::nullopt),
            std::nullopt,
            {R"(validateField(Optional("BIND-77")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
             "validateField(nil): Validate Optional(SDKCore.ParamField.CVC)",
             R"(validateField(Optional("KEY")): Validate Optional(SDKCore.ParamField.PUB_KEY))"}},
        PlanCase{
            "StoredWithoutPrefix",
            StoredPaymentMethodParams("KEY", "3WhDgViUq4", "123"),
            Expected{ParamField::STORED_PAYMENT_METHOD_ID, "required"},
            {R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
             "validateField(): Error STORED_PAYMENT_METHOD_ID"}},
        PlanCase{
            "StoredNotBase58",
            StoredPaymentMethodParams("KEY", "pm_0OIl", "123"),
            Expected{ParamField::STORED_PAYMENT_METHOD_ID, "required"},
            {R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
             "validateField(): Error STORED_PAYMENT_METHOD_ID"}},
        // "5Q" is the Base58 form of the single byte 0xFF, which is not UTF-8.
        PlanCase{
            "StoredNotUtf8",
            StoredPaymentMethodParams("KEY", "pm_5Q", "123"),
            Expected{ParamField::STORED_PAYMENT_METHOD_ID, "required"},
            {R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
             "validateField(): Error STORED_PAYMENT_METHOD_ID"}},
        PlanCase{
            "StoredPrefixAlone",
            StoredPaymentMethodParams("KEY", "pm_", "123"),
            Expected{ParamField::STORED_PAYMENT_METHOD_ID, "required"},
            {R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
             "validateField(): Error STORED_PAYMENT_METHOD_ID"}},
        PlanCase{
            "StoredEmptyCvc",
            StoredPaymentMethodParams("KEY", "pm_3WhDgViUq4", ""),
            Expected{ParamField::CVC, "required"},
            {R"(validateField(Optional("BIND-77")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
             R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.CVC))",
             "validateField(): Error CVC"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sdkcore
