#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sdkcore/export.h"

namespace sdkcore {

// One RSA public key in the forms that platform crypto libraries take. All four describe the same
// key; the library has read and checked it (format, size, weak exponent, signing-only keys) before
// a provider sees it, so a provider never receives a key the library would refuse. The spans
// view the library's copy of the key and are valid for the duration of the call only.
struct RsaPublicKeyForms {
  std::span<const std::uint8_t> modulus;   // big-endian magnitude, no leading zero byte
  std::span<const std::uint8_t> exponent;  // big-endian magnitude, no leading zero byte
  // DER of the PKCS #1 RSAPublicKey (what SecKeyCreateWithData takes on Apple platforms).
  std::span<const std::uint8_t> pkcs1Der;
  // DER of the SubjectPublicKeyInfo with rsaEncryption and NULL parameters (what Java's
  // X509EncodedKeySpec takes).
  std::span<const std::uint8_t> subjectPublicKeyInfoDer;
};

// The cryptography a host supplies to `SdkCore` in place of the built-in one (OpenSSL, where the
// library is built with it): the RSA encryption of the payment string and the random bytes of
// its UUID. Typically a thin adapter over the platform's own module.
//
// Thread safety: a core calls its provider from every thread that asks it for a token, possibly
// from several threads at once, so both operations must be safe to call concurrently.
//
// The library distrusts the answers: a cipher text whose length is not the modulus length, a
// failure reported or an exception thrown makes the token request fail as an encryption failure
// (field UNKNOWN, code "unknown"), and a random source that fails or throws refuses the token.
// The plain text the library hands over is its own buffer, which it wipes after the call; any
// copy the provider or the platform makes of it (buffers, caches) is the host's to wipe.
class SDKCORE_EXPORT CryptoProvider {
 public:
  virtual ~CryptoProvider() = default;

  // Encrypts 'plain' with 'key' using RSAES-PKCS1-v1_5 (RFC 8017, random padding) and puts the
  // cipher text, exactly as long as the modulus, into 'cipher' (empty on entry). Returns false,
  // or throws, when it cannot.
  virtual bool encrypt(const RsaPublicKeyForms& key, std::span<const std::uint8_t> plain,
                       std::vector<std::uint8_t>& cipher) const = 0;

  // Fills all of 'out' with bytes from a cryptographically secure random source. Returns false,
  // or throws, when it cannot; the bytes are then never used. The library asks for a batch of
  // bytes at a time (512 per thread), which serves many tokens. The default implementation uses
  // the library's own source, the operating system's generator (getrandom() on Linux and
  // Android, arc4random_buf() on Apple platforms).
  virtual bool randomBytes(std::span<std::uint8_t> out) const;
};

}  // namespace sdkcore
