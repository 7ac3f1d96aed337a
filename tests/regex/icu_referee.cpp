#include "regex/icu_referee.hpp"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include "unicode/utf8.hpp"

namespace sdkcore::testing {
namespace {

// A bound on ICU's backtracking, in its own steps (about milliseconds each).
constexpr std::int32_t kTimeLimit = 2000;

icu::UnicodeString decoded(std::string_view text) {
  icu::UnicodeString out;
  for (std::size_t at = 0; at < text.size();) {
    const unicode::Decoded d = unicode::decodeAt(text, at);
    out.append(static_cast<UChar32>(d.codePoint));
    at += d.length;
  }
  return out;
}

// ICU reads "$n" and "\" in a replacement; escaped, it is literal.
icu::UnicodeString literalReplacement(std::string_view replacement) {
  const icu::UnicodeString plain = decoded(replacement);
  icu::UnicodeString escaped;
  for (int32_t i = 0; i < plain.length(); ++i) {
    if (plain[i] == u'\\' || plain[i] == u'$') escaped.append(u'\\');
    escaped.append(plain[i]);
  }
  return escaped;
}

std::unique_ptr<icu::RegexMatcher> matcherFor(const icu::RegexPattern& pattern,
                                              const icu::UnicodeString& input) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
  if (U_FAILURE(status)) return nullptr;
  matcher->setTimeLimit(kTimeLimit, status);
  return matcher;
}

}  // namespace

IcuReferee::IcuReferee(std::shared_ptr<const icu::RegexPattern> pattern)
    : pattern_(std::move(pattern)) {}

std::optional<IcuReferee> IcuReferee::compile(std::string_view pattern, bool caseInsensitive) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError where{};
  const std::uint32_t flags = caseInsensitive ? UREGEX_CASE_INSENSITIVE : 0;
  std::shared_ptr<const icu::RegexPattern> compiled(
      icu::RegexPattern::compile(decoded(pattern), flags, where, status));
  if (U_FAILURE(status) || !compiled) return std::nullopt;
  return IcuReferee(std::move(compiled));
}

std::optional<bool> IcuReferee::findIn(std::string_view text) const {
  const icu::UnicodeString input = decoded(text);
  const auto matcher = matcherFor(*pattern_, input);
  UErrorCode status = U_ZERO_ERROR;
  const bool found = matcher->find(status);
  if (U_FAILURE(status)) return std::nullopt;
  return found;
}

std::optional<std::string> IcuReferee::replaceAll(std::string_view text,
                                                  std::string_view replacement) const {
  const icu::UnicodeString input = decoded(text);
  const auto matcher = matcherFor(*pattern_, input);
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString replaced = matcher->replaceAll(literalReplacement(replacement), status);
  if (U_FAILURE(status)) return std::nullopt;
  std::string out;
  replaced.toUTF8String(out);
  return out;
}

bool IcuReferee::matchesWhole(std::string_view text) const {
  const icu::UnicodeString input = decoded(text);
  const auto matcher = matcherFor(*pattern_, input);
  UErrorCode status = U_ZERO_ERROR;
  return matcher->matches(status) && U_SUCCESS(status);
}

}  // namespace sdkcore::testing
