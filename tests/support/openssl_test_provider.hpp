#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sdkcore/crypto_provider.hpp"
#include "sdkcore/sdkcore.h"

// Crypto providers written in the tests, over OpenSSL (a test dependency, also where the library
// is built without it): the host's side of the provider interfaces.
namespace sdkcore::testing {

// RSAES-PKCS1-v1_5 encryption of 'plain' under the key whose SubjectPublicKeyInfo DER is 'spki';
// each thread keeps the context of the key it used last. Nullopt when OpenSSL fails.
std::optional<std::vector<std::uint8_t>> opensslEncrypt(std::span<const std::uint8_t> spki,
                                                        std::span<const std::uint8_t> plain);

// A C++ provider: opensslEncrypt() and OpenSSL's generator. Thread-safe.
class OpenSslTestProvider : public CryptoProvider {
 public:
  bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
               std::vector<std::uint8_t>& cipher) const override;
  bool randomBytes(std::span<std::uint8_t> out) const override;
};

// The same as a C provider (user_data unused). Thread-safe.
sdkcore_crypto_provider openSslCProvider();

}  // namespace sdkcore::testing
