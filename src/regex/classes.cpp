#include "regex/classes.hpp"

#include <array>
#include <string>

namespace sdkcore::regex {
namespace {

using unicode::CategoryMask;
using unicode::GeneralCategory;
using unicode::maskOf;

constexpr CategoryMask kLetters = maskOf(GeneralCategory::Lu) | maskOf(GeneralCategory::Ll) |
                                  maskOf(GeneralCategory::Lt) | maskOf(GeneralCategory::Lm) |
                                  maskOf(GeneralCategory::Lo);
constexpr CategoryMask kCasedLetters =
    maskOf(GeneralCategory::Lu) | maskOf(GeneralCategory::Ll) | maskOf(GeneralCategory::Lt);
constexpr CategoryMask kMarks =
    maskOf(GeneralCategory::Mn) | maskOf(GeneralCategory::Mc) | maskOf(GeneralCategory::Me);
constexpr CategoryMask kNumbers =
    maskOf(GeneralCategory::Nd) | maskOf(GeneralCategory::Nl) | maskOf(GeneralCategory::No);
constexpr CategoryMask kPunctuation = maskOf(GeneralCategory::Pc) | maskOf(GeneralCategory::Pd) |
                                      maskOf(GeneralCategory::Ps) | maskOf(GeneralCategory::Pe) |
                                      maskOf(GeneralCategory::Pi) | maskOf(GeneralCategory::Pf) |
                                      maskOf(GeneralCategory::Po);
constexpr CategoryMask kSymbols = maskOf(GeneralCategory::Sm) | maskOf(GeneralCategory::Sc) |
                                  maskOf(GeneralCategory::Sk) | maskOf(GeneralCategory::So);
constexpr CategoryMask kSeparators =
    maskOf(GeneralCategory::Zs) | maskOf(GeneralCategory::Zl) | maskOf(GeneralCategory::Zp);
constexpr CategoryMask kOthers = maskOf(GeneralCategory::Cc) | maskOf(GeneralCategory::Cf) |
                                 maskOf(GeneralCategory::Cs) | maskOf(GeneralCategory::Co) |
                                 maskOf(GeneralCategory::Cn);

struct CategoryName {
  std::string_view shortName;  // loose forms: lower case, no separators
  std::string_view longName;
  CategoryMask mask;
};

constexpr std::array<CategoryName, 38> kCategoryNames{{
    {"cn", "unassigned", maskOf(GeneralCategory::Cn)},
    {"lu", "uppercaseletter", maskOf(GeneralCategory::Lu)},
    {"ll", "lowercaseletter", maskOf(GeneralCategory::Ll)},
    {"lt", "titlecaseletter", maskOf(GeneralCategory::Lt)},
    {"lm", "modifierletter", maskOf(GeneralCategory::Lm)},
    {"lo", "otherletter", maskOf(GeneralCategory::Lo)},
    {"mn", "nonspacingmark", maskOf(GeneralCategory::Mn)},
    {"mc", "spacingmark", maskOf(GeneralCategory::Mc)},
    {"me", "enclosingmark", maskOf(GeneralCategory::Me)},
    {"nd", "decimalnumber", maskOf(GeneralCategory::Nd)},
    {"nl", "letternumber", maskOf(GeneralCategory::Nl)},
    {"no", "othernumber", maskOf(GeneralCategory::No)},
    {"pc", "connectorpunctuation", maskOf(GeneralCategory::Pc)},
    {"pd", "dashpunctuation", maskOf(GeneralCategory::Pd)},
    {"ps", "openpunctuation", maskOf(GeneralCategory::Ps)},
    {"pe", "closepunctuation", maskOf(GeneralCategory::Pe)},
    {"pi", "initialpunctuation", maskOf(GeneralCategory::Pi)},
    {"pf", "finalpunctuation", maskOf(GeneralCategory::Pf)},
    {"po", "otherpunctuation", maskOf(GeneralCategory::Po)},
    {"sm", "mathsymbol", maskOf(GeneralCategory::Sm)},
    {"sc", "currencysymbol", maskOf(GeneralCategory::Sc)},
    {"sk", "modifiersymbol", maskOf(GeneralCategory::Sk)},
    {"so", "othersymbol", maskOf(GeneralCategory::So)},
    {"zs", "spaceseparator", maskOf(GeneralCategory::Zs)},
    {"zl", "lineseparator", maskOf(GeneralCategory::Zl)},
    {"zp", "paragraphseparator", maskOf(GeneralCategory::Zp)},
    {"cc", "control", maskOf(GeneralCategory::Cc)},
    {"cf", "format", maskOf(GeneralCategory::Cf)},
    {"cs", "surrogate", maskOf(GeneralCategory::Cs)},
    {"co", "privateuse", maskOf(GeneralCategory::Co)},
    {"l", "letter", kLetters},
    {"lc", "casedletter", kCasedLetters},
    {"m", "mark", kMarks},
    {"n", "number", kNumbers},
    {"p", "punctuation", kPunctuation},
    {"s", "symbol", kSymbols},
    {"z", "separator", kSeparators},
    {"c", "other", kOthers},
}};

// The other names of categories that the property value aliases list.
struct CategoryAlias {
  std::string_view name;
  CategoryMask mask;
};
constexpr std::array<CategoryAlias, 4> kCategoryAliases{{
    {"digit", maskOf(GeneralCategory::Nd)},
    {"cntrl", maskOf(GeneralCategory::Cc)},
    {"punct", kPunctuation},
    {"combiningmark", kMarks},
}};

CharSet rangeSet(char32_t first, char32_t last) {
  CharSet set;
  set.add(first, last);
  set.normalize();
  return set;
}

// 'name' in its loose form: ASCII lower case, without spaces, hyphens and underscores.
std::string looseName(std::string_view name) {
  std::string loose;
  for (const char c : name) {
    if (c == ' ' || c == '-' || c == '_' || c == '\t') continue;
    loose.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return loose;
}

std::optional<CategoryMask> categoryNamed(std::string_view loose) {
  for (const CategoryName& c : kCategoryNames) {
    if (loose == c.shortName || loose == c.longName) return c.mask;
  }
  for (const CategoryAlias& a : kCategoryAliases) {
    if (loose == a.name) return a.mask;
  }
  return std::nullopt;
}

std::optional<CharSet> binaryPropertyNamed(std::string_view loose) {
  if (loose == "whitespace" || loose == "wspace" || loose == "space") return whiteSpaceClass();
  if (loose == "alphabetic" || loose == "alpha") {
    return CharSet::fromRanges(unicode::alphabeticRanges());
  }
  if (loose == "any") return rangeSet(0, 0x10FFFF);
  if (loose == "ascii") return rangeSet(0, 127);
  if (loose == "assigned") {
    return CharSet::ofCategories(maskOf(GeneralCategory::Cn)).complement();
  }
  return std::nullopt;
}

}  // namespace

const CharSet& digitClass() {
  static const CharSet digits = CharSet::ofCategories(maskOf(GeneralCategory::Nd));
  return digits;
}

const CharSet& wordClass() {
  static const CharSet word = [] {
    CharSet set = CharSet::fromRanges(unicode::alphabeticRanges());
    set.add(
        CharSet::ofCategories(kMarks | maskOf(GeneralCategory::Nd) | maskOf(GeneralCategory::Pc)));
    set.add(0x200C, 0x200D);
    set.normalize();
    return set;
  }();
  return word;
}

const CharSet& whiteSpaceClass() {
  static const CharSet space = CharSet::fromRanges(unicode::whiteSpaceRanges());
  return space;
}

std::optional<CharSet> propertyClass(std::string_view name) {
  std::string loose = looseName(name);
  for (const std::string_view prefix : {"gc=", "generalcategory="}) {
    if (loose.starts_with(prefix)) {
      const std::optional<CategoryMask> mask = categoryNamed(loose.substr(prefix.size()));
      if (!mask) return std::nullopt;
      return CharSet::ofCategories(*mask);
    }
  }
  if (const std::optional<CategoryMask> mask = categoryNamed(loose)) {
    return CharSet::ofCategories(*mask);
  }
  return binaryPropertyNamed(loose);
}

}  // namespace sdkcore::regex
