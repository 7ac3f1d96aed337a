#pragma once

#include <functional>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "cli_support.hpp"
#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/token_result.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace sdkcore::cli {

// What the command line supplies to every request of a `sdkcore token` run.
//
// Precedence: `pubKeyOverride` (--pubkey) replaces the request's own `pubKey`; a request's own
// `registeredFrom` and `timestamp` win over `registeredFrom` (--from) and `timestamp`
// (--timestamp); `defaultPubKey` (the demo key) serves only a request that names no key.
struct TokenDefaults {
  std::optional<std::string> pubKeyOverride;
  std::string defaultPubKey;
  ZKITRegisteredFrom registeredFrom = ZKITRegisteredFrom::ZKIT_CORE;
  std::optional<double> timestamp;  // absent: the current time when the request is built
  // Called once per request that falls back to 'defaultPubKey', after the request was built
  // without error; may be empty.
  std::function<void()> onDefaultPubKeyUsed;
};

// Builds the configuration of a JSON request such as
// {"variant": "cardParams", "params": {...}, "registeredFrom": "ZKIT_CORE", "timestamp": 1.5}.
// Throws UsageError naming the member for a missing required member, a member of the wrong type,
// an unknown variant or an unknown registration source. Unknown members are ignored; `cardholder`
// and the optional `cvc` are absent when missing or null.
SDKCoreConfig configFromJson(const nlohmann::json& request, const TokenDefaults& defaults);

// Parses 'text' strictly (see parseStrictJson) and builds its configuration.
SDKCoreConfig configFromJsonText(std::string_view text, const TokenDefaults& defaults);

// Builds the configuration from the field flags of `sdkcore token` (--pan, --cvc, --expiry,
// --cardholder, --order, --new-card, --binding-id, --stored-id). Throws UsageError for a
// combination that names no variant or mixes two.
SDKCoreConfig configFromFlags(const ParsedArgs& args, const TokenDefaults& defaults);

// Reads a --from value; throws UsageError for any text that is no raw value.
ZKITRegisteredFrom parseRegisteredFrom(const std::string& text, const std::string& what);

// Reads a --timestamp value (seconds since 1970, fraction allowed); throws UsageError unless it
// is a finite decimal number.
double parseTimestamp(const std::string& text);

// The result as one JSON object: {"token": "..."} or {"errors": {"PAN": "required"}}.
nlohmann::json tokenResultJson(const TokenResult& result);

}  // namespace sdkcore::cli
