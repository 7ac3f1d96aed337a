#include "token_request.hpp"

#include <charconv>
#include <cmath>
#include <string_view>

#include "sdkcore/param_field.hpp"
#include "sdkcore/strict_json.hpp"

namespace sdkcore::cli {

ZKITRegisteredFrom parseRegisteredFrom(const std::string& text, const std::string& what) {
  return asUsageError([&] { return registeredFromText(text, what); });
}

double parseTimestamp(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    throw UsageError("--timestamp needs a finite number of seconds since 1970");
  }
  return value;
}

SDKCoreConfig configFromJsonText(std::string_view text, const TokenDefaults& defaults) {
  return asUsageError([&] { return tokenRequestFromJsonText(text, defaults); });
}

namespace {

// Throws when a flag that the chosen variant does not take was given.
void rejectFlags(const ParsedArgs& args, std::initializer_list<const char*> flags,
                 const std::string& with) {
  for (const char* flag : flags) {
    if (args.has(flag))
      throw UsageError(std::string("option ") + flag + " cannot be used with " + with);
  }
}

void requireFlag(const ParsedArgs& args, const char* flag, const std::string& with) {
  if (!args.value(flag))
    throw UsageError(std::string("option ") + flag + " is required with " + with);
}

// The variant of a typed-in card: --new-card, with --order, or without.
std::string_view cardVariant(const ParsedArgs& args) {
  rejectFlags(args, {"--binding-id", "--stored-id"}, "--pan");
  requireFlag(args, "--cvc", "--pan");
  requireFlag(args, "--expiry", "--pan");
  if (args.has("--new-card")) {
    rejectFlags(args, {"--order"}, "--new-card");
    return "newPaymentMethodParams";
  }
  return args.has("--order") ? "cardParams" : "cardParamsInstant";
}

// The variant of a stored card: a binding, with --order or without, or a stored payment method.
std::string_view storedVariant(const ParsedArgs& args) {
  if (args.has("--binding-id")) {
    rejectFlags(args, {"--stored-id", "--expiry", "--cardholder", "--new-card"}, "--binding-id");
    return args.has("--order") ? "bindingParams" : "bindingParamsInstant";
  }
  rejectFlags(args, {"--order", "--expiry", "--cardholder", "--new-card"}, "--stored-id");
  return "storedPaymentMethodParams";
}

// The flag that gives each field; the key comes from the defaults.
std::optional<std::string> flagValue(const ParsedArgs& args, ParamField field) {
  switch (field) {
    case ParamField::PAN:
      return args.value("--pan");
    case ParamField::CVC:
      return args.value("--cvc");
    case ParamField::EXPIRY:
      return args.value("--expiry");
    case ParamField::CARDHOLDER:
      return args.value("--cardholder");
    case ParamField::MD_ORDER:
      return args.value("--order");
    case ParamField::BINDING_ID:
      return args.value("--binding-id");
    case ParamField::STORED_PAYMENT_METHOD_ID:
      return args.value("--stored-id");
    case ParamField::PUB_KEY:
    case ParamField::UNKNOWN:
      break;
  }
  return std::nullopt;
}

}  // namespace

SDKCoreConfig configFromFlags(const ParsedArgs& args, const TokenDefaults& defaults) {
  const std::string_view variant = [&] {
    if (args.has("--pan")) return cardVariant(args);
    if (args.has("--binding-id") || args.has("--stored-id")) return storedVariant(args);
    throw UsageError(
        "give the card data (--pan, --cvc, --expiry), --binding-id, --stored-id or "
        "--request (see 'sdkcore token --help')");
  }();
  return tokenRequestFromFields(
      variant, [&args](ParamField field) { return flagValue(args, field); }, defaults);
}

}  // namespace sdkcore::cli
