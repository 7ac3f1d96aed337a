#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "sdkcore/param_field.hpp"

// Records the events the library logs while a LogCapture object is alive. The logger keeps its
// sinks for the whole process, so one recording sink is attached on first use and records only
// while a capture is active; sinks of other tests are left alone.
namespace sdkcore::testing {

struct LoggedEvent {
  const std::type_info* classType;
  std::string tag;
  std::string message;
  std::shared_ptr<const std::exception> exception;

  // The field of a ParamFieldError exception; nullopt for no exception or another kind.
  std::optional<ParamField> exceptionField() const;
};

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<LoggedEvent> events() const;
  std::vector<std::string> messages() const;
};

// While alive, makes an extra sink (attached once per process) throw from every event.
class ThrowingSinkScope {
 public:
  ThrowingSinkScope();
  ~ThrowingSinkScope();
  ThrowingSinkScope(const ThrowingSinkScope&) = delete;
  ThrowingSinkScope& operator=(const ThrowingSinkScope&) = delete;
};

}  // namespace sdkcore::testing
