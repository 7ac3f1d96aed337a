#include "regex/char_set.hpp"

#include <algorithm>

namespace sdkcore::regex {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

bool foldsInto(const std::vector<char32_t>& sortedTargets, char32_t target) {
  return std::binary_search(sortedTargets.begin(), sortedTargets.end(), target);
}

}  // namespace

CharSet CharSet::single(char32_t c) {
  CharSet set;
  set.add(c, c);
  set.normalize();
  return set;
}

CharSet CharSet::fromRanges(std::span<const unicode::CodePointRange> ranges) {
  CharSet set;
  set.ranges_.reserve(ranges.size());
  for (const unicode::CodePointRange& r : ranges) set.appendMerged(r.first, r.last);
  set.normalize();
  return set;
}

CharSet CharSet::ofCategories(unicode::CategoryMask categories) {
  CharSet set;
  for (const unicode::CategoryRun& run : unicode::generalCategoryRuns()) {
    if ((categories & unicode::maskOf(run.category)) != 0) set.appendMerged(run.first, run.last);
  }
  set.normalize();
  return set;
}

void CharSet::add(char32_t first, char32_t last) { ranges_.push_back({first, last}); }

void CharSet::add(const CharSet& other) {
  ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
}

// Appends a range that starts at or after the last one's start, merging when they touch.
void CharSet::appendMerged(char32_t first, char32_t last) {
  if (!ranges_.empty() && first <= ranges_.back().last + 1) {
    ranges_.back().last = std::max(ranges_.back().last, last);
  } else {
    ranges_.push_back({first, last});
  }
}

void CharSet::normalize() {
  const auto byFirst = [](const CodeRange& a, const CodeRange& b) { return a.first < b.first; };
  if (!std::is_sorted(ranges_.begin(), ranges_.end(), byFirst)) {
    std::sort(ranges_.begin(), ranges_.end(), byFirst);
  }
  std::vector<CodeRange> sorted;
  sorted.swap(ranges_);
  ranges_.reserve(sorted.size());
  for (const CodeRange& r : sorted) appendMerged(r.first, r.last);
  ascii_[0] = ascii_[1] = 0;
  for (const CodeRange& r : ranges_) {
    if (r.first >= 128) break;
    for (char32_t c = r.first; c <= std::min<char32_t>(r.last, 127); ++c) {
      ascii_[c >> 6] |= std::uint64_t{1} << (c & 63);
    }
  }
}

CharSet CharSet::complement() const {
  CharSet out;
  char32_t next = 0;
  for (const CodeRange& r : ranges_) {
    if (r.first > next) out.ranges_.push_back({next, r.first - 1});
    next = r.last + 1;
  }
  if (next <= kMaxCodePoint) out.ranges_.push_back({next, kMaxCodePoint});
  out.normalize();
  return out;
}

// Two code points are case variants when their simple case foldings are equal; the table lists
// every code point that folds to another, so the classes are its targets with their sources.
CharSet CharSet::caseClosure() const {
  const std::span<const unicode::CaseFolding> foldings = unicode::simpleCaseFoldings();
  std::vector<char32_t> touched;
  for (const unicode::CaseFolding& f : foldings) {
    if (contains(f.from) || contains(f.to)) touched.push_back(f.to);
  }
  std::sort(touched.begin(), touched.end());
  CharSet out = *this;
  for (const unicode::CaseFolding& f : foldings) {
    if (!foldsInto(touched, f.to)) continue;
    out.add(f.from, f.from);
    out.add(f.to, f.to);
  }
  out.normalize();
  return out;
}

bool CharSet::containsAbove127(char32_t c) const noexcept {
  const auto after = std::upper_bound(ranges_.begin(), ranges_.end(), c,
                                      [](char32_t v, const CodeRange& r) { return v < r.first; });
  return after != ranges_.begin() && c <= std::prev(after)->last;
}

std::optional<char32_t> CharSet::onlyMember() const noexcept {
  if (ranges_.size() != 1 || ranges_[0].first != ranges_[0].last) return std::nullopt;
  return ranges_[0].first;
}

std::bitset<128> CharSet::asciiMembers() const noexcept {
  std::bitset<128> members;
  for (char32_t c = 0; c < 128; ++c) members[c] = contains(c);
  return members;
}

}  // namespace sdkcore::regex
