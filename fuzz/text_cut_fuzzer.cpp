// The cutting text helpers: take, takeLast, digitsOnly and noSpaces, on any bytes.
#include <fuzzer/FuzzedDataProvider.h>
#include <unicode/uchar.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "fuzz_support.hpp"
#include "sdkcore/string_extensions.hpp"
#include "text/unicode_text.hpp"

namespace {

using namespace sdkcore;

bool isDigitOrStop(UChar32 c) { return c == '.' || u_charType(c) == U_DECIMAL_DIGIT_NUMBER; }
bool isNoSpaceOrStop(UChar32 c) { return c != '.' && !fuzzing::isWhiteSpace(c); }

void checkCuts(std::string_view text, std::int64_t count) {
  // Cut at the same boundary from both ends, the two parts make up the whole (as valid UTF-8).
  const std::string whole = toValidUtf8(text);
  const std::int64_t characters = characterCount(text);
  const std::int64_t front = std::min(count, characters);
  SDKCORE_FUZZ_CHECK(take(text, front) + takeLast(text, characters - front) == whole);
  SDKCORE_FUZZ_CHECK(take(text, characters) == whole &&
                     takeLast(text, characters + count) == whole);
}

template <typename Clean>
void checkCleaner(Clean clean, bool (*keep)(UChar32), std::string_view text,
                  std::int64_t maxLength) {
  const std::string cleaned = clean(text, std::nullopt);
  SDKCORE_FUZZ_CHECK(fuzzing::everyCodePoint(cleaned, keep));
  SDKCORE_FUZZ_CHECK(clean(cleaned, std::nullopt) == cleaned);
  SDKCORE_FUZZ_CHECK(clean(text, maxLength) == take(cleaned, maxLength));
}

template <typename Call>
void expectInvalidArgument(Call call) {
  try {
    call();
  } catch (const std::invalid_argument&) {
    return;
  }
  SDKCORE_FUZZ_CHECK(!"a negative count is refused");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const auto count = provider.ConsumeIntegralInRange<std::int64_t>(0, 40);
  const std::string text = provider.ConsumeRemainingBytesAsString();
  checkCuts(text, count);
  checkCleaner(digitsOnly, isDigitOrStop, text, count);
  checkCleaner(noSpaces, isNoSpaceOrStop, text, count);
  expectInvalidArgument([&] { take(text, -1 - count); });
  expectInvalidArgument([&] { takeLast(text, -1 - count); });
  expectInvalidArgument([&] { digitsOnly(text, -1 - count); });
  return 0;
}
