// Every validator, public and internal, on any text: each answers in bounded time with a valid
// result (no code, no message) or an invalid one with one of the three codes and a message, and
// "required" exactly when the text is blank.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.hpp"
#include "sdkcore/sdkcore.hpp"
#include "validation/card_binding_id_validator.hpp"
#include "validation/order_number_validator.hpp"
#include "validation/pub_key_validator.hpp"

namespace {

using namespace sdkcore;
using Validator = BaseValidator<std::string>;

std::vector<std::unique_ptr<const Validator>> allValidators() {
  std::vector<std::unique_ptr<const Validator>> all;
  all.push_back(std::make_unique<CardNumberValidator>());
  all.push_back(std::make_unique<CardExpiryValidator>());
  all.push_back(std::make_unique<CardCodeValidator>());
  all.push_back(std::make_unique<CardHolderValidator>());
  all.push_back(std::make_unique<CardBindingIdValidator>());
  all.push_back(std::make_unique<OrderNumberValidator>());
  all.push_back(std::make_unique<PubKeyValidator>());
  all.push_back(std::make_unique<EmailValidator>());
  all.push_back(std::make_unique<PhoneNumberValidator>());
  all.push_back(std::make_unique<AddressLine1Validator>());
  all.push_back(std::make_unique<AddressLine2Validator>());
  all.push_back(std::make_unique<AddressLine3Validator>());
  all.push_back(std::make_unique<CityValidator>());
  all.push_back(std::make_unique<CountryValidator>());
  all.push_back(std::make_unique<StateValidator>());
  all.push_back(std::make_unique<PostalCodeValidator>());
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto validators = allValidators();
  static const std::set<std::string> codes = {CODE_REQUIRED, CODE_INVALID, CODE_INVALID_FORMAT};
  const std::string text(fuzzing::textOf(data, size));
  const bool blank = fuzzing::everyCodePoint(text, fuzzing::isWhiteSpace);
  for (const auto& validator : validators) {
    const ValidationResult result = validator->validate(text);
    if (result.isValid()) {
      SDKCORE_FUZZ_CHECK(!result.errorCode() && !result.errorMessage() && !blank);
      continue;
    }
    SDKCORE_FUZZ_CHECK(result.errorCode() && codes.count(*result.errorCode()) == 1);
    SDKCORE_FUZZ_CHECK(result.errorMessage() && !result.errorMessage()->empty());
    SDKCORE_FUZZ_CHECK((*result.errorCode() == CODE_REQUIRED) == blank);
  }
  return 0;
}
