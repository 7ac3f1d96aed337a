#pragma once

#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "sdkcore/log_interface.hpp"

namespace sdkcore::cli {

// The line of one event: "<tag>: <message>", then " (<case name>)" for a `ParamFieldError` or
// " (<what()>)" for any other error, control characters escaped, without the line feed.
std::string formatLogLine(const std::string& tag, const std::string& message,
                          const std::exception* exception);

// A log sink that writes each event as one line, to a stdio stream (standard error for
// `sdkcore token --log`) or through a line writer. Thread-safe: lines of concurrent events never
// interleave.
class StreamLogSink : public LogInterface {
 public:
  // Takes one line without its line feed; must be thread-safe and must not throw.
  using LineWriter = std::function<void(std::string_view line)>;

  explicit StreamLogSink(std::FILE* stream);
  explicit StreamLogSink(LineWriter writeLine) : writeLine_(std::move(writeLine)) {}

  void log(const std::type_info& classType, const std::string& tag, const std::string& message,
           std::shared_ptr<const std::exception> exception) override;

 private:
  LineWriter writeLine_;
};

}  // namespace sdkcore::cli
