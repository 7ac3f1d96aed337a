// The seven address and contact validators that check presence only.
#include <gtest/gtest.h>

#include <string>

#include "sdkcore/address_line1_validator.hpp"
#include "sdkcore/address_line2_validator.hpp"
#include "sdkcore/address_line3_validator.hpp"
#include "sdkcore/city_validator.hpp"
#include "sdkcore/country_validator.hpp"
#include "sdkcore/localized_messages.hpp"
#include "sdkcore/postal_code_validator.hpp"
#include "sdkcore/state_validator.hpp"
#include "validation_test_support.hpp"

namespace sdkcore {
namespace {

using testing::fails;
using testing::passes;

template <typename Validator>
class PresenceValidator : public ::testing::Test {};

using PresenceValidators =
    ::testing::Types<AddressLine1Validator, AddressLine2Validator, AddressLine3Validator,
                     CityValidator, CountryValidator, StateValidator, PostalCodeValidator>;
TYPED_TEST_SUITE(PresenceValidator, PresenceValidators);

TYPED_TEST(PresenceValidator, AnythingNonBlankPasses) {
  const auto required = fails(CODE_REQUIRED, localized(requiredField()));
  testing::expectCases(TypeParam(),
                       {
                           {"one letter", "x", passes()},
                           {"letter between spaces", " x ", passes()},
                           {"odd text", "#!/\\\"\x01", passes()},
                           {"long text", std::string(10000, 'z'), passes()},
                           {"non-Latin", "\xe6\x9d\xb1\xe4\xba\xac", passes()},
                           {"empty", "", required},
                           {"spaces", "   ", required},
                           {"tabs", "\t\t", required},
                           {"line breaks", "\n\r\n\v\f", required},
                           {"NBSP and ideographic space", "\xc2\xa0\xe3\x80\x80", required},
                       });
}

}  // namespace
}  // namespace sdkcore
