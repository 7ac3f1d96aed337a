// The reading text helpers: toIntOrNil against std::from_chars, toExpDate, and parseColor, on
// any bytes and on colours written from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "fuzz_support.hpp"
#include "sdkcore/string_extensions.hpp"

namespace {

using namespace sdkcore;

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// An optional sign and ASCII digits only, in the signed 64-bit range.
std::optional<std::int64_t> referenceInt(std::string_view text) {
  const bool sign = text.starts_with('+') || text.starts_with('-');
  const std::string_view digits = text.substr(sign ? 1 : 0);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isAsciiDigit)) return {};
  // std::from_chars takes a "-" but no "+".
  const std::string_view number = text.starts_with('+') ? digits : text;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return {};
  return value;
}

// On success the first two characters are the month and the last two the year after 2000.
void checkExpiry(std::string_view text) {
  try {
    const ExpiryDate date = toExpDate(text);
    SDKCORE_FUZZ_CHECK(text.size() >= 4 && isAsciiDigit(text[0]) && isAsciiDigit(text[1]));
    const std::string_view year = text.substr(text.size() - 2);
    SDKCORE_FUZZ_CHECK(isAsciiDigit(year[0]) && isAsciiDigit(year[1]));
    SDKCORE_FUZZ_CHECK(date.expMonth() == (text[0] - '0') * 10 + (text[1] - '0'));
    SDKCORE_FUZZ_CHECK(date.expYear() == 2000 + (year[0] - '0') * 10 + (year[1] - '0'));
  } catch (const ExpDateError& error) {
    SDKCORE_FUZZ_CHECK(error.code() == -1 && !error.localizedDescription().empty());
  }
}

bool inUnitRange(double component) { return component >= 0 && component <= 1; }

void checkColor(std::string_view text, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const Color any = parseColor(text);
  SDKCORE_FUZZ_CHECK(inUnitRange(any.red) && inUnitRange(any.green) && inUnitRange(any.blue) &&
                     any.alpha == 1);
  char written[8];
  std::snprintf(written, sizeof written, "#%02X%02X%02X", red, green, blue);
  const Color exact = parseColor(written);
  SDKCORE_FUZZ_CHECK((exact == Color{red / 255.0, green / 255.0, blue / 255.0, 1}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const auto red = provider.ConsumeIntegral<std::uint8_t>();
  const auto green = provider.ConsumeIntegral<std::uint8_t>();
  const auto blue = provider.ConsumeIntegral<std::uint8_t>();
  const std::string text = provider.ConsumeRemainingBytesAsString();
  SDKCORE_FUZZ_CHECK(toIntOrNil(text) == referenceInt(text));
  checkExpiry(text);
  checkColor(text, red, green, blue);
  return 0;
}
