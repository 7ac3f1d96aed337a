#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "sdkcore/crypto_provider.hpp"

namespace sdkcore {

// The cryptography of one core: a host's CryptoProvider, or the library's built-in one when there
// is none (the operating system's random bytes, and OpenSSL's RSA or, without OpenSSL, no RSA at
// all). The library reads and checks every key itself before the provider sees it, and
// checks the provider's answers. Immutable; thread-safe as far as the provider is.
class ProviderCipher {
 public:
  // 'provider' may be null: the built-in cryptography.
  explicit ProviderCipher(std::shared_ptr<const CryptoProvider> provider) noexcept;

  // True when an RSA encryption is at hand: a provider's, or the built-in one of a build with
  // OpenSSL.
  bool canEncrypt() const noexcept;

  // Returns the Base64 token of the bytes of 'paymentString' encrypted with the RSA key whose text
  // is 'keyText'. Throws CryptogramCipherException: keyCreationFailed and algorithmNotSupported as
  // RSACryptogramCipher does, whichever encryption is used; encryptionFailed when there is no
  // encryption at hand, when the provider reports a failure or throws, or when its cipher text is
  // not exactly as long as the modulus. The provider reads 'paymentString' where it lies; the
  // caller wipes it afterwards.
  std::string encryptWithRsaKey(std::string_view paymentString, std::string_view keyText) const;

  // Fills 'out' from the provider's random source, or the library's own when there is no
  // provider. Small requests are served from a per-thread batch that one call of the provider
  // fills (512 bytes, wiped as they are handed out; fork-safe). Throws RandomSourceError when the
  // source reports a failure or throws; the bytes must then not be used.
  void randomBytes(std::span<std::uint8_t> out) const;

 private:
  std::shared_ptr<const CryptoProvider> provider_;
  std::uint64_t id_;  // unique among the ciphers of the process; tells random batches apart
};

}  // namespace sdkcore
