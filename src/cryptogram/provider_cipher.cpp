#include "provider_cipher.hpp"

#include <vector>

#include "base64.hpp"
#include "entry/random_bytes.hpp"
#include "rsa_cryptogram_cipher.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {
namespace {

// The provider's cipher text, or nullopt for any failure of the provider: a refusal, an
// exception (of whatever kind), or a length other than the modulus length.
std::optional<std::vector<std::uint8_t>> providerCipher(const CryptoProvider& provider,
                                                        const RsaPublicKey& key,
                                                        std::span<const std::uint8_t> plain) {
  std::vector<std::uint8_t> cipher;
  try {
    if (!provider.encrypt(key.forms(), plain, cipher)) return std::nullopt;
  } catch (...) {
    return std::nullopt;
  }
  if (cipher.size() != key.size()) return std::nullopt;
  return cipher;
}

}  // namespace

bool CryptoProvider::randomBytes(std::span<std::uint8_t> out) const {
  sdkcore::randomBytes(out);
  return true;
}

bool ProviderCipher::canEncrypt() const noexcept { return provider_ || SDKCORE_WITH_OPENSSL; }

std::string ProviderCipher::encryptWithRsaKey(std::string_view paymentString,
                                              std::string_view keyText) const {
  if (!provider_) return RSACryptogramCipher().encryptWithRsaKey(paymentString, keyText);
  std::optional<std::vector<std::uint8_t>> cipher;
  {
    const ErrorQueueMark mark;  // importing the key may queue OpenSSL errors
    const RsaPublicKey& key = cachedRsaKey(keyText);
    const auto* plain = reinterpret_cast<const std::uint8_t*>(paymentString.data());
    cipher = providerCipher(*provider_, key, {plain, paymentString.size()});
  }
  if (!cipher) throw CryptogramCipherException(CryptogramCipherError::encryptionFailed);
  return base64::encode(*cipher);
}

void ProviderCipher::randomBytes(std::span<std::uint8_t> out) const {
  if (!provider_) return sdkcore::randomBytes(out);
  bool filled = false;
  try {
    filled = provider_->randomBytes(out);
  } catch (...) {
    filled = false;
  }
  if (!filled) throw RandomSourceError("crypto provider failed to supply random bytes");
}

}  // namespace sdkcore
