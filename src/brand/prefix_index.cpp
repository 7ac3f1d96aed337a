#include "brand/prefix_index.hpp"

#include <bit>
#include <stdexcept>
#include <string>

#include "brand/ascii_digits.hpp"

namespace sdkcore {
namespace {

constexpr std::uint32_t scaleOf(int digits) noexcept {
  return static_cast<std::uint32_t>(powerOfTen(static_cast<std::size_t>(digits)));
}

constexpr int digitCount(std::uint32_t value) noexcept {
  int count = 1;
  for (; value >= 10; value /= 10) ++count;
  return count;
}

constexpr BrandSet brandBit(std::size_t brand) noexcept {
  return static_cast<BrandSet>(1U << brand);
}

}  // namespace

PrefixIndex::PrefixIndex(std::span<const CardBrand> brands) : nodes_(1) {
  if (brands.size() > kMaxBrands) throw std::invalid_argument("too many card brands");
  nodes_.front().children.fill(-1);
  for (std::size_t brand = 0; brand < brands.size(); ++brand) {
    for (const CardBrandPrefix& prefix : brands[brand].prefixes) addRange(brand, prefix);
  }
  collectBelow(0);
}

const PrefixIndex& PrefixIndex::shared() {
  static const PrefixIndex index(cardBrands());
  return index;
}

std::int16_t PrefixIndex::childOf(std::size_t node, int digit) {
  if (nodes_[node].children[digit] < 0) {
    if (nodes_.size() > static_cast<std::size_t>(INT16_MAX)) {
      throw std::invalid_argument("card brand prefixes too many to index");
    }
    nodes_[node].children[digit] = static_cast<std::int16_t>(nodes_.size());
    nodes_.emplace_back().children.fill(-1);
  }
  return nodes_[node].children[digit];
}

// Marks the node of every largest block of 'length'-digit numbers that lies inside the range:
// a block is all numbers that begin with one prefix, found by narrowing from the root.
void PrefixIndex::addRange(std::size_t brand, const CardBrandPrefix& prefix) {
  const int length = digitCount(prefix.first);
  if (length > static_cast<int>(kMaxPrefixDigits) || prefix.last < prefix.first ||
      digitCount(prefix.last) != length) {
    throw std::invalid_argument("card brand prefix range " + std::to_string(prefix.first) + "-" +
                                std::to_string(prefix.last) + " cannot be indexed");
  }
  struct Block {
    std::uint32_t prefix;
    int digits;
  };
  std::vector<Block> pending = {{0, 0}};
  while (!pending.empty()) {
    const Block block = pending.back();
    pending.pop_back();
    const std::uint32_t scale = scaleOf(length - block.digits);
    const std::uint32_t low = block.prefix * scale;
    const std::uint32_t high = low + scale - 1;
    if (high < prefix.first || low > prefix.last) continue;
    if (prefix.first <= low && high <= prefix.last) {
      mark(brand, block.prefix, block.digits, length);
      continue;
    }
    for (std::uint32_t digit = 0; digit < 10; ++digit) {
      pending.push_back({block.prefix * 10 + digit, block.digits + 1});
    }
  }
}

void PrefixIndex::mark(std::size_t brand, std::uint32_t prefix, int digits, int length) {
  std::size_t node = 0;
  for (int position = digits - 1; position >= 0; --position) {
    node =
        static_cast<std::size_t>(childOf(node, static_cast<int>(prefix / scaleOf(position) % 10)));
  }
  nodes_[node].lengths[brand] |= static_cast<std::uint8_t>(1U << (length - 1));
}

BrandSet PrefixIndex::collectBelow(std::size_t node) {
  BrandSet below = 0;
  for (const std::int16_t child : nodes_[node].children) {
    if (child < 0) continue;
    below |= collectBelow(static_cast<std::size_t>(child));
  }
  nodes_[node].below = below;
  for (std::size_t brand = 0; brand < kMaxBrands; ++brand) {
    if (nodes_[node].lengths[brand] != 0) below |= brandBit(brand);
  }
  return below;
}

PrefixCursor::PrefixCursor(const PrefixIndex& index) noexcept
    : index_(&index), seen_(index.nodes_.front().lengths) {}

void PrefixCursor::add(int digit) noexcept {
  ++count_;
  if (node_ < 0) return;
  node_ = index_->nodes_[static_cast<std::size_t>(node_)].children[digit];
  if (node_ < 0) return;
  const PrefixIndex::LengthBits& lengths = index_->nodes_[static_cast<std::size_t>(node_)].lengths;
  for (std::size_t brand = 0; brand < kMaxBrands; ++brand) seen_[brand] |= lengths[brand];
}

BrandSet PrefixCursor::candidates() const noexcept {
  // Bit L-1 stands for a prefix of L digits: complete when L <= count_.
  const unsigned completeLengths = count_ >= kMaxPrefixDigits ? 0xFFU : (1U << count_) - 1;
  // Still on the trie: every prefix marked further down can be completed.
  BrandSet pending = node_ >= 0 ? index_->nodes_[static_cast<std::size_t>(node_)].below : 0;
  BrandSet complete = 0;
  BrandSet strongest = 0;
  int strongestLength = 0;
  for (std::size_t brand = 0; brand < kMaxBrands; ++brand) {
    const unsigned seen = seen_[brand];
    if ((seen & ~completeLengths) != 0) pending |= brandBit(brand);
    const unsigned done = seen & completeLengths;
    if (done == 0) continue;
    complete |= brandBit(brand);
    const int length = std::bit_width(done);
    if (length > strongestLength) {
      strongestLength = length;
      strongest = brandBit(brand);
    }
  }
  const BrandSet all = complete | pending;
  return all != 0 && all == complete ? strongest : all;
}

}  // namespace sdkcore
