#include "sdkcore/validation_result.hpp"

#include <atomic>
#include <memory>
#include <mutex>

namespace sdkcore {

// The process-wide VALID value. Readers copy the shared_ptr under a mutex and read the immutable
// value outside it, so a concurrent store never frees what is being copied and the lock is held
// only for a reference-count increment. A mutex rather than std::atomic<std::shared_ptr>: the
// latter's load in libstdc++ 12 releases its internal lock with relaxed ordering, which leaves the
// pointer read racing with the next store (reported by ThreadSanitizer, and a real reordering on
// weakly ordered processors). Until a host replaces the value, readers skip the lock and the
// shared count: every passing rule reads it, on every thread.
struct ValidResultSlot {
  static ValidResultSlot& get() {
    static ValidResultSlot slot;
    return slot;
  }

  // True once a value has been stored; it never becomes false again.
  bool replaced() const noexcept { return replaced_.load(std::memory_order_acquire); }

  std::shared_ptr<const ValidationResult> load() const {
    const std::lock_guard lock(mutex_);
    return value_;
  }

  void store(std::shared_ptr<const ValidationResult> value) {
    {
      const std::lock_guard lock(mutex_);
      value_.swap(value);  // the old value is released after the lock
    }
    replaced_.store(true, std::memory_order_release);
  }

 private:
  std::atomic<bool> replaced_{false};
  mutable std::mutex mutex_;
  std::shared_ptr<const ValidationResult> value_ =
      std::make_shared<ValidationResult>(ValidationResult(true, std::nullopt, std::nullopt));
};

ValidationResult ValidationResult::VALID() {
  const ValidResultSlot& slot = ValidResultSlot::get();
  if (!slot.replaced()) return ValidationResult(true, std::nullopt, std::nullopt);
  return *slot.load();
}

void ValidationResult::setVALID(ValidationResult result) {
  ValidResultSlot::get().store(std::make_shared<ValidationResult>(std::move(result)));
}

ValidationResult ValidationResult::error(std::string errorCode, std::string errorMessage) {
  return ValidationResult(false, std::move(errorCode), std::move(errorMessage));
}

}  // namespace sdkcore
