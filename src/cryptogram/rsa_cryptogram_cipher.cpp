#include "rsa_cryptogram_cipher.hpp"

#include <openssl/crypto.h>
#include <openssl/err.h>

#include <vector>

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

// A copy of the plain text that is wiped when it goes out of scope, on success and on failure.
class WipedBytes {
 public:
  explicit WipedBytes(std::string_view text) : bytes_(text.begin(), text.end()) {}
  ~WipedBytes() { OPENSSL_cleanse(bytes_.data(), bytes_.size()); }
  WipedBytes(const WipedBytes&) = delete;
  WipedBytes& operator=(const WipedBytes&) = delete;

  std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::shared_ptr<const RsaPublicKey> importKey(const Key& key) {
  if (key.protocol() != "RSA") {
    throw CryptogramCipherException(CryptogramCipherError::keyCreationFailed);
  }
  const auto der = base64::decodeStrict(pemKeyContent(key.value()));
  if (!der) throw CryptogramCipherException(CryptogramCipherError::keyCreationFailed);
  return RsaKeyCache::shared().getOrImport(*der, RsaPublicKey::import);
}

}  // namespace

std::string RSACryptogramCipher::encrypt(std::string_view paymentString, const Key& key) const {
  const ErrorQueueMark mark;
  const auto publicKey = importKey(key);
  const WipedBytes plain(paymentString);
  return base64::encode(publicKey->encrypt(plain.bytes()));
}

}  // namespace sdkcore
