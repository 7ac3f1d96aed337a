#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sdkcore/card_brand.hpp"

namespace sdkcore {

// A set of brands: bit i stands for the brand at position i of the table.
using BrandSet = std::uint16_t;
inline constexpr std::size_t kMaxBrands = 16;
// Prefixes are at most this many digits long.
inline constexpr std::size_t kMaxPrefixDigits = 8;

// The brand table's prefixes compiled into a digit trie. Every range is split into the fewest
// aligned blocks ("500000-504174" into "5000".."5003", "50040".."50046", ...), each marking one
// node with the range's digit count, so the trie stays under a thousand nodes and a lookup walks at
// most kMaxPrefixDigits of them. Immutable after construction: safe to share between threads.
class PrefixIndex {
 public:
  // Throws std::invalid_argument for more than kMaxBrands brands or a prefix that is not 1 to
  // kMaxPrefixDigits digits long, or whose 'last' is below 'first' or of another digit count.
  explicit PrefixIndex(std::span<const CardBrand> brands);

  // The index of cardBrands(), built on first use.
  static const PrefixIndex& shared();

 private:
  friend class PrefixCursor;

  // Per brand, bit L-1 is set when a prefix of L digits covers every number below this node.
  using LengthBits = std::array<std::uint8_t, kMaxBrands>;
  struct Node {
    std::array<std::int16_t, 10> children;  // node indexes, -1 for none
    LengthBits lengths{};
    BrandSet below = 0;  // brands marked on some node strictly under this one
  };

  std::int16_t childOf(std::size_t node, int digit);
  void addRange(std::size_t brand, const CardBrandPrefix& prefix);
  void mark(std::size_t brand, std::uint32_t prefix, int digits, int length);
  BrandSet collectBelow(std::size_t node);

  std::vector<Node> nodes_;
};

// Feeds a number's digits one by one through a PrefixIndex and answers with its candidate
// brands. Keeps no digit, only the trie position and what the path has marked.
class PrefixCursor {
 public:
  explicit PrefixCursor(const PrefixIndex& index) noexcept;

  // Takes the next digit, 0 to 9.
  void add(int digit) noexcept;

  // The candidates for the digits added so far: every brand with a prefix that they complete or
  // begin; when all of them have a complete one, only the brand with the longest complete prefix
  // (the first in table order on a tie).
  BrandSet candidates() const noexcept;

 private:
  const PrefixIndex* index_;
  std::int32_t node_ = 0;  // -1 once the digits left the trie
  std::size_t count_ = 0;
  PrefixIndex::LengthBits seen_;  // per brand, the lengths of the prefixes met on the way
};

}  // namespace sdkcore
