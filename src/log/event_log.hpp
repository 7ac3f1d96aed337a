#pragma once

#include <exception>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>

#include "base/wiped_text.hpp"
#include "sdkcore/logger.hpp"
#include "sdkcore/param_field.hpp"

namespace sdkcore {

// Writes the events of one token request to `Logger::shared()` with the reporting class's type
// and `Logger::TAG`. Messages are built only when a sink is attached, and nothing a sink or the
// message building does (throwing included) can reach the request: logging never changes an
// outcome. Thread-safe as far as the attached sinks are.
class EventLog {
 public:
  // The error object of events about 'field': one shared, immutable instance per field, so that
  // an event carries it without an allocation.
  static std::shared_ptr<const std::exception> fieldError(ParamField field);

  explicit EventLog(const std::type_info& classType) noexcept : classType_(classType) {}

  // Logs the message that 'buildMessage()' returns, with no exception.
  template <typename BuildMessage>
  void write(BuildMessage&& buildMessage) const noexcept {
    deliver([&] { return std::pair{buildMessage(), std::shared_ptr<const std::exception>()}; });
  }

  // Logs the message that 'buildMessage()' returns, with 'field' as the error object.
  template <typename BuildMessage>
  void write(BuildMessage&& buildMessage, ParamField field) const noexcept {
    deliver([&] { return std::pair{buildMessage(), fieldError(field)}; });
  }

  // Logs the message that 'buildMessage()' returns, with a copy of 'error' as the error object.
  template <typename BuildMessage, typename Error>
  void writeError(BuildMessage&& buildMessage, const Error& error) const noexcept {
    deliver([&] {
      return std::pair{buildMessage(),
                       std::shared_ptr<const std::exception>(std::make_shared<Error>(error))};
    });
  }

 private:
  template <typename BuildEvent>
  void deliver(BuildEvent&& buildEvent) const noexcept {
    try {
      Logger& logger = Logger::shared();
      if (!logger.hasLogInterfaces()) return;
      auto [message, exception] = buildEvent();
      // Messages show the card data masked (card numbers in other fields too), and the holder's
      // name in clear: the message is wiped once the sinks have seen it.
      const WipeOnExit wipeMessage(message);
      logger.log(classType_, std::string(Logger::TAG), message, std::move(exception));
    } catch (...) {
      // A failing sink or an allocation failure while describing the event must not turn a
      // request into a failure.
    }
  }

  const std::type_info& classType_;
};

}  // namespace sdkcore
