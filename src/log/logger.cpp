#include "sdkcore/logger.hpp"

#include <algorithm>
#include <utility>

#include "base/no_destructor.hpp"

namespace sdkcore {

// One attachment of a sink. A delivery counts itself in 'deliveries' and then checks 'removed';
// a removal sets 'removed' and then reads 'deliveries'. Both sequentially consistent, so either
// the delivery sees the removal and skips the sink, or the removal sees the delivery and waits
// for it (the last delivery to end wakes it under the logger's mutex).
struct Logger::Registration {
  explicit Registration(std::shared_ptr<LogInterface> sink) : sink(std::move(sink)) {}

  std::shared_ptr<LogInterface> sink;
  std::atomic<bool> removed{false};
  std::atomic<int> deliveries{0};  // calls through this registration in progress, on any thread
};

namespace {

// The concrete type of the one instance; Logger's constructor is not public.
class SharedLogger final : public Logger {
 public:
  SharedLogger() = default;
};

// The sinks being called on this thread, innermost first, as a chain of stack frames (a sink may
// log, so deliveries nest). Removal reads it to know that it runs inside a sink's call.
struct Delivery {
  const LogInterface* sink;
  const Delivery* outer;
};
thread_local const Delivery* deliveriesOnThisThread = nullptr;

// Marks one call of a sink on this thread for the duration of the scope.
class DeliveryScope {
 public:
  explicit DeliveryScope(const LogInterface* sink) noexcept
      : delivery_{sink, deliveriesOnThisThread} {
    deliveriesOnThisThread = &delivery_;
  }
  ~DeliveryScope() { deliveriesOnThisThread = delivery_.outer; }
  DeliveryScope(const DeliveryScope&) = delete;
  DeliveryScope& operator=(const DeliveryScope&) = delete;

 private:
  Delivery delivery_;
};

// True when this thread is inside a call of 'sink': an event it logs then (directly, or through
// a token it makes) is not delivered to it again, which would recurse without end.
bool deliveringTo(const LogInterface* sink) noexcept {
  for (const Delivery* delivery = deliveriesOnThisThread; delivery != nullptr;
       delivery = delivery->outer) {
    if (delivery->sink == sink) return true;
  }
  return false;
}

}  // namespace

Logger::Logger() = default;
Logger::~Logger() = default;

Logger& Logger::shared() {
  // Never destroyed: sinks may log from other static destructors or from threads still running
  // at exit.
  static NoDestructor<SharedLogger> instance;
  return instance.get();
}

void Logger::addLogInterface(std::shared_ptr<LogInterface> logger) {
  auto registration = std::make_shared<Registration>(std::move(logger));
  std::lock_guard<std::mutex> lock(mutex_);
  auto next = registrations_ ? std::make_shared<Registrations>(*registrations_)
                             : std::make_shared<Registrations>();
  next->push_back(std::move(registration));
  registrations_ = std::move(next);
  hasRegistrations_.store(true, std::memory_order_release);
}

void Logger::log(const std::type_info& classMethod, const std::string& tag,
                 const std::string& message, std::shared_ptr<const std::exception> exception) {
  // The lock covers only the copy of the list: sinks run unlocked, so a sink may log, add or
  // remove sinks itself, and a slow sink blocks no other thread.
  std::shared_ptr<const Registrations> snapshot;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    snapshot = registrations_;
  }
  if (!snapshot) return;
  for (const auto& registration : *snapshot) {
    if (!registration->sink || deliveringTo(registration->sink.get())) continue;
    registration->deliveries.fetch_add(1);
    if (!registration->removed.load()) {
      const DeliveryScope scope(registration->sink.get());
      // Logging must never fail an operation of the library or stop delivery to the other
      // sinks, so whatever a sink throws is caught here and dropped.
      try {
        registration->sink->log(classMethod, tag, message, exception);
      } catch (...) {
      }
    }
    if (registration->deliveries.fetch_sub(1) == 1 && registration->removed.load()) {
      std::lock_guard<std::mutex> lock(mutex_);
      std::erase(draining_, registration);
      deliveryEnded_.notify_all();
    }
  }
}

bool Logger::removeLogInterface(const std::shared_ptr<LogInterface>& logger) {
  // The list replaced below is released after the lock, so that no sink is destroyed under it.
  std::shared_ptr<const Registrations> replaced;
  std::unique_lock<std::mutex> lock(mutex_);
  if (!registrations_) return false;
  // Allocated first, so that no allocation fails halfway through the removal.
  auto kept = std::make_shared<Registrations>();
  kept->reserve(registrations_->size());
  draining_.reserve(draining_.size() + registrations_->size());
  for (const auto& registration : *registrations_) {
    if (registration->sink != logger) {
      kept->push_back(registration);
    } else {
      registration->removed.store(true);
      if (registration->deliveries.load() > 0) draining_.push_back(registration);
    }
  }
  if (kept->size() == registrations_->size()) return false;
  hasRegistrations_.store(!kept->empty(), std::memory_order_release);
  replaced = std::move(registrations_);
  if (!kept->empty()) registrations_ = std::move(kept);
  // Inside any sink's call, waiting could wait for this very thread: for the sink's own call, or
  // for a sink on another thread that is itself waiting for this thread's delivery to end (X's
  // callback removes Y while Y's callback removes X). No delivery starts after 'removed' is set.
  if (deliveriesOnThisThread != nullptr) return true;
  // Also waits for deliveries through registrations of the same sink removed earlier.
  deliveryEnded_.wait(lock, [&] {
    return std::none_of(draining_.begin(), draining_.end(),
                        [&](const auto& registration) { return registration->sink == logger; });
  });
  return true;
}

bool Logger::hasLogInterfaces() const noexcept {
  return hasRegistrations_.load(std::memory_order_acquire);
}

}  // namespace sdkcore
