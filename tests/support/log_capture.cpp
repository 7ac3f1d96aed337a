#include "support/log_capture.hpp"

#include <atomic>
#include <mutex>
#include <stdexcept>

#include "sdkcore/log_interface.hpp"
#include "sdkcore/logger.hpp"

namespace sdkcore::testing {
namespace {

class RecordingSink : public LogInterface {
 public:
  void log(const std::type_info& classType, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override {
    if (!active_) return;
    std::lock_guard lock(mutex_);
    events_.push_back({&classType, tag, message, std::move(exception)});
  }

  void start() {
    std::lock_guard lock(mutex_);
    events_.clear();
    active_ = true;
  }
  void stop() { active_ = false; }
  std::vector<LoggedEvent> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::atomic<bool> active_{false};
  mutable std::mutex mutex_;
  std::vector<LoggedEvent> events_;
};

class ThrowingSink : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string&,
           std::shared_ptr<const std::exception>) override {
    if (active_) throw std::runtime_error("sink failure");
  }
  std::atomic<bool> active_{false};
};

RecordingSink& recordingSink() {
  static const auto sink = [] {
    auto made = std::make_shared<RecordingSink>();
    Logger::shared().addLogInterface(made);
    return made;
  }();
  return *sink;
}

ThrowingSink& throwingSink() {
  static const auto sink = [] {
    auto made = std::make_shared<ThrowingSink>();
    Logger::shared().addLogInterface(made);
    return made;
  }();
  return *sink;
}

}  // namespace

std::optional<ParamField> LoggedEvent::exceptionField() const {
  const auto* error = dynamic_cast<const ParamFieldError*>(exception.get());
  if (error == nullptr) return std::nullopt;
  return error->field();
}

LogCapture::LogCapture() { recordingSink().start(); }
LogCapture::~LogCapture() { recordingSink().stop(); }

std::vector<LoggedEvent> LogCapture::events() const { return recordingSink().events(); }

std::vector<std::string> LogCapture::messages() const {
  std::vector<std::string> messages;
  for (const LoggedEvent& event : events()) messages.push_back(event.message);
  return messages;
}

ThrowingSinkScope::ThrowingSinkScope() { throwingSink().active_ = true; }
ThrowingSinkScope::~ThrowingSinkScope() { throwingSink().active_ = false; }

}  // namespace sdkcore::testing
