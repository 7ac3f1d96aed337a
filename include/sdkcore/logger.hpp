#pragma once

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
// order. Thread-safe: sinks may be added while other threads log.
class Logger {
 public:
  static constexpr std::string_view TAG = "SDK-Core";

  // Returns the one process-wide instance, created on first use; never destroyed.
  static Logger& shared();

  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // Appends 'logger' to the sinks; a sink added twice receives every event twice.
  virtual void addLogInterface(std::shared_ptr<LogInterface> logger);

  // Delivers the event to a snapshot of the sinks, synchronously, first registered first.
  // A sink added during delivery receives only later events.
  virtual void log(const std::type_info& classMethod, const std::string& tag,
                   const std::string& message, std::shared_ptr<const std::exception> exception);

  // True when at least one sink is attached; lets callers skip building messages nobody reads.
  bool hasLogInterfaces() const;

 protected:
  Logger() = default;
  virtual ~Logger() = default;

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<LogInterface>> logInterfaces_;
};

}  // namespace sdkcore
