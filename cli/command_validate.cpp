#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli_support.hpp"
#include "commands.hpp"
#include "sdkcore/named_validators.hpp"
#include "sdkcore/validation_result.hpp"

namespace sdkcore::cli {
namespace {

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

std::unique_ptr<BaseValidator<std::string>> findValidator(const std::string& name) {
  auto validator = makeNamedValidator(name);
  if (!validator) throw UsageError("unknown FIELD (see 'sdkcore validate --help')");
  return validator;
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
  const auto validator = findValidator(parsed.positional[0]);
  if (parsed.positional.size() < 2) throw UsageError("missing VALUE (or - for standard input)");
  const std::string value = valueOrStdin(parsed.positional[1]);
  const ValidationResult result = validator->validate(value);
  printResult(result);
  return result.isValid() ? kExitSuccess : kExitFailure;
}

}  // namespace sdkcore::cli
