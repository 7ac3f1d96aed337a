#include "provider_cipher.hpp"

#include <unistd.h>

#include <algorithm>
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

using Bytes = std::span<const std::uint8_t>;

// A plain text at least this long is looked for anywhere in a cipher text: a shorter one could
// occur in a random cipher text by chance.
constexpr std::size_t kMinSearchedPlain = 8;

// True when 'number', read big-endian, is greater than 1: 0 and 1 are their own RSA encryption.
bool aboveOne(Bytes number) {
  if (number.empty()) return false;
  const bool highBytes =
      std::any_of(number.begin(), number.end() - 1, [](std::uint8_t byte) { return byte != 0; });
  return highBytes || number.back() > 1;
}

bool allZero(Bytes bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0; });
}

// True when 'cipher' shows 'plain': equal to it padded with zero bytes before or after, or, for a
// plain text long enough, holding it anywhere.
bool showsPlain(Bytes cipher, Bytes plain) {
  if (plain.size() > cipher.size()) return false;
  const std::size_t padding = cipher.size() - plain.size();
  if (allZero(cipher.first(padding)) &&
      std::equal(plain.begin(), plain.end(), cipher.begin() + padding)) {
    return true;
  }
  if (allZero(cipher.last(padding)) && std::equal(plain.begin(), plain.end(), cipher.begin())) {
    return true;
  }
  return plain.size() >= kMinSearchedPlain &&
         std::search(cipher.begin(), cipher.end(), plain.begin(), plain.end()) != cipher.end();
}

// What costs nothing to check of a provider's cipher text: as long as the modulus, read
// big-endian greater than 1 and less than the modulus, and not showing the plain text.
bool plausibleCipher(const RsaPublicKey& key, Bytes cipher, Bytes plain) {
  const Bytes modulus = key.forms().modulus;
  return cipher.size() == modulus.size() && aboveOne(cipher) &&
         std::lexicographical_compare(cipher.begin(), cipher.end(), modulus.begin(),
                                      modulus.end()) &&
         !showsPlain(cipher, plain);
}

// The provider's cipher text, or nullopt for any failure of the provider: a refusal, an
// exception (of whatever kind), or an answer that plausibleCipher() refuses.
std::optional<std::vector<std::uint8_t>> providerCipher(const CryptoProvider& provider,
                                                        const RsaPublicKey& key, Bytes plain) {
  std::vector<std::uint8_t> cipher;
  try {
    if (!provider.encrypt(key.forms(), plain, cipher)) return std::nullopt;
  } catch (...) {
    return std::nullopt;
  }
  if (!plausibleCipher(key, cipher, plain)) return std::nullopt;
  return cipher;
}

// The key of 'keyText', held for the whole provider call: the provider may check or use other
// keys meanwhile (through the library), which replaces the key this thread keeps.
std::shared_ptr<const RsaPublicKey> keyForProvider(std::string_view keyText) {
  const ErrorQueueMark mark;  // importing the key may queue OpenSSL errors
  return sharedCachedRsaKey(keyText);
}

// Fills 'out' from the provider; false when it refuses or throws.
bool providerRandom(const CryptoProvider& provider, std::span<std::uint8_t> out) noexcept {
  try {
    return provider.randomBytes(out);
  } catch (...) {
    return false;
  }
}

// A short digest of random bytes, to notice a source that answers the same bytes twice without
// keeping the bytes.
std::uint64_t digestOf(Bytes bytes) noexcept {
  std::uint64_t digest = 0xcbf29ce484222325u ^ bytes.size();  // FNV-1a
  for (const std::uint8_t byte : bytes) digest = (digest ^ byte) * 0x100000001b3u;
  return digest;
}

constexpr std::size_t kUuidSize = 16;

// True when two consecutive pieces of kUuidSize bytes of 'bytes' are equal.
bool repeatsPieces(Bytes bytes) {
  for (std::size_t at = kUuidSize; at + kUuidSize <= bytes.size(); at += kUuidSize) {
    if (std::equal(bytes.begin() + at, bytes.begin() + at + kUuidSize,
                   bytes.begin() + at - kUuidSize)) {
      return true;
    }
  }
  return false;
}

// One thread's random bytes from one provider, drawn in batches: a provider's call may cost far
// more than the 16 bytes of a UUID (a call into a JVM or a platform API), so a batch serves 32
// UUIDs. Each byte handed out is wiped from the batch at once. A batch belongs to one provider
// (by the id of its ProviderCipher, never reused) and to one process (by its id and its fork
// generation): another provider, or a child however it was made (fork(), _Fork(), a raw system
// call), finds it stale and never hands out bytes drawn for another.
//
// A provider that reports success yet answers bytes that cannot be random (all zero, two equal
// consecutive pieces of a UUID's size, or the same as its previous answer on this thread) has
// failed.
class ProviderRandomBatch {
 public:
  ~ProviderRandomBatch() { wipeBytes(bytes_.data(), bytes_.size()); }

  // False when the provider fails; 'out' is then not to be used.
  bool draw(const CryptoProvider& provider, std::uint64_t owner, std::span<std::uint8_t> out) {
    const std::optional<std::uint64_t> generation = forkGeneration();
    if (!generation || out.size() > bytes_.size()) return drawChecked(provider, out);
    if (owner != owner_ || *generation != generation_ || getpid() != process_ ||
        remaining_ < out.size()) {
      if (!refill(provider, owner, *generation)) return false;
    }
    std::uint8_t* next = bytes_.data() + (bytes_.size() - remaining_);
    std::memcpy(out.data(), next, out.size());
    wipeBytes(next, out.size());
    remaining_ -= out.size();
    return true;
  }

 private:
  // Fills 'out' with one answer of the provider and checks it.
  bool drawChecked(const CryptoProvider& provider, std::span<std::uint8_t> out) {
    if (!providerRandom(provider, out)) return false;
    const std::uint64_t digest = digestOf(out);
    const bool repeated = digest == lastDigest_;
    lastDigest_ = digest;
    return !repeated && !(out.size() >= kUuidSize && allZero(out)) && !repeatsPieces(out);
  }

  // Draws a new batch. The provider fills a buffer of this call's own: if it makes a token
  // meanwhile, that token draws from this batch, which must not be written under it.
  bool refill(const CryptoProvider& provider, std::uint64_t owner, std::uint64_t generation) {
    remaining_ = 0;
    std::array<std::uint8_t, kBatchSize> drawn;
    const bool done = drawChecked(provider, drawn);
    if (done) {
      bytes_ = drawn;
      owner_ = owner;
      generation_ = generation;
      process_ = getpid();
      remaining_ = bytes_.size();
    }
    wipeBytes(drawn.data(), drawn.size());
    return done;
  }

  static constexpr std::size_t kBatchSize = 512;

  std::array<std::uint8_t, kBatchSize> bytes_{};
  std::size_t remaining_ = 0;
  std::uint64_t owner_ = 0;
  std::uint64_t generation_ = 0;  // fork generation; a child finds its parent's batch stale
  pid_t process_ = 0;             // for children that no fork handler counts
  std::uint64_t lastDigest_ = 0;  // of the provider's last answer on this thread
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
  const std::shared_ptr<const RsaPublicKey> key = keyForProvider(keyText);
  const auto* plain = reinterpret_cast<const std::uint8_t*>(paymentString.data());
  const auto cipher = providerCipher(*provider_, *key, {plain, paymentString.size()});
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
