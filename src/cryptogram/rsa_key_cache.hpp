#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "rsa_public_key.hpp"

namespace sdkcore {

// A small bounded cache of imported RSA public keys, keyed by the exact DER bytes they were
// imported from. When full, the least recently used key makes room. Thread-safe: the lock is held
// only while looking up and inserting, never while a key is imported or used.
//
// Importing a key costs more than the RSA operation it serves, and the same merchant key arrives
// with every request. Callers cannot observe the cache: the results and errors are those of a
// fresh import (only keys that imported successfully are kept, and an imported key is immutable),
// and a key text that changes decodes to other bytes and so is a different entry.
class RsaKeyCache {
 public:
  static constexpr std::size_t kDefaultCapacity = 16;

  explicit RsaKeyCache(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // The cache that every RSACryptogramCipher shares.
  static RsaKeyCache& shared();

  // Returns the cached key for 'der', or the result of 'import(der)', which is then cached.
  // Exceptions of 'import' pass through and leave the cache unchanged.
  std::shared_ptr<const RsaPublicKey> getOrImport(
      std::span<const std::uint8_t> der,
      const std::function<std::shared_ptr<const RsaPublicKey>(std::span<const std::uint8_t>)>&
          import);

  // The number of cached keys.
  std::size_t size() const;

 private:
  struct Entry {
    std::size_t hash;
    std::vector<std::uint8_t> der;
    std::shared_ptr<const RsaPublicKey> key;
    std::uint64_t lastUse;
  };

  std::shared_ptr<const RsaPublicKey> find(std::size_t hash, std::span<const std::uint8_t> der);
  void insert(std::size_t hash, std::span<const std::uint8_t> der,
              std::shared_ptr<const RsaPublicKey> key);

  const std::size_t capacity_;
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
  std::uint64_t clock_ = 0;
};

}  // namespace sdkcore
