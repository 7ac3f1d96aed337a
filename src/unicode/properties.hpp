#pragma once

// Character properties of the Unicode Character Database, from tables that
// scripts/generate_unicode_tables.py writes into unicode_tables.cpp. Every function takes any
// 32-bit value: one above U+10FFFF (or a surrogate, where it matters) gets the property of an
// unassigned code point. All are pure lookups: no allocation, no locale, safe from any thread.

#include <cstdint>
#include <span>

namespace sdkcore::unicode {

// The version of the Unicode Character Database the tables were generated from ("15.0.0").
extern const char* const kUnicodeVersion;

// General_Category, by its short UCD alias (Lu = uppercase letter, Nd = decimal digit, ...).
// Cn (unassigned) is the value of every code point the database does not list.
// clang-format off
enum class GeneralCategory : std::uint8_t {
  Cn, Lu, Ll, Lt, Lm, Lo, Mn, Mc, Me, Nd, Nl, No, Pc, Pd, Ps, Pe, Pi, Pf, Po,
  Sm, Sc, Sk, So, Zs, Zl, Zp, Cc, Cf, Cs, Co,
};
// clang-format on
inline constexpr int kGeneralCategoryCount = 30;

GeneralCategory generalCategory(char32_t c) noexcept;

// A bit set of general categories, for the groups that patterns name (L, LC, M, N, P, S, Z, C).
using CategoryMask = std::uint32_t;
constexpr CategoryMask maskOf(GeneralCategory category) noexcept {
  return CategoryMask{1} << static_cast<unsigned>(category);
}

// Binary properties.
bool isWhiteSpace(char32_t c) noexcept;            // White_Space (PropList.txt)
bool isAlphabetic(char32_t c) noexcept;            // Alphabetic (DerivedCoreProperties.txt)
bool isExtendedPictographic(char32_t c) noexcept;  // Extended_Pictographic (emoji-data.txt)
inline bool isDecimalDigit(char32_t c) noexcept {
  return generalCategory(c) == GeneralCategory::Nd;
}

// The simple case folding of 'c' (CaseFolding.txt, statuses C and S); 'c' itself when it has none.
char32_t simpleCaseFold(char32_t c) noexcept;

// Grapheme_Cluster_Break (GraphemeBreakProperty.txt).
// clang-format off
enum class GraphemeClusterBreak : std::uint8_t {
  Other, CR, LF, Control, Extend, ZWJ, RegionalIndicator, Prepend, SpacingMark,
  L, V, T, LV, LVT,
};
// clang-format on
GraphemeClusterBreak graphemeClusterBreak(char32_t c) noexcept;

// The roles in the conjuncts that ICU 72's character rules keep in one character: the consonants
// and viramas (Linker) of Devanagari, Bengali, Gujarati, Oriya, Telugu and Malayalam (by
// Indic_Syllabic_Category and Script), and the marks that may stand between them (Extend: a
// Grapheme_Cluster_Break Extend mark of non-zero combining class, or ZWJ). A virama is Linker.
enum class IndicConjunctBreak : std::uint8_t { None, Consonant, Linker, Extend };
IndicConjunctBreak indicConjunctBreak(char32_t c) noexcept;

// A run of code points [first, last] that share one value; tables list runs in ascending order,
// without gaps, from U+0000 to U+10FFFF.
struct CategoryRun {
  char32_t first;
  char32_t last;
  GeneralCategory category;
};
// Every code point's general category as runs, for building the sets of a pattern. The first call
// unpacks them into static storage (no allocation); later calls return the same runs.
std::span<const CategoryRun> generalCategoryRuns() noexcept;

// A range [first, last] of code points, in ascending order, non-overlapping, non-adjacent.
struct CodePointRange {
  char32_t first;
  char32_t last;
};
std::span<const CodePointRange> whiteSpaceRanges() noexcept;
std::span<const CodePointRange> alphabeticRanges() noexcept;

// The code points whose simple case folding is not themselves, with their folding, in ascending
// order of 'from': for closing a pattern's set over case.
struct CaseFolding {
  char32_t from;
  char32_t to;
};
std::span<const CaseFolding> simpleCaseFoldings() noexcept;

}  // namespace sdkcore::unicode
