#include "brand/prefix_index.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdkcore/card_brand.hpp"

namespace sdkcore {
namespace {

// The matching rules read straight off the table, one prefix at a time, on digit strings.
BrandSet naiveCandidates(const std::string& digits) {
  BrandSet complete = 0;
  BrandSet pending = 0;
  BrandSet strongest = 0;
  std::size_t strongestLength = 0;
  const auto brands = cardBrands();
  for (std::size_t brand = 0; brand < brands.size(); ++brand) {
    const auto bit = static_cast<BrandSet>(1U << brand);
    for (const CardBrandPrefix& prefix : brands[brand].prefixes) {
      const std::string first = std::to_string(prefix.first);
      const std::string last = std::to_string(prefix.last);
      const std::size_t cut = std::min(digits.size(), first.size());
      const std::string head = digits.substr(0, cut);
      if (head < first.substr(0, cut) || head > last.substr(0, cut)) continue;
      if (cut < first.size()) {
        pending |= bit;
        continue;
      }
      complete |= bit;
      if (first.size() > strongestLength) {  // brands come in table order: the first wins a tie
        strongestLength = first.size();
        strongest = bit;
      }
    }
  }
  const BrandSet all = complete | pending;
  return all != 0 && all == complete ? strongest : all;
}

BrandSet indexCandidates(const std::string& digits) {
  PrefixCursor cursor(PrefixIndex::shared());
  for (const char c : digits) cursor.add(c - '0');
  return cursor.candidates();
}

// Each range's bounds, the numbers just outside them, their beginnings and one digit more.
std::vector<std::string> boundaryTexts() {
  std::vector<std::string> texts;
  for (const CardBrand& brand : cardBrands()) {
    for (const CardBrandPrefix& prefix : brand.prefixes) {
      const std::size_t length = std::to_string(prefix.first).size();
      for (const std::uint32_t value :
           {prefix.first - 1, prefix.first, prefix.last, prefix.last + 1}) {
        const std::string text = std::to_string(value);
        if (text.size() != length) continue;
        for (std::size_t cut = 1; cut <= text.size(); ++cut) texts.push_back(text.substr(0, cut));
        texts.push_back(text + "0");
        texts.push_back(text + "9");
      }
    }
  }
  return texts;
}

TEST(PrefixIndex, AgreesWithTheRulesAtEveryRangeBoundary) {
  std::vector<std::string> texts = boundaryTexts();
  // Every text of up to four digits, the empty one included.
  for (int value = 0; value < 10000; ++value) {
    const std::string digits = std::to_string(value);
    for (std::size_t width = digits.size(); width <= 4; ++width) {
      texts.push_back(std::string(width - digits.size(), '0') + digits);
    }
  }
  texts.push_back("");
  texts.push_back("4111111111111111111111");
  for (const std::string& text : texts) {
    ASSERT_EQ(indexCandidates(text), naiveCandidates(text)) << text;
  }
}

}  // namespace
}  // namespace sdkcore
