#include "sdkcore/token_request.hpp"

#include <array>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "cryptogram/timestamp.hpp"
#include "entry/request_schema.hpp"
#include "json/strict_json.hpp"
#include "sdkcore/param_field.hpp"

namespace sdkcore {
namespace {

using nlohmann::json;

// Every member name the request format defines, at any level: the only names its error messages
// repeat. The params members come from the schema, so a new field is named here too.
constexpr auto kRequestMemberNames = [] {
  constexpr ParamField kFields[] = {ParamField::PAN,        ParamField::CVC,
                                    ParamField::EXPIRY,     ParamField::CARDHOLDER,
                                    ParamField::PUB_KEY,    ParamField::STORED_PAYMENT_METHOD_ID,
                                    ParamField::BINDING_ID, ParamField::MD_ORDER};
  std::array<std::string_view, 4 + std::size(kFields)> names{"variant", "params", "registeredFrom",
                                                             "timestamp"};
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    names[4 + i] = schema::memberName(kFields[i]);
  }
  return names;
}();

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
  if (const auto index = schema::variantNamed(variant)) {
    // The members are read in the schema's read order, so that the first error named is the same
    // on every compiler.
    return schema::makeRecord(*index, [&in](const schema::Field& field) {
      const std::string name(schema::memberName(field.key));
      if (field.key == ParamField::PUB_KEY) return std::optional<std::string>(in.pubKey());
      return field.required ? std::optional<std::string>(in.required(name.c_str()))
                            : in.optional(name.c_str());
    });
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
  // Read in place: a copy would be one more of the card data to wipe (a card number in the
  // wrong member).
  PaymentParamsVariant payment = paramsOf(variant->get_ref<const std::string&>(), reader);

  ZKITRegisteredFrom from = defaults.registeredFrom;
  if (const json* member = optionalMember(request, "registeredFrom")) {
    if (!member->is_string()) throw JsonInputError("member \"registeredFrom\" must be a string");
    from = registeredFromText(member->get_ref<const std::string&>(), "member \"registeredFrom\"");
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

SDKCoreConfig tokenRequestFromFields(std::string_view variant, const TokenRequestField& field,
                                     const TokenRequestDefaults& defaults) {
  const auto index = schema::variantNamed(variant);
  if (!index) throw std::invalid_argument("unknown variant");
  bool usedDefaultPubKey = false;
  PaymentParamsVariant payment =
      schema::makeRecord(*index, [&](const schema::Field& wanted) -> std::optional<std::string> {
        if (wanted.key != ParamField::PUB_KEY) return field(wanted.key);
        if (defaults.pubKeyOverride) return defaults.pubKeyOverride;
        if (auto own = field(wanted.key)) return own;
        usedDefaultPubKey = true;
        return defaults.defaultPubKey.value_or("");
      });
  if (usedDefaultPubKey && defaults.onDefaultPubKeyUsed) defaults.onDefaultPubKeyUsed();
  return SDKCoreConfig(std::move(payment), defaults.registeredFrom,
                       defaults.timestamp ? *defaults.timestamp : currentTimeSeconds());
}

json tokenResultJson(const TokenResult& result) {
  if (result.token) return json{{"token", *result.token}};
  json errors = json::object();
  for (const auto& [field, code] : result.errors) errors[std::string(caseName(field))] = code;
  return json{{"errors", errors}};
}

}  // namespace sdkcore
