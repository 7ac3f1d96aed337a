#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "regex/char_set.hpp"

namespace sdkcore::regex {

inline constexpr std::uint32_t kUnbounded = std::numeric_limits<std::uint32_t>::max();
// The largest count a repetition ({n}, {n,}, {n,m}) may name.
inline constexpr std::uint32_t kMaxRepetitionCount = 1000;
// The deepest nesting of groups a pattern may have.
inline constexpr std::size_t kMaxGroupNesting = 64;
// The most ranges that the sets of one pattern may hold together.
inline constexpr std::size_t kMaxSetRanges = 100000;

enum class NodeKind : std::uint8_t {
  empty,      // matches the empty string
  literal,    // one code point
  set,        // one code point of sets[set]
  any,        // "." : any code point but a line terminator
  begin,      // "^"
  end,        // "$"
  group,      // a group, capturing or not: children[0]
  concat,     // children in sequence
  alternate,  // children as alternatives, in order of preference
  repeat,     // children[0] from min to max times (max may be kUnbounded)
};

struct Node {
  NodeKind kind = NodeKind::empty;
  char32_t codePoint = 0;
  std::uint32_t set = 0;
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  bool greedy = true;
  std::uint32_t offset = 0;  // where a repetition's quantifier starts, for errors
  std::vector<std::uint32_t> children;
};

// A parsed pattern: the nodes, the sets they refer to, and the root.
struct SyntaxTree {
  std::vector<Node> nodes;
  std::vector<CharSet> sets;
  std::uint32_t root = 0;
};

// A pattern that is invalid or outside the supported subset: what and where (the offset counts
// code points of the pattern from 0).
class PatternError : public std::invalid_argument {
 public:
  PatternError(const std::string& problem, std::size_t offset)
      : std::invalid_argument(problem + " at offset " + std::to_string(offset)) {}
};

// Parses 'pattern' (UTF-8, ICU syntax). With 'caseInsensitive', sets are closed over case (a
// negated set after closing), as ICU compiles them. Throws PatternError, or std::bad_alloc.
SyntaxTree parse(std::string_view pattern, bool caseInsensitive);

// Whether the node can match the empty string.
bool matchesEmpty(const SyntaxTree& tree, std::uint32_t node);

}  // namespace sdkcore::regex
