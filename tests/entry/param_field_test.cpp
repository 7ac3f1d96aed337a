#include "sdkcore/param_field.hpp"

#include <optional>
#include <string>
#include <unordered_set>

#include <gtest/gtest.h>

namespace sdkcore {
namespace {

struct FieldCase {
  ParamField field;
  std::string name;
};

class ParamFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(ParamFieldTest, RendersItsCaseName) {
  const ParamField field = GetParam().field;
  EXPECT_EQ(caseName(field), GetParam().name);
  EXPECT_EQ(debugString(std::optional<ParamField>(field)),
            "Optional(SDKCore.ParamField." + GetParam().name + ")");
  const ParamFieldError error(field);
  EXPECT_EQ(error.what(), GetParam().name);
  EXPECT_EQ(error.field(), field);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ParamFieldTest,
    testing::Values(FieldCase{ParamField::UNKNOWN, "UNKNOWN"}, FieldCase{ParamField::PAN, "PAN"},
                    FieldCase{ParamField::CVC, "CVC"}, FieldCase{ParamField::EXPIRY, "EXPIRY"},
                    FieldCase{ParamField::CARDHOLDER, "CARDHOLDER"},
                    FieldCase{ParamField::PUB_KEY, "PUB_KEY"},
                    FieldCase{ParamField::STORED_PAYMENT_METHOD_ID, "STORED_PAYMENT_METHOD_ID"},
                    FieldCase{ParamField::BINDING_ID, "BINDING_ID"},
                    FieldCase{ParamField::MD_ORDER, "MD_ORDER"}));

TEST(ParamFieldTest, AbsentFieldIsNil) { EXPECT_EQ(debugString(std::nullopt), "nil"); }

TEST(ParamFieldTest, CasesAreDistinctHashKeys) {
  const std::unordered_set<ParamField> keys{ParamField::UNKNOWN,
                                            ParamField::PAN,
                                            ParamField::CVC,
                                            ParamField::EXPIRY,
                                            ParamField::CARDHOLDER,
                                            ParamField::PUB_KEY,
                                            ParamField::STORED_PAYMENT_METHOD_ID,
                                            ParamField::BINDING_ID,
                                            ParamField::MD_ORDER};
  EXPECT_EQ(keys.size(), 9u);
}

}  // namespace
}  // namespace sdkcore
