#include "request_oracle.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "fuzz_support.hpp"
#include "sdkcore/binding_utils.hpp"
#include "sdkcore/string_extensions.hpp"
#include "support/test_keys.hpp"

namespace sdkcore::fuzzing {
namespace {

using nlohmann::json;

struct Member {
  const char* name;
  bool required;  // else absent when missing or null
};

struct Variant {
  const char* name;
  std::vector<Member> members;  // pubKey aside
};

// The members each variant reads, in the order of sdkcore_variant.
const std::vector<Variant>& variants() {
  static const std::vector<Variant> table = {
      {"cardParams",
       {{"pan", true},
        {"cvc", true},
        {"expiryMMYY", true},
        {"cardholder", false},
        {"mdOrder", true}}},
      {"cardParamsInstant",
       {{"pan", true}, {"cvc", true}, {"expiryMMYY", true}, {"cardholder", false}}},
      {"bindingParams", {{"bindingId", true}, {"cvc", false}, {"mdOrder", true}}},
      {"bindingParamsInstant", {{"bindingId", true}, {"cvc", false}}},
      {"newPaymentMethodParams",
       {{"pan", true}, {"cvc", true}, {"expiryMMYY", true}, {"cardholder", false}}},
      {"storedPaymentMethodParams", {{"storedPaymentMethodId", true}, {"cvc", false}}},
  };
  return table;
}

constexpr std::array<const char*, 3> kSources = {"ZKIT_CORE", "ZKIT_FORMS", "ZKIT_PAYMENT"};

const json* member(const json& object, const char* name) {
  const auto it = object.find(name);
  return it == object.end() ? nullptr : &*it;
}

const json* nonNullMember(const json& object, const char* name) {
  const json* value = member(object, name);
  return value == nullptr || value->is_null() ? nullptr : value;
}

bool readTexts(const Variant& variant, const json& params, ExpectedRequest& expected) {
  for (const Member& m : variant.members) {
    const json* value = nonNullMember(params, m.name);
    if (value == nullptr && m.required) return false;
    if (value == nullptr) continue;
    if (!value->is_string()) return false;
    expected.texts[m.name] = value->get<std::string>();
  }
  return true;
}

bool readPubKey(const json& params, const TokenRequestDefaults& defaults,
                ExpectedRequest& expected) {
  const json* key = member(params, "pubKey");
  if (defaults.pubKeyOverride) {
    expected.pubKey = *defaults.pubKeyOverride;
  } else if (key == nullptr && defaults.defaultPubKey) {
    expected.pubKey = *defaults.defaultPubKey;
    expected.usesDefaultPubKey = true;
  } else {
    if (key == nullptr || !key->is_string()) return false;
    expected.pubKey = key->get<std::string>();
  }
  return true;
}

bool readSourceAndTime(const json& request, const TokenRequestDefaults& defaults,
                       ExpectedRequest& expected) {
  expected.registeredFrom = defaults.registeredFrom;
  if (const json* from = nonNullMember(request, "registeredFrom")) {
    const auto* it = from->is_string()
                         ? std::find(kSources.begin(), kSources.end(), from->get<std::string>())
                         : kSources.end();
    if (it == kSources.end()) return false;
    expected.registeredFrom = static_cast<ZKITRegisteredFrom>(it - kSources.begin());
  }
  expected.timestamp = defaults.timestamp;
  if (const json* timestamp = nonNullMember(request, "timestamp")) {
    if (!timestamp->is_number()) return false;
    expected.timestamp = timestamp->get<double>();
  }
  return true;
}

std::string textOr(const ExpectedRequest& request, const char* name) {
  const auto it = request.texts.find(name);
  return it == request.texts.end() ? std::string() : it->second;
}

// The payment string's fields after the date and the UUID; throws ExpDateError for an expiry
// that cannot be read.
std::string expectedTail(const ExpectedRequest& request) {
  const std::string expiry = request.texts.contains("expiryMMYY")
                                 ? toExpDate(textOr(request, "expiryMMYY")).format()
                                 : std::string();
  const std::string stored =
      request.texts.contains("storedPaymentMethodId")
          ? BindingUtils::decodeBindingId(textOr(request, "storedPaymentMethodId"))
          : textOr(request, "bindingId");
  return textOr(request, "pan") + "/" + textOr(request, "cvc") + "/" + expiry + "/" +
         textOr(request, "mdOrder") + "/" + stored + "/" + textOr(request, "cardholder") + "/" +
         std::string(rawValue(request.registeredFrom));
}

}  // namespace

std::optional<ExpectedRequest> expectedRequest(const json& request,
                                               const TokenRequestDefaults& defaults) {
  if (!request.is_object()) return std::nullopt;
  const json* name = member(request, "variant");
  const json* params = member(request, "params");
  if (name == nullptr || !name->is_string() || params == nullptr || !params->is_object()) {
    return std::nullopt;
  }
  const auto& table = variants();
  const auto variant = std::find_if(table.begin(), table.end(), [&](const Variant& v) {
    return name->get_ref<const std::string&>() == v.name;
  });
  if (variant == table.end()) return std::nullopt;
  ExpectedRequest expected;
  expected.variant = static_cast<int>(std::distance(table.begin(), variant));
  if (!readTexts(*variant, *params, expected) || !readPubKey(*params, defaults, expected) ||
      !readSourceAndTime(request, defaults, expected)) {
    return std::nullopt;
  }
  return expected;
}

int nestingDepth(const json& value) {
  if (!value.is_structured()) return 0;
  int deepest = 0;
  for (const auto& element : value) deepest = std::max(deepest, nestingDepth(element));
  return deepest + 1;
}

void checkToken(const std::string& token, const ExpectedRequest& request) {
  // A token for another key cannot be read here; decrypting it with the wrong key might even
  // pass the padding check by chance.
  if (request.pubKey != demoPublicKey()) return;
  const auto plain = testing::decryptToken(token, demoPrivateKey());
  SDKCORE_FUZZ_CHECK(plain.has_value());
  std::optional<std::string> tail;
  try {
    tail = expectedTail(request);
  } catch (const ExpDateError&) {
    // No token may be made for an expiry that cannot be read.
  }
  SDKCORE_FUZZ_CHECK(tail.has_value());
  checkPaymentString(*plain, *tail, request.timestamp);
}

}  // namespace sdkcore::fuzzing
