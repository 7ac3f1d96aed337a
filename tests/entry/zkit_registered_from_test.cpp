#include "sdkcore/zkit_registered_from.hpp"

#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "sdkcore/decoding_error.hpp"

namespace sdkcore {
namespace {

struct RawCase {
  std::string raw;
  std::optional<ZKITRegisteredFrom> expected;
};

class RegisteredFromRawValueTest : public testing::TestWithParam<RawCase> {};

TEST_P(RegisteredFromRawValueTest, MatchesExactTextOnly) {
  EXPECT_EQ(registeredFromRawValue(GetParam().raw), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, RegisteredFromRawValueTest,
                         testing::Values(RawCase{"ZKIT_CORE", ZKITRegisteredFrom::ZKIT_CORE},
                                         RawCase{"ZKIT_FORMS", ZKITRegisteredFrom::ZKIT_FORMS},
                                         RawCase{"ZKIT_PAYMENT", ZKITRegisteredFrom::ZKIT_PAYMENT},
                                         RawCase{"zkit_forms", std::nullopt},
                                         RawCase{"ZKIT_FORMS ", std::nullopt},
                                         RawCase{" ZKIT_FORMS", std::nullopt},
                                         RawCase{"", std::nullopt},
                                         RawCase{std::string("ZKIT_CORE\0", 10), std::nullopt}));

class RegisteredFromCaseTest : public testing::TestWithParam<ZKITRegisteredFrom> {};

TEST_P(RegisteredFromCaseTest, RawTextAndJsonRoundTrip) {
  const ZKITRegisteredFrom from = GetParam();
  EXPECT_EQ(registeredFromRawValue(rawValue(from)), from);
  EXPECT_EQ(debugString(from), "SDKCore.ZKITRegisteredFrom." + std::string(rawValue(from)));
  const nlohmann::json json = from;
  EXPECT_EQ(json, nlohmann::json(std::string(rawValue(from))));
  EXPECT_EQ(json.get<ZKITRegisteredFrom>(), from);
  EXPECT_EQ(nlohmann::ordered_json(from).get<ZKITRegisteredFrom>(), from);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegisteredFromCaseTest,
                         testing::Values(ZKITRegisteredFrom::ZKIT_CORE,
                                         ZKITRegisteredFrom::ZKIT_FORMS,
                                         ZKITRegisteredFrom::ZKIT_PAYMENT));

TEST(RegisteredFromJsonTest, PaymentIsWrittenAsItsRawText) {
  EXPECT_EQ(nlohmann::json(ZKITRegisteredFrom::ZKIT_PAYMENT).dump(), R"("ZKIT_PAYMENT")");
}

struct BadJsonCase {
  nlohmann::json json;
  DecodingError::Kind kind;
};

class RegisteredFromBadJsonTest : public testing::TestWithParam<BadJsonCase> {};

TEST_P(RegisteredFromBadJsonTest, FailsWithDecodingError) {
  try {
    (void)GetParam().json.get<ZKITRegisteredFrom>();
    FAIL() << "read " << GetParam().json;
  } catch (const DecodingError& error) {
    EXPECT_EQ(error.kind(), GetParam().kind) << error.description();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegisteredFromBadJsonTest,
    testing::Values(BadJsonCase{"ZKIT_OTHER", DecodingError::Kind::dataCorrupted},
                    BadJsonCase{"zkit_core", DecodingError::Kind::dataCorrupted},
                    // An integer must not be taken as the enumeration's position.
                    BadJsonCase{0, DecodingError::Kind::typeMismatch},
                    BadJsonCase{nlohmann::json::object(), DecodingError::Kind::typeMismatch},
                    BadJsonCase{nullptr, DecodingError::Kind::valueNotFound}));

}  // namespace
}  // namespace sdkcore
