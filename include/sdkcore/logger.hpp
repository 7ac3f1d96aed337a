#pragma once

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "sdkcore/log_interface.hpp"

namespace sdkcore {

// The process-wide logger: hands every event to the sinks the host attached, in registration
// order, synchronously on the logging thread. There are no levels, no filtering and no buffering.
//
// Thread safety: all operations may be called from any thread at once. The sink list is an
// immutable snapshot replaced whole when a sink is appended; a mutex is held only while the
// snapshot is replaced or taken for one delivery, never while sinks run, so sinks may log or add
// sinks themselves. hasLogInterfaces() takes no lock.
class Logger {
 public:
  static constexpr std::string_view TAG = "SDK-Core";

  // Returns the one process-wide instance, created on first use; never destroyed, so sinks may
  // still log from static destructors at exit.
  static Logger& shared();

  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // Appends 'logger' to the sinks and keeps it for the life of the process; there is no removal.
  // A sink added twice receives every event twice; a null sink is ignored at delivery.
  virtual void addLogInterface(std::shared_ptr<LogInterface> logger);

  // Delivers the event unchanged to a snapshot of the sinks, first registered first. A sink added
  // during delivery receives only later events. Never throws: an exception thrown by a sink is
  // caught and dropped, and the remaining sinks still receive the event.
  virtual void log(const std::type_info& classMethod, const std::string& tag,
                   const std::string& message, std::shared_ptr<const std::exception> exception);

  // True when at least one sink is attached; lets callers skip building messages nobody reads.
  // Lock-free.
  bool hasLogInterfaces() const noexcept;

 protected:
  Logger() = default;
  virtual ~Logger() = default;

 private:
  using Sinks = std::vector<std::shared_ptr<LogInterface>>;

  mutable std::mutex mutex_;
  std::shared_ptr<const Sinks> logInterfaces_ = std::make_shared<const Sinks>();
  std::atomic<bool> hasLogInterfaces_{false};
};

}  // namespace sdkcore
