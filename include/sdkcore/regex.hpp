#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "sdkcore/export.h"

namespace sdkcore {

// Options of toRegex(), a bit set.
enum class RegexOptions : std::uint32_t { none = 0, caseInsensitive = 1 };

// A compiled regular expression: a subset of ICU's syntax, matched as ICU matches it, by the
// library's own engine: an automaton that reads the text once, not a backtracking search, so
// that findIn takes time linear in the text for every pattern. (replaceAll searches once per
// match, each search linear in the rest of the text.)
//
// The subset:
// - literal characters, and escaped ASCII punctuation (\. \* \\ ...); \t \n \r \f \e (U+001B)
//   \a (U+0007), \uhhhh, \xhh (one or two hex digits) and \x{h...} (up to U+10FFFF);
// - "." : any code point but a line terminator (LF, VT, FF, CR, U+0085, U+2028, U+2029);
// - bracket sets [...] and [^...] with characters, ranges (a-z) and the class escapes below;
//   "]" first and "-" first or last are literal;
// - \d (Unicode decimal digits, Nd), \w (Alphabetic, marks, Nd, Pc, U+200C, U+200D),
//   \s (White_Space), their negations \D \W \S, and \p{name} / \P{name} for a general category
//   or group by short or long name (Lu, Uppercase_Letter, L, Letter, LC, M, N, P, S, Z, C, ...,
//   also as gc=...), White_Space, Alphabetic, Any, ASCII and Assigned; names match loosely
//   (case, spaces, hyphens and underscores do not count);
// - groups (...) and (?:...), alternation |;
// - greedy and lazy quantifiers ? * + {n} {n,} {n,m} and ?? *? +? {n,m}?, counts up to 1000;
// - ^, which matches only at the start of the input, and $, which matches at the end and also
//   before one line terminator that ends the input (CR LF counts as one; not between them).
// With RegexOptions::caseInsensitive, sets and single characters match their simple case
// variants (a negated set is closed over case first, then negated), and a run of two or more
// literal characters compares in full case folding, as ICU does ("ss" matches "ß").
//
// Refused, as outside the subset: backreferences, lookahead and lookbehind, atomic groups,
// possessive quantifiers, named groups, inline flags, \b \B \A \Z \z \G \X \R \h \v \N{} \Q...\E
// \c, octal escapes, nested sets and set operations, POSIX-like sets [:...:], other properties
// (scripts, blocks), quantified anchors, and a lazy unbounded quantifier on what can match empty.
// Refused, as too large: a pattern that compiles to more than 20000 instructions (a counted
// repetition copies what it repeats), whose groups nest deeper than 64, or whose sets hold more
// than 100000 ranges together.
//
// Made by toRegex() (below). The pattern is compiled once; copies share it.
// Immutable and safe to use from any number of threads at once.
class SDKCORE_EXPORT Regex {
 public:
  // Returns true when the expression matches somewhere in the whole of 'text'. Invalid UTF-8 is
  // read with each ill-formed sequence as U+FFFD, so it matches only what accepts that
  // character. Never throws.
  bool findIn(std::string_view text) const noexcept;
  // Returns 'text' with every match replaced by 'replacement', which is taken literally ("$1" and
  // "\" have no special meaning). Matches are found from left to right; after an empty match the
  // search goes on one character further. The result is valid UTF-8 (ill-formed sequences of the
  // text and of the replacement come back as U+FFFD). Throws std::bad_alloc only.
  std::string replaceAll(std::string_view text, std::string_view replacement) const;
  // The pattern text the expression was compiled from.
  const std::string& pattern() const noexcept;

 private:
  friend Regex toRegex(std::string_view pattern, RegexOptions options);
  struct Impl;
  explicit Regex(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<const Impl> impl_;
};

// Compiles 'pattern' (UTF-8, the subset of ICU syntax that Regex describes). Throws
// std::invalid_argument when 'options' holds an unknown bit, and when the pattern is invalid,
// outside the subset or too large: the message starts with "invalid regular expression pattern",
// then names the pattern, the construct and its offset in characters. Thread-safe.
SDKCORE_EXPORT Regex toRegex(std::string_view pattern, RegexOptions options = RegexOptions::none);

}  // namespace sdkcore
