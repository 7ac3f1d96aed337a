#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "regex/char_set.hpp"

namespace sdkcore::regex {

enum class Op : std::uint8_t {
  character,    // consumes the code point 'arg'
  set,          // consumes a member of sets[arg]
  any,          // consumes any code point but a line terminator
  foldStep,     // consumes a code point whose full case folding continues foldText at 'arg'
  split,        // goes on at 'next' and, with lower priority, at 'alt'
  jump,         // goes on at 'next'
  assertBegin,  // goes on at 'next' at the start of the input only
  assertEnd,    // goes on at 'next' at the end, or before one final line terminator
  match,        // the pattern has matched
};

// The line terminators of ICU's default mode, which "." does not match and "$" may precede.
constexpr bool isLineTerminator(char32_t c) noexcept {
  return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// One step of a program. A consuming step goes on at 'next'; a foldStep is one position of a
// run of case-folded literal characters, 'alt' positions before its end, which is at 'next'.
struct Instruction {
  Op op;
  std::uint32_t next = 0;
  std::uint32_t alt = 0;
  std::uint32_t arg = 0;
};

// A compiled pattern: a nondeterministic automaton whose splits are ordered by priority, as a
// backtracking matcher would try them, and whose epsilon moves form no cycle (a loop whose body
// can match empty has its first, not yet consuming, pass copied, leaving the loop when it
// consumed nothing). Immutable; safe to share between threads.
struct Program {
  std::vector<Instruction> code;
  std::vector<CharSet> sets;
  std::vector<char32_t> foldText;
  bool anchoredStart = false;  // every match starts at the start of the input
};

// The most instructions a program may have.
inline constexpr std::size_t kMaxInstructions = 20000;

// Compiles 'pattern' (UTF-8, the ICU syntax subset that regex.hpp documents). Throws
// PatternError (syntax_tree.hpp) for an invalid or unsupported pattern or one over the limits,
// or std::bad_alloc.
Program compile(std::string_view pattern, bool caseInsensitive);

// The code points that 'pattern' matches when it is one single-character atom (a literal, ".",
// an escape or a bracket set); nullopt for any other pattern. Throws as compile().
std::optional<CharSet> singleCharacterSet(std::string_view pattern, bool caseInsensitive);

}  // namespace sdkcore::regex
