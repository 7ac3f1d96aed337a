#pragma once

#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "sdkcore/log_interface.hpp"

namespace sdkcore::cli {

// The line of one event: "<tag>: <message>", then " (<case name>)" for a `ParamFieldError` or
// " (<what()>)" for any other error, control characters escaped, without the line feed.
std::string formatLogLine(const std::string& tag, const std::string& message,
                          const std::exception* exception);

// A log sink that writes each event as one line to a stdio stream (standard error for
// `sdkcore token --log`). Thread-safe: lines of concurrent events never interleave.
class StreamLogSink : public LogInterface {
 public:
  explicit StreamLogSink(std::FILE* stream) : stream_(stream) {}

  void log(const std::type_info& classType, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override;

 private:
  std::mutex mutex_;
  std::FILE* stream_;
};

}  // namespace sdkcore::cli
