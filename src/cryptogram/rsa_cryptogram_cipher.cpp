#include "rsa_cryptogram_cipher.hpp"

#include <cstdint>
#include <vector>

#include "base64.hpp"
#include "rsa_key_cache.hpp"
#include "rsa_public_key.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {
namespace {

// The key this thread used last, with its text. A run of requests with one merchant key then
// touches no state shared with other threads: neither the shared cache's lock nor a key's
// reference count. Texts that the shared cache does not keep are not kept here either.
class LastKey {
 public:
  const RsaPublicKey& get(std::string_view keyText) {
    if (!key_ || !textKept_ || text_ != keyText) {
      auto key = RsaKeyCache::shared().getOrImport(keyText, RsaPublicKey::importText);
      const bool kept = keyText.size() <= RsaKeyCache::kMaxCachedTextSize;
      std::string text(kept ? keyText : std::string_view());
      // Nothing below throws, so the text and the key always belong together.
      text_.swap(text);
      key_ = std::move(key);
      textKept_ = kept;
    }
    return *key_;
  }

 private:
  std::string text_;
  bool textKept_ = false;
  std::shared_ptr<const RsaPublicKey> key_;
};

}  // namespace

const RsaPublicKey& cachedRsaKey(std::string_view keyText) {
  thread_local LastKey last;
  return last.get(keyText);
}

std::string RSACryptogramCipher::encrypt(std::string_view paymentString, const Key& key) const {
  if (key.protocol() != "RSA") {
    throw CryptogramCipherException(CryptogramCipherError::keyCreationFailed);
  }
  return encryptWithRsaKey(paymentString, key.value());
}

std::string RSACryptogramCipher::encryptWithRsaKey(std::string_view paymentString,
                                                   std::string_view keyText) const {
  const ErrorQueueMark mark;
  const RsaPublicKey& publicKey = cachedRsaKey(keyText);
  // Read where it lies: the padded block is the only copy, and the encryption wipes it.
  const auto* plain = reinterpret_cast<const std::uint8_t*>(paymentString.data());
  // The cipher text is public (it is the token), so this thread's buffer needs no wiping.
  thread_local std::vector<std::uint8_t> cipher;
  cipher.resize(publicKey.size());
  const std::size_t length = publicKey.encryptInto({plain, paymentString.size()}, cipher);
  return base64::encode({cipher.data(), length});
}

}  // namespace sdkcore
