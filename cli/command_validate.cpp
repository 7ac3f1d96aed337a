#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli_support.hpp"
#include "commands.hpp"
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
#include "sdkcore/validation_result.hpp"

namespace sdkcore::cli {
namespace {

using TextValidator = BaseValidator<std::string>;

template <typename Validator>
std::unique_ptr<TextValidator> make() {
  return std::make_unique<Validator>();
}

struct Field {
  std::string_view name;
  std::unique_ptr<TextValidator> (*makeValidator)();
};

constexpr Field kFields[] = {
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

constexpr std::string_view kUsage =
    "Usage: sdkcore validate FIELD VALUE\n"
    "       sdkcore validate FIELD -        (VALUE is all of standard input, unchanged)\n"
    "       sdkcore validate FIELD -- VALUE (for a VALUE that begins with '-')\n"
    "\n"
    "Runs one of the library's public validators on VALUE, taken byte for byte.\n"
    "FIELD: card-number, expiry, cvc, cardholder, email, phone, address-line1, address-line2,\n"
    "       address-line3, city, country, state, postal-code\n"
    "\n"
    "Prints {\"isValid\": true} and exits 0, or\n"
    "{\"isValid\": false, \"errorCode\": \"...\", \"errorMessage\": \"...\"} and exits 1.\n"
    "Messages follow LANG / LC_ALL / LC_MESSAGES.\n";

const Field& findField(const std::string& name) {
  const auto* found = std::find_if(std::begin(kFields), std::end(kFields),
                                   [&](const Field& field) { return field.name == name; });
  if (found == std::end(kFields)) {
    throw UsageError("unknown FIELD '" + name + "' (see 'sdkcore validate --help')");
  }
  return *found;
}

// Keeps the documented member order (isValid first), which nlohmann::json would sort away.
void printResult(const ValidationResult& result) {
  nlohmann::ordered_json json;
  json["isValid"] = result.isValid();
  if (result.errorCode()) json["errorCode"] = *result.errorCode();
  if (result.errorMessage()) json["errorMessage"] = *result.errorMessage();
  std::cout << json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  std::cout.flush();
}

}  // namespace

int runValidate(const Args& args) {
  const ParsedArgs parsed = parseArgsWithDashValues(args, {}, {}, 2);
  if (parsed.help) return printUsage(std::string(kUsage));
  if (parsed.positional.empty()) throw UsageError("missing FIELD (see 'sdkcore validate --help')");
  const Field& field = findField(parsed.positional[0]);
  if (parsed.positional.size() < 2) throw UsageError("missing VALUE (or - for standard input)");
  const std::string value = valueOrStdin(parsed.positional[1]);
  const ValidationResult result = field.makeValidator()->validate(value);
  printResult(result);
  return result.isValid() ? kExitSuccess : kExitFailure;
}

}  // namespace sdkcore::cli
