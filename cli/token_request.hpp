#pragma once

#include <string>
#include <string_view>

#include "cli_support.hpp"
#include "sdkcore/sdk_core_config.hpp"
#include "sdkcore/token_request.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace sdkcore::cli {

// What the command line supplies to every request of a `sdkcore token` run: --pubkey as
// `pubKeyOverride`, the demo key as `defaultPubKey`, --from and --timestamp.
using TokenDefaults = TokenRequestDefaults;

// Parses 'text' as one JSON request (see tokenRequestFromJsonText); throws UsageError naming the
// member or position when it is malformed.
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

}  // namespace sdkcore::cli
