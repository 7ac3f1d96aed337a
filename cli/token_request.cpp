#include "token_request.hpp"

#include <charconv>
#include <cmath>
#include <string_view>

#include "cryptogram/timestamp.hpp"
#include "json/strict_json.hpp"

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

std::string requiredFlag(const ParsedArgs& args, const char* flag, const std::string& with) {
  if (auto value = args.value(flag)) return *value;
  throw UsageError(std::string("option ") + flag + " is required with " + with);
}

std::string pubKeyOf(const TokenDefaults& defaults) {
  return defaults.pubKeyOverride ? *defaults.pubKeyOverride : defaults.defaultPubKey.value_or("");
}

PaymentParamsVariant cardFromFlags(const ParsedArgs& args, const TokenDefaults& defaults) {
  rejectFlags(args, {"--binding-id", "--stored-id"}, "--pan");
  std::string pan = *args.value("--pan");
  std::string cvc = requiredFlag(args, "--cvc", "--pan");
  std::string expiry = requiredFlag(args, "--expiry", "--pan");
  std::optional<std::string> cardholder = args.value("--cardholder");
  if (args.has("--new-card")) {
    rejectFlags(args, {"--order"}, "--new-card");
    return NewPaymentMethodParams(std::move(pan), std::move(cvc), std::move(expiry),
                                  std::move(cardholder), pubKeyOf(defaults));
  }
  if (auto order = args.value("--order")) {
    return CardParams(std::move(pan), std::move(cvc), std::move(expiry), std::move(cardholder),
                      std::move(*order), pubKeyOf(defaults));
  }
  return CardParamsInstant(std::move(pan), std::move(cvc), std::move(expiry), std::move(cardholder),
                           pubKeyOf(defaults));
}

PaymentParamsVariant storedFromFlags(const ParsedArgs& args, const TokenDefaults& defaults) {
  if (auto bindingId = args.value("--binding-id")) {
    rejectFlags(args, {"--stored-id", "--expiry", "--cardholder", "--new-card"}, "--binding-id");
    if (auto order = args.value("--order")) {
      return BindingParams(pubKeyOf(defaults), std::move(*bindingId), args.value("--cvc"),
                           std::move(*order));
    }
    return BindingParamsInstant(pubKeyOf(defaults), std::move(*bindingId), args.value("--cvc"));
  }
  rejectFlags(args, {"--order", "--expiry", "--cardholder", "--new-card"}, "--stored-id");
  return StoredPaymentMethodParams(pubKeyOf(defaults), *args.value("--stored-id"),
                                   args.value("--cvc"));
}

}  // namespace

SDKCoreConfig configFromFlags(const ParsedArgs& args, const TokenDefaults& defaults) {
  PaymentParamsVariant payment = [&]() -> PaymentParamsVariant {
    if (args.has("--pan")) return cardFromFlags(args, defaults);
    if (args.has("--binding-id") || args.has("--stored-id")) return storedFromFlags(args, defaults);
    throw UsageError(
        "give the card data (--pan, --cvc, --expiry), --binding-id, --stored-id or "
        "--request (see 'sdkcore token --help')");
  }();
  if (!defaults.pubKeyOverride && defaults.onDefaultPubKeyUsed) defaults.onDefaultPubKeyUsed();
  return SDKCoreConfig(std::move(payment), defaults.registeredFrom,
                       defaults.timestamp ? *defaults.timestamp : currentTimeSeconds());
}

}  // namespace sdkcore::cli
