#include "sdkcore/validation_result.hpp"

#include <atomic>
#include <memory>

namespace sdkcore {

// The process-wide VALID value. An atomic shared_ptr lets every passing rule read it without a
// mutex while a host may still replace it at any time: a reader takes a reference to the current
// immutable value, so a concurrent store never frees what is being copied.
struct ValidResultSlot {
  static std::atomic<std::shared_ptr<const ValidationResult>>& get() {
    static std::atomic<std::shared_ptr<const ValidationResult>> slot{
        std::make_shared<ValidationResult>(ValidationResult(true, std::nullopt, std::nullopt))};
    return slot;
  }
};

ValidationResult ValidationResult::VALID() {
  return *ValidResultSlot::get().load(std::memory_order_acquire);
}

void ValidationResult::setVALID(ValidationResult result) {
  ValidResultSlot::get().store(std::make_shared<ValidationResult>(std::move(result)),
                               std::memory_order_release);
}

ValidationResult ValidationResult::error(std::string errorCode, std::string errorMessage) {
  return ValidationResult(false, std::move(errorCode), std::move(errorMessage));
}

}  // namespace sdkcore
