// The validators' patterns on text outside ASCII, where no fast path applies: the library's own
// pattern engine beside ICU's regular expressions (linked into this program only, as the
// referee), on the same pattern and text, and the whole validator as a host calls it. ICU's
// figure includes the conversion to UTF-16 that its matcher needs, as a caller of ICU pays it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include "sdkcore/card_holder_validator.hpp"
#include "sdkcore/email_validator.hpp"
#include "sdkcore/regex.hpp"

namespace sdkcore::bench {
namespace {

constexpr std::string_view kHolderPattern = "^[a-zA-Z ]+$";
constexpr std::string_view kEmailPattern =
    R"(^[a-zA-z0-9]+([-+.']\w+)*@[a-z]+([-.][a-z]+)*\.[a-z]+([-.][a-z]+)*$)";
const std::string kHolder = "JOS\u00c9 MAR\u00cdA GARC\u00cdA";
const std::string kEmail = "jos\u00e9.garc\u00eda@example.com";

void ownEngine(benchmark::State& state, std::string_view pattern, const std::string& text) {
  const Regex regex = toRegex(pattern);
  for (auto _ : state) benchmark::DoNotOptimize(regex.findIn(text));
  state.SetItemsProcessed(state.iterations());
}

void icuEngine(benchmark::State& state, std::string_view pattern, const std::string& text) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError where{};
  const std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
      icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(),
                                                    static_cast<std::int32_t>(pattern.size()))),
      0, where, status));
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU cannot compile the pattern");
    return;
  }
  for (auto _ : state) {
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    const std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(input, status));
    benchmark::DoNotOptimize(matcher->find(status));
  }
  state.SetItemsProcessed(state.iterations());
}

template <typename Validator>
void validate(benchmark::State& state, const std::string& text) {
  const Validator validator;
  for (auto _ : state) benchmark::DoNotOptimize(validator.validate(text));
  state.SetItemsProcessed(state.iterations());
}

void validateHolder(benchmark::State& state) { validate<CardHolderValidator>(state, kHolder); }
void validateEmail(benchmark::State& state) { validate<EmailValidator>(state, kEmail); }

BENCHMARK_CAPTURE(ownEngine, holder, kHolderPattern, kHolder)->Name("nonascii_holder_pattern/own");
BENCHMARK_CAPTURE(icuEngine, holder, kHolderPattern, kHolder)->Name("nonascii_holder_pattern/icu");
BENCHMARK_CAPTURE(ownEngine, email, kEmailPattern, kEmail)->Name("nonascii_email_pattern/own");
BENCHMARK_CAPTURE(icuEngine, email, kEmailPattern, kEmail)->Name("nonascii_email_pattern/icu");
BENCHMARK(validateHolder)->Name("nonascii_validate_card_holder");
BENCHMARK(validateEmail)->Name("nonascii_validate_email");

}  // namespace
}  // namespace sdkcore::bench
