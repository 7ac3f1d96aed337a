#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sdkcore {

// The Base64 body of a key text under the PKCS #1 armour ("-----BEGIN RSA PUBLIC KEY-----" and
// "-----END RSA PUBLIC KEY-----", as OpenSSL writes a bare RSAPublicKey), cleaned as
// pemKeyContent() cleans other texts: line feeds, carriage returns and tabs go first, then that
// armour, then spaces. nullopt when the text holds no such BEGIN line: it is then read as
// pemKeyContent() reads it. Any other armour in the text stays and makes the body invalid.
// Never fails; thread-safe.
std::optional<std::string> pkcs1PemContent(std::string_view text);

}  // namespace sdkcore
