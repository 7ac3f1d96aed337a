#include "log_sink.hpp"

#include "model/text_form.hpp"
#include "sdkcore/param_field.hpp"

namespace sdkcore::cli {

std::string formatLogLine(const std::string& tag, const std::string& message,
                          const std::exception* exception) {
  std::string line = tag + ": " + message;
  if (exception != nullptr) {
    if (const auto* field = dynamic_cast<const ParamFieldError*>(exception)) {
      line += " (" + std::string(caseName(field->field())) + ")";
    } else {
      line += " (" + std::string(exception->what()) + ")";
    }
  }
  return escapeControlCharacters(line);
}

void StreamLogSink::log(const std::type_info&, const std::string& tag, const std::string& message,
                        std::shared_ptr<const std::exception> exception) {
  // A sink must not throw into the library; an event that cannot be formatted is dropped.
  try {
    std::string line = formatLogLine(tag, message, exception.get());
    line += '\n';
    const std::lock_guard<std::mutex> lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), stream_);
    std::fflush(stream_);
  } catch (...) {
  }
}

}  // namespace sdkcore::cli
