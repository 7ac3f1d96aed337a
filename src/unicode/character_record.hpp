#pragma once

// The per-code-point record of the generated tables (unicode_tables.cpp): every property that
// the library looks up per character, packed in 16 bits, so that one lookup serves them all.
// scripts/generate_unicode_tables.py writes the records with the same layout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "unicode/properties.hpp"

namespace sdkcore::unicode::detail {

struct CharacterRecord {
  std::uint16_t bits = 0;  // 0: an unassigned code point

  GeneralCategory category() const noexcept { return static_cast<GeneralCategory>(bits & 0x1F); }
  bool whiteSpace() const noexcept { return (bits >> 5 & 1) != 0; }
  bool alphabetic() const noexcept { return (bits >> 6 & 1) != 0; }
  // True when the simple case folding maps the code point to another.
  bool folds() const noexcept { return (bits >> 7 & 1) != 0; }
  GraphemeClusterBreak graphemeBreak() const noexcept {
    return static_cast<GraphemeClusterBreak>(bits >> 8 & 0xF);
  }
  bool pictographic() const noexcept { return (bits >> 12 & 1) != 0; }
  IndicConjunctBreak conjunctBreak() const noexcept {
    return static_cast<IndicConjunctBreak>(bits >> 13 & 3);
  }
};

// The record of any 32-bit value (that of an unassigned code point above U+10FFFF).
CharacterRecord characterRecord(char32_t c) noexcept;

// Unpacks the general category runs that the tables keep as (first << 5 | category), each run
// ending where the next begins.
template <std::size_t N>
std::array<CategoryRun, N> unpackCategoryRuns(const std::uint32_t (&packed)[N]) noexcept {
  std::array<CategoryRun, N> runs{};
  for (std::size_t i = 0; i < N; ++i) {
    const char32_t next = i + 1 < N ? packed[i + 1] >> 5 : 0x110000;
    runs[i] = {packed[i] >> 5, next - 1, static_cast<GeneralCategory>(packed[i] & 0x1F)};
  }
  return runs;
}

}  // namespace sdkcore::unicode::detail
