#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "rsa_public_key.hpp"

namespace sdkcore {

// A small bounded cache of imported RSA public keys, keyed by the exact key text they were
// imported from, so that a hit also skips cutting the PEM armour and decoding the Base64. When
// full, the least recently used key makes room. Thread-safe: the lock is held only while looking
// up and inserting, never while a key is imported or used.
//
// Importing a key costs more than the RSA operation it serves, and the same merchant key arrives
// with every request. Callers cannot observe the cache: the results and errors are those of a
// fresh import (only keys that imported successfully are kept, and an imported key is immutable),
// and a key text that differs in any byte is a different entry. Texts longer than
// kMaxCachedTextSize are imported every time rather than kept.
class RsaKeyCache {
 public:
  using Import = std::function<std::shared_ptr<const RsaPublicKey>(std::string_view)>;

  static constexpr std::size_t kDefaultCapacity = 16;
  // Far above any real key or certificate text (a 16384-bit key in PEM is under 3 KiB).
  static constexpr std::size_t kMaxCachedTextSize = 64 * 1024;

  explicit RsaKeyCache(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // The cache that every RSACryptogramCipher shares.
  static RsaKeyCache& shared();

  // Returns the cached key for 'keyText', or the result of 'import(keyText)', which is then
  // cached. Exceptions of 'import' pass through and leave the cache unchanged.
  std::shared_ptr<const RsaPublicKey> getOrImport(std::string_view keyText, const Import& import);

  // The number of cached keys.
  std::size_t size() const;

 private:
  struct Entry {
    std::size_t hash;
    std::string keyText;
    std::shared_ptr<const RsaPublicKey> key;
    std::uint64_t lastUse;
  };

  std::shared_ptr<const RsaPublicKey> find(std::size_t hash, std::string_view keyText);
  void insert(std::size_t hash, std::string_view keyText, std::shared_ptr<const RsaPublicKey> key);

  const std::size_t capacity_;
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
  std::uint64_t clock_ = 0;
};

}  // namespace sdkcore
