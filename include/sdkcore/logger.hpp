#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "sdkcore/export.h"
#include "sdkcore/log_interface.hpp"

namespace sdkcore {

// The process-wide logger: hands every event to the sinks the host attached, in registration
// order, synchronously on the logging thread. There are no levels, no filtering and no buffering.
//
// Thread safety: all operations may be called from any thread at once. The sink list is guarded
// by a mutex that is never held while sinks run; sinks may therefore log, add sinks or remove
// sinks themselves.
class SDKCORE_EXPORT Logger {
 public:
  static constexpr std::string_view TAG = "SDK-Core";

  // Returns the one process-wide instance, created on first use; never destroyed, so sinks may
  // still log from static destructors at exit.
  static Logger& shared();

  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  // Appends 'logger' to the sinks and keeps it until it is removed. A sink added twice receives
  // every event twice; a null sink is ignored at delivery.
  virtual void addLogInterface(std::shared_ptr<LogInterface> logger);

  // Delivers the event unchanged to a snapshot of the sinks, first registered first. A sink added
  // during delivery receives only later events; a sink removed during delivery receives no event
  // that has not reached it yet. An event logged on a thread while that thread is inside a
  // sink's log() (the sink logs, or makes a token) is not delivered to that sink again, only to
  // the others. Never throws: an exception thrown by a sink is caught and dropped, and the
  // remaining sinks still receive the event.
  virtual void log(const std::type_info& classMethod, const std::string& tag,
                   const std::string& message, std::shared_ptr<const std::exception> exception);

  // Detaches every registration of 'logger' and returns whether there was one. In every case no
  // delivery to the sink starts after it returns, and the logger releases its references to the
  // sink (deliveries in progress keep theirs until they end).
  // - Called outside any sink's log(): it also waits for the deliveries to that sink that are in
  //   progress on other threads, so once it returns the sink is never called again. It must not
  //   be called while holding a lock that the sink takes.
  // - Called from inside a sink's log() (any sink's, on this thread): it returns at once without
  //   waiting, so two sinks that remove each other from two threads cannot deadlock. Deliveries
  //   to the removed sink already in progress on other threads may still be running.
  virtual bool removeLogInterface(const std::shared_ptr<LogInterface>& logger);

  // True when at least one sink is attached; lets callers skip building messages nobody reads.
  // Lock-free.
  bool hasLogInterfaces() const noexcept;

 protected:
  Logger();
  virtual ~Logger();

 private:
  struct Registration;

  using Registrations = std::vector<std::shared_ptr<Registration>>;

  mutable std::mutex mutex_;
  std::condition_variable deliveryEnded_;
  // Replaced, never changed in place, so that an event takes its snapshot by copying one pointer.
  std::shared_ptr<const Registrations> registrations_;
  std::atomic<bool> hasRegistrations_{
      false};  // registrations_ not empty, readable without the lock
  std::vector<std::shared_ptr<Registration>> draining_;  // removed, with deliveries in progress
};

}  // namespace sdkcore
