#include "text/ascii_pattern.hpp"

#include <limits>
#include <utility>

#include "regex/program.hpp"
#include "regex/syntax_tree.hpp"

namespace sdkcore {
namespace {

constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();
// Larger repetition counts are left to the automaton.
constexpr std::size_t kMaxCountDigits = 6;
// The search gives up after this many steps per byte of text (plus a constant), so that no
// pattern can make it slower than linear; the automaton then answers.
constexpr std::size_t kStepsPerByte = 8;
constexpr std::size_t kBaseSteps = 64;

struct Quantifier {
  std::size_t min;
  std::size_t max;
  std::size_t length;  // characters of pattern text
};

bool isAsciiPunctuation(char c) {
  const bool letterOrDigit =
      (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return c > ' ' && c < 0x7F && !letterOrDigit;
}

// The length of the bracket class at the start of 'text', or 0 when it nests sets, starts with
// a literal "]" or does not end.
std::size_t bracketLength(std::string_view text) {
  std::size_t at = 1;
  if (at < text.size() && text[at] == '^') ++at;
  if (at < text.size() && text[at] == ']') return 0;
  while (at < text.size()) {
    if (text[at] == '[') return 0;
    if (text[at] == ']') return at + 1;
    at += text[at] == '\\' ? 2 : 1;
  }
  return 0;
}

// The length of the single-character atom at the start of 'text', or 0 when there is none that
// the fast path knows.
std::size_t atomLength(std::string_view text) {
  const char c = text[0];
  if (c == '[') return bracketLength(text);
  if (c == '\\') {
    if (text.size() < 2) return 0;
    const char escaped = text[1];
    const bool known = std::string_view("dDsSwW").find(escaped) != std::string_view::npos ||
                       isAsciiPunctuation(escaped);
    return known ? 2 : 0;
  }
  return std::string_view("^$()|*+?{}]").find(c) == std::string_view::npos ? 1 : 0;
}

std::optional<std::size_t> numberAt(std::string_view text, std::size_t& at) {
  std::size_t value = 0;
  const std::size_t first = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    if (at - first == kMaxCountDigits) return std::nullopt;
    value = value * 10 + static_cast<std::size_t>(text[at++] - '0');
  }
  if (at == first) return std::nullopt;
  return value;
}

// "{n}", "{n,}" or "{n,m}" at the start of 'text'.
std::optional<Quantifier> boundsAt(std::string_view text) {
  std::size_t at = 1;
  const std::optional<std::size_t> min = numberAt(text, at);
  if (!min) return std::nullopt;
  std::size_t max = *min;
  if (at < text.size() && text[at] == ',') {
    ++at;
    if (at < text.size() && text[at] == '}') {
      max = kUnbounded;
    } else if (const std::optional<std::size_t> upper = numberAt(text, at)) {
      max = *upper;
    } else {
      return std::nullopt;
    }
  }
  if (at >= text.size() || text[at] != '}' || max < *min) return std::nullopt;
  return Quantifier{*min, max, at + 1};
}

// The greedy quantifier at the start of 'text' (exactly once when there is none), or nullopt
// when it is lazy, possessive or malformed.
std::optional<Quantifier> quantifierAt(std::string_view text) {
  if (text.empty()) return Quantifier{1, 1, 0};
  std::optional<Quantifier> found;
  switch (text[0]) {
    case '?':
      found = Quantifier{0, 1, 1};
      break;
    case '*':
      found = Quantifier{0, kUnbounded, 1};
      break;
    case '+':
      found = Quantifier{1, kUnbounded, 1};
      break;
    case '{':
      found = boundsAt(text);
      break;
    default:
      return Quantifier{1, 1, 0};
  }
  if (!found) return std::nullopt;
  if (found->length < text.size() && (text[found->length] == '?' || text[found->length] == '+')) {
    return std::nullopt;
  }
  return found;
}

// The ASCII characters that 'atom' alone accepts, as the engine reads it; nullopt when the
// engine refuses the atom on its own.
std::optional<std::bitset<128>> acceptedCharacters(std::string_view atom, bool caseInsensitive) {
  try {
    const std::optional<regex::CharSet> set = regex::singleCharacterSet(atom, caseInsensitive);
    if (!set) return std::nullopt;
    return set->asciiMembers();
  } catch (const regex::PatternError&) {
    return std::nullopt;
  }
}

bool isLineTerminator(char c) { return c >= '\n' && c <= '\r'; }

bool acceptsCharacter(const std::bitset<128>& accepts, char c) {
  const auto code = static_cast<unsigned char>(c);
  return code < 128 && accepts[code];
}

// Where ICU's $ matches in 'text': the end, or before one final line terminator.
bool endsAt(std::string_view text, std::size_t at) {
  const std::size_t size = text.size();
  if (at == size) return true;
  if (at + 1 == size) {
    const bool lineFeedOfCrLf = text[at] == '\n' && at > 0 && text[at - 1] == '\r';
    return isLineTerminator(text[at]) && !lineFeedOfCrLf;
  }
  return at + 2 == size && text[at] == '\r' && text[at + 1] == '\n';
}

}  // namespace

// A backtracking search for one match, longest repetition first, over at most a bounded number
// of steps.
class AsciiPattern::Search {
 public:
  Search(const AsciiPattern& pattern, std::string_view text)
      : pattern_(pattern), text_(text), budget_(kStepsPerByte * text.size() + kBaseSteps) {}

