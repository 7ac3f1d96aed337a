#include "unicode/properties.hpp"

#include <algorithm>

#include "unicode/character_record.hpp"

namespace sdkcore::unicode {

using detail::characterRecord;

GeneralCategory generalCategory(char32_t c) noexcept { return characterRecord(c).category(); }

bool isWhiteSpace(char32_t c) noexcept { return characterRecord(c).whiteSpace(); }

bool isAlphabetic(char32_t c) noexcept { return characterRecord(c).alphabetic(); }

bool isExtendedPictographic(char32_t c) noexcept { return characterRecord(c).pictographic(); }

char32_t simpleCaseFold(char32_t c) noexcept {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
  if (!characterRecord(c).folds()) return c;
  const auto foldings = simpleCaseFoldings();
  return std::lower_bound(foldings.begin(), foldings.end(), c,
                          [](const CaseFolding& f, char32_t key) { return f.from < key; })
      ->to;
}

GraphemeClusterBreak graphemeClusterBreak(char32_t c) noexcept {
  return characterRecord(c).graphemeBreak();
}

IndicConjunctBreak indicConjunctBreak(char32_t c) noexcept {
  return characterRecord(c).conjunctBreak();
}

}  // namespace sdkcore::unicode
