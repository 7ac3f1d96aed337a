#include "unicode/properties.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/rbbi.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>

namespace sdkcore::unicode {
namespace {

constexpr char32_t kCodePoints = 0x110000;

// Values past U+10FFFF, which every lookup takes as unassigned code points.
constexpr char32_t kBeyond[] = {0x110000, 0x7FFFFFFF, 0xFFFFFFFF};

// ICU's short names of the general categories, in the order of GeneralCategory.
constexpr const char* kCategoryNames[] = {
    "Cn", "Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl", "No", "Pc", "Pd", "Ps",
    "Pe", "Pi", "Pf", "Po", "Sm", "Sc", "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf", "Cs", "Co"};
// ICU's names of the Grapheme_Cluster_Break values, in the order of GraphemeClusterBreak.
constexpr const char* kBreakNames[] = {
    "Other",   "CR",          "LF", "Control", "Extend", "ZWJ", "Regional_Indicator",
    "Prepend", "SpacingMark", "L",  "V",       "T",      "LV",  "LVT"};

std::string icuValueName(UProperty property, std::int32_t value, UPropertyNameChoice choice) {
  const char* name = u_getPropertyValueName(property, value, choice);
  return name ? name : "?";
}

// One property: its value by ICU, by the library's lookup and as the library's list gives it.
struct PropertyCase {
  const char* name;
  std::string (*icu)(UChar32);
  std::string (*lookup)(char32_t);
  // Every code point's value from the list, or a message why the list is malformed.
  std::vector<std::string> (*fromList)(std::string& malformed);
};

std::string boolName(bool value) { return value ? "yes" : "no"; }

// Expands a list of ranges into every code point's membership, checking the list's order.
template <typename Ranges>
std::vector<std::string> membership(Ranges ranges, std::string& malformed) {
  std::vector<std::string> values(kCodePoints, "no");
  char32_t next = 0;  // the least code point that may begin the next range
  for (const CodePointRange& range : ranges) {
    if (range.first < next || range.last < range.first || range.last >= kCodePoints) {
      malformed = "range out of order at U+" + std::to_string(range.first);
      return {};
    }
    for (char32_t c = range.first; c <= range.last; ++c) values[c] = "yes";
    next = range.last + 2;
  }
  return values;
}

std::vector<std::string> categoriesFromRuns(std::string& malformed) {
  std::vector<std::string> values;
  for (const CategoryRun& run : generalCategoryRuns()) {
    if (run.first != values.size() || run.last < run.first || run.last >= kCodePoints) {
      malformed = "run out of order at U+" + std::to_string(run.first);
      return {};
    }
    values.resize(run.last + 1, kCategoryNames[static_cast<int>(run.category)]);
  }
  if (values.size() != kCodePoints) malformed = "runs end before U+10FFFF";
  return values;
}

std::vector<std::string> foldingsFromList(std::string& malformed) {
  std::vector<std::string> values(kCodePoints);
  for (char32_t c = 0; c < kCodePoints; ++c) values[c] = std::to_string(c);
  char32_t next = 0;
  for (const CaseFolding& folding : simpleCaseFoldings()) {
    if (folding.from < next || folding.from >= kCodePoints || folding.from == folding.to) {
      malformed = "folding out of order or identity at U+" + std::to_string(folding.from);
      return {};
    }
    values[folding.from] = std::to_string(folding.to);
    next = folding.from + 1;
  }
  return values;
}

const PropertyCase kProperties[] = {
    {"GeneralCategory",
     [](UChar32 c) {
       return icuValueName(UCHAR_GENERAL_CATEGORY, u_charType(c), U_SHORT_PROPERTY_NAME);
     },
     [](char32_t c) -> std::string { return kCategoryNames[int(generalCategory(c))]; },
     categoriesFromRuns},
    {"WhiteSpace", [](UChar32 c) { return boolName(u_isUWhiteSpace(c)); },
     [](char32_t c) { return boolName(isWhiteSpace(c)); },
     [](std::string& malformed) { return membership(whiteSpaceRanges(), malformed); }},
    {"Alphabetic", [](UChar32 c) { return boolName(u_hasBinaryProperty(c, UCHAR_ALPHABETIC)); },
     [](char32_t c) { return boolName(isAlphabetic(c)); },
     [](std::string& malformed) { return membership(alphabeticRanges(), malformed); }},
    {"SimpleCaseFolding",
     [](UChar32 c) { return std::to_string(char32_t(u_foldCase(c, U_FOLD_CASE_DEFAULT))); },
     [](char32_t c) { return std::to_string(simpleCaseFold(c)); }, foldingsFromList},
    {"GraphemeClusterBreak",
     [](UChar32 c) {
       return icuValueName(UCHAR_GRAPHEME_CLUSTER_BREAK,
                           u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK),
                           U_LONG_PROPERTY_NAME);
     },
     [](char32_t c) -> std::string { return kBreakNames[int(graphemeClusterBreak(c))]; }, nullptr},
    {"ExtendedPictographic",
     [](UChar32 c) { return boolName(u_hasBinaryProperty(c, UCHAR_EXTENDED_PICTOGRAPHIC)); },
     [](char32_t c) { return boolName(isExtendedPictographic(c)); }, nullptr},
};

void PrintTo(const PropertyCase& property, std::ostream* out) { *out << property.name; }

class PropertyTest : public testing::TestWithParam<PropertyCase> {};
class PropertyListTest : public PropertyTest {};

// Compares 'ours' with 'icu' for every code point (and the values beyond, with 'beyond'); reports
// the first few differences.
template <typename Ours, typename Icu>
void expectAgreement(const char* what, Ours ours, Icu icu, bool beyond = true) {
  int differences = 0;
  auto compare = [&](char32_t c) {
    const std::string expected = icu(static_cast<UChar32>(c));
    if (ours(c) != expected && ++differences <= 10) {
      ADD_FAILURE() << what << " of U+" << std::hex << std::uppercase << std::uint32_t(c) << ": "
                    << ours(c) << ", ICU: " << expected;
    }
  };
  for (char32_t c = 0; c < kCodePoints; ++c) compare(c);
  if (beyond) {
    for (const char32_t c : kBeyond) compare(c);
  }
  EXPECT_EQ(differences, 0) << what;
}

TEST_P(PropertyTest, LookupAgreesWithIcuForEveryCodePoint) {
  expectAgreement("lookup", GetParam().lookup, GetParam().icu);
}

TEST_P(PropertyListTest, ListAgreesWithIcuForEveryCodePoint) {
  std::string malformed;
  const std::vector<std::string> values = GetParam().fromList(malformed);
  ASSERT_EQ(malformed, "");
  expectAgreement(
      "list", [&](char32_t c) { return values[c]; }, GetParam().icu, false);
}

std::string nameOf(const testing::TestParamInfo<PropertyCase>& info) { return info.param.name; }

std::vector<PropertyCase> propertiesWithLists() {
  std::vector<PropertyCase> listed;
  for (const PropertyCase& property : kProperties) {
    if (property.fromList) listed.push_back(property);
  }
  return listed;
}

INSTANTIATE_TEST_SUITE_P(Properties, PropertyTest, testing::ValuesIn(kProperties), nameOf);
INSTANTIATE_TEST_SUITE_P(Properties, PropertyListTest, testing::ValuesIn(propertiesWithLists()),
                         nameOf);

// The sets that ICU's character break rules define as "$name=[...];", read from the rules of
// the root locale's character break iterator.
icu::UnicodeSet icuRuleSet(const icu::UnicodeString& rules, const char* name) {
  const icu::UnicodeString start = icu::UnicodeString("$") + name + "=";
  const std::int32_t at = rules.indexOf(start);
  if (at < 0) return {};
  const std::int32_t from = at + start.length();
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeSet set(rules.tempSubStringBetween(from, rules.indexOf(u';', from)), status);
  return U_SUCCESS(status) ? set : icu::UnicodeSet();
}

TEST(IndicConjunctBreakTest, AgreesWithTheSetsOfIcusCharacterRules) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> iterator(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  const auto* rules = dynamic_cast<icu::RuleBasedBreakIterator*>(iterator.get());
  ASSERT_TRUE(U_SUCCESS(status) && rules);
  const icu::UnicodeSet consonant = icuRuleSet(rules->getRules(), "LinkingConsonant");
  const icu::UnicodeSet linker = icuRuleSet(rules->getRules(), "Virama");
  const icu::UnicodeSet extend = icuRuleSet(rules->getRules(), "ExtCccZwj");
  ASSERT_FALSE(consonant.isEmpty() || linker.isEmpty() || extend.isEmpty());
  expectAgreement(
      "IndicConjunctBreak", [](char32_t c) { return std::to_string(int(indicConjunctBreak(c))); },
      [&](UChar32 c) {
        const auto value = consonant.contains(c) ? IndicConjunctBreak::Consonant
                           : linker.contains(c)  ? IndicConjunctBreak::Linker
                           : extend.contains(c)  ? IndicConjunctBreak::Extend
                                                 : IndicConjunctBreak::None;
        return std::to_string(int(value));
      });
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first line where two texts differ, numbered from 1, or 0 when they are equal.
int firstDifferentLine(const std::string& a, const std::string& b) {
  std::istringstream left(a), right(b);
  std::string x, y;
  for (int line = 1;; ++line) {
    const bool moreLeft = bool(std::getline(left, x)), moreRight = bool(std::getline(right, y));
    if (!moreLeft && !moreRight) return 0;
    if (moreLeft != moreRight || x != y) return line;
  }
}

TEST(UnicodeTablesTest, GeneratorReproducesTheCommittedTables) {
  const std::filesystem::path ucd = SDKCORE_UCD_DIR, source = SDKCORE_SOURCE_DIR;
  if (!std::filesystem::exists(ucd / "UnicodeData.txt")) GTEST_SKIP() << "no UCD at " << ucd;
  if (std::string(SDKCORE_PYTHON).empty()) GTEST_SKIP() << "no python3 found at configure time";
  const std::filesystem::path output = testing::TempDir() + "unicode_tables.cpp";
  const std::string command = std::string("\"") + SDKCORE_PYTHON + "\" \"" +
                              (source / "scripts/generate_unicode_tables.py").string() + "\" \"" +
                              ucd.string() + "\" --output \"" + output.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string generated = readFile(output);
  std::filesystem::remove(output);
  EXPECT_EQ(firstDifferentLine(readFile(source / "src/unicode/unicode_tables.cpp"), generated), 0)
      << "src/unicode/unicode_tables.cpp is not what the generator writes from " << ucd
      << ": run scripts/generate_unicode_tables.py " << ucd;
}

}  // namespace
}  // namespace sdkcore::unicode
