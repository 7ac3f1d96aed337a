#include "sdkcore/card_identifier.hpp"

#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "sdkcore/decoding_error.hpp"

namespace sdkcore {
namespace {

TEST(CardIdentifierTest, EqualityNeedsSameKindAndText) {
  EXPECT_EQ(CardIdentifier::newPaymentMethodIdentifier("4111"),
            CardIdentifier::newPaymentMethodIdentifier("4111"));
  EXPECT_NE(CardIdentifier::newPaymentMethodIdentifier("4111"),
            CardIdentifier::storedPaymentMethodIdentifier("4111"));
  EXPECT_NE(CardIdentifier::storedPaymentMethodIdentifier("a"),
            CardIdentifier::storedPaymentMethodIdentifier("b"));
}

TEST(CardIdentifierJsonTest, WritesOneMemberNamedAfterTheKind) {
  EXPECT_EQ(nlohmann::ordered_json(CardIdentifier::newPaymentMethodIdentifier("4111")).dump(),
            R"({"newPaymentMethodIdentifier":"4111"})");
  EXPECT_EQ(nlohmann::json(CardIdentifier::storedPaymentMethodIdentifier("BIND-77")).dump(),
            R"({"storedPaymentMethodIdentifier":"BIND-77"})");
}

struct ReadCase {
  std::string json;
  // Absent when reading must fail with "Unknown type of card identifier".
  std::optional<CardIdentifier> expected;
};

class CardIdentifierReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(CardIdentifierReadTest, FollowsTheMemberPreference) {
  const auto json = nlohmann::ordered_json::parse(GetParam().json);
  if (GetParam().expected) {
    EXPECT_EQ(json.get<CardIdentifier>(), *GetParam().expected);
    return;
  }
  try {
    (void)cardIdentifierFromJson(json);
    FAIL() << "read " << GetParam().json;
  } catch (const DecodingError& error) {
    EXPECT_EQ(error.kind(), DecodingError::Kind::dataCorrupted);
    EXPECT_EQ(error.description(), "Unknown type of card identifier");
    EXPECT_TRUE(error.codingPath().empty());
  }
}

const auto kNew = CardIdentifier::newPaymentMethodIdentifier("4111");
const auto kStored = CardIdentifier::storedPaymentMethodIdentifier("B7");

INSTANTIATE_TEST_SUITE_P(
    Objects, CardIdentifierReadTest,
    testing::Values(
        ReadCase{R"({"newPaymentMethodIdentifier":"4111"})", kNew},
        ReadCase{R"({"storedPaymentMethodIdentifier":"B7"})", kStored},
        ReadCase{R"({"storedPaymentMethodIdentifier":"B7","newPaymentMethodIdentifier":"4111"})",
                 kNew},
        ReadCase{R"({"newPaymentMethodIdentifier":4111,"storedPaymentMethodIdentifier":"B7"})",
                 kStored},
        ReadCase{R"({"newPaymentMethodIdentifier":null,"storedPaymentMethodIdentifier":"B7"})",
                 kStored},
        ReadCase{R"({"newPaymentMethodIdentifier":"","extra":1})",
                 CardIdentifier::newPaymentMethodIdentifier("")},
        ReadCase{R"({})", std::nullopt}, ReadCase{R"({"pan":"4111"})", std::nullopt},
        ReadCase{R"({"newPaymentMethodIdentifier":["4111"],"storedPaymentMethodIdentifier":7})",
                 std::nullopt}));

struct NonObjectCase {
  nlohmann::json json;
  DecodingError::Kind kind;
};

class CardIdentifierNonObjectTest : public testing::TestWithParam<NonObjectCase> {};

TEST_P(CardIdentifierNonObjectTest, FailsWithTheReadersOwnError) {
  try {
    (void)cardIdentifierFromJson(GetParam().json);
    FAIL() << "read " << GetParam().json;
  } catch (const DecodingError& error) {
    EXPECT_EQ(error.kind(), GetParam().kind) << error.description();
  }
}

INSTANTIATE_TEST_SUITE_P(Values, CardIdentifierNonObjectTest,
                         testing::Values(NonObjectCase{"4111", DecodingError::Kind::typeMismatch},
                                         NonObjectCase{nlohmann::json::array({"4111"}),
                                                       DecodingError::Kind::typeMismatch},
                                         NonObjectCase{nullptr,
                                                       DecodingError::Kind::valueNotFound}));

}  // namespace
}  // namespace sdkcore
