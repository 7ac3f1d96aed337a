#include "sdkcore/regex.hpp"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <unicode/regex.h>
#include <unicode/utypes.h>

#include "sdkcore/string_extensions.hpp"
#include "text/ascii_pattern.hpp"
#include "text/unicode_text.hpp"

namespace sdkcore {

// The compiled pattern. icu::RegexPattern is immutable and safe to share between threads; the
// matchers made from it are not, so every call makes its own. ASCII input skips ICU where the
// pattern has an ASCII fast path, which gives ICU's answers.
struct Regex::Impl {
  std::string source;
  std::unique_ptr<icu::RegexPattern> compiled;
  std::optional<AsciiPattern> ascii;
};

namespace {

std::uint32_t icuFlags(RegexOptions options) {
  const auto bits = static_cast<std::uint32_t>(options);
  const auto known = static_cast<std::uint32_t>(RegexOptions::caseInsensitive);
  if ((bits & ~known) != 0) {
    throw std::invalid_argument("unsupported regular expression options: " + std::to_string(bits));
  }
  return (bits & known) != 0 ? UREGEX_CASE_INSENSITIVE : 0;
}

// ICU's replaceAll() reads "$n" and "\" in the replacement; escape them so it is literal.
icu::UnicodeString literalReplacement(std::string_view replacement) {
  std::string escaped;
  escaped.reserve(replacement.size());
  for (const char c : replacement) {
    if (c == '\\' || c == '$') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return toUnicodeString(escaped);
}

std::unique_ptr<icu::RegexMatcher> makeMatcher(const icu::RegexPattern& pattern,
                                               const icu::UnicodeString& input,
                                               UErrorCode& status) {
  return std::unique_ptr<icu::RegexMatcher>(pattern.matcher(input, status));
}

}  // namespace

bool Regex::findIn(std::string_view text) const noexcept {
  if (impl_->ascii && isAscii(text)) {
    if (const std::optional<bool> found = impl_->ascii->findIn(text)) return *found;
  }
  try {
    const WipedUnicodeString input = toUnicodeString(text);
    UErrorCode status = U_ZERO_ERROR;
    const auto matcher = makeMatcher(*impl_->compiled, input, status);
    if (U_FAILURE(status) || !matcher) return false;
    const bool found = matcher->find(status);
    return U_SUCCESS(status) && found;
  } catch (...) {
    // Only memory exhaustion or an over-long text get here; neither can match.
    return false;
  }
}

std::string Regex::replaceAll(std::string_view text, std::string_view replacement) const {
  if (impl_->ascii && isAscii(text)) {
    if (std::optional<std::string> replaced = impl_->ascii->replaceAll(text, replacement)) {
      return *std::move(replaced);
    }
  }
  const WipedUnicodeString input = toUnicodeString(text);
  UErrorCode status = U_ZERO_ERROR;
  const auto matcher = makeMatcher(*impl_->compiled, input, status);
  WipedUnicodeString result;
  if (U_SUCCESS(status) && matcher)
    result.moveFrom(matcher->replaceAll(literalReplacement(replacement), status));
  if (U_FAILURE(status) || !matcher) {
    throw std::runtime_error("regular expression replacement failed for pattern \"" +
                             impl_->source + "\": " + u_errorName(status));
  }
  return toUtf8(result);
}

const std::string& Regex::pattern() const noexcept { return impl_->source; }

Regex toRegex(std::string_view pattern, RegexOptions options) {
  const std::uint32_t flags = icuFlags(options);
  UErrorCode status = U_ZERO_ERROR;
  UParseError where{};
  std::unique_ptr<icu::RegexPattern> compiled(
      icu::RegexPattern::compile(toUnicodeString(pattern), flags, where, status));
  if (U_FAILURE(status) || !compiled) {
    throw std::invalid_argument("invalid regular expression pattern \"" + std::string(pattern) +
                                "\": " + u_errorName(status) + " at offset " +
                                std::to_string(where.offset));
  }
  auto impl = std::make_shared<Regex::Impl>();
  impl->source = std::string(pattern);
  impl->compiled = std::move(compiled);
  impl->ascii = AsciiPattern::compile(pattern, flags);
  return Regex(std::move(impl));
}

}  // namespace sdkcore
