#include "sdkcore/named_validators.hpp"

#include <algorithm>
#include <iterator>

#include "sdkcore/address_line1_validator.hpp"
#include "sdkcore/address_line2_validator.hpp"
#include "sdkcore/address_line3_validator.hpp"
#include "sdkcore/card_code_validator.hpp"
#include "sdkcore/card_expiry_validator.hpp"
#include "sdkcore/card_holder_validator.hpp"
#include "sdkcore/card_number_validator.hpp"
#include "sdkcore/city_validator.hpp"
#include "sdkcore/country_validator.hpp"
#include "sdkcore/email_validator.hpp"
#include "sdkcore/phone_number_validator.hpp"
#include "sdkcore/postal_code_validator.hpp"
#include "sdkcore/state_validator.hpp"

namespace sdkcore {
namespace {

using TextValidator = BaseValidator<std::string>;

template <typename Validator>
std::unique_ptr<TextValidator> make() {
  return std::make_unique<Validator>();
}

struct NamedValidator {
  std::string_view name;
  std::unique_ptr<TextValidator> (*make)();
};

constexpr NamedValidator kValidators[] = {
    {"card-number", make<CardNumberValidator>},
    {"expiry", make<CardExpiryValidator>},
    {"cvc", make<CardCodeValidator>},
    {"cardholder", make<CardHolderValidator>},
    {"email", make<EmailValidator>},
    {"phone", make<PhoneNumberValidator>},
    {"address-line1", make<AddressLine1Validator>},
    {"address-line2", make<AddressLine2Validator>},
    {"address-line3", make<AddressLine3Validator>},
    {"city", make<CityValidator>},
    {"country", make<CountryValidator>},
    {"state", make<StateValidator>},
    {"postal-code", make<PostalCodeValidator>},
};

}  // namespace

std::unique_ptr<TextValidator> makeNamedValidator(std::string_view name) {
  const auto* found = std::find_if(std::begin(kValidators), std::end(kValidators),
                                   [&](const NamedValidator& v) { return v.name == name; });
  return found == std::end(kValidators) ? nullptr : found->make();
}

}  // namespace sdkcore
