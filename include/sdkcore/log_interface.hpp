#pragma once

#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

#include "sdkcore/export.h"

namespace sdkcore {

// A log sink that the host attaches to `Logger::shared()`.
class SDKCORE_EXPORT LogInterface {
 public:
  virtual ~LogInterface() = default;

  // Receives one event. 'classType' is the type of the reporting class (`SdkCore`), 'tag' is
  // `Logger::TAG`, 'exception' is the error the event reports or null. Called synchronously on
  // the logging thread, possibly from several threads at once. Events that the call itself
  // causes on its thread (it logs, or makes a token) are not delivered to this sink. Should not
  // throw; the logger drops whatever it throws.
  virtual void log(const std::type_info& classType, const std::string& tag,
                   const std::string& message, std::shared_ptr<const std::exception> exception) = 0;
};

}  // namespace sdkcore
