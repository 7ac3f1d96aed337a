#pragma once

#include <map>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "sdkcore/token_request.hpp"
#include "sdkcore/zkit_registered_from.hpp"

// What a JSON token request asks for, read from nlohmann's own DOM without the library's reader,
// and the check of a token against it. Shared by the targets of the request reader and of the C
// interface's JSON entry point.
namespace sdkcore::fuzzing {

// A request as the library must read it.
struct ExpectedRequest {
  int variant = 0;  // in the order of sdkcore_variant
  // The variant's members that are present and not null, by member name (pubKey excluded).
  std::map<std::string, std::string> texts;
  std::string pubKey;
  bool usesDefaultPubKey = false;
  ZKITRegisteredFrom registeredFrom = ZKITRegisteredFrom::ZKIT_CORE;
  std::optional<double> timestamp;  // absent: the time of the call
};

// The request that 'request' holds with 'defaults', or nullopt when it is no valid request (not an
// object, an unknown variant, a required member missing, a member of the wrong type, an unknown
// source). Ignores 'defaults.onDefaultPubKeyUsed'.
std::optional<ExpectedRequest> expectedRequest(const nlohmann::json& request,
                                               const TokenRequestDefaults& defaults);

// The levels of arrays and objects nested in 'value': 0 for a scalar, 1 for "[]".
int nestingDepth(const nlohmann::json& value);

// Reports a finding unless 'token' is a token for 'request': when the request uses the demo public
// key, it decrypts with the demo private key to the payment string that the request asks for,
// dated at its timestamp (when it has one).
void checkToken(const std::string& token, const ExpectedRequest& request);

}  // namespace sdkcore::fuzzing
