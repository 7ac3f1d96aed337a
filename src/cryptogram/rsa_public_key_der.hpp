#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace sdkcore {

// The RSA public numbers found in a DER key encoding. The spans view the parsed bytes.
struct RsaPublicKeyDer {
  enum class Algorithm : std::uint8_t {
    rsaEncryption,  // a key for encryption and signatures (or a bare PKCS #1 key)
    rsassaPss,      // a key restricted to RSA-PSS signatures
  };

  Algorithm algorithm;
  std::span<const std::uint8_t> modulus;   // big-endian magnitude, no leading zero byte
  std::span<const std::uint8_t> exponent;  // big-endian magnitude, no leading zero byte
};

// Reads the RSA public key out of 'der', which must be exactly one of: a SubjectPublicKeyInfo
// (RFC 5280) of an rsaEncryption or RSASSA-PSS key, a PKCS #1 RSAPublicKey (RFC 8017), or an
// X.509 certificate, whose subject key is taken (the certificate is not verified). Throws
// DerFormatError for anything else, trailing bytes included, for keys of other algorithms and
// for integers that are not positive or not minimally encoded. Thread-safe (stateless).
RsaPublicKeyDer parseRsaPublicKeyDer(std::span<const std::uint8_t> der);

// The result views the parsed bytes, so a temporary buffer would leave it dangling.
RsaPublicKeyDer parseRsaPublicKeyDer(std::vector<std::uint8_t>&& der) = delete;

// As parseRsaPublicKeyDer, but 'der' must be exactly a PKCS #1 RSAPublicKey: a
// SubjectPublicKeyInfo or a certificate throws DerFormatError too.
RsaPublicKeyDer parsePkcs1RsaPublicKeyDer(std::span<const std::uint8_t> der);
RsaPublicKeyDer parsePkcs1RsaPublicKeyDer(std::vector<std::uint8_t>&& der) = delete;

}  // namespace sdkcore
