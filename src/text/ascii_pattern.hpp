#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sdkcore {

// True when every byte of 'text' is ASCII.
inline bool isAsciiText(std::string_view text) noexcept {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The ASCII fast path of a regular expression. A pattern made only of single-character atoms (a
// literal, ".", an escape such as \d or \+, or a bracket class without nested sets), each with an
// optional greedy quantifier (?, *, +, {n}, {n,}, {n,m}), between an optional leading ^ and an
// optional trailing $, is matched on ASCII text without the pattern engine's automaton.
//
// The answers are the engine's: which ASCII characters an atom accepts is asked of the engine's
// sets when the pattern is compiled, so classes, escapes and case folding mean exactly what they
// mean there, and the anchors follow ICU's default mode as the engine does: ^ matches only at the
// start of the input, $ at its end or before one final line terminator (LF, VT, FF, CR or CR LF;
// not between the CR and LF of a final CR LF). Every other form (groups, alternation, lazy or
// possessive quantifiers, other anchors and escapes, nested sets, non-ASCII pattern text) has no
// fast path.
//
// Immutable; safe to use from any number of threads at once.
class AsciiPattern {
 public:
  // Returns the fast path of 'source', a pattern that the engine compiles, matched with or
  // without case, or nullopt when the pattern has a form that only the automaton matches.
  // Throws std::bad_alloc only.
  static std::optional<AsciiPattern> compile(std::string_view source, bool caseInsensitive);

  // Whether the pattern matches somewhere in 'text', which must be ASCII. Nullopt when the search
  // would take more steps than a bound linear in the length of 'text' (the caller then runs the
  // automaton). Allocates nothing.
  std::optional<bool> findIn(std::string_view text) const noexcept;

  // 'text' (ASCII) with each match replaced by 'replacement', taken literally. Nullopt unless the
  // pattern is one atom with neither quantifier nor anchor, whose matches are single characters.
  std::optional<std::string> replaceAll(std::string_view text, std::string_view replacement) const;

 private:
  struct Element {
    std::bitset<128> accepts;  // the ASCII characters the atom matches
    std::size_t min;
    std::size_t max;
  };

  class Search;

  AsciiPattern() = default;

  std::vector<Element> elements_;
  bool greedyRunsDecide() const noexcept;

  bool anchoredStart_ = false;
  bool anchoredEnd_ = false;
  bool greedyRuns_ = false;  // one greedy pass answers: no backtracking search needed
};

}  // namespace sdkcore
