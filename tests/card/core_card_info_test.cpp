#include "sdkcore/core_card_info.hpp"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "sdkcore/decoding_error.hpp"

namespace sdkcore {
namespace {

struct WriteCase {
  std::string name;
  CoreCardInfo info;
  std::string expected;
};

class CoreCardInfoWriteTest : public testing::TestWithParam<WriteCase> {};

TEST_P(CoreCardInfoWriteTest, WritesTabledOrderAndLeavesOutAbsentMembers) {
  const CoreCardInfo& info = GetParam().info;
  const std::string written = nlohmann::ordered_json(info).dump();
  EXPECT_EQ(written, GetParam().expected);
  // Reading what was written gives the same values back.
  const auto read = nlohmann::json::parse(written).get<CoreCardInfo>();
  EXPECT_EQ(read.identifier(), info.identifier());
  EXPECT_EQ(read.expDate(), info.expDate());
  EXPECT_EQ(read.cvv(), info.cvv());
  EXPECT_EQ(read.cardHolder(), info.cardHolder());
}

INSTANTIATE_TEST_SUITE_P(
    Records, CoreCardInfoWriteTest,
    testing::Values(
        WriteCase{
            "full",
            CoreCardInfo(CardIdentifier::newPaymentMethodIdentifier("4111111111111111"),
                         ExpiryDate(2025, 12), "123", "JOHN DOE"),
            R"({"identifier":{"newPaymentMethodIdentifier":"4111111111111111"},)"
            R"("expDate":{"expYear":2025,"expMonth":12},"cvv":"123","cardHolder":"JOHN DOE"})"},
        WriteCase{"storedWithCvv",
                  CoreCardInfo(CardIdentifier::storedPaymentMethodIdentifier("BIND-77"),
                               std::nullopt, "123", std::nullopt),
                  R"({"identifier":{"storedPaymentMethodIdentifier":"BIND-77"},"cvv":"123"})"},
        WriteCase{"identifierOnly",
                  CoreCardInfo(CardIdentifier::storedPaymentMethodIdentifier("B"), std::nullopt,
                               std::nullopt, std::nullopt),
                  R"({"identifier":{"storedPaymentMethodIdentifier":"B"}})"},
        WriteCase{"emptyTextsAndEscapes",
                  CoreCardInfo(CardIdentifier::newPaymentMethodIdentifier(""), ExpiryDate(-1, 0),
                               "", "a\"b\n\xc3\xa9"),
                  R"({"identifier":{"newPaymentMethodIdentifier":""},)"
                  R"("expDate":{"expYear":-1,"expMonth":0},"cvv":"","cardHolder":"a\"b\né"})"}),
    [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(CoreCardInfoJsonTest, NullOrMissingOptionalMembersReadAsAbsent) {
  const auto info = coreCardInfoFromJson(nlohmann::json::parse(
      R"({"cardHolder":null,"expDate":null,"identifier":{"storedPaymentMethodIdentifier":"B"},"x":1})"));
  EXPECT_EQ(info.identifier(), CardIdentifier::storedPaymentMethodIdentifier("B"));
  EXPECT_FALSE(info.expDate());
  EXPECT_FALSE(info.cvv());
  EXPECT_FALSE(info.cardHolder());
}

struct BadCase {
  std::string json;
  DecodingError::Kind kind;
  std::vector<std::string> codingPath;
};

class CoreCardInfoBadJsonTest : public testing::TestWithParam<BadCase> {};

TEST_P(CoreCardInfoBadJsonTest, FailsTheWholeReading) {
  const auto json = nlohmann::ordered_json::parse(GetParam().json);
  try {
    (void)json.get<CoreCardInfo>();
    FAIL() << "read " << GetParam().json;
  } catch (const DecodingError& error) {
    EXPECT_EQ(error.kind(), GetParam().kind) << error.description();
    EXPECT_EQ(error.codingPath(), GetParam().codingPath) << error.description();
  }
}

using Kind = DecodingError::Kind;
constexpr char kId[] = R"("identifier":{"newPaymentMethodIdentifier":"4111"})";

INSTANTIATE_TEST_SUITE_P(
    Inputs, CoreCardInfoBadJsonTest,
    testing::Values(
        BadCase{R"({"cvv":"123"})", Kind::keyNotFound, {}},
        BadCase{R"({"identifier":null})", Kind::valueNotFound, {"identifier"}},
        BadCase{R"({"identifier":"4111"})", Kind::typeMismatch, {"identifier"}},
        BadCase{R"({"identifier":{}})", Kind::dataCorrupted, {"identifier"}},
        BadCase{std::string("{") + kId + R"(,"expDate":"12/25"})", Kind::typeMismatch, {"expDate"}},
        BadCase{std::string("{") + kId + R"(,"expDate":{"expYear":2025}})",
                Kind::keyNotFound,
                {"expDate"}},
        BadCase{std::string("{") + kId + R"(,"expDate":{"expYear":2025,"expMonth":"3"}})",
                Kind::typeMismatch,
                {"expDate", "expMonth"}},
        BadCase{std::string("{") + kId + R"(,"cvv":123})", Kind::typeMismatch, {"cvv"}},
        BadCase{std::string("{") + kId + R"(,"cardHolder":["JOHN"]})",
                Kind::typeMismatch,
                {"cardHolder"}},
        // The first failing member in reading order is reported.
        BadCase{R"({"cardHolder":1,"cvv":2,"expDate":3,"identifier":4})",
                Kind::typeMismatch,
                {"identifier"}},
        BadCase{
            std::string("{") + kId + R"(,"cardHolder":1,"cvv":2})", Kind::typeMismatch, {"cvv"}},
        BadCase{R"([])", Kind::typeMismatch, {}}, BadCase{R"(null)", Kind::valueNotFound, {}}));

}  // namespace
}  // namespace sdkcore
