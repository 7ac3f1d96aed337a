#pragma once

#include <openssl/evp.h>

#include <string>
#include <string_view>
#include <vector>

#include "cryptogram/openssl_handles.hpp"

// The RSA key material the benchmarks share, made once per process.
namespace sdkcore::bench {

// A 120-byte payment string, about the size of a real one.
inline constexpr std::string_view kPaymentString =
    "2023-11-15T03:43:20+05:30/3F2504E0-4F89-41D3-9A0C-0305E82C3301/4111111111111111/123/1230/"
    "ORDER-12345//JOHN Q DOE/ZKIT_CORE";

struct BenchKey {
  openssl::PkeyPtr key;           // a 2048-bit RSA key pair
  std::vector<std::uint8_t> der;  // its public half as DER SubjectPublicKeyInfo
  std::string pem;                // the same as a PEM "PUBLIC KEY" block with 64-character lines
};

// The process's 2048-bit key, generated on first use.
const BenchKey& benchKey();

// Base64 SubjectPublicKeyInfo texts of 'count' keys next to benchKey() (moduli n + 2i, as long
// and odd, exponent 65537): distinct texts with the same RSA work per operation, made without
// generating keys.
std::vector<std::string> distinctKeyTexts(std::size_t count);

// An EVP_PKEY_CTX for 'key' initialised for encryption with PKCS #1 v1.5 padding.
openssl::PkeyCtxPtr preparedEncryptContext(EVP_PKEY* key);

}  // namespace sdkcore::bench
