#include "log_sink.hpp"

#include <cstdint>

#include "sdkcore/param_field.hpp"

namespace sdkcore::cli {
namespace {

void appendEscape(std::string& out, std::uint32_t codePoint) {
  switch (codePoint) {
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    case 0:
      out += "\\0";
      return;
    default:
      break;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kHex[codePoint % 16]);
    codePoint /= 16;
  } while (codePoint != 0);
  if (digits.size() < 2) digits.insert(digits.begin(), '0');
  out += "\\u{" + digits + "}";
}

}  // namespace

std::string escapeControlCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = [&](std::size_t k) {
      return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
    };
    if (byte < 0x20 || byte == 0x7F) {
      appendEscape(out, byte);
    } else if (byte == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F) {  // C1 controls, NEL
      appendEscape(out, next(1));
      ++i;
    } else if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) {
      appendEscape(out,
                   0x2000u + next(2) - 0x80u);  // U+2028, U+2029: line and paragraph separators
      i += 2;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

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
