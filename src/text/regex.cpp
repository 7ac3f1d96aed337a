#include "sdkcore/regex.hpp"

#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "regex/matcher.hpp"
#include "regex/program.hpp"
#include "regex/syntax_tree.hpp"
#include "text/ascii_pattern.hpp"
#include "unicode/utf8.hpp"

namespace sdkcore {

// The compiled pattern, immutable and shared by copies; every call makes its own matcher. ASCII
// input skips the automaton where the pattern has an ASCII fast path, which gives the same
// answers.
struct Regex::Impl {
  std::string source;
  regex::Program program;
  std::optional<AsciiPattern> ascii;
};

namespace {

bool caseInsensitive(RegexOptions options) {
  const auto bits = static_cast<std::uint32_t>(options);
  const auto known = static_cast<std::uint32_t>(RegexOptions::caseInsensitive);
  if ((bits & ~known) != 0) {
    throw std::invalid_argument("unsupported regular expression options: " + std::to_string(bits));
  }
  return bits != 0;
}

// The size of 'text' once each ill-formed subsequence is U+FFFD (three bytes).
std::size_t validUtf8Size(std::string_view text) noexcept {
  if (unicode::isValidUtf8(text)) return text.size();
  std::size_t size = 0;
  for (std::size_t at = 0; at < text.size();) {
    const unicode::Decoded d = unicode::decodeAt(text, at);
    size += d.codePoint == unicode::kReplacementCharacter ? 3 : d.length;
    at += d.length;
  }
  return size;
}

// Every match, as ICU's replaceAll finds them: after an empty match the next search starts one
// code point further on, after any other at its end (where an empty match may follow).
std::vector<regex::Span> allMatches(const regex::Program& program, std::string_view text) {
  regex::Matcher matcher(program);
  std::vector<regex::Span> matches;
  for (std::size_t from = 0; from <= text.size();) {
    const std::optional<regex::Span> match = matcher.find(text, from, false);
    if (!match) break;
    matches.push_back(*match);
    if (match->begin != match->end) {
      from = match->end;
    } else if (match->end == text.size()) {
      break;
    } else {
      from = match->end + unicode::decodeAt(text, match->end).length;
    }
  }
  return matches;
}

}  // namespace

bool Regex::findIn(std::string_view text) const noexcept {
  if (impl_->ascii && isAsciiText(text)) {
    if (const std::optional<bool> found = impl_->ascii->findIn(text)) return *found;
  }
  try {
    regex::Matcher matcher(impl_->program);
    return matcher.find(text, 0, true).has_value();
  } catch (const std::bad_alloc&) {
    // No memory for the matcher's buffers: nothing can be found.
    return false;
  }
}

// The result is allocated once at its final size: the text may be card data, and growing
// buffers would leave copies of it behind.
std::string Regex::replaceAll(std::string_view text, std::string_view replacement) const {
  if (impl_->ascii && isAsciiText(text) && isAsciiText(replacement)) {
    if (std::optional<std::string> replaced = impl_->ascii->replaceAll(text, replacement)) {
      return *std::move(replaced);
    }
  }
  std::string literal;
  unicode::appendValidUtf8(literal, replacement);
  const std::vector<regex::Span> matches = allMatches(impl_->program, text);
  std::size_t size = matches.size() * literal.size();
  std::size_t copied = 0;
  for (const regex::Span& match : matches) {
    size += validUtf8Size(text.substr(copied, match.begin - copied));
    copied = match.end;
  }
  size += validUtf8Size(text.substr(copied));
  std::string result;
  result.reserve(size);
  copied = 0;
  for (const regex::Span& match : matches) {
    unicode::appendValidUtf8(result, text.substr(copied, match.begin - copied));
    result += literal;
    copied = match.end;
  }
  unicode::appendValidUtf8(result, text.substr(copied));
  return result;
}

const std::string& Regex::pattern() const noexcept { return impl_->source; }

Regex toRegex(std::string_view pattern, RegexOptions options) {
  const bool noCase = caseInsensitive(options);
  auto impl = std::make_shared<Regex::Impl>();
  try {
    impl->program = regex::compile(pattern, noCase);
  } catch (const regex::PatternError& error) {
    throw std::invalid_argument("invalid regular expression pattern \"" + std::string(pattern) +
                                "\": " + error.what());
  }
  impl->source = std::string(pattern);
  impl->ascii = AsciiPattern::compile(pattern, noCase);
  return Regex(std::move(impl));
}

}  // namespace sdkcore
