#include "rsa_key_cache.hpp"

#include <algorithm>
#include <string_view>

namespace sdkcore {
namespace {

std::size_t hashOf(std::span<const std::uint8_t> der) {
  return std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(der.data()), der.size()));
}

bool sameBytes(const std::vector<std::uint8_t>& a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

RsaKeyCache& RsaKeyCache::shared() {
  static RsaKeyCache cache;
  return cache;
}

std::shared_ptr<const RsaPublicKey> RsaKeyCache::getOrImport(
    std::span<const std::uint8_t> der,
    const std::function<std::shared_ptr<const RsaPublicKey>(std::span<const std::uint8_t>)>&
        import) {
  const std::size_t hash = hashOf(der);
  if (auto key = find(hash, der)) return key;
  // Two threads that miss at once both import; the second insert finds the first one's entry.
  auto key = import(der);
  insert(hash, der, key);
  return key;
}

std::size_t RsaKeyCache::size() const {
  const std::lock_guard lock(mutex_);
  return entries_.size();
}

std::shared_ptr<const RsaPublicKey> RsaKeyCache::find(std::size_t hash,
                                                      std::span<const std::uint8_t> der) {
  const std::lock_guard lock(mutex_);
  for (Entry& entry : entries_) {
    if (entry.hash == hash && sameBytes(entry.der, der)) {
      entry.lastUse = ++clock_;
      return entry.key;
    }
  }
  return nullptr;
}

void RsaKeyCache::insert(std::size_t hash, std::span<const std::uint8_t> der,
                         std::shared_ptr<const RsaPublicKey> key) {
  if (capacity_ == 0 || !key) return;
  std::vector<std::uint8_t> bytes(der.begin(), der.end());
  const std::lock_guard lock(mutex_);
  for (const Entry& entry : entries_) {
    if (entry.hash == hash && sameBytes(entry.der, der)) return;
  }
  Entry fresh{hash, std::move(bytes), std::move(key), ++clock_};
  if (entries_.size() < capacity_) {
    entries_.push_back(std::move(fresh));
    return;
  }
  auto oldest =
      std::min_element(entries_.begin(), entries_.end(),
                       [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
  // The evicted key may still be in use by another thread; its shared_ptr keeps it alive.
  *oldest = std::move(fresh);
}

}  // namespace sdkcore
