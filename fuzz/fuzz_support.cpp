#include "fuzz_support.hpp"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <fstream>
#include <sstream>

namespace sdkcore::fuzzing {
namespace {

std::string fileText(const char* path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  if (text.str().empty()) {
    std::fprintf(stderr, "cannot read %s\n", path);
    std::abort();
  }
  return text.str();
}

}  // namespace

bool isUtf8(std::string_view text) {
  return everyCodePoint(text, [](UChar32) { return true; });
}

bool everyCodePoint(std::string_view text, bool (*keep)(UChar32)) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int64_t>(text.size());
  for (std::int64_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0 || !keep(c)) return false;
  }
  return true;
}

bool isWhiteSpace(UChar32 c) {
  const auto type = u_charType(c);
  return c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x85 || type == U_SPACE_SEPARATOR ||
         type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

const std::string& demoPublicKey() {
  static const std::string pem = fileText(SDKCORE_DEMO_PUBLIC_KEY);
  return pem;
}

const std::string& demoPrivateKey() {
  static const std::string pem = fileText(SDKCORE_DEMO_PRIVATE_KEY);
  return pem;
}

}  // namespace sdkcore::fuzzing
