#include "sdkcore/sdk_core.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/payment_string_fields.hpp"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sdkcore/base58.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/string_extensions.hpp"
#include "support/log_capture.hpp"
#include "support/resource_use.hpp"
#include "support/test_keys.hpp"

namespace sdkcore {
namespace {

using ::sdkcore::testing::paymentStringFields;
using ::sdkcore::testing::utcDate;

using ::sdkcore::testing::decryptToken;
using ::sdkcore::testing::LogCapture;
using ::sdkcore::testing::testKeyPair;
using ::sdkcore::testing::ThrowingSinkScope;
using ::testing::MatchesRegex;

constexpr const char* kUuidForm =
    "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}";
constexpr const char* kPan = "4111111111111111";
constexpr double kNow = 1700000000.0;  // 2023-11-14T22:13:20Z
constexpr const char* kBadTimestamp = "timestamp is not a finite number of seconds in range";

// The payment string's date field is written in the device's zone; the tests run in UTC.
class UtcEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};
const auto* const kUtc = ::testing::AddGlobalTestEnvironment(new UtcEnvironment);

const std::string& publicPem() { return testKeyPair(2048).publicPem; }
const std::string& privatePem() { return testKeyPair(2048).privatePem; }

// The Base64 body of a PEM block on one line: a key text that the cipher accepts and that the
// configuration dump shows without escapes.
std::string pemBody(const std::string& pem) {
  std::string body;
  for (std::size_t start = 0; start < pem.size();) {
    std::size_t end = pem.find('\n', start);
    if (end == std::string::npos) end = pem.size();
    const std::string line = pem.substr(start, end - start);
    if (!line.starts_with("-----")) body += line;
    start = end + 1;
  }
  return body;
}

// The nine fields of a successful result's payment string, decrypted with the test key.
std::vector<std::string> decryptedFields(const TokenResult& result,
                                         const std::string& key = privatePem()) {
  EXPECT_TRUE(result.errors.empty());
  if (!result.token) {
    ADD_FAILURE() << "no token";
    return {};
  }
  const std::optional<std::string> plain = decryptToken(*result.token, key);
  if (!plain) {
    ADD_FAILURE() << "token does not decrypt";
    return {};
  }
  return paymentStringFields(*plain);
}

void expectFailure(const TokenResult& result, ParamField field, const std::string& text) {
  EXPECT_FALSE(result.token.has_value());
  EXPECT_EQ(result.errors, (std::map<ParamField, std::string>{{field, text}}));
}

SDKCoreConfig configOf(PaymentParamsVariant params, double timestamp = kNow,
                       ZKITRegisteredFrom from = ZKITRegisteredFrom::ZKIT_CORE) {
  return SDKCoreConfig(std::move(params), from, timestamp);
}

// ---- Valid requests of every case -------------------------------------------------------------

struct TokenCase {
  const char* name;
  std::function<PaymentParamsVariant(const std::string& pubKey)> params;
  ZKITRegisteredFrom from;
  // Fields 3 to 9 of the payment string: card number, code, expiry, order, stored id, holder,
  // source.
  std::vector<std::string> fields;
};

class ValidRequest : public ::testing::TestWithParam<TokenCase> {
 protected:
  TokenResult generate() {
    return sdk_.generateWithConfig(configOf(GetParam().params(publicPem()), kNow, GetParam().from));
  }
  SdkCore sdk_;
};

TEST_P(ValidRequest, YieldsATokenOfTheNineFields) {
  const TokenResult result = generate();
  ASSERT_TRUE(result.token.has_value());
  EXPECT_EQ(result.token->size(), 344u);
  const std::vector<std::string> fields = decryptedFields(result);
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_EQ(fields[0], "2023-11-14T22:13:20+00:00");
  EXPECT_THAT(fields[1], MatchesRegex(kUuidForm));
  EXPECT_EQ(std::vector<std::string>(fields.begin() + 2, fields.end()), GetParam().fields);
}

TEST_P(ValidRequest, IdenticalRequestsGiveDifferentTokensAndUuids) {
  const TokenResult first = generate();
  const TokenResult second = generate();
  ASSERT_TRUE(first.token && second.token);
  EXPECT_NE(*first.token, *second.token);
  std::vector<std::string> a = decryptedFields(first);
  std::vector<std::string> b = decryptedFields(second);
  ASSERT_EQ(a.size(), 9u);
  ASSERT_EQ(b.size(), 9u);
  EXPECT_NE(a[1], b[1]);
  a.erase(a.begin() + 1);
  b.erase(b.begin() + 1);
  EXPECT_EQ(a, b);
}

INSTANTIATE_TEST_SUITE_P(
    AllCases, ValidRequest,
    ::testing::Values(TokenCase{"cardParams",
                                [](const std::string& key) -> PaymentParamsVariant {
                                  return CardParams(kPan, "123", "03/27", "JOHN DOE", "ORDER-1",
                                                    key);
                                },
                                ZKITRegisteredFrom::ZKIT_CORE,
                                {kPan, "123", "20273", "ORDER-1", "", "JOHN DOE", "ZKIT_CORE"}},
                      TokenCase{"cardParamsInstant",
                                [](const std::string& key) -> PaymentParamsVariant {
                                  return CardParamsInstant(kPan, "456", "12/25", std::nullopt, key);
                                },
                                ZKITRegisteredFrom::ZKIT_FORMS,
                                {kPan, "456", "202512", "", "", "", "ZKIT_FORMS"}},
                      TokenCase{
                          "newPaymentMethodParams",
                          [](const std::string& key) -> PaymentParamsVariant {
                            return NewPaymentMethodParams("5555555555554444", "789", "01/30",
                                                          "jane roe", key);
                          },
                          ZKITRegisteredFrom::ZKIT_PAYMENT,
                          {"5555555555554444", "789", "20301", "", "", "jane roe", "ZKIT_PAYMENT"}},
                      TokenCase{"bindingParams",
                                [](const std::string& key) -> PaymentParamsVariant {
                                  return BindingParams(key, "BIND-77", "123", "ORDER-2");
                                },
                                ZKITRegisteredFrom::ZKIT_CORE,
                                {"", "123", "", "ORDER-2", "BIND-77", "", "ZKIT_CORE"}},
                      TokenCase{"bindingParamsInstant",
                                [](const std::string& key) -> PaymentParamsVariant {
                                  return BindingParamsInstant(key, "BIND-77", std::nullopt);
                                },
                                ZKITRegisteredFrom::ZKIT_FORMS,
                                {"", "", "", "", "BIND-77", "", "ZKIT_FORMS"}},
                      TokenCase{"storedPaymentMethodParams",
                                [](const std::string& key) -> PaymentParamsVariant {
                                  // The Base58 form of " BIND-77 ": the decoded id is trimmed.
                                  return StoredPaymentMethodParams(key, "pm_QpJitz5kj4n3", "321");
                                },
                                ZKITRegisteredFrom::ZKIT_PAYMENT,
                                {"", "321", "", "", "BIND-77", "", "ZKIT_PAYMENT"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Time stamps ------------------------------------------------------------------------------

struct DateCase {
  const char* name;
  double timestamp;
  const char* date;
};

class TimestampTruncation : public ::testing::TestWithParam<DateCase> {};

TEST_P(TimestampTruncation, DiscardsTheFractionTowardZero) {
  SdkCore sdk;
  const TokenResult result = sdk.generateWithConfig(configOf(
      CardParams(kPan, "123", "12/25", std::nullopt, "O", publicPem()), GetParam().timestamp));
  const std::vector<std::string> fields = decryptedFields(result);
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_EQ(fields[0], GetParam().date);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimestampTruncation,
    ::testing::Values(DateCase{"Zero", 0, "1970-01-01T00:00:00+00:00"},
                      DateCase{"MinusOne", -1, "1969-12-31T23:59:59+00:00"},
                      DateCase{"Positive", 12.9, "1970-01-01T00:00:12+00:00"},
                      DateCase{"NegativeHalf", -0.5, "1970-01-01T00:00:00+00:00"},
                      DateCase{"Negative", -12.9, "1969-12-31T23:59:48+00:00"},
                      DateCase{"Now", kNow + 0.999, "2023-11-14T22:13:20+00:00"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadTimestampCase {
  const char* name;
  double timestamp;
};

class BadTimestamp : public ::testing::TestWithParam<BadTimestampCase> {};

TEST_P(BadTimestamp, IsUnknownAfterValidationWithNothingEncrypted) {
  SdkCore sdk;
  const LogCapture capture;
  const TokenResult result = sdk.generateWithConfig(
      configOf(BindingParamsInstant(publicPem(), "BIND-77", std::nullopt), GetParam().timestamp));
  expectFailure(result, ParamField::UNKNOWN, kBadTimestamp);
  const auto events = capture.events();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[4].message, "generation method:");
  EXPECT_EQ(events[5].message,
            "generation method: Error timestamp is not a finite number of seconds in range");
  EXPECT_EQ(events[5].exceptionField(), ParamField::UNKNOWN);
}

TEST_P(BadTimestamp, DoesNotHideAFieldError) {
  SdkCore sdk;
  const TokenResult result = sdk.generateWithConfig(
      configOf(BindingParamsInstant(publicPem(), "", std::nullopt), GetParam().timestamp));
  expectFailure(result, ParamField::BINDING_ID, "required");
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadTimestamp,
    ::testing::Values(BadTimestampCase{"NaN", std::numeric_limits<double>::quiet_NaN()},
                      BadTimestampCase{"Infinity", INFINITY},
                      BadTimestampCase{"MinusInfinity", -INFINITY},
                      BadTimestampCase{"OneE19", 1e19}, BadTimestampCase{"MinusOneE19", -1e19},
                      BadTimestampCase{"TwoTo63", 9223372036854775808.0},
                      // In range, but beyond the years the C library can represent.
                      BadTimestampCase{"OneE17", 1e17}, BadTimestampCase{"MinusOneE17", -1e17}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Line terminators ------------------------------------------------------------------------

// A request whose only fault is 'text' in the given field (inside the stored id, whose decoded
// form is trimmed).
PaymentParamsVariant withText(ParamField field, const std::string& t) {
  const std::string id = "BIND" + t + "77";
  switch (field) {
    case ParamField::PAN:
      return CardParamsInstant(kPan + t, "123", "12/25", std::nullopt, publicPem());
    case ParamField::CVC:
      return CardParamsInstant(kPan, "12" + t, "12/25", std::nullopt, publicPem());
    case ParamField::CARDHOLDER:
      return CardParamsInstant(kPan, "123", "12/25", "JOHN DOE" + t, publicPem());
    case ParamField::MD_ORDER:
      return BindingParams(publicPem(), "BIND-77", std::nullopt, "ORDER-1" + t);
    case ParamField::BINDING_ID:
      return BindingParamsInstant(publicPem(), "BIND-77" + t, std::nullopt);
    default:
      return StoredPaymentMethodParams(
          publicPem(),
          "pm_" + Base58::encode(
                      std::span(reinterpret_cast<const std::uint8_t*>(id.data()), id.size())),
          std::nullopt);
  }
}

class LineTerminator : public ::testing::TestWithParam<std::pair<ParamField, const char*>> {};

TEST_P(LineTerminator, FailsTheFieldsPatternCheckWithItsLogEvent) {
  const auto [field, code] = GetParam();
  for (const char* terminator :
       {"\n", "\r", "\r\n", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"}) {
    for (const std::string& text : {std::string(terminator), terminator + std::string("X")}) {
      SCOPED_TRACE(::testing::PrintToString(text));
      SdkCore sdk;
      const LogCapture capture;
      expectFailure(sdk.generateWithConfig(configOf(withText(field, text))), field, code);
      EXPECT_THAT(capture.events().back().message,
                  ::testing::EndsWith("): Error " + std::string(caseName(field))));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, LineTerminator,
                         ::testing::Values(std::pair(ParamField::PAN, "invalid-format"),
                                           std::pair(ParamField::CVC, "invalid"),
                                           std::pair(ParamField::CARDHOLDER, "invalid-format"),
                                           std::pair(ParamField::MD_ORDER, "invalid"),
                                           std::pair(ParamField::BINDING_ID, "invalid"),
                                           std::pair(ParamField::STORED_PAYMENT_METHOD_ID,
                                                     "invalid")));

// ---- Log events -------------------------------------------------------------------------------

struct DumpCase {
  const char* name;
  PaymentParamsVariant params;
  ZKITRegisteredFrom from;
  double timestamp;
  const char* firstMessage;
};

class ConfigurationDump : public ::testing::TestWithParam<DumpCase> {};

TEST_P(ConfigurationDump, IsTheFirstEventWithCardDataMasked) {
  SdkCore sdk;
  const LogCapture capture;
  sdk.generateWithConfig(SDKCoreConfig(GetParam().params, GetParam().from, GetParam().timestamp));
  const auto events = capture.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].message, GetParam().firstMessage);
  EXPECT_EQ(events[0].exception, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    AllCases, ConfigurationDump,
    ::testing::
        Values(
            DumpCase{
                "cardParams", CardParams(kPan, "123", "12/25", "JOHN DOE", "ORDER-1", "KEY"),
                ZKITRegisteredFrom::ZKIT_CORE, kNow,
                R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParams(params: SDKCore.CardParams(mdOrder: "ORDER-1", pan: "411111******1111", cvc: "***", expiryMMYY: "12/25", cardholder: Optional("JOHN DOE"), pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)): Token generation method for a new card.)"},
            DumpCase{
                "cardParamsInstant", CardParamsInstant(kPan, "123", "12/25", std::nullopt, "KEY"),
                ZKITRegisteredFrom::ZKIT_FORMS, 12.0,
                R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParamsInstant(params: SDKCore.CardParamsInstant(pan: "411111******1111", cvc: "***", expiryMMYY: "12/25", cardholder: nil, pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_FORMS, timestamp: 12.0)): Token generation method for a new card.)"},
            DumpCase{
                "newPaymentMethodParams",
                NewPaymentMethodParams("411111111111", "", "1/2", "A", "KEY"),
                ZKITRegisteredFrom::ZKIT_PAYMENT, -0.5,
                R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.newPaymentMethodParams(params: SDKCore.NewPaymentMethodParams(pan: "********1111", cvc: "", expiryMMYY: "1/2", cardholder: Optional("A"), pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_PAYMENT, timestamp: -0.5)): Token generation method for a new card.)"},
            DumpCase{
                "bindingParams", BindingParams("KEY", "BIND-77", "123", "ORDER-2"),
                ZKITRegisteredFrom::ZKIT_CORE, kNow + 0.5,
                R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.bindingParams(params: SDKCore.BindingParams(mdOrder: "ORDER-2", bindingId: "BIND-77", cvc: Optional("***"), pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.5)): Token generation method for a new card.)"},
            DumpCase{
                "bindingParamsInstant", BindingParamsInstant("KEY", "BIND-77", std::nullopt),
                ZKITRegisteredFrom::ZKIT_CORE, kNow,
                R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.bindingParamsInstant(params: SDKCore.BindingParamsInstant(bindingId: "BIND-77", cvc: nil, pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)): Token generation method for a new card.)"},
            DumpCase{
                "storedPaymentMethodParams",
                StoredPaymentMethodParams("KEY", "pm_3WhDgViUq4", "1234"), ZKITRegisteredFrom::ZKIT_CORE, kNow, R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.storedPaymentMethodParams(params: SDKCore.StoredPaymentMethodParams(storedPaymentMethodId: "pm_3WhDgViUq4", cvc: Optional("****"), pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)): Token generation method for a new card.)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SdkCoreLog, SuccessfulCallLogsRequestChecksAndGenerationOnly) {
  const std::string key = pemBody(publicPem());
  SdkCore sdk;
  const LogCapture capture;
  const TokenResult result = sdk.generateWithConfig(
      configOf(CardParams(kPan, "123", "12/25", "JOHN DOE", "ORDER-1", key)));
  ASSERT_TRUE(result.token.has_value());
  EXPECT_EQ(
      capture.messages(),
      (std::vector<std::string>{
          R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParams(params: SDKCore.CardParams(mdOrder: "ORDER-1", pan: "411111******1111", cvc: "***", expiryMMYY: "12/25", cardholder: Optional("JOHN DOE"), pubKey: ")" +
              key +
              R"(")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)): Token generation method for a new card.)",
          R"(validateField(Optional("JOHN DOE")): Validate Optional(SDKCore.ParamField.CARDHOLDER))",
          R"(validateField(Optional("ORDER-1")): Validate Optional(SDKCore.ParamField.MD_ORDER))",
          R"(validateField(Optional("12/25")): Validate Optional(SDKCore.ParamField.EXPIRY))",
          R"(validateField(Optional("411111******1111")): Validate Optional(SDKCore.ParamField.PAN))",
          R"(validateField(Optional("***")): Validate Optional(SDKCore.ParamField.CVC))",
          R"(validateField(Optional(")" + key +
              R"(")): Validate Optional(SDKCore.ParamField.PUB_KEY))",
          "generation method:"}));
  for (const auto& event : capture.events()) {
    EXPECT_EQ(*event.classType, typeid(SdkCore));
    EXPECT_EQ(event.tag, "SDK-Core");
  }
  EXPECT_EQ(capture.events().back().exception, nullptr);
}

TEST(SdkCoreLog, ValidationFailureEndsWithTheErrorEvent) {
  SdkCore sdk;
  const LogCapture capture;
  const TokenResult result =
      sdk.generateWithConfig(configOf(StoredPaymentMethodParams("KEY", "PM_3WhDgViUq4", "12")));
  expectFailure(result, ParamField::STORED_PAYMENT_METHOD_ID, "required");
  EXPECT_EQ(
      capture.messages(),
      (std::vector<std::string>{
          R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.storedPaymentMethodParams(params: SDKCore.StoredPaymentMethodParams(storedPaymentMethodId: "PM_3WhDgViUq4", cvc: Optional("**"), pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)): Token generation method for a new card.)",
          R"(validateField(Optional("")): Validate Optional(SDKCore.ParamField.STORED_PAYMENT_METHOD_ID))",
          "validateField(): Error STORED_PAYMENT_METHOD_ID"}));
}

// A field of any size makes log events of bounded size: each shows the beginning of the text,
// masked, and counts the characters left out.
struct LongFieldCase {
  const char* name;
  ParamField field;
  std::string appended;  // to the field's usual text
  const char* shown;     // what the configuration event shows of it
};

class LongField : public ::testing::TestWithParam<LongFieldCase> {};

TEST_P(LongField, LogEventsShowItsBeginningAndCountTheRest) {
  SdkCore sdk;
  const LogCapture capture;
  sdk.generateWithConfig(configOf(withText(GetParam().field, GetParam().appended)));
  const std::vector<std::string> messages = capture.messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_THAT(messages[0], ::testing::HasSubstr(GetParam().shown));
  for (const std::string& message : messages) EXPECT_LE(message.size(), 4096u);
}

std::string repeated(std::string_view text, std::size_t count) {
  std::string all;
  for (std::size_t i = 0; i < count; ++i) all += text;
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LongField,
    ::testing::Values(
        // Two bytes a character: the cut counts characters.
        LongFieldCase{"cardholder", ParamField::CARDHOLDER, repeated("\xC3\x89", 100000),
                      "cardholder: Optional(\"JOHN DOE\xC3\x89\xC3\x89"},
        LongFieldCase{"cardholderNote", ParamField::CARDHOLDER, repeated("\xC3\x89", 100000),
                      "\xC3\x89\") (+99752 characters), pubKey"},
        LongFieldCase{"order", ParamField::MD_ORDER, std::string(100000, 'A'),
                      R"(AAAA" (+99751 characters), bindingId)"},
        LongFieldCase{"cardNumber", ParamField::PAN, std::string(100000, '1'),
                      R"(pan: "411111*****)"},
        LongFieldCase{"cardNumberNote", ParamField::PAN, std::string(100000, '1'),
                      R"(**" (+99760 characters), cvc)"}),
    [](const auto& info) { return std::string(info.param.name); });

class HostSdk : public SdkCore {};

TEST(SdkCoreLog, ReportsTheRunTimeTypeOfTheInstance) {
  HostSdk sdk;
  const LogCapture capture;
  sdk.generateWithConfig(configOf(BindingParamsInstant("KEY", "", std::nullopt)));
  const auto events = capture.events();
  ASSERT_EQ(events.size(), 3u);
  for (const auto& event : events) EXPECT_EQ(*event.classType, typeid(HostSdk));
}

// ---- Failures after validation ----------------------------------------------------------------

std::string expDateDescription(const std::string& text) {
  try {
    toExpDate(text);
  } catch (const ExpDateError& error) {
    return error.localizedDescription();
  }
  ADD_FAILURE() << "toExpDate accepted " << text;
  return {};
}

TEST(SdkCoreFailure, ExpiryThatPassesValidationButNotConversionIsUnknown) {
  const std::string description = expDateDescription("12/25\n");
  EXPECT_THAT(description, ::testing::HasSubstr("Invalid month or year"));
  EXPECT_THAT(description, ::testing::HasSubstr("-1"));
  SdkCore sdk;
  const LogCapture capture;
  const TokenResult result = sdk.generateWithConfig(
      configOf(CardParamsInstant(kPan, "123", "12/25\n", std::nullopt, "KEY")));
  expectFailure(result, ParamField::UNKNOWN, description);
  const auto events = capture.events();
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(
      events[6].message,
      R"(generateWithConfig(SDKCoreConfig(paymentMethodParams: SDKCore.PaymentParamsVariant.cardParamsInstant(params: SDKCore.CardParamsInstant(pan: "411111******1111", cvc: "***", expiryMMYY: "12/25\n", cardholder: nil, pubKey: "KEY")), registeredFrom: SDKCore.ZKITRegisteredFrom.ZKIT_CORE, timestamp: 1700000000.0)): Error )" +
          description);
  const auto* error = dynamic_cast<const ExpDateError*>(events[6].exception.get());
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->domain(), "Invalid month or year");
  EXPECT_EQ(error->code(), -1);
}

struct CipherFailureCase {
  const char* name;
  std::function<PaymentParamsVariant()> params;
  ParamField field;
  const char* code;
  const char* lastMessage;
};

class CipherFailure : public ::testing::TestWithParam<CipherFailureCase> {};

TEST_P(CipherFailure, IsReportedWithoutTheCiphersOwnError) {
  SdkCore sdk;
  const LogCapture capture;
  const TokenResult result = sdk.generateWithConfig(configOf(GetParam().params()));
  expectFailure(result, GetParam().field, GetParam().code);
  const auto events = capture.events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[events.size() - 2].message, "generation method:");
  EXPECT_EQ(events.back().message, GetParam().lastMessage);
  EXPECT_EQ(events.back().exceptionField(), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CipherFailure,
    ::testing::Values(
        CipherFailureCase{
            "KeyNotBase64",
            [] { return PaymentParamsVariant(BindingParamsInstant("KEY!", "B", {})); },
            ParamField::PUB_KEY, "invalid", "generation method: Error PUB_KEY is invalid"},
        CipherFailureCase{"ArmourOnly",
                          [] {
                            return PaymentParamsVariant(BindingParamsInstant(
                                "-----BEGIN PUBLIC KEY-----\n-----END PUBLIC KEY-----\n", "B", {}));
                          },
                          ParamField::PUB_KEY, "invalid",
                          "generation method: Error PUB_KEY is invalid"},
        CipherFailureCase{
            "TruncatedKey",
            [] {
              const std::string body = pemBody(publicPem());
              return PaymentParamsVariant(BindingParamsInstant(body.substr(0, 200), "B", {}));
            },
            ParamField::PUB_KEY, "invalid", "generation method: Error PUB_KEY is invalid"},
        CipherFailureCase{"PaymentStringTooLongFor1024Bits",
                          [] {
                            return PaymentParamsVariant(CardParams(kPan, "123", "12/25", "JOHN DOE",
                                                                   std::string(100, 'X'),
                                                                   testKeyPair(1024).publicPem));
                          },
                          ParamField::UNKNOWN, "unknown",
                          "generation method: Error UNKNOWN is invalid"},
        CipherFailureCase{"BindingIdTooLongFor2048Bits",
                          [] {
                            return PaymentParamsVariant(
                                BindingParams(publicPem(), std::string(200, 'B'), "123", "O"));
                          },
                          ParamField::UNKNOWN, "unknown",
                          "generation method: Error UNKNOWN is invalid"}),
    [](const auto& info) { return std::string(info.param.name); });

// The longest payment string that a 1024-bit key still takes (117 bytes) succeeds.
TEST(SdkCoreFailure, LongestPaymentStringForTheKeyStillEncrypts) {
  // Date 25, UUID 36, eight separators and "ZKIT_CORE" make 78 bytes; a 39-character binding
  // id fills the 117 bytes.
  SdkCore sdk;
  const TokenResult fits = sdk.generateWithConfig(configOf(
      BindingParamsInstant(testKeyPair(1024).publicPem, "B" + std::string(38, 'x'), std::nullopt)));
  const auto fields = decryptedFields(fits, testKeyPair(1024).privatePem);
  ASSERT_EQ(fields.size(), 9u);
  const TokenResult tooLong = sdk.generateWithConfig(configOf(
      BindingParamsInstant(testKeyPair(1024).publicPem, "B" + std::string(39, 'x'), std::nullopt)));
  expectFailure(tooLong, ParamField::UNKNOWN, "unknown");
}

// ---- Sinks do not change outcomes -------------------------------------------------------------

std::vector<std::pair<std::optional<std::string>, std::map<ParamField, std::string>>> outcomes(
    SdkCore& sdk) {
  std::vector<std::pair<std::optional<std::string>, std::map<ParamField, std::string>>> all;
  for (const PaymentParamsVariant& params :
       {PaymentParamsVariant(BindingParamsInstant(publicPem(), "BIND-77", std::nullopt)),
        PaymentParamsVariant(CardParams(kPan, "", "12/25", std::nullopt, "O", "KEY")),
        PaymentParamsVariant(BindingParamsInstant("KEY", "BIND-77", std::nullopt))}) {
    const TokenResult result = sdk.generateWithConfig(configOf(params));
    std::optional<std::string> plain;
    if (result.token) plain = decryptToken(*result.token, privatePem());
    // The UUID differs per call: compare the decrypted text without it.
    if (plain) plain = plain->substr(0, 26) + plain->substr(62);
    all.emplace_back(plain, result.errors);
  }
  return all;
}

const std::vector<std::pair<std::optional<std::string>, std::map<ParamField, std::string>>>
    kExpectedOutcomes = {
        {"2023-11-14T22:13:20+00:00//////BIND-77//ZKIT_CORE", {}},
        {std::nullopt, {{ParamField::CVC, "required"}}},
        {std::nullopt, {{ParamField::PUB_KEY, "invalid"}}},
};

TEST(SdkCoreSinks, OutcomesWithoutAnySink) {
  if (Logger::shared().hasLogInterfaces()) GTEST_SKIP() << "a sink is attached in this process";
  SdkCore sdk;
  EXPECT_EQ(outcomes(sdk), kExpectedOutcomes);
}

TEST(SdkCoreSinks, OutcomesWithAFailingSink) {
  SdkCore sdk;
  const LogCapture capture;
  const ThrowingSinkScope throwing;
  EXPECT_EQ(outcomes(sdk), kExpectedOutcomes);
}

// ---- Threads ----------------------------------------------------------------------------------

TEST(SdkCoreThreads, OneInstanceServesConcurrentCalls) {
  constexpr int kThreads = 4;
  constexpr int kCalls = testing::scaledForEmulator(20);
  SdkCore shared;
  SdkCore other;
  const LogCapture capture;
  std::vector<std::vector<std::string>> tokens(kThreads + 1);
  std::vector<std::thread> threads;
  for (int t = 0; t <= kThreads; ++t) {
    SdkCore& sdk = t == kThreads ? other : shared;
    threads.emplace_back([&sdk, &mine = tokens[t], t] {
      const std::string order = "ORDER-" + std::to_string(t);
      for (int i = 0; i < kCalls; ++i) {
        const TokenResult result = sdk.generateWithConfig(
            configOf(CardParams(kPan, "123", "12/25", "JOHN DOE", order, publicPem())));
        mine.push_back(result.token.value_or(""));
      }
    });
  }
  for (auto& thread : threads) thread.join();

  std::set<std::string> uuids;
  for (int t = 0; t <= kThreads; ++t) {
    for (const std::string& token : tokens[t]) {
      const auto plain = decryptToken(token, privatePem());
      ASSERT_TRUE(plain.has_value());
      const auto fields = paymentStringFields(*plain);
      ASSERT_EQ(fields.size(), 9u);
      EXPECT_EQ(fields[0], "2023-11-14T22:13:20+00:00");
      EXPECT_EQ(fields[5], "ORDER-" + std::to_string(t));
      uuids.insert(fields[1]);
    }
  }
  EXPECT_EQ(uuids.size(), static_cast<std::size_t>((kThreads + 1) * kCalls));
  EXPECT_EQ(capture.events().size(), static_cast<std::size_t>((kThreads + 1) * kCalls * 8));
}

}  // namespace
}  // namespace sdkcore
