#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/token_result.hpp"
#include "sdkcore/zkit_registered_from.hpp"

// The JSON form of a token request and of its result, as `sdkcore token --request` and the C
// interface read and write them.
namespace sdkcore {

// What the caller supplies to every request it reads.
//
// Precedence: `pubKeyOverride` replaces the request's own `pubKey`; `defaultPubKey` serves only a
// request that names no key, and without it `params.pubKey` is required. A request's own
// `registeredFrom` and `timestamp` win over `registeredFrom` and `timestamp`.
struct TokenRequestDefaults {
  std::optional<std::string> pubKeyOverride;
  std::optional<std::string> defaultPubKey;
  ZKITRegisteredFrom registeredFrom = ZKITRegisteredFrom::ZKIT_CORE;
  std::optional<double> timestamp;  // absent: the current time when the request is read
  // Called once per request that falls back to 'defaultPubKey', after the request was read
  // without error; may be empty.
  std::function<void()> onDefaultPubKeyUsed;
};

// Builds the configuration of a JSON request such as
// {"variant": "cardParams", "params": {...}, "registeredFrom": "ZKIT_CORE", "timestamp": 1.5}.
// Throws JsonInputError naming the member for a missing required member, a member of the wrong
// type, an unknown variant or an unknown registration source. Unknown members are ignored;
// `cardholder` and the optional `cvc` are absent when missing or null. Thread-safe.
SDKCoreConfig tokenRequestFromJson(const nlohmann::json& request,
                                   const TokenRequestDefaults& defaults);

// Parses 'text' strictly (see parseStrictJson) and builds its configuration; throws
// JsonInputError, whose message names members only by the names the request format defines.
SDKCoreConfig tokenRequestFromJsonText(std::string_view text, const TokenRequestDefaults& defaults);

// Reads a registration source's raw value; throws JsonInputError, naming 'what' but not the text,
// for any text that is no raw value.
ZKITRegisteredFrom registeredFromText(const std::string& text, const std::string& what);

// The result as one JSON object: {"token": "..."} or {"errors": {"PAN": "required"}}.
nlohmann::json tokenResultJson(const TokenResult& result);

}  // namespace sdkcore
