#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Key encodings built for the cryptogram tests: hand-made DER for structures that no encoder
// writes (weak exponents, trailing bytes, non-minimal forms) and PEM texts of keys and
// certificates made with OpenSSL.
namespace sdkcore::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes concat(std::initializer_list<Bytes> parts);
Bytes tlv(std::uint8_t tag, const Bytes& content);
// A DER INTEGER of the unsigned big-endian 'magnitude' (a zero byte is added where needed).
Bytes derInteger(Bytes magnitude);
// PKCS #1 RSAPublicKey.
Bytes pkcs1(const Bytes& modulus, const Bytes& exponent);
// SubjectPublicKeyInfo with the given algorithm OID content and optional parameters element.
Bytes spki(const Bytes& oid, const std::optional<Bytes>& parameters, const Bytes& key);
Bytes rsaEncryptionOid();
Bytes rsassaPssOid();
Bytes derNull();

// Base64 text on one line, and PEM with 64-character lines under 'label'.
std::string base64(const Bytes& der);
std::string pem(const Bytes& der, std::string_view label = "PUBLIC KEY");

// The DER SubjectPublicKeyInfo of a PEM public key.
Bytes derOfPublicPem(std::string_view publicPem);

// The DER PKCS #1 RSAPublicKey of a PEM public key, as OpenSSL writes it.
Bytes pkcs1DerOfPublicPem(std::string_view publicPem);

struct RsaNumbers {
  Bytes modulus;
  Bytes exponent;
};
// The modulus and exponent of a PEM public key.
RsaNumbers numbersOf(std::string_view publicPem);

// A self-signed X.509 certificate PEM for the key pair with the PEM private key.
std::string certificatePem(std::string_view privatePem);
// PEM of the public key of a key made by OpenSSL's generator with 'algorithm' ("EC", "RSA-PSS",
// "RSA") and a parameter ("P-256" or a bit count).
std::string generatedPublicPem(std::string_view algorithm, std::string_view parameter);

}  // namespace sdkcore::testing
