#include "fuzz_support.hpp"

#include "support/payment_string_fields.hpp"

#include <unicode/timezone.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cmath>
#include <ctime>
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

void useUtc() {
  setenv("TZ", "UTC", 1);
  tzset();
  icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Etc/UTC"));
}

void checkPaymentString(const std::string& plain, const std::string& tail,
                        std::optional<double> timestamp) {
  SDKCORE_FUZZ_CHECK(plain.ends_with("/" + tail));
  // The date, "/", the 36-character UUID and "/" come first; the date is checked where the C
  // library renders it.
  const std::size_t head = plain.size() - tail.size();
  SDKCORE_FUZZ_CHECK(head >= 38 && plain[head - 1] == '/' && plain[head - 38] == '/');
  if (!timestamp) return;
  const double seconds = std::trunc(*timestamp);
  if (seconds >= -2'208'988'800 && seconds <= 253'402'300'799) {
    const auto date = testing::utcDate(static_cast<std::int64_t>(seconds));
    SDKCORE_FUZZ_CHECK(plain.starts_with(date + "/"));
  }
}

}  // namespace sdkcore::fuzzing
