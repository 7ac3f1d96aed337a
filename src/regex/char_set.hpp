#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "unicode/properties.hpp"

namespace sdkcore::regex {

// A range [first, last] of code points.
struct CodeRange {
  char32_t first;
  char32_t last;
};

// A set of code points: sorted, non-overlapping, non-adjacent ranges, with a bitmap of its ASCII
// members so that the common case is one bit test. The building operations (add) leave the set
// unnormalized until normalize(); every query needs a normalized set. Immutable once built, and
// then safe to read from any number of threads.
class CharSet {
 public:
  CharSet() = default;
  static CharSet single(char32_t c);
  // The code points of 'ranges', which must be ascending and disjoint (as the tables list them).
  static CharSet fromRanges(std::span<const unicode::CodePointRange> ranges);
  // The code points whose general category is in 'categories'.
  static CharSet ofCategories(unicode::CategoryMask categories);

  void add(char32_t first, char32_t last);
  void add(const CharSet& other);
  // Sorts and merges the ranges and fills the ASCII bitmap.
  void normalize();

  CharSet complement() const;
  // The set with every code point that simple case folding relates to one of its members: the
  // members' case variants, as case-insensitive matching compares them.
  CharSet caseClosure() const;

  bool contains(char32_t c) const noexcept {
    if (c < 128) return ((ascii_[c >> 6] >> (c & 63)) & 1) != 0;
    return containsAbove127(c);
  }
  // The only member, when the set has exactly one.
  std::optional<char32_t> onlyMember() const noexcept;
  std::bitset<128> asciiMembers() const noexcept;
  std::span<const CodeRange> ranges() const noexcept { return ranges_; }

 private:
  bool containsAbove127(char32_t c) const noexcept;
  void appendMerged(char32_t first, char32_t last);

  std::vector<CodeRange> ranges_;
  std::uint64_t ascii_[2] = {0, 0};
};

}  // namespace sdkcore::regex
