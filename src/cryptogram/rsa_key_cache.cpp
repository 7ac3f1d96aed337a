#include "rsa_key_cache.hpp"

#include <algorithm>
#include <string_view>

namespace sdkcore {

RsaKeyCache& RsaKeyCache::shared() {
  static RsaKeyCache cache;
  return cache;
}

std::shared_ptr<const RsaPublicKey> RsaKeyCache::getOrImport(std::string_view keyText,
                                                             const Import& import) {
  if (keyText.size() > kMaxCachedTextSize) return import(keyText);
  const std::size_t hash = std::hash<std::string_view>{}(keyText);
  if (auto key = find(hash, keyText)) return key;
  // Two threads that miss at once both import; the second insert finds the first one's entry.
  auto key = import(keyText);
  insert(hash, keyText, key);
  return key;
}

std::size_t RsaKeyCache::size() const {
  const std::lock_guard lock(mutex_);
  return entries_.size();
}

std::shared_ptr<const RsaPublicKey> RsaKeyCache::find(std::size_t hash, std::string_view keyText) {
  const std::lock_guard lock(mutex_);
  for (Entry& entry : entries_) {
    if (entry.hash == hash && entry.keyText == keyText) {
      entry.lastUse = ++clock_;
      return entry.key;
    }
  }
  return nullptr;
}

void RsaKeyCache::insert(std::size_t hash, std::string_view keyText,
                         std::shared_ptr<const RsaPublicKey> key) {
  if (capacity_ == 0 || !key) return;
  std::string text(keyText);
  const std::lock_guard lock(mutex_);
  for (const Entry& entry : entries_) {
    if (entry.hash == hash && entry.keyText == keyText) return;
  }
  Entry fresh{hash, std::move(text), std::move(key), ++clock_};
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