  std::optional<bool> run() {
    const std::size_t lastStart = pattern_.anchoredStart_ ? 0 : text_.size();
    for (std::size_t start = 0; start <= lastStart; ++start) {
      if (matchesFrom(0, start)) return true;
      if (exhausted_) return std::nullopt;
    }
    return false;
  }

 private:
  bool matchesFrom(std::size_t element, std::size_t at) {
    if (element == pattern_.elements_.size()) return !pattern_.anchoredEnd_ || endsAt(text_, at);
    const Element& e = pattern_.elements_[element];
    const std::size_t limit = std::min(e.max, text_.size() - at);
    std::size_t run = 0;
    while (run < limit && acceptsCharacter(e.accepts, text_[at + run])) ++run;
    if (!spend(run)) return false;
    for (std::size_t taken = run + 1; taken-- > e.min;) {
      if (!spend(1)) return false;
      if (matchesFrom(element + 1, at + taken)) return true;
    }
    return false;
  }

  // Charges 'steps' to the budget; false once it is spent.
  bool spend(std::size_t steps) {
    if (exhausted_ || steps > budget_) {
      exhausted_ = true;
      return false;
    }
    budget_ -= steps;
    return true;
  }

  const AsciiPattern& pattern_;
  std::string_view text_;
  std::size_t budget_;
  bool exhausted_ = false;
};

std::optional<AsciiPattern> AsciiPattern::compile(std::string_view source, bool caseInsensitive) {
  if (!isAsciiText(source)) return std::nullopt;
  AsciiPattern pattern;
  std::size_t at = 0;
  if (source.starts_with('^')) {
    pattern.anchoredStart_ = true;
    at = 1;
  }
  while (at < source.size()) {
    if (source[at] == '$' && at + 1 == source.size()) {
      pattern.anchoredEnd_ = true;
      break;
    }
    const std::size_t length = atomLength(source.substr(at));
    if (length == 0) return std::nullopt;
    const auto accepts = acceptedCharacters(source.substr(at, length), caseInsensitive);
    const auto quantifier = quantifierAt(source.substr(at + length));
    if (!accepts || !quantifier) return std::nullopt;
    pattern.elements_.push_back(Element{*accepts, quantifier->min, quantifier->max});
    at += length + quantifier->length;
  }
  pattern.greedyRuns_ = pattern.greedyRunsDecide();
  return pattern;
}

// Anchored at both ends, each atom required at least once and accepting no character of the
// next one, and the last accepting no line terminator: then a shorter run of any atom leaves a
// character that nothing after it accepts, so the greedy runs are the only possible match.
bool AsciiPattern::greedyRunsDecide() const noexcept {
  if (!anchoredStart_ || !anchoredEnd_ || elements_.empty()) return false;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    if (elements_[i].min == 0) return false;
    if (i + 1 < elements_.size() && (elements_[i].accepts & elements_[i + 1].accepts).any()) {
      return false;
    }
  }
  const std::bitset<128>& last = elements_.back().accepts;
  return !last['\n'] && !last['\v'] && !last['\f'] && !last['\r'];
}

std::optional<bool> AsciiPattern::findIn(std::string_view text) const noexcept {
  if (!greedyRuns_) return Search(*this, text).run();
  std::size_t at = 0;
  for (const Element& e : elements_) {
    const std::size_t limit = std::min(e.max, text.size() - at);
    std::size_t run = 0;
    while (run < limit && acceptsCharacter(e.accepts, text[at + run])) ++run;
    if (run < e.min) return false;
    at += run;
  }
  return endsAt(text, at);
}

std::optional<std::string> AsciiPattern::replaceAll(std::string_view text,
                                                    std::string_view replacement) const {
  const bool oneCharacter = elements_.size() == 1 && elements_[0].min == 1 &&
                            elements_[0].max == 1 && !anchoredStart_ && !anchoredEnd_;
  if (!oneCharacter) return std::nullopt;
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 128 && elements_[0].accepts[code]) {
      result += replacement;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace sdkcore
