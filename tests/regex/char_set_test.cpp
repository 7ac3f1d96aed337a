#include "regex/char_set.hpp"

#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/uniset.h>

#include "unicode/properties.hpp"

namespace sdkcore::regex {
namespace {

// Random ranges, overlapping and touching, near both ends of the code space: after normalize()
// the set holds exactly their union, its complement exactly the rest, and the union of the sets
// of the odd and of the even ranges the same as the set of all.
TEST(CharSetTest, NormalizedSetAndComplementHoldTheUnion) {
  std::mt19937 random(7);
  const std::vector<char32_t> bases{0, 60, 120, 0x10FF80};
  for (int round = 0; round < 300; ++round) {
    CharSet set;
    CharSet halves[2];
    std::vector<std::pair<char32_t, char32_t>> added;
    const int count = static_cast<int>(random() % 6);
    for (int i = 0; i < count; ++i) {
      const char32_t first = bases[random() % bases.size()] + random() % 100;
      const char32_t last = std::min<char32_t>(first + random() % 20, 0x10FFFF);
      set.add(first, last);
      halves[i % 2].add(first, last);
      added.emplace_back(first, last);
    }
    set.normalize();
    halves[0].normalize();
    halves[1].normalize();
    const CharSet joined = CharSet::unionOf(halves[0], halves[1]);
    const CharSet rest = set.complement();
    for (const char32_t base : bases) {
      for (char32_t c = base; c < base + 128 && c <= 0x10FFFF; ++c) {
        bool member = false;
        for (const auto& [first, last] : added) member = member || (c >= first && c <= last);
        ASSERT_EQ(set.contains(c), member)
            << round << " U+" << std::hex << static_cast<std::uint32_t>(c);
        ASSERT_NE(rest.contains(c), member)
            << round << " U+" << std::hex << static_cast<std::uint32_t>(c);
        ASSERT_EQ(joined.contains(c), member)
            << round << " U+" << std::hex << static_cast<std::uint32_t>(c);
      }
    }
  }
}

icu::UnicodeSet icuSet(const CharSet& set) {
  icu::UnicodeSet out;
  for (const CodeRange& r : set.ranges()) {
    out.add(static_cast<UChar32>(r.first), static_cast<UChar32>(r.last));
  }
  return out;
}

// The case closure of each code point that simple case folding relates to another, by either
// way of making it, is ICU's case-insensitive closure of it, strings left out.
TEST(CharSetTest, CaseClosureOfEachCodePointIsIcus) {
  std::vector<char32_t> related;
  for (const unicode::CaseFolding& f : unicode::simpleCaseFoldings()) {
    related.push_back(f.from);
    related.push_back(f.to);
  }
  int differences = 0;
  for (const char32_t c : related) {
    icu::UnicodeSet icu(static_cast<UChar32>(c), static_cast<UChar32>(c));
    icu.closeOver(USET_CASE_INSENSITIVE).removeAllStrings();
    const bool same = icuSet(CharSet::single(c).caseClosure()) == icu &&
                      icuSet(CharSet::caseVariantsOf(c)) == icu;
    if (!same && ++differences <= 10) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(c);
    }
  }
  EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace sdkcore::regex
