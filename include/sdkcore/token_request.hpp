#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "sdkcore/export.h"
#include "sdkcore/param_field.hpp"
#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/strict_json.hpp"
#include "sdkcore/token_result.hpp"
#include "sdkcore/zkit_registered_from.hpp"

// The JSON form of a token request and of its result, as `sdkcore token --request` and the C
// interface read and write them, and a request built from texts named by their fields, as the
// command line's flags give them.
namespace sdkcore {

// What the caller supplies to every request it reads.
//
// Precedence: `pubKeyOverride` replaces the request's own `pubKey`; `defaultPubKey` serves only a
// request that names no key, and without it `params.pubKey` is required. A request's own
// `registeredFrom` and `timestamp` win over `registeredFrom` and `timestamp`. A plain value.
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
SDKCORE_EXPORT SDKCoreConfig tokenRequestFromJson(const nlohmann::json& request,
                                                  const TokenRequestDefaults& defaults);

// Parses 'text' strictly (see parseStrictJson) and builds its configuration; throws
// JsonInputError, whose message names members only by the names the request format defines. The
// parsed texts are wiped before they are freed. Thread-safe.
SDKCORE_EXPORT SDKCoreConfig tokenRequestFromJsonText(std::string_view text,
                                                      const TokenRequestDefaults& defaults);

// Looks up the text of one field of a request: nullopt when it is not given.
using TokenRequestField = std::function<std::optional<std::string>(ParamField field)>;

// Builds the configuration of a request of the variant whose case name is 'variant' (as in the
// JSON form: "cardParams", ...), asking 'field' for the texts of the variant's fields. A required
// field that is not given is the empty text. The key is `pubKeyOverride`, else the field's own
// text, else `defaultPubKey` (the empty text without one; `onDefaultPubKeyUsed` is called);
// `registeredFrom` and `timestamp` come from 'defaults'. Throws std::invalid_argument for an
// unknown variant and what 'field' throws. Thread-safe as far as 'field' is.
SDKCORE_EXPORT SDKCoreConfig tokenRequestFromFields(std::string_view variant,
                                                    const TokenRequestField& field,
                                                    const TokenRequestDefaults& defaults);

// Reads a registration source's raw value; throws JsonInputError, naming 'what' but not the text,
// for any text that is no raw value. Thread-safe.
SDKCORE_EXPORT ZKITRegisteredFrom registeredFromText(const std::string& text,
                                                     const std::string& what);

// The result as one JSON object: {"token": "..."} or {"errors": {"PAN": "required"}}. Throws only
// std::bad_alloc; thread-safe.
SDKCORE_EXPORT nlohmann::json tokenResultJson(const TokenResult& result);

}  // namespace sdkcore
