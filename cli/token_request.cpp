#include "token_request.hpp"

#include <charconv>
#include <chrono>
#include <cmath>
#include <string_view>

#include "sdkcore/param_field.hpp"
#include "strict_json.hpp"

namespace sdkcore::cli {
namespace {

using nlohmann::json;

// Reads the members of one request's `params` object, naming each as "params.<name>" in errors.
class ParamsReader {
 public:
  ParamsReader(const json& params, const TokenDefaults& defaults)
      : params_(params), defaults_(defaults) {}

  std::string required(const char* name) const {
    const json* value = find(name);
    if (value == nullptr) throw UsageError("member " + path(name) + " is missing");
    if (!value->is_string()) throw UsageError("member " + path(name) + " must be a string");
    return value->get<std::string>();
  }

  // Absent when the member is missing or null; "" is a present empty text.
  std::optional<std::string> optional(const char* name) const {
    const json* value = find(name);
    if (value == nullptr || value->is_null()) return std::nullopt;
    if (!value->is_string()) {
      throw UsageError("member " + path(name) + " must be a string or null");
    }
    return value->get<std::string>();
  }

  // --pubkey wins; then the request's own key; then the default (demo) key.
  std::string pubKey() const {
    if (defaults_.pubKeyOverride) return *defaults_.pubKeyOverride;
    if (find("pubKey") != nullptr) return required("pubKey");
    usedDefaultPubKey_ = true;
    return defaults_.defaultPubKey;
  }

  bool usedDefaultPubKey() const { return usedDefaultPubKey_; }

 private:
  const json* find(const char* name) const {
    const auto it = params_.find(name);
    return it == params_.end() ? nullptr : &*it;
  }
  static std::string path(const char* name) { return quotedName(std::string("params.") + name); }

  const json& params_;
  const TokenDefaults& defaults_;
  mutable bool usedDefaultPubKey_ = false;
};

PaymentParamsVariant paramsOf(const std::string& variant, const ParamsReader& in) {
  if (variant == "cardParams") {
    // Arguments are evaluated in an unspecified order; read the members in their declared order
    // so the first error named is the same on every compiler.
    std::string pan = in.required("pan"), cvc = in.required("cvc");
    std::string expiry = in.required("expiryMMYY");
    std::optional<std::string> cardholder = in.optional("cardholder");
    std::string order = in.required("mdOrder");
    return CardParams(std::move(pan), std::move(cvc), std::move(expiry), std::move(cardholder),
                      std::move(order), in.pubKey());
  }
  if (variant == "cardParamsInstant" || variant == "newPaymentMethodParams") {
    std::string pan = in.required("pan"), cvc = in.required("cvc");
    std::string expiry = in.required("expiryMMYY");
    std::optional<std::string> cardholder = in.optional("cardholder");
    std::string key = in.pubKey();
    if (variant == "cardParamsInstant") {
      return CardParamsInstant(std::move(pan), std::move(cvc), std::move(expiry),
                               std::move(cardholder), std::move(key));
    }
    return NewPaymentMethodParams(std::move(pan), std::move(cvc), std::move(expiry),
                                  std::move(cardholder), std::move(key));
  }
  if (variant == "bindingParams") {
    std::string bindingId = in.required("bindingId");
    std::optional<std::string> cvc = in.optional("cvc");
    std::string order = in.required("mdOrder");
    return BindingParams(in.pubKey(), std::move(bindingId), std::move(cvc), std::move(order));
  }
  if (variant == "bindingParamsInstant") {
    std::string bindingId = in.required("bindingId");
    std::optional<std::string> cvc = in.optional("cvc");
    return BindingParamsInstant(in.pubKey(), std::move(bindingId), std::move(cvc));
  }
  if (variant == "storedPaymentMethodParams") {
    std::string storedId = in.required("storedPaymentMethodId");
    std::optional<std::string> cvc = in.optional("cvc");
    return StoredPaymentMethodParams(in.pubKey(), std::move(storedId), std::move(cvc));
  }
  throw UsageError("unknown variant " + quotedName(variant) +
                   " (expected cardParams, cardParamsInstant, bindingParams, "
                   "bindingParamsInstant, newPaymentMethodParams or storedPaymentMethodParams)");
}

double currentTime() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

// A member that may be absent or null at the top level of a request.
const json* optionalMember(const json& request, const char* name) {
  const auto it = request.find(name);
  return it == request.end() || it->is_null() ? nullptr : &*it;
}

}  // namespace

ZKITRegisteredFrom parseRegisteredFrom(const std::string& text, const std::string& what) {
  if (const auto from = registeredFromRawValue(text)) return *from;
  throw UsageError(what + " must be ZKIT_CORE, ZKIT_FORMS or ZKIT_PAYMENT, not " +
                   quotedName(text));
}

double parseTimestamp(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    throw UsageError("--timestamp needs a finite number of seconds since 1970, not " +
                     quotedName(text));
  }
  return value;
}

SDKCoreConfig configFromJson(const json& request, const TokenDefaults& defaults) {
  if (!request.is_object()) throw UsageError("the request must be a JSON object");
  const auto variant = request.find("variant");
  if (variant == request.end()) throw UsageError("member \"variant\" is missing");
  if (!variant->is_string()) throw UsageError("member \"variant\" must be a string");
  const auto params = request.find("params");
  if (params == request.end()) throw UsageError("member \"params\" is missing");
  if (!params->is_object()) throw UsageError("member \"params\" must be an object");

  const ParamsReader reader(*params, defaults);
  PaymentParamsVariant payment = paramsOf(variant->get<std::string>(), reader);

  ZKITRegisteredFrom from = defaults.registeredFrom;
  if (const json* member = optionalMember(request, "registeredFrom")) {
    if (!member->is_string()) throw UsageError("member \"registeredFrom\" must be a string");
    from = parseRegisteredFrom(member->get<std::string>(), "member \"registeredFrom\"");
  }
  double timestamp = defaults.timestamp ? *defaults.timestamp : 0;
  if (const json* member = optionalMember(request, "timestamp")) {
    if (!member->is_number()) throw UsageError("member \"timestamp\" must be a number");
    timestamp = member->get<double>();
  } else if (!defaults.timestamp) {
    timestamp = currentTime();
  }
  // Reported only for a request that is going to be used, after every check passed.
  if (reader.usedDefaultPubKey() && defaults.onDefaultPubKeyUsed) defaults.onDefaultPubKeyUsed();
  return SDKCoreConfig(std::move(payment), from, timestamp);
}

SDKCoreConfig configFromJsonText(std::string_view text, const TokenDefaults& defaults) {
  return configFromJson(parseStrictJson(text), defaults);
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
  return defaults.pubKeyOverride ? *defaults.pubKeyOverride : defaults.defaultPubKey;
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
                       defaults.timestamp ? *defaults.timestamp : currentTime());
}

json tokenResultJson(const TokenResult& result) {
  if (result.token) return json{{"token", *result.token}};
  json errors = json::object();
  for (const auto& [field, code] : result.errors) errors[std::string(caseName(field))] = code;
  return json{{"errors", errors}};
}

}  // namespace sdkcore::cli
