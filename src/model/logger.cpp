#include "sdkcore/logger.hpp"

#include <new>
#include <utility>

namespace sdkcore {
namespace {

// The concrete type of the one instance; Logger's constructor is not public.
class SharedLogger final : public Logger {
 public:
  SharedLogger() = default;
};

// Storage for an object whose destructor never runs. Sinks may log from other static
// destructors or from threads still running at exit, so the shared logger must outlive them all.
template <typename T>
class NoDestructor {
 public:
  NoDestructor() { new (storage_) T(); }
  NoDestructor(const NoDestructor&) = delete;
  NoDestructor& operator=(const NoDestructor&) = delete;
  T& get() noexcept { return *std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace

Logger& Logger::shared() {
  // Initialised once, thread-safely, on first use (a function-local static).
  static NoDestructor<SharedLogger> instance;
  return instance.get();
}

void Logger::addLogInterface(std::shared_ptr<LogInterface> logger) {
  std::shared_ptr<const Sinks> old;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto extended = std::make_shared<Sinks>(*logInterfaces_);
    extended->push_back(std::move(logger));
    old = std::exchange(logInterfaces_, std::move(extended));
  }
  hasLogInterfaces_.store(true, std::memory_order_release);
}

void Logger::log(const std::type_info& classMethod, const std::string& tag,
                 const std::string& message, std::shared_ptr<const std::exception> exception) {
  // The lock covers only taking the snapshot: sinks run unlocked, so a sink may log or add sinks
  // itself (a sink added now receives later events only), and a slow sink blocks no other thread.
  if (!hasLogInterfaces()) return;
  std::shared_ptr<const Sinks> snapshot;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    snapshot = logInterfaces_;
  }
  for (const auto& sink : *snapshot) {
    if (!sink) continue;
    // Logging must never fail an operation of the library or stop delivery to the other sinks,
    // so whatever a sink throws is caught here and dropped.
    try {
      sink->log(classMethod, tag, message, exception);
    } catch (...) {
    }
  }
}

bool Logger::hasLogInterfaces() const noexcept {
  return hasLogInterfaces_.load(std::memory_order_acquire);
}

}  // namespace sdkcore
