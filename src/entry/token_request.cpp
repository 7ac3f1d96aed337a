#include "entry/token_request.hpp"

#include <string_view>
#include <utility>

#include "cryptogram/timestamp.hpp"
#include "json/strict_json.hpp"
#include "sdkcore/param_field.hpp"

namespace sdkcore {
namespace {

using nlohmann::json;

// Every member name the request format defines, at any level: the only names its error messages
// repeat.
constexpr std::string_view kRequestMemberNames[] = {
    "variant", "params",     "registeredFrom", "timestamp", "pan",                   "cvc",
    "pubKey",  "expiryMMYY", "cardholder",     "mdOrder",   "storedPaymentMethodId", "bindingId"};

// Reads the members of one request's `params` object, naming each as "params.<name>" in errors.
class ParamsReader {
 public:
  ParamsReader(const json& params, const TokenRequestDefaults& defaults)
      : params_(params), defaults_(defaults) {}

  std::string required(const char* name) const {
    const json* value = find(name);
    if (value == nullptr) throw JsonInputError("member " + path(name) + " is missing");
    if (!value->is_string()) throw JsonInputError("member " + path(name) + " must be a string");
    return value->get<std::string>();
  }

  // Absent when the member is missing or null; "" is a present empty text.
  std::optional<std::string> optional(const char* name) const {
    const json* value = find(name);
    if (value == nullptr || value->is_null()) return std::nullopt;
    if (!value->is_string()) {
      throw JsonInputError("member " + path(name) + " must be a string or null");
    }
    return value->get<std::string>();
  }

  // The override wins; then the request's own key; then the default key, if there is one.
  std::string pubKey() const {
    if (defaults_.pubKeyOverride) return *defaults_.pubKeyOverride;
    if (find("pubKey") != nullptr || !defaults_.defaultPubKey) return required("pubKey");
    usedDefaultPubKey_ = true;
    return *defaults_.defaultPubKey;
  }

  bool usedDefaultPubKey() const { return usedDefaultPubKey_; }

 private:
  const json* find(const char* name) const {
    const auto it = params_.find(name);
    return it == params_.end() ? nullptr : &*it;
  }
  static std::string path(const char* name) { return quotedName(std::string("params.") + name); }

  const json& params_;
  const TokenRequestDefaults& defaults_;
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
  // Neither the value nor its length is repeated: it may be card data.
  throw JsonInputError(
      "an unknown variant (expected cardParams, cardParamsInstant, bindingParams, "
      "bindingParamsInstant, newPaymentMethodParams or storedPaymentMethodParams)");
}

// A member that may be absent or null at the top level of a request.
const json* optionalMember(const json& request, const char* name) {
  const auto it = request.find(name);
  return it == request.end() || it->is_null() ? nullptr : &*it;
}

}  // namespace

ZKITRegisteredFrom registeredFromText(const std::string& text, const std::string& what) {
  if (const auto from = registeredFromRawValue(text)) return *from;
  throw JsonInputError(what + " must be ZKIT_CORE, ZKIT_FORMS or ZKIT_PAYMENT");
}

SDKCoreConfig tokenRequestFromJson(const json& request, const TokenRequestDefaults& defaults) {
  if (!request.is_object()) throw JsonInputError("the request must be a JSON object");
  const auto variant = request.find("variant");
  if (variant == request.end()) throw JsonInputError("member \"variant\" is missing");
  if (!variant->is_string()) throw JsonInputError("member \"variant\" must be a string");
  const auto params = request.find("params");
  if (params == request.end()) throw JsonInputError("member \"params\" is missing");
  if (!params->is_object()) throw JsonInputError("member \"params\" must be an object");

  const ParamsReader reader(*params, defaults);
  PaymentParamsVariant payment = paramsOf(variant->get<std::string>(), reader);

  ZKITRegisteredFrom from = defaults.registeredFrom;
  if (const json* member = optionalMember(request, "registeredFrom")) {
    if (!member->is_string()) throw JsonInputError("member \"registeredFrom\" must be a string");
    from = registeredFromText(member->get<std::string>(), "member \"registeredFrom\"");
  }
  double timestamp = defaults.timestamp ? *defaults.timestamp : 0;
  if (const json* member = optionalMember(request, "timestamp")) {
    if (!member->is_number()) throw JsonInputError("member \"timestamp\" must be a number");
    timestamp = member->get<double>();
  } else if (!defaults.timestamp) {
    timestamp = currentTimeSeconds();
  }
  // Reported only for a request that is going to be used, after every check passed.
  if (reader.usedDefaultPubKey() && defaults.onDefaultPubKeyUsed) defaults.onDefaultPubKeyUsed();
  return SDKCoreConfig(std::move(payment), from, timestamp);
}

SDKCoreConfig tokenRequestFromJsonText(std::string_view text,
                                       const TokenRequestDefaults& defaults) {
  // The tree holds the card data of the request until it is wiped, on every way out.
  struct WipedTree {
    json value;
    ~WipedTree() { wipeStrings(value); }
  } request{parseStrictJson(text, kRequestMemberNames)};
  return tokenRequestFromJson(request.value, defaults);
}

json tokenResultJson(const TokenResult& result) {
  if (result.token) return json{{"token", *result.token}};
  json errors = json::object();
  for (const auto& [field, code] : result.errors) errors[std::string(caseName(field))] = code;
  return json{{"errors", errors}};
}

}  // namespace sdkcore
