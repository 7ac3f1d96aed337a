#include "provider_cipher.hpp"

#include <array>
#include <atomic>
#include <cstring>
#include <optional>
#include <vector>

#include "base/wiped_text.hpp"
#include "base64.hpp"
#include "cryptogram/fork_generation.hpp"
#include "cryptogram/random_bytes.hpp"
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

// Fills 'out' from the provider; false when it refuses or throws.
bool providerRandom(const CryptoProvider& provider, std::span<std::uint8_t> out) noexcept {
  try {
    return provider.randomBytes(out);
  } catch (...) {
    return false;
  }
}

// One thread's random bytes from one provider, drawn in batches: a provider's call may cost far
// more than the 16 bytes of a UUID (a call into a JVM or a platform API), so a batch serves 32
// UUIDs. Each byte handed out is wiped from the batch at once. A batch belongs to one provider
// (by the id of its ProviderCipher, never reused) and to one process: another provider, or a
// child after fork(), finds it stale and never hands out bytes drawn for another.
class ProviderRandomBatch {
 public:
  ~ProviderRandomBatch() { wipeBytes(bytes_.data(), bytes_.size()); }

  // False when the provider fails; 'out' is then not to be used.
  bool draw(const CryptoProvider& provider, std::uint64_t owner, std::span<std::uint8_t> out) {
    const std::optional<std::uint64_t> generation = forkGeneration();
    if (!generation || out.size() > bytes_.size()) return providerRandom(provider, out);
    if (owner != owner_ || *generation != generation_ || remaining_ < out.size()) {
      remaining_ = 0;
      if (!providerRandom(provider, bytes_)) return false;
      owner_ = owner;
      generation_ = *generation;
      remaining_ = bytes_.size();
    }
    std::uint8_t* next = bytes_.data() + (bytes_.size() - remaining_);
    std::memcpy(out.data(), next, out.size());
    wipeBytes(next, out.size());
    remaining_ -= out.size();
    return true;
  }

 private:
  std::array<std::uint8_t, 512> bytes_{};
  std::size_t remaining_ = 0;
  std::uint64_t owner_ = 0;
  std::uint64_t generation_ = 0;  // fork generation; a child finds its parent's batch stale
};

std::atomic<std::uint64_t> nextCipherId{1};

}  // namespace

ProviderCipher::ProviderCipher(std::shared_ptr<const CryptoProvider> provider) noexcept
    : provider_(std::move(provider)), id_(nextCipherId.fetch_add(1, std::memory_order_relaxed)) {}

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
  thread_local ProviderRandomBatch batch;
  if (!batch.draw(*provider_, id_, out)) {
    throw RandomSourceError("crypto provider failed to supply random bytes");
  }
}

}  // namespace sdkcore
