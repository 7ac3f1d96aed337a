#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include <unicode/umachine.h>

// Shared by the fuzz targets: checks that report a finding, and the fixed inputs they need.
namespace sdkcore::fuzzing {

// Reports a broken property as a finding: libFuzzer saves the input that made 'condition' false.
#define SDKCORE_FUZZ_CHECK(condition)                                                    \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// True when 'text' is well-formed UTF-8.
bool isUtf8(std::string_view text);

// True when 'text' is well-formed UTF-8 and 'keep' holds for each of its code points.
bool everyCodePoint(std::string_view text, bool (*keep)(UChar32));

// White space as the library's patterns (\s) and its required rule read it: tab, U+000A to
// U+000D, U+0085 and Unicode category Z.
bool isWhiteSpace(UChar32 c);

// The PEM texts of the demo key pair that the sdkcore program ships.
const std::string& demoPublicKey();
const std::string& demoPrivateKey();

// Makes UTC the zone of the C library and of ICU: the payment string's date is written in the
// device's zone and checked in UTC.
void useUtc();

// Reports a finding unless 'plain' is a payment string ending in 'tail': a date, "/", a
// 36-character UUID, "/" and 'tail'. When 'timestamp' is given and its year lies in 1900 to 9999,
// the date must be its date in UTC.
void checkPaymentString(const std::string& plain, const std::string& tail,
                        std::optional<double> timestamp);

}  // namespace sdkcore::fuzzing
