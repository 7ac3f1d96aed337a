#include "log_sink.hpp"

#include <mutex>

#include "sdkcore/param_field.hpp"
#include "sdkcore/string_extensions.hpp"

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

StreamLogSink::StreamLogSink(std::FILE* stream)
    : writeLine_([stream, mutex = std::make_shared<std::mutex>()](std::string_view line) {
        const std::lock_guard<std::mutex> lock(*mutex);
        std::fwrite(line.data(), 1, line.size(), stream);
        std::fputc('\n', stream);
        std::fflush(stream);
      }) {}

void StreamLogSink::log(const std::type_info&, const std::string& tag, const std::string& message,
                        std::shared_ptr<const std::exception> exception) {
  // A sink must not throw into the library; an event that cannot be formatted is dropped.
  try {
    writeLine_(formatLogLine(tag, message, exception.get()));
  } catch (...) {
  }
}

}  // namespace sdkcore::cli
