#include "rsa_cryptogram_cipher.hpp"

#include <openssl/err.h>

#include <cstdint>

#include "base64.hpp"
#include "rsa_key_cache.hpp"
#include "rsa_public_key.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"

namespace sdkcore {
namespace {

// Removes the OpenSSL errors that this call queues on the thread, leaving older ones in place, so
// that a failure leaves no state behind.
class ErrorQueueMark {
 public:
  ErrorQueueMark() noexcept { ERR_set_mark(); }
  ~ErrorQueueMark() { ERR_pop_to_mark(); }
  ErrorQueueMark(const ErrorQueueMark&) = delete;
  ErrorQueueMark& operator=(const ErrorQueueMark&) = delete;
};

std::shared_ptr<const RsaPublicKey> importKey(const Key& key) {
  if (key.protocol() != "RSA") {
    throw CryptogramCipherException(CryptogramCipherError::keyCreationFailed);
  }
  return RsaKeyCache::shared().getOrImport(key.value(), RsaPublicKey::importText);
}

}  // namespace

std::string RSACryptogramCipher::encrypt(std::string_view paymentString, const Key& key) const {
  const ErrorQueueMark mark;
  const auto publicKey = importKey(key);
  // Encrypted in place: no copy of the plain text is made that would need wiping.
  const auto* plain = reinterpret_cast<const std::uint8_t*>(paymentString.data());
  return base64::encode(publicKey->encrypt({plain, paymentString.size()}));
}

}  // namespace sdkcore
